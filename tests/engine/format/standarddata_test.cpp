// "STANDARD.DAT", the editing mode's per-kind defaults: 22 records in kind
// order, each a magic, a description and a data record.
#include <gtest/gtest.h>

#include <functional>

#include "bytes.h"
#include "engine/core/format/standarddata.h"
#include "engine/core/pages/standindata.h"

using tsl::MemoryStream;

namespace {

// A record laid down by hand: the magic, a description (target, rectangle,
// property with tooltip block, actions and text, timing) and a stand-in
// data record of 16 bytes plus `extra` bytes.
Bytes& RecordBytes(Bytes& b, uint32_t magic, int16_t kind, int32_t left, uint32_t extra) {
  b.u32(magic);
  b.i16(kind).u32(0).i32(-1).fixed("Vorgabe", 32).zeros(32);
  b.u16(3).i32(left).i32(2).i32(left + 30).i32(40);
  b.u32(0x184 | kPropHasText | kPropHasActions).u16(0).i32(1).i32(1).i32(-1).i32(-1).u32(0);
  b.u8(0).u8(0).u8(0).zeros(11).zeros(4);
  ToolTipBytes(b);
  b.u16(0).u32(0).str("");
  b.u32(1).u32(125).u32(0).u32(0).u32(0).u32(0);
  b.u32(16 + extra).u32(0x1000).u32(7).u32(0xFFFFFFFF);
  for (uint32_t i = 0; i < extra; ++i) b.u8(static_cast<uint8_t>(i + 1));
  return b;
}

std::vector<uint8_t> Written(TKindDefaults& t) {
  MemoryStream m;
  EXPECT_TRUE(WriteKindDefaults(m, t, CreateStandInData));
  return m.Data();
}

}  // namespace

TEST(StandardData, DefaultsAreMadeForEveryKind) {
  TKindDefaults t;
  MakeKindDefaults(t, CreateStandInData);
  EXPECT_TRUE(t.Filled);
  for (int k = 0; k < kObjectKinds; ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(t.Infos[k] && t.Data[k]);
    EXPECT_EQ(t.Infos[k]->Property.Flags, 0x184u);
    EXPECT_EQ(t.Infos[k]->Tail.Flags, 1u);
  }
}

TEST(StandardData, HandLaidFileIsReadKindByKindAndWrittenBackAlike) {
  Bytes b;
  for (int k = 0; k < kObjectKinds; ++k) RecordBytes(b, kStandardDataMagic, static_cast<int16_t>(k), 10 + k, k % 3);
  TKindDefaults t;
  MakeKindDefaults(t, CreateStandInData);
  MemoryStream m = b.stream();
  EXPECT_EQ(ReadKindDefaults(m, t, CreateStandInData), kObjectKinds);
  EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
  for (int k = 0; k < kObjectKinds; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(t.Infos[k]->Target.Kind, k);
    EXPECT_EQ(t.Infos[k]->Rect.Left, 10 + k);
    EXPECT_EQ(t.Infos[k]->Rect.Layer, 3);
    EXPECT_EQ(t.Data[k]->RecordLength, 16u + k % 3);
    EXPECT_EQ(t.Data[k]->Value3, 7u);
  }
  EXPECT_EQ(Written(t), b.data());
}

TEST(StandardData, ReadingStopsAtTheFirstBadRecordAndKeepsWhatItRead) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> lay;
    int read;
  };
  const Case cases[] = {
      {"the third magic is wrong",
       [](Bytes& b) {
         RecordBytes(b, kStandardDataMagic, 0, 11, 0);
         RecordBytes(b, kStandardDataMagic, 1, 12, 0);
         RecordBytes(b, 0x79EE3B69, 2, 13, 0);
       },
       2},
      {"the file ends inside the second magic",
       [](Bytes& b) { RecordBytes(b, kStandardDataMagic, 0, 11, 0).u16(0x3B68); }, 1},
      {"the file ends inside the second description",
       [](Bytes& b) {
         RecordBytes(b, kStandardDataMagic, 0, 11, 0);
         Bytes r;
         RecordBytes(r, kStandardDataMagic, 1, 12, 0);
         b.raw(r.data().data(), 60);
       },
       1},
      {"the second data record claims more than the file",
       [](Bytes& b) {
         RecordBytes(b, kStandardDataMagic, 0, 11, 0);
         RecordBytes(b, kStandardDataMagic, 1, 12, 4);
         b.put32(b.size() - 20, 0x7FFFFFF0);
       },
       1},
      {"an empty file", [](Bytes&) {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes b;
    c.lay(b);
    TKindDefaults t;
    MakeKindDefaults(t, CreateStandInData);
    MemoryStream m = b.stream();
    EXPECT_EQ(ReadKindDefaults(m, t, CreateStandInData), c.read);
    for (int k = 0; k < kObjectKinds; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(t.Infos[k]->Rect.Left, k < c.read ? 11 + k : 0) << "read from the file, else the default";
      EXPECT_EQ(t.Data[k]->Value3, k < c.read ? 7u : 0xFFFFFFFFu);
    }
  }
}

TEST(StandardData, WrittenDefaultsRoundTripByteForByte) {
  TKindDefaults t;
  MakeKindDefaults(t, CreateStandInData);
  t.Infos[5]->Property.Text = "F\xFCnf";
  t.Infos[21]->Rect.Right = 777;
  const std::vector<uint8_t> first = Written(t);
  TKindDefaults back;
  MemoryStream m(first);
  EXPECT_EQ(ReadKindDefaults(m, back, CreateStandInData), kObjectKinds);
  EXPECT_EQ(back.Infos[21]->Rect.Right, 777);
  EXPECT_EQ(std::string(back.Infos[5]->Property.Text.c_str()), "F\xFCnf");
  EXPECT_EQ(Written(back), first);
}
