// Action records in their 3.2 and 3.3 forms, action lists in order of delay,
// the print settings they may carry, menu items and button groups.
#include <gtest/gtest.h>

#include "bytes.h"
#include "engine/core/format/actionstruct.h"
#include "engine/core/format/buttongroup.h"
#include "engine/core/format/menudata.h"
#include "engine/core/format/recordctx.h"

using tsl::MemoryStream;

namespace {

// Fields 1-5 of an action: code 11 to page 4 with numbers 7, 8 and texts.
Bytes& ActionHead(Bytes& b, uint32_t flags, uint32_t delay) {
  b.u16(11).u32(3).u32(flags).u32(4).i32(-2).i32(-3);
  b.i16(2).i32(7).i32(8);
  b.u16(5).u16(6).str("a.txt").str("b").str("\\X\\").str("\\Y\\");
  b.u8(1).u32(2000).u32(delay);
  return b;
}

std::vector<uint8_t> Written(TActionStruct& a) {
  MemoryStream m;
  a.Write(m);
  return m.Data();
}

}  // namespace

TEST(TActionStruct, Version32And33Forms) {
  {  // 3.3: the string list; no optional blocks announced
    Bytes b;
    ActionHead(b, 0x1, 30).u16(2).str("eins").str("zwei").u8(';').u32(0);
    tsl::TFileVersionScope v(3, 3);
    MemoryStream m = b.stream();
    TActionStruct a;
    a.Read(m);
    EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
    EXPECT_EQ(a.Code, 11);
    EXPECT_EQ(a.Target, 3u);
    EXPECT_EQ(a.Value1, 4u);
    EXPECT_EQ(a.Value2, -2);
    EXPECT_EQ(a.IntList, (std::vector<int32_t>{7, 8}));
    EXPECT_EQ(a.Short2, 6);
    EXPECT_EQ(a.Text1, "a.txt");
    EXPECT_EQ(a.Text4, "\\Y\\");
    EXPECT_EQ(a.WaitFlag, 1);
    EXPECT_EQ(a.Value4, 2000u) << "Value4 comes before Delay";
    EXPECT_EQ(a.Delay, 30u);
    ASSERT_EQ(a.Strings.Count(), 2);
    EXPECT_EQ(a.Strings.ItemAt(1), "zwei");
    EXPECT_EQ(a.Separator, ';');
    // Without 0x20000000: Text5 empty, Flags2 5, and so no trigger record.
    EXPECT_EQ(a.Text5, "");
    EXPECT_EQ(a.Flags2, 5u);
    EXPECT_EQ(a.TriggerEvent, 0x202);
    EXPECT_EQ(a.PrintInfo, nullptr);
  }
  {  // 3.2: two bytes stand where the list would be
    Bytes b;
    ActionHead(b, 0x1, 30).u16(0xBEEF).u8(',').u32(0);
    tsl::TFileVersionScope v(3, 2);
    MemoryStream m = b.stream();
    TActionStruct a;
    a.Read(m);
    EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
    EXPECT_EQ(a.Strings.Count(), 0);
    EXPECT_EQ(a.Separator, ',');
  }
}

TEST(TActionStruct, OptionalBlocks) {
  Bytes b;
  ActionHead(b, 0x1 | kActionHasPrintInfo | kActionHasText5, 0).u16(0).u8(',').u32(0);
  b.u8(0);                             // no print settings
  b.str("mehr").u32(5 | 0x400);        // Text5, Flags2 announcing the trigger record
  b.u16(0x201).u32(9).u8(2).u16(3);    // trigger record
  MemoryStream m = b.stream();
  TActionStruct a;
  a.Read(m);
  EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
  EXPECT_EQ(a.Text5, "mehr");
  EXPECT_EQ(a.TriggerEvent, 0x201);
  EXPECT_EQ(a.Ext1, 9u);
  EXPECT_EQ(a.Ext2, 2);
  EXPECT_EQ(a.Ext3, 3);
  EXPECT_EQ(Written(a), b.data()) << "already the newest form";
}

TEST(TActionStruct, DefaultWrittenAndReadBack) {
  TActionStruct a;
  const std::vector<uint8_t> first = Written(a);
  EXPECT_EQ(a.Flags, 0x100E8Cu | kActionHasPrintInfo | kActionHasText5);
  EXPECT_EQ(a.Flags2, 5u | kAction2HasTrigger);
  MemoryStream m(first);
  TActionStruct r;
  r.Read(m);
  EXPECT_EQ(m.Remaining(), 0);
  EXPECT_EQ(r.Code, 9);
  EXPECT_EQ(r.Text3, "\\DATA\\");
  EXPECT_EQ(r.Value4, 1000u);
  EXPECT_EQ(r.TriggerEvent, 0x202);
  EXPECT_EQ(Written(r), first);
}

