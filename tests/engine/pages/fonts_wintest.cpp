// The project's fonts: a TrueType font carried in a font block is installed
// for the run when its face is missing, is then available to EnumFonts, and
// is gone again, its temporary file deleted, when the fonts are removed. The
// face is one no machine has: a DejaVu font of the Debian package with its
// family renamed here.
#include "winpages.h"

#include <fstream>

#include "engine/fonts.h"
#include "foundation/fileutil.h"

namespace {

const char kFace[] = "Qzxwvu Sans Mono";

int CALLBACK Found(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM seen) {
  *reinterpret_cast<bool*>(seen) = true;
  return 0;
}

bool FaceAvailable(const char* face) {
  bool seen = false;
  const HDC dc = ::GetDC(nullptr);
  ::EnumFontsA(dc, face, Found, reinterpret_cast<LPARAM>(&seen));
  ::ReleaseDC(nullptr, dc);
  return seen;
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

void ReplaceAll(std::vector<uint8_t>& b, size_t from, size_t to, const std::string& what, const std::string& with) {
  for (size_t i = from; i + what.size() <= to; ++i)
    if (std::equal(what.begin(), what.end(), b.begin() + static_cast<std::ptrdiff_t>(i)))
      std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string Utf16(const std::string& s) {
  std::string r;
  for (char c : s) r += std::string(1, '\0') + c;
  return r;
}

// DejaVu Sans Mono with "DejaVu" renamed in its name table (same length, so
// no offset moves).
std::vector<uint8_t> RenamedFont() {
  std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 12) return {};
  const size_t tables = size_t(b[4]) << 8 | b[5];
  for (size_t t = 0; t < tables && 12 + 16 * t + 16 <= b.size(); ++t) {
    const size_t rec = 12 + 16 * t;
    if (std::string(b.begin() + rec, b.begin() + rec + 4) != "name") continue;
    const size_t at = Be32(b, rec + 8), len = Be32(b, rec + 12);
    ReplaceAll(b, at, at + len, "DejaVu", "Qzxwvu");
    ReplaceAll(b, at, at + len, Utf16("DejaVu"), Utf16("Qzxwvu"));
  }
  return b;
}

TFontBlockEntry Entry(const char* face, std::vector<uint8_t> image) {
  TFontBlockEntry e;
  e.Entry.SourceName = "DejaVuSansMono.ttf";
  e.Entry.TempFile = "C:\\nowhere\\stored.tmp";
  e.Entry.FaceName = face;
  e.Image = std::move(image);
  return e;
}

tsl::MemoryStream Block(const std::vector<TFontBlockEntry>& fonts) {
  tsl::MemoryStream m;
  WriteFontBlock(m, fonts);
  m.Seek(0);
  return m;
}

}  // namespace

TEST(ProjectFonts, ACarriedFontIsThereForTheRunOnly) {
  const std::vector<uint8_t> font = RenamedFont();
  ASSERT_GT(font.size(), 10000u) << "the DejaVu package's font";
  ASSERT_FALSE(FaceAvailable(kFace)) << "no machine has this face";
  TFontManager fonts;
  EXPECT_TRUE(fonts.IsFaceInstalled("DEJAVU SANS MONO")) << "the machine's faces, upper case";

  tsl::MemoryStream block = Block({Entry(kFace, font)});
  ASSERT_TRUE(TFontManager::Read(fonts, block, true));
  ASSERT_EQ(fonts.Entries.GetItemsInContainer(), 1);
  const string temp = fonts.Entries[0]->TempFile;
  ASSERT_FALSE(temp.is_null()) << "installed from a temporary file";
  EXPECT_NE(temp, "C:\\nowhere\\stored.tmp") << "the stored name is not used";
  EXPECT_TRUE(FileExists(temp.c_str()));
  EXPECT_TRUE(FaceAvailable(kFace));
  EXPECT_FALSE(GetFontFileImage(*fonts.Entries[0]).empty()) << "the writer's image of the face";

  TFontManager::RemoveFonts(fonts);
  EXPECT_FALSE(FaceAvailable(kFace));
  EXPECT_FALSE(FileExists(temp.c_str()));
  EXPECT_EQ(fonts.Entries.GetItemsInContainer(), 1) << "the entries stay";
}

TEST(ProjectFonts, WhatIsInstalledAndWhatNot) {
  const std::vector<uint8_t> font = RenamedFont();
  ASSERT_FALSE(font.empty());
  auto installed = [](TFontManager& m) {
    std::vector<bool> r;
    for (TFontEntry* e : m.Entries) r.push_back(!e->TempFile.is_null());
    return r;
  };
  {
    TFontManager fonts;
    tsl::MemoryStream block = Block({Entry("DejaVu Sans Mono", font), Entry(kFace, font), Entry(kFace, font),
                                     Entry(kFace, {}), Entry("Another Face", font)});
    ASSERT_TRUE(TFontManager::Read(fonts, block, true));
    EXPECT_EQ(installed(fonts), (std::vector<bool>{false, true, true, false, true}))
        << "an installed face is not added; a missing one twice is added twice; no image, nothing";
    const string first = fonts.Entries[1]->TempFile;

    // Reading again removes what the first reading installed.
    tsl::MemoryStream none = Block({Entry(kFace, font)});
    ASSERT_TRUE(TFontManager::Read(fonts, none, false));
    EXPECT_FALSE(FileExists(first.c_str()));
    EXPECT_EQ(installed(fonts), std::vector<bool>{false}) << "without installing";
    EXPECT_FALSE(FaceAvailable(kFace));

    tsl::MemoryStream empty = Block({});
    EXPECT_TRUE(TFontManager::Read(fonts, empty, true));
    EXPECT_EQ(fonts.Entries.GetItemsInContainer(), 0);
    tsl::MemoryStream garbage(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_FALSE(TFontManager::Read(fonts, garbage, true));
  }
  EXPECT_FALSE(FaceAvailable(kFace)) << "the manager's end removes its fonts";
}

TEST(ProjectFonts, TheFontSideFileOfAProject) {
  const std::vector<uint8_t> font = RenamedFont();
  ASSERT_FALSE(font.empty());
  TTestWindow w;
  const std::string project = TempPath("fonts.crt");
  WriteBytes(project, BuildProject("page 1\n"));
  const std::string side = TempPath("fonts.fdt");
  {
    TBookStruct book(&w.Window, project.c_str());
    tsl::MemoryStream block = Block({Entry(kFace, font)});
    ASSERT_TRUE(TFontManager::Read(book.Fonts, block, true));
    ASSERT_TRUE(book.WriteFontFile(project.c_str()));
    TFile f(side.c_str());
    ASSERT_TRUE(f.IsOpen());
    TFontManager again;
    ASSERT_TRUE(TFontManager::Read(again, f, false));
    ASSERT_EQ(again.Entries.GetItemsInContainer(), 1);
    EXPECT_EQ(again.Entries[0]->FaceName, kFace);
    EXPECT_TRUE(again.Entries[0]->TempFile.is_null()) << "the reader discards the stored temporary file";
  }
  EXPECT_FALSE(FaceAvailable(kFace)) << "the project's end removes its fonts";
  ::DeleteFileA(side.c_str());
  ::DeleteFileA(project.c_str());
}
