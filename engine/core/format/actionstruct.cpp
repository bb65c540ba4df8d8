#include "engine/core/format/actionstruct.h"

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TActionStruct::TActionStruct() : Strings(TUSStrings::kInitialCapacity, TUSStrings::kGrowth) {}

TActionStruct::TActionStruct(const TActionStruct& other) : TActionStruct() { *this = other; }

TActionStruct& TActionStruct::operator=(const TActionStruct& o) {
  if (this == &o) return *this;
  IntList = o.IntList;
  PrintInfo.reset();
  if (o.PrintInfo) PrintInfo = std::make_unique<TBasePrintOutInfo>(*o.PrintInfo);
  Owner = o.Owner;
  Code = o.Code;
  Target = o.Target;
  Flags = o.Flags;
  Value1 = o.Value1;
  Value2 = o.Value2;
  Value3 = o.Value3;
  Short1 = o.Short1;
  Short2 = o.Short2;
  Text1 = o.Text1;
  Text2 = o.Text2;
  Text3 = o.Text3;
  Text4 = o.Text4;
  WaitFlag = o.WaitFlag;
  Value4 = o.Value4;
  Delay = o.Delay;
  Valid = 1;
  Strings = o.Strings;
  Text5 = o.Text5;
  Flags2 = o.Flags2;
  Separator = o.Separator;
  TriggerEvent = o.TriggerEvent;
  Ext1 = o.Ext1;
  Ext2 = o.Ext2;
  Ext3 = o.Ext3;
  return *this;
}

TBasePrintOutInfo& TActionStruct::GetPrintInfo() {
  if (!PrintInfo) PrintInfo = std::make_unique<TBasePrintOutInfo>();
  return *PrintInfo;
}

void TActionStruct::Read(ByteStream& f) {
  Clear();
  ReadU16(Code, f);
  ReadU32(Target, f);
  ReadU32(Flags, f);
  ReadU32(Value1, f);
  ReadI32(Value2, f);
  ReadI32(Value3, f);

  int16_t count = 0;
  ReadI16(count, f);
  if (count < 0) return;  // the record keeps what was read so far
  if (count > 0) {
    const int64_t left = f.Remaining();
    if (left >= 0 && static_cast<int64_t>(count) * 4 > left) {
      f.Seek(0, ByteStream::end);  // a list the file cannot hold: nothing after it
    } else {
      IntList.assign(static_cast<size_t>(count), 0);
      ReadFixed(IntList.data(), static_cast<uint32_t>(count) * 4, f);
    }
  }

  ReadU16(Short1, f);
  ReadU16(Short2, f);
  ReadShortString(Text1, f);
  ReadShortString(Text2, f);
  ReadShortString(Text3, f);
  ReadShortString(Text4, f);
  ReadU8(WaitFlag, f);
  ReadU32(Value4, f);
  ReadU32(Delay, f);

  if (RecordVersionAbove(3, 2)) {
    ReadStringArray(Strings, f);
  } else {
    uint8_t skip[2];
    ReadFixed(skip, 2, f);
  }

  ReadU8(Separator, f);
  ReadU32(Reserved, f);
  if (Flags & kActionHasPrintInfo) {
    uint8_t present = 0;
    ReadU8(present, f);
    if (present) GetPrintInfo().Read(f);
  }
  if (Flags & kActionHasText5) {
    ReadShortString(Text5, f);
    ReadU32(Flags2, f);
  }
  if (Flags2 & kAction2HasTrigger) {
    ReadU16(TriggerEvent, f);
    ReadU32(Ext1, f);
    ReadU8(Ext2, f);
    ReadU16(Ext3, f);
  }
}

