// Object description records, the data base record and the record-end rule.
#include <gtest/gtest.h>

#include "bytes.h"
#include "engine/core/format/objectrecords.h"
#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using tsl::MemoryStream;

namespace {

// Writes a record, reads it into a fresh one, writes that: the same bytes.
template <class T>
std::vector<uint8_t> Written(T& r) {
  MemoryStream m;
  r.Write(m);
  return m.Data();
}

// A version-3.3 action without optional blocks.
Bytes& PlainAction(Bytes& b, uint16_t code, uint32_t delay) {
  b.u16(code).u32(0).u32(0x1).u32(0).i32(-1).i32(-1).i16(0).u16(1).u16(1);
  b.str("").str("").str("").str("").u8(0).u32(1000).u32(delay).u16(0).u8(',').u32(0);
  return b;
}

}  // namespace

TEST(LinkTarget, StoredRawIn74Bytes) {
  Bytes b;
  b.i16(3).u32(11).i32(77).fixed("Bild", 32).fixed("zweiter", 32);
  ASSERT_EQ(b.size(), 74u);
  MemoryStream m = b.stream();
  LinkTarget t;
  t.Read(m);
  EXPECT_EQ(t.Kind, 3);
  EXPECT_EQ(t.Number, 11u);
  EXPECT_EQ(t.Reference, 77);
  EXPECT_EQ(t.GetName(), "Bild");
  EXPECT_EQ(Written(t), b.data());
}

TEST(LinkTarget, DefaultNames) {
  struct Case { int16_t kind; uint32_t number; const char* name; };
  const Case cases[] = {
      {3, 11, "Animation12"}, {32767, 0, "Seite#1"}, {32767, 4, "Seite#5"}, {0, 0, "Text1"},
      {-1, 6, "???7"},        {40, 0, "???1"},      {13, 1, "Dia\xFC" "bersicht2"}, {19, 2, "Listenfenster3"},
  };
  for (const Case& c : cases) {
    LinkTarget t;
    t.Kind = c.kind;
    t.Number = c.number;
    EXPECT_EQ(t.MakeName(), c.name) << c.kind;
    EXPECT_EQ(t.GetName(), c.name) << "the composed name is stored";
  }
  LinkTarget named(0, 0, -1, "Eigener");
  EXPECT_EQ(named.MakeName(), "Eigener");
}

TEST(LinkTarget, NamesAreCutAndTerminated) {
  LinkTarget t(1, 0, -1, "0123456789012345678901234567890123456789");
  EXPECT_EQ(t.GetName(), "0123456789012345678901234567890");
  EXPECT_EQ(t.Name[31], '\0');
  // A stored name that fills all 32 bytes is still read as at most 32 characters.
  Bytes b;
  b.i16(0).u32(0).i32(-1).fixed(std::string(32, 'x'), 32).fixed(std::string(32, 'y'), 32);
  MemoryStream m = b.stream();
  LinkTarget r;
  r.Read(m);
  EXPECT_EQ(r.GetName(), std::string(32, 'x'));
  EXPECT_EQ(Written(r), b.data()) << "raw bytes are kept";
  EXPECT_TRUE(LinkTarget(0, 5, 1) == LinkTarget(6, 5, 2)) << "equality is by number";
}

TEST(TObjectRect, LayerFirstThenFourValues) {
  Bytes b;
  b.u16(7).i32(10).i32(-20).i32(300).i32(400);
  MemoryStream m = b.stream();
  TObjectRect r;
  r.Read(m);
  EXPECT_EQ(r.Layer, 7);
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Top, -20);
  EXPECT_EQ(r.Right, 300);
  EXPECT_EQ(r.Bottom, 400);
  EXPECT_EQ(Written(r), b.data());
  EXPECT_EQ(TObjectRect(), (TObjectRect{0, 0, 100, 100, 0}));
}

