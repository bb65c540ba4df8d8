#include "objects/core/flashplayerdata.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/format/bytes.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

// A record laid down from the record table: base, file name, quality,
// scale mode, 16 reserved bytes, then `extra` bytes a later version adds.
Bytes FlashBytes(uint32_t flags, const std::string& file, uint16_t quality, uint16_t scale, size_t extra = 0) {
  Bytes b;
  b.u32(static_cast<uint32_t>(38 + file.size() + extra)).u32(flags).i32(-1).i32(-1).str(file).u16(quality).u16(scale);
  for (int i = 0; i < 16; ++i) b.u8(static_cast<uint8_t>(0xB0 + i));
  b.zeros(extra);
  return b;
}

TEST(FlashPlayerData, DefaultsAndTheStoredLayoutRoundTrip) {
  TFlashPlayerData d;
  EXPECT_EQ(d.Flags, 0x1000u);
  EXPECT_EQ(d.Quality, 1);
  EXPECT_EQ(d.ScaleMode, 0);
  const struct {
    const char* what;
    uint32_t flags;
    std::string file;
    uint16_t quality, scale;
  } cases[] = {
      {"a looping movie, high quality, scaled", 0x1001, "C:\\P\\intro.swf", 3, 2},
      {"no file", 0x1000, "", 1, 0},
      {"the largest values", 0xFFFFFFFF, "m.swf", 0xFFFF, 0xFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes stored = FlashBytes(c.flags, c.file, c.quality, c.scale);
    ASSERT_EQ(stored.size(), 38 + c.file.size());
    MemoryStream in = stored.stream();
    TFlashPlayerData r;
    ASSERT_TRUE(r.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(stored.size()));
    EXPECT_EQ(r.Flags, c.flags);
    EXPECT_EQ(std::string(r.FileName.c_str()), c.file);
    EXPECT_EQ(r.Quality, c.quality);
    EXPECT_EQ(r.ScaleMode, c.scale);
    EXPECT_EQ(r.Reserved[15], 0xBF);
    // A copied object keeps quality, scale mode and the reserved bytes.
    TFlashPlayerData copy;
    copy.Assign(&r);
    MemoryStream out;
    ASSERT_TRUE(copy.Write(out));
    EXPECT_EQ(out.Data(), stored.data());
  }
}

TEST(FlashPlayerData, ALongerRecordIsSkippedAndAShortOneFails) {
  Bytes longer = FlashBytes(0x1000, "a.swf", 1, 0, 9);
  longer.u32(0xC0FFEE);
  MemoryStream in = longer.stream();
  TFlashPlayerData d;
  ASSERT_TRUE(d.Read(in));
  EXPECT_EQ(in.Position(), 38 + 5 + 9);

  Bytes cut = FlashBytes(0x1000, "a.swf", 1, 0);
  cut.put32(0, 400);
  MemoryStream short_in = cut.stream();
  TFlashPlayerData s;
  EXPECT_FALSE(s.Read(short_in));
}

TEST(FlashPlayerData, AssignResetsFirstAndTakesOnlyItsOwnKind) {
  TFlashPlayerData d;
  d.FileName = "x.swf";
  d.Quality = 7;
  TData other;
  d.Assign(&other);
  EXPECT_EQ(d.Quality, 7);
  EXPECT_STREQ(d.FileName.c_str(), "x.swf");
}

TFlashPlayerData FlashOf(const std::string& statement, bool* parsed = nullptr) {
  const std::string text = "size 640 480\npage 1\n  object flash \"F\" 10 10 110 40\n    " + statement + "\n";
  TProjectDescription project;
  TDescriptionError error;
  const bool ok = ParseProjectDescription(text, ".", project, error);
  if (parsed) *parsed = ok;
  TFlashPlayerData d;
  if (!ok || project.Image.Pages.empty() || project.Image.Pages[0]->Record.Objects.empty()) return d;
  MemoryStream m;
  project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
  m.Seek(0);
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(m.Position(), m.Length());
  return d;
}

TEST(FlashDescription, OptionsAndErrors) {
  const struct {
    const char* what;
    const char* statement;
    uint32_t flags;
    uint16_t quality, scale;
  } cases[] = {
      {"defaults", "flash \"m.swf\"", 0x1000, 1, 0},
      {"all options", "flash \"m.swf\" loop quality 3 scale 2", 0x1001, 3, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TFlashPlayerData d = FlashOf(c.statement);
    EXPECT_EQ(d.Flags, c.flags);
    EXPECT_EQ(d.Quality, c.quality);
    EXPECT_EQ(d.ScaleMode, c.scale);
    EXPECT_STREQ(d.FileName.c_str(), "m.swf");
  }
  for (const char* bad : {"flash", "flash m.swf", "flash \"m.swf\" quality", "flash \"m.swf\" scale 70000",
                          "flash \"m.swf\" wobble"}) {
    SCOPED_TRACE(bad);
    bool parsed = true;
    FlashOf(bad, &parsed);
    EXPECT_FALSE(parsed);
  }
}

}  // namespace