TEST(TActionStruct, NegativeOrHostileNumberCount) {
  {  // a negative count ends the record there
    Bytes b;
    b.u16(12).u32(1).u32(0x1).u32(2).i32(3).i32(4).i16(-1).u16(99).u16(99);
    MemoryStream m = b.stream();
    TActionStruct a;
    a.Read(m);
    EXPECT_EQ(a.Code, 12);
    EXPECT_TRUE(a.IntList.empty());
    EXPECT_EQ(a.Short1, 1) << "defaults for the rest";
    EXPECT_EQ(m.Position(), 24);
  }
  {  // a count the file cannot hold allocates nothing
    Bytes b;
    b.u16(12).u32(1).u32(0x1).u32(2).i32(3).i32(4).i16(32000).i32(1);
    MemoryStream m = b.stream();
    TActionStruct a;
    a.Read(m);
    EXPECT_TRUE(a.IntList.empty());
    EXPECT_EQ(m.Remaining(), 0);
  }
}

TEST(TActionStruct, PrintInfoIsCopiedDeep) {
  TActionStruct a;
  a.GetPrintInfo().Title = "Seite";
  a.Reserved = 77;
  TActionStruct copy(a);
  ASSERT_NE(copy.PrintInfo, nullptr);
  EXPECT_NE(copy.PrintInfo.get(), a.PrintInfo.get());
  EXPECT_EQ(copy.Reserved, 0u) << "Reserved is not copied";
  a.PrintInfo.reset();
  EXPECT_EQ(copy.PrintInfo->Title, "Seite");

  const std::vector<uint8_t> bytes = Written(copy);
  MemoryStream m(bytes);
  TActionStruct r;
  r.Read(m);
  ASSERT_NE(r.PrintInfo, nullptr);
  EXPECT_EQ(r.PrintInfo->Title, "Seite");
  EXPECT_EQ(Written(r), bytes);
}

TEST(TBasePrintOutInfo, StreamFormPageNumberSwitchFirst) {
  Bytes b;
  b.u16(0x0100).u16(0).str("Titel").f64(10.5).f64(11).f64(12).f64(13);
  FontBytes(b, "Courier New", -13);
  FontBytes(b, "Arial", 20);
  b.u16(2).u16(0xFFFF).u16(0x8002).f64(50).f64(60).u8(1).zeros(31);
  ASSERT_EQ(b.size(), 256u + 5);
  MemoryStream m = b.stream();
  TBasePrintOutInfo p;
  p.Read(m);
  EXPECT_EQ(p.ShowPageNumber, 1) << "any non-zero u16 is true";
  EXPECT_EQ(p.ShowTitle, 0);
  EXPECT_EQ(p.Title, "Titel");
  EXPECT_EQ(p.MarginLeft, 10.5);
  EXPECT_EQ(p.MarginBottom, 13);
  EXPECT_STREQ(p.TitleFontData.lfFaceName, "Arial");
  EXPECT_EQ(p.TitleAlign, 2);
  EXPECT_EQ(p.PageNumberAlign, -1);
  EXPECT_EQ(p.PictureFlags, 0xFFFF8002u) << "16 bits, widened with their sign";
  EXPECT_EQ(p.TargetHeight, 60);
  EXPECT_EQ(p.Landscape, 1);

  TBasePrintOutInfo d;
  EXPECT_STREQ(d.PageNumberFontData.lfFaceName, "Courier New");
  EXPECT_EQ(d.PageNumberFontData.PointSize, 100);
  EXPECT_EQ(d.TargetWidth, 100.0);
  d.PictureFlags = 0x12345;
  MemoryStream w;
  d.Write(w);
  w.Seek(0);
  TBasePrintOutInfo r;
  r.Read(w);
  EXPECT_EQ(r.PictureFlags, 0x2345u) << "only the low 16 bits survive";
}

TEST(TSActionStructArrayManager, OrderedByDelayStable) {
  TSActionStructArrayManager list;
  int tag = 0;
  for (uint32_t d : {30u, 10u, 20u, 10u}) {
    auto* a = new TActionStruct;
    a->Delay = d;
    a->Value1 = static_cast<uint32_t>(tag++);
    list.Add(a);
  }
  std::vector<uint32_t> delays, tags;
  for (int i = 0; i < list.GetItemsInContainer(); ++i) {
    delays.push_back(list[i]->Delay);
    tags.push_back(list[i]->Value1);
  }
  EXPECT_EQ(delays, (std::vector<uint32_t>{10, 10, 20, 30}));
  EXPECT_EQ(tags, (std::vector<uint32_t>{1, 3, 2, 0}));
  TActionStruct probe;
  probe.Delay = 20;
  EXPECT_EQ(list.Find(probe), 2);
  probe.Delay = 10;
  EXPECT_EQ(list.FindEqual(probe), 0);
  probe.Delay = 15;
  EXPECT_EQ(list.Find(probe), -1);
  EXPECT_TRUE(list.Detach(0, true));
  EXPECT_FALSE(list.Detach(9, true));
  EXPECT_TRUE(list.AddAt(new TActionStruct, 50)) << "past the end appends";
  EXPECT_EQ(list.GetItemsInContainer(), 4);

  TSActionStructArrayManager empty;
  EXPECT_EQ(empty.Find(probe), -1);
  auto* other = new TActionStruct;
  other->Delay = 3;
  empty.Add(other);
  EXPECT_EQ(empty.Find(probe), -1);
}