TEST(TProperty, ToolTipBlockFromVersion32) {
  auto head = [](Bytes& b, uint32_t flags) {
    b.u32(flags).u16(2).i32(1).i32(1).i32(-1).i32(-1).u32(0xFF).u8(5).u8(9).u8(1).fixed("Kurz", 11).zeros(4);
  };
  {  // 3.1: no tooltip block; without 0x2000000 the text is the short name
    Bytes b;
    head(b, 0x184 | kPropHasActions);
    b.u16(1);
    PlainAction(b, 11, 0);
    tsl::TFileVersionScope v(3, 1);
    MemoryStream m = b.stream();
    TProperty p;
    p.Read(m);
    EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
    EXPECT_EQ(p.BorderStyle, 2);
    EXPECT_EQ(p.Transition, 9);
    EXPECT_EQ(p.Byte3, 1);
    EXPECT_EQ(p.Text, "Kurz");
    EXPECT_EQ(p.ToolTip.Text, "ToolTip");
    ASSERT_EQ(p.Actions->GetItemsInContainer(), 1);
    EXPECT_EQ((*p.Actions)[0]->Code, 11);
    // Writing an old record stores every block and both flags.
    MemoryStream sink;
    p.Write(sink);
    EXPECT_EQ(p.Flags & (kPropHasActions | kPropHasText), kPropHasActions | kPropHasText);
  }
  {  // 3.2: the tooltip block follows the head; value and text with 0x2000000
    Bytes b;
    head(b, 0x184 | kPropHasText);
    ToolTipBytes(b);
    b.u32(42).str("Wert");
    tsl::TFileVersionScope v(3, 2);
    MemoryStream m = b.stream();
    TProperty p;
    p.Actions->Add(new TActionStruct);  // left from an earlier record
    p.Read(m);
    EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
    EXPECT_EQ(p.ToolTip.Text, "Tip");
    EXPECT_EQ(p.Value32, 42u);
    EXPECT_EQ(p.Text, "Wert");
    EXPECT_EQ(p.Actions->GetItemsInContainer(), 0);
  }
}

TEST(TProperty, RoundTripAndDeepCopy) {
  TProperty p;
  p.Flags |= kPropToolTip;
  p.ToolTip.Mode = 1;
  p.ToolTip.PictureFile = "tip.bmp";
  p.Text = "Hallo";
  auto* a = new TActionStruct;
  a->Delay = 5;
  p.Actions->Add(a);
  const std::vector<uint8_t> first = Written(p);
  MemoryStream m(first);
  TProperty q;
  q.Read(m);
  EXPECT_EQ(q.ToolTip.PictureFile, "tip.bmp");
  EXPECT_EQ(Written(q), first);

  TProperty c(p);
  (*p.Actions)[0]->Delay = 99;
  EXPECT_EQ((*c.Actions)[0]->Delay, 5u) << "the copy owns its own actions";
  EXPECT_TRUE(c == p) << "equality compares the head only";
}

