#include "objects/core/dxshowdata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/format/bytes.h"

using namespace tsl;

namespace {

// A record laid down from the record table: base, file name, 16 reserved
// bytes, then `extra` bytes a later version might add.
Bytes DXShowBytes(uint32_t flags, const std::string& file, size_t extra = 0) {
  Bytes b;
  b.u32(static_cast<uint32_t>(34 + file.size() + extra)).u32(flags).i32(-1).i32(-1).str(file);
  for (int i = 0; i < 16; ++i) b.u8(static_cast<uint8_t>(0xA0 + i));
  b.zeros(extra);
  return b;
}

TEST(DXShowData, DefaultsAreSoundAndPictureWithItsBar) {
  TDXShowData d;
  EXPECT_EQ(d.Flags, 0x300Au);
  EXPECT_TRUE(d.Has(kDXShowWindowVisible));
  EXPECT_TRUE(d.Has(kDXShowControllerBar));
  EXPECT_FALSE(d.Has(kDXShowLoop) || d.Has(kDXShowRewind) || d.Has(kDXShowUseDspane));
  EXPECT_EQ(d.Value3, 0xFFFFFFFFu);
  EXPECT_STREQ(d.FileName.c_str(), "");
  for (uint8_t b : d.Reserved) EXPECT_EQ(b, 0);
}

TEST(DXShowData, ReadsTheStoredLayoutAndWritesItBackByteForByte) {
  const struct {
    const char* what;
    uint32_t flags;
    std::string file;
  } cases[] = {
      {"a movie through dspane, looping", kDXShowUseDspane | kDXShowLoop | kDXShowWindowVisible, "C:\\M\\clip.avi"},
      {"a sound only, rewound", kDXShowRewind | 0x1000, "ton.wav"},
      {"no file", 0x300A, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes stored = DXShowBytes(c.flags, c.file);
    ASSERT_EQ(stored.size(), 34 + c.file.size());
    MemoryStream in = stored.stream();
    TDXShowData d;
    ASSERT_TRUE(d.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(stored.size()));
    EXPECT_EQ(d.Flags, c.flags);
    EXPECT_EQ(std::string(d.FileName.c_str()), c.file);
    EXPECT_EQ(d.Reserved[15], 0xAF);

    TDXShowData copy;
    copy.Assign(&d);
    MemoryStream out;
    ASSERT_TRUE(copy.Write(out));
    EXPECT_EQ(out.Data(), stored.data());
    EXPECT_EQ(copy.RecordLength, stored.size());
  }
}

TEST(DXShowData, ALongerRecordIsSkippedToItsEndAndAShortOneFails) {
  Bytes longer = DXShowBytes(0x300A, "a.mov", 12);
  longer.u32(0xC0FFEE);  // what follows the record
  MemoryStream in = longer.stream();
  TDXShowData d;
  ASSERT_TRUE(d.Read(in));
  EXPECT_EQ(in.Position(), 34 + 5 + 12);
  EXPECT_STREQ(d.FileName.c_str(), "a.mov");

  // The stored length runs past the end of the file.
  Bytes cut = DXShowBytes(0x300A, "a.mov");
  cut.put32(0, 500);
  MemoryStream short_in = cut.stream();
  TDXShowData s;
  EXPECT_FALSE(s.Read(short_in));
}

TEST(DXShowData, AssignTakesOnlyItsOwnKind) {
  TDXShowData d;
  d.FileName = "x.avi";
  d.Flags = 0x21;
  TData other;
  other.Flags = 0x5;
  d.Assign(&other);
  EXPECT_EQ(d.Flags, 0x21u);
  EXPECT_STREQ(d.FileName.c_str(), "x.avi");
}

}  // namespace