TEST(ActionLists, StoredInDelayOrderAndCopied) {
  Bytes b;
  b.u16(3);
  for (uint32_t d : {30u, 10u, 20u}) {
    TActionStruct a;
    a.Delay = d;
    MemoryStream m;
    a.Write(m);
    b.append(m.Data());
  }
  MemoryStream in = b.stream();
  TSActionStructArrayManager list;
  ReadActionList(list, in);
  ASSERT_EQ(list.GetItemsInContainer(), 3);
  MemoryStream out;
  WriteActionList(list, out);
  out.Seek(2);
  for (uint32_t d : {10u, 20u, 30u}) {
    TActionStruct a;
    a.Read(out);
    EXPECT_EQ(a.Delay, d);
  }
  TSActionStructArrayManager copy;
  CopyActionList(copy, list);
  ASSERT_EQ(copy.GetItemsInContainer(), 3);
  EXPECT_NE(copy[0], list[0]);

  // A count beyond the file's bytes makes no phantom actions.
  MemoryStream shortList(Bytes().u16(30000).data());
  ReadActionList(list, shortList);
  EXPECT_EQ(list.GetItemsInContainer(), 0);
}

TEST(TriggerMessages, TheThreeMouseButtonMessages) {
  for (uint32_t msg : {0x201u, 0x202u, 0x203u}) {
    EXPECT_EQ(IsTriggerMessage(msg), 1);
    EXPECT_EQ(TriggerMessageClass(msg), 1);
  }
  for (uint32_t msg : {0x200u, 0x204u, 0u}) {
    EXPECT_EQ(IsTriggerMessage(msg), 0);
    EXPECT_EQ(TriggerMessageClass(msg), 0);
  }
}

TEST(TTSLMenuData, StoredFormAndPosition) {
  Bytes b;
  b.u16(0).str("Seite 2").str("2,5").u32(17).u32(kMenuCheckGroup).zeros(32);
  MemoryStream m = b.stream();
  TTSLMenuData item;
  item.Read(m);
  EXPECT_EQ(m.Remaining(), 0);
  EXPECT_EQ(item.Text, "Seite 2");
  EXPECT_EQ(item.ObjectNumber, 17u);
  EXPECT_EQ(item.MenuFlags, kMenuCheckGroup);
  MemoryStream w;
  item.Write(w);
  EXPECT_EQ(w.Data(), b.data());

  struct Case { const char* position; int top, group; };
  const Case cases[] = {{"1,-1", 1, -1}, {"3", 3, 0}, {"2,5", 2, 5}, {"2,5,9", 2, 5}, {",", 0, 0},
                        {"x,7", 0, 7},  {"+4,-0", 4, 0}, {"12ab,3cd", 12, 3}, {"", 0, 0},
                        {"99999999999,-99999999999", 2147483647, -2147483647 - 1}};
  for (const Case& c : cases) {
    TTSLMenuData d;
    d.Position = c.position;
    int top = -9, group = -9;
    d.GetPosition(top, group);
    EXPECT_EQ(top, c.top) << c.position;
    EXPECT_EQ(group, c.group) << c.position;
  }
  TTSLMenuData def;
  int top, group;
  def.GetPosition(top, group);
  EXPECT_EQ(top, 1);
  EXPECT_EQ(group, -1);
}

namespace {
struct FakeButton : TGroupButton {
  FakeButton(uint32_t n, uint16_t g, bool d) : number(n), group(g), isDefault(d) {}
  uint32_t GetObjectNumber() const override { return number; }
  uint16_t GetButtonGroup() const override { return group; }
  bool IsGroupDefault() const override { return isDefault; }
  void SetGroupState(bool p) override {
    pressed = p;
    ++shown;
  }
  uint32_t number;
  uint16_t group;
  bool isDefault;
  int pressed = -1;
  int shown = 0;
};
}  // namespace

TEST(ButtonGroups, FirstDefaultOfEachGroupIsPressed) {
  FakeButton a(1, 5, false), b(2, 5, true), c(3, 5, true), d(4, 7, true), loose(5, kNoButtonGroup, true);
  std::vector<TGroupButton*> page = {&a, &b, &c, &d, &loose, nullptr};
  PressGroupDefaults(page);
  EXPECT_EQ(a.pressed, 0);
  EXPECT_EQ(b.pressed, 1);
  EXPECT_EQ(c.pressed, 0) << "a later default of the same group is released";
  EXPECT_EQ(d.pressed, 1);
  EXPECT_EQ(loose.shown, 0) << "a button without a group is never touched";

  ReleaseButtonGroup(page, c);
  EXPECT_EQ(b.pressed, 0);
  EXPECT_EQ(d.pressed, 1);
  const int before = d.shown;
  ReleaseButtonGroup(page, loose);
  EXPECT_EQ(d.shown, before);
}
