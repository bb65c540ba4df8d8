// The project's font block: what it holds, and how much of a damaged one is
// believed.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/core/format/projectimage.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/core/pages/fontblock.h"

namespace {

std::vector<TFontBlockEntry> Read(const std::vector<uint8_t>& bytes, bool* magic = nullptr) {
  tsl::MemoryStream m(bytes);
  std::vector<TFontBlockEntry> out;
  const bool ok = ReadFontBlock(m, [&](TFontBlockEntry& e) { out.push_back(e); });
  if (magic) *magic = ok;
  return out;
}

TFontBlockEntry Font(const char* face, size_t size) {
  TFontBlockEntry e;
  e.Entry.SourceName = string(face) + ".ttf";
  e.Entry.TempFile = "C:\\TEMP\\tsl1.tmp";
  e.Entry.FaceName = face;
  for (size_t i = 0; i < size; ++i) e.Image.push_back(static_cast<uint8_t>(i * 7));
  return e;
}

}  // namespace

TEST(FontBlock, WrittenAndReadBack) {
  tsl::MemoryStream m;
  ASSERT_TRUE(WriteFontBlock(m, {Font("Eins", 300), Font("Zwei", 0), Font("Drei", 5)}));
  bool magic = false;
  const std::vector<TFontBlockEntry> back = Read(m.Data(), &magic);
  EXPECT_TRUE(magic);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0].Entry.FaceName, "Eins");
  EXPECT_EQ(back[0].Entry.SourceName, "Eins.ttf");
  EXPECT_EQ(back[0].Entry.TempFile, "C:\\TEMP\\tsl1.tmp") << "as stored; the player discards it";
  EXPECT_EQ(back[0].Image, Font("Eins", 300).Image);
  EXPECT_TRUE(back[1].Image.empty()) << "size 0: no image";
  EXPECT_EQ(back[2].Image.size(), 5u);
}

TEST(FontBlock, DamagedBlocksKeepWhatWasWhole) {
  tsl::MemoryStream m;
  WriteFontBlock(m, {Font("Eins", 40), Font("Zwei", 40)});
  const std::vector<uint8_t> whole = m.Data();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool magic;
    size_t fonts;
  };
  std::vector<uint8_t> bigCount = whole;
  bigCount[4] = 0xFF, bigCount[5] = 0xFF, bigCount[6] = 0xFF, bigCount[7] = 0x7F;
  std::vector<uint8_t> bigSize = whole;
  // The second entry's size: behind the first entry and its three strings.
  const size_t second = 8 + (2 + 8) + (2 + 16) + (2 + 4) + 4 + 40;
  const size_t sizeAt = second + (2 + 8) + (2 + 16) + (2 + 4);
  bigSize[sizeAt + 3] = 0x40;
  std::vector<uint8_t> badMagic = whole;
  badMagic[0] ^= 1;
  const Case cases[] = {
      {"whole", whole, true, 2},
      {"count beyond the entries", bigCount, true, 2},
      {"a size past the end", bigSize, true, 1},
      {"cut inside the second image", std::vector<uint8_t>(whole.begin(), whole.end() - 10), true, 1},
      {"cut inside the first strings", std::vector<uint8_t>(whole.begin(), whole.begin() + 14), true, 0},
      {"wrong magic", badMagic, false, 0},
      {"nothing", {}, false, 0},
  };
  for (const Case& c : cases) {
    bool magic = !c.magic;
    EXPECT_EQ(Read(c.bytes, &magic).size(), c.fonts) << c.what;
    EXPECT_EQ(magic, c.magic) << c.what;
  }
  tsl::MemoryStream empty;
  WriteFontBlock(empty, {});
  EXPECT_EQ(empty.Data().size(), 8u);
  EXPECT_TRUE(Read(empty.Data()).empty());
}

TEST(FontBlock, TheBuilderCarriesFonts) {
  const std::string dir = testing::TempDir();
  const std::string file = dir + "/tslfont.ttf";
  {
    std::ofstream out(file, std::ios::binary);
    out << "not really a font, but bytes to carry";
  }
  TProjectDescription d;
  TDescriptionError e;
  ASSERT_TRUE(ParseProjectDescription("font \"Testschrift\" \"tslfont.ttf\"\npage 1\n", dir, d, e)) << e.Message;
  tsl::MemoryStream m;
  WriteProjectDescription(d, m);
  m.Seek(0);
  TProjectImage back;
  ASSERT_TRUE(back.Read(m));
  ASSERT_EQ(back.Fonts.size(), 1u);
  EXPECT_EQ(back.Fonts[0].Entry.FaceName, "Testschrift");
  EXPECT_EQ(back.Fonts[0].Image.size(), 37u);
  EXPECT_EQ(DumpProject(back), DumpProject(d.Image));
  EXPECT_FALSE(ParseProjectDescription("font \"X\" \"missing.ttf\"\n", dir, d, e));
  EXPECT_EQ(e.Line, 1);
}