// Unit and spans come from the file: their product must neither wrap nor
// exceed the longest delay.
TEST(TObjectInfoTail, DurationCountsInSixtyFourBits) {
  struct Case {
    const char* what;
    uint32_t unit, s[4];
    int first, count;
    uint32_t ms;
  };
  const Case cases[] = {
      {"first span", 125, {8, 16, 24, 2}, 0, 1, 1000},
      {"all four", 125, {8, 16, 24, 2}, 0, 4, 6250},
      {"the last alone", 125, {8, 16, 24, 2}, 3, 1, 250},
      {"a product past 32 bits", 0x10000, {0x10000, 0, 0, 0}, 0, 1, TObjectInfoTail::kLongestDuration},
      {"a sum past 32 bits", 1, {0xFFFFFFFF, 0xFFFFFFFF, 0, 0}, 0, 4, TObjectInfoTail::kLongestDuration},
      {"largest unit and spans", 0xFFFFFFFF, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0, 4,
       TObjectInfoTail::kLongestDuration},
      {"a product that wraps to 0 in 32 bits", 0x80000, {0x2000, 0, 0, 0}, 0, 1, TObjectInfoTail::kLongestDuration},
      {"no unit", 0, {5, 5, 5, 5}, 0, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TObjectInfoTail t;
    t.Unit = c.unit;
    for (int i = 0; i < 4; ++i) t.Spans[i] = c.s[i];
    EXPECT_EQ(t.Duration(c.first, c.count), c.ms);
  }
}

TEST(TObjectInfoTail, SpansRescaleAndLimits) {
  TObjectInfoTail t;
  t.Init(8, 16, 24, 0, 3);
  EXPECT_EQ(t.Unit, 125u);
  EXPECT_EQ(t.Total(), 48u);
  EXPECT_FALSE(t.Rescale(100));
  EXPECT_TRUE(t.Rescale(250));
  EXPECT_EQ(t.Spans[0], 4u);
  EXPECT_EQ(t.Spans[2], 12u);
  EXPECT_EQ(t.Unit, 250u);

  struct Case { uint32_t s[4]; int32_t limit; bool valid; };
  const Case cases[] = {
      {{0, 0, 0, 0}, 0, true},
      {{10, 20, 0, 0}, 30, true},
      {{10, 21, 0, 0}, 30, false},
      {{10, 21, 0, 0}, -5, true},
      {{0xFFFFFFFF, 0, 0, 0}, 0, false},          // negative first span
      {{0x7FFFFFFF, 0, 0, 0}, 0, false},          // the sum is the limit value
      {{0x7FFFFFF0, 0x20, 0, 0}, 0, false},       // the running sum wraps
      {{5, 0xFFFFFFFE, 0, 0}, 0, false},          // a decrease
  };
  for (const Case& c : cases) {
    TObjectInfoTail x;
    x.Init(c.s[0], c.s[1], c.s[2], c.s[3], 1);
    EXPECT_EQ(x.IsValid(c.limit), c.valid) << c.s[0] << " " << c.s[1] << " limit " << c.limit;
  }
}

TEST(TObjectInfo, FourPartsInOrder) {
  Bytes b;
  b.i16(1).u32(9).i32(-1).fixed("Bild", 32).zeros(32);
  b.u16(2).i32(1).i32(2).i32(3).i32(4);
  b.u32(0x184 | kPropHasText | kPropHasActions).u16(0).i32(1).i32(1).i32(-1).i32(-1).u32(0);
  b.u8(0).u8(0).u8(0).zeros(11).zeros(4);
  ToolTipBytes(b);
  b.u16(0).u32(0).str("");
  b.u32(1).u32(125).u32(4).u32(0).u32(0).u32(8);
  MemoryStream m = b.stream();
  TObjectInfo info;
  info.Read(m);
  EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
  EXPECT_EQ(info.Target.Number, 9u);
  EXPECT_EQ(info.Rect.Layer, 2);
  EXPECT_EQ(info.Tail.Spans[3], 8u);
  EXPECT_EQ(Written(info), b.data());
}

TEST(TLongArray, SetOperations) {
  TLongArray a;
  EXPECT_TRUE(a.Add(5));
  EXPECT_TRUE(a.Add(2));
  EXPECT_TRUE(a.Add(9));
  EXPECT_FALSE(a.Add(2));
  EXPECT_EQ(a.Values, (std::vector<uint32_t>{5, 2, 9}));
  uint32_t v;
  EXPECT_TRUE(a.Get(2, v));
  EXPECT_EQ(v, 9u);
  EXPECT_FALSE(a.Get(3, v));
  EXPECT_FALSE(a.Swap(0, 3));
  EXPECT_TRUE(a.Swap(0, 2));
  EXPECT_TRUE(a.Remove(9));
  EXPECT_FALSE(a.Remove(9));
  EXPECT_EQ(a.Values, (std::vector<uint32_t>{2, 5}));
  EXPECT_EQ(Written(a), Bytes().u16(2).u32(2).u32(5).data());
}

TEST(TLongArray, CountBeyondTheFileGivesAnEmptyArray) {
  Bytes b;
  b.u16(60000).u32(1).u32(2);
  MemoryStream m = b.stream();
  TLongArray a;
  a.Values = {7};
  a.Read(m);
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(m.Remaining(), 0);
}

TEST(TData, BaseRecordAndRecordEndRule) {
  // Base: four u32 in field order.
  MemoryStream m(Bytes().u32(24).u32(7).u32(8).u32(9).u32(0xAAAAAAAA).u32(0xBBBBBBBB).u8(1).data());
  TData d;
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(d.RecordLength, 24u);
  EXPECT_EQ(d.Flags, 7u);
  EXPECT_EQ(m.Position(), 16);
  TData defaults;
  EXPECT_EQ(defaults.Flags, 0x1000u);
  EXPECT_EQ(defaults.Value3, 0xFFFFFFFFu);

  // start 0, 16 bytes read, the file holds 25 bytes.
  struct Case { uint32_t length; bool keep; int64_t position; };
  const Case cases[] = {
      {24, true, 24},   // inside the file: skip what a longer record carries
      {25, true, 25},   // exactly at the end
      {16, true, 16},   // exactly what was read
      {0, true, 16},    // zero: continue where reading stopped
      {10, true, 16},   // shorter than what was read: never back
      {26, false, 16},  // past the end: the object is dropped
      {0xFFFFFFFF, false, 16},
  };
  for (const Case& c : cases) {
    m.Seek(16);
    d.RecordLength = c.length;
    EXPECT_EQ(d.ContinueAtRecordEnd(m, 0), c.keep) << c.length;
    EXPECT_EQ(m.Position(), c.position) << c.length;
  }
}

TEST(TRawData, KeepsTheBytesItsLengthCovers) {
  Bytes b;
  b.u32(22).u32(3).u32(0).u32(0).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u8(0xEE);
  MemoryStream m = b.stream();
  TRawData r;
  ASSERT_TRUE(r.Read(m));
  EXPECT_EQ(r.Bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(m.Position(), 22);
  std::vector<uint8_t> expect(b.data().begin(), b.data().begin() + 22);
  EXPECT_EQ(Written(r), expect);

  MemoryStream past(Bytes().u32(100).u32(0).u32(0).u32(0).u8(1).data());
  TRawData dropped;
  EXPECT_FALSE(dropped.Read(past)) << "a length past the end drops the object";

  r.Reset();
  EXPECT_TRUE(r.Bytes.empty()) << "reset: a new record keeps no bytes";
  TRawData fresh;
  EXPECT_EQ(Written(r), Written(fresh)) << "reset: a new record";
}

TEST(RecordVersions, FloatTestsAreStrict) {
  struct Case { uint8_t fmaj, fmin, maj, min; bool above, below; };
  const Case cases[] = {
      {3, 2, 3, 1, true, false}, {3, 2, 3, 2, false, false}, {3, 1, 3, 2, false, true},
      {3, 10, 4, 0, false, false},  // minor 10 counts as the next major
      {4, 7, 4, 7, false, false}, {4, 8, 4, 7, true, false}, {2, 7, 2, 6, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tsl::IsVersionAbove(c.fmaj, c.fmin, c.maj, c.min), c.above) << int(c.fmaj) << "." << int(c.fmin);
    EXPECT_EQ(tsl::IsVersionBelow(c.fmaj, c.fmin, c.maj, c.min), c.below) << int(c.fmaj) << "." << int(c.fmin);
  }
  EXPECT_TRUE(tsl::RecordVersionAbove(4, 6)) << "no project open: the newest version";
  tsl::TFileVersionScope v(3, 1);
  EXPECT_FALSE(tsl::RecordVersionAbove(3, 1));
}
