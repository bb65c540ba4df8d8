// TActionStruct, one action of the project's action language, with its
// stream form (part of the project file: every object's property block,
// every menu item and every database entry carry action lists), and the
// action list: a vector kept in order of the actions' delays.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "actions/core/actioncodes.h"
#include "engine/core/format/printinfo.h"
#include "foundation/core/streamenc.h"
#include "foundation/core/usstring.h"
#include "platform/core/containers.h"

// Flag bits of an action.
constexpr uint32_t kActionEnabled = 0x1;            // runs as a page start or leave action, or at all
constexpr uint32_t kActionHasPrintInfo = 0x08000000;  // stream carries the print-settings block
constexpr uint32_t kActionHasText5 = 0x20000000;      // stream carries Text5 and Flags2
constexpr uint32_t kAction2HasTrigger = 0x400;        // (Flags2) stream carries the trigger record

// The messages an action may run on, as Windows numbers them: the stored
// trigger is the message's number (portable code has no windows.h).
constexpr uint16_t kTriggerButtonDown = 0x201;  // WM_LBUTTONDOWN
constexpr uint16_t kTriggerClick = 0x202;       // WM_LBUTTONUP
constexpr uint16_t kTriggerDoubleClick = 0x203; // WM_LBUTTONDBLCLK

class TActionStruct final {
public:
  TActionStruct();
  TActionStruct(const TActionStruct& other);
  TActionStruct& operator=(const TActionStruct& other);
  ~TActionStruct() = default;

  virtual void Read(tsl::ByteStream& f);
  // Sets the flag bits of the optional blocks first, so a written action
  // always carries every block.
  virtual void Write(tsl::ByteStream& f);

  // Frees the number list.
  void Clear() { IntList.clear(); }
  int16_t IntCount() const { return static_cast<int16_t>(IntList.size()); }
  // The print settings, made with their defaults on first use.
  TBasePrintOutInfo& GetPrintInfo();

  // Action lists are ordered by delay (signed).
  bool operator<(const TActionStruct& o) const {
    return static_cast<int32_t>(Delay) < static_cast<int32_t>(o.Delay);
  }
  bool operator==(const TActionStruct& o) const {
    return static_cast<int32_t>(Delay) == static_cast<int32_t>(o.Delay);
  }

  uint16_t Code = StoredActionCode(TActionCode::ShowInfoBox);
  uint32_t Target = 0;
  uintptr_t Owner = 0;  // the object or project that scheduled a copy; never stored
  uint32_t Flags = 0x100E8C;
  uint32_t Value1 = 0;
  int32_t Value2 = -1;
  int32_t Value3 = -1;
  std::vector<int32_t> IntList;  // at most 32767 numbers
  uint16_t Short1 = 1;
  uint16_t Short2 = 1;
  string Text1;
  string Text2;
  string Text3 = "\\DATA\\";
  string Text4 = "\\DATA\\";
  uint8_t WaitFlag = 0;
  uint32_t Delay = 0;  // milliseconds
  uint32_t Value4 = 1000;
  TUSStrings Strings;
  uint8_t Valid = 1;  // never stored
  // The trigger record: the message the owning object runs the action on.
  uint16_t TriggerEvent = kTriggerClick;
  uint32_t Ext1 = 0;
  uint8_t Ext2 = 0;
  uint16_t Ext3 = 0;
  std::unique_ptr<TBasePrintOutInfo> PrintInfo;
  uint32_t Reserved = 0;
  string Text5;
  uint32_t Flags2 = 5;
  uint8_t Separator = ',';
};

// An action list: owned actions in ascending order of Delay; actions with
// equal delays stay in the order they were added.
class TSActionStructArrayManager {
public:
  TSActionStructArrayManager() : Array(4, 0, 4) {}
  TSActionStructArrayManager(const TSActionStructArrayManager&) = delete;
  TSActionStructArrayManager& operator=(const TSActionStructArrayManager&) = delete;

  // Sorted insert behind the actions of equal or smaller delay; takes it over.
  bool Add(TActionStruct* action);
  // Index of an action with the same delay (any of several), or -1.
  int Find(const TActionStruct& action) const;
  // Index of the first action with the same delay, or -1.
  int FindEqual(const TActionStruct& action) const;
  // Inserts at `index` (at the end when past it); takes the action over.
  bool AddAt(TActionStruct* action, int index);
  // Removes the action at `index`, deleting it when asked; false for an
  // index outside the list.
  bool Detach(int index, bool del);
  // Empties the list, deleting the actions when asked.
  void Flush(bool del = true);

  int GetItemsInContainer() const { return Array.GetItemsInContainer(); }
  bool IsEmpty() const { return Array.IsEmpty(); }
  TActionStruct* operator[](int index) const { return Array[index]; }
  template <class F>
  void ForEach(F f) { Array.ForEach(f); }
  template <class P>
  TActionStruct* FirstThat(P p) const { return Array.FirstThat(p); }
  template <class P>
  TActionStruct* LastThat(P p) const { return Array.LastThat(p); }

  TISArrayAsVector<TActionStruct> Array;
};

// u16 count, then the actions in list order. Reading empties the list first.
void ReadActionList(TSActionStructArrayManager& list, tsl::ByteStream& f);
void WriteActionList(TSActionStructArrayManager& list, tsl::ByteStream& f);
// Replaces `dest` by copies of the actions of `src`.
void CopyActionList(TSActionStructArrayManager& dest, const TSActionStructArrayManager& src);

// The mouse messages that can trigger actions: WM_LBUTTONDOWN, WM_LBUTTONUP
// and WM_LBUTTONDBLCLK.
int IsTriggerMessage(uint32_t msg);
int TriggerMessageClass(uint32_t msg);