void TActionStruct::Write(ByteStream& f) {
  Flags |= kActionHasPrintInfo | kActionHasText5;
  Flags2 |= kAction2HasTrigger;
  Reserved = 0;

  WriteU16(Code, f);
  WriteU32(Target, f);
  WriteU32(Flags, f);
  WriteU32(Value1, f);
  WriteI32(Value2, f);
  WriteI32(Value3, f);
  const size_t n = std::min<size_t>(IntList.size(), 32767);
  WriteI16(static_cast<int16_t>(n), f);
  if (n) WriteFixed(IntList.data(), static_cast<uint32_t>(n * 4), f);
  WriteU16(Short1, f);
  WriteU16(Short2, f);
  WriteShortString(Text1, f);
  WriteShortString(Text2, f);
  WriteShortString(Text3, f);
  WriteShortString(Text4, f);
  WriteU8(WaitFlag, f);
  WriteU32(Value4, f);
  WriteU32(Delay, f);
  WriteStringArray(Strings, f);
  WriteU8(Separator, f);
  WriteU32(Reserved, f);
  WriteU8(PrintInfo ? 1 : 0, f);
  if (PrintInfo) PrintInfo->Write(f);
  WriteShortString(Text5, f);
  WriteU32(Flags2, f);
  WriteU16(TriggerEvent, f);
  WriteU32(Ext1, f);
  WriteU8(Ext2, f);
  WriteU16(Ext3, f);
}

bool TSActionStructArrayManager::Add(TActionStruct* action) {
  if (!action) return false;
  Array.Add(action);
  return true;
}

int TSActionStructArrayManager::Find(const TActionStruct& action) const {
  const int i = Array.Find(&action);
  return i == tsl::kNotFound ? -1 : i;
}

int TSActionStructArrayManager::FindEqual(const TActionStruct& action) const {
  for (int i = 0; i < Array.GetItemsInContainer(); ++i)
    if (Array[i] && *Array[i] == action) return i;
  return -1;
}

bool TSActionStructArrayManager::AddAt(TActionStruct* action, int index) {
  if (!action || index < 0) return false;
  // No empty slots: an index past the end appends, so every slot holds an
  // action for the searches that dereference them.
  return Array.AddAt(action, std::min(index, Array.GetItemsInContainer())) != 0;
}

bool TSActionStructArrayManager::Detach(int index, bool del) {
  return Array.Detach(index, del ? tsl::DeleteType::Delete : tsl::DeleteType::NoDelete) != 0;
}

void TSActionStructArrayManager::Flush(bool del) {
  Array.Flush(del ? tsl::DeleteType::Delete : tsl::DeleteType::NoDelete);
}

void ReadActionList(TSActionStructArrayManager& list, ByteStream& f) {
  list.Flush(true);
  uint16_t raw = 0;
  ReadU16(raw, f);
  const int count = static_cast<int16_t>(raw);
  // Actions are only made for bytes the file holds: a count beyond its end
  // would otherwise fill the list with default actions.
  for (int i = 0; i < count && f.Remaining() != 0; ++i) {
    TActionStruct action;
    action.Read(f);
    list.Add(new TActionStruct(action));
  }
}

void WriteActionList(TSActionStructArrayManager& list, ByteStream& f) {
  std::vector<TActionStruct*> actions;
  for (int i = 0; i < list.GetItemsInContainer() && actions.size() < 0x7FFF; ++i)
    if (list[i]) actions.push_back(list[i]);
  WriteU16(static_cast<uint16_t>(actions.size()), f);
  for (TActionStruct* a : actions) a->Write(f);
}

void CopyActionList(TSActionStructArrayManager& dest, const TSActionStructArrayManager& src) {
  if (&dest == &src) return;
  dest.Flush(true);
  for (int i = 0; i < src.GetItemsInContainer(); ++i)
    if (src[i]) dest.Add(new TActionStruct(*src[i]));
}

namespace {
const uint32_t kTriggerMessages[3] = {kTriggerButtonDown, kTriggerClick, kTriggerDoubleClick};
const uint8_t kTriggerValues[3] = {1, 1, 1};
}  // namespace

int IsTriggerMessage(uint32_t msg) {
  for (int i = 0; i < 3; ++i)
    if (kTriggerMessages[i] == msg) return kTriggerValues[i];
  return 0;
}

int TriggerMessageClass(uint32_t msg) {
  for (uint32_t m : kTriggerMessages)
    if (m == msg) return 1;
  return 0;
}
