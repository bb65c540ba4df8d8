#include "wintest.h"

#include <cstring>
#include <string>

#include "foundation/resstring.h"
#include "foundation/streamio.h"
#include "imaging/dibglobal.h"
#include "platform/owl/file.h"
#include "resources/resource.h"

// Project files are opened by Windows path through TFile; the encodings and
// the global-memory picture must survive a real file round trip.
TEST(StreamIo, FileRoundTripThroughWindowsPaths) {
  const std::string path = wintest::TempPath("tsl_streamio.bin");
  ASSERT_EQ(path.substr(1, 2), ":\\");

  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 1024 + 4000);
  auto* p = static_cast<uint8_t*>(GlobalLock(dib));
  const uint32_t hs = 40;
  const uint16_t bpp = 8;
  std::memcpy(p, &hs, 4);
  std::memcpy(p + 14, &bpp, 2);
  p[5000] = 0x5A;
  GlobalUnlock(dib);

  TChooseFontDialog::TData font;
  font.LogFont.lfHeight = -16;
  std::strcpy(font.LogFont.lfFaceName, "Arial");
  font.Color = RGB(1, 2, 3);
  font.PointSize = 120;
  {
    TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(f.IsOpen());
    WriteShortString(string("\xc4nderung"), f);  // "Änderung" in code page 1252
    EXPECT_TRUE(WriteDib(dib, f));
    EXPECT_FALSE(WriteDib(nullptr, f));
    WriteFontData(font, f);
    RECT r{1, 2, 3, 4};
    WriteRect(r, f);
    EXPECT_EQ(f.Length(), 2 + 8 + 14 + 5064 + 82 + 16);
  }
  TFile f(path.c_str());
  ASSERT_TRUE(f.IsOpen());
  string s;
  ReadShortString(s, f);
  EXPECT_EQ(s, "\xc4nderung");
  HGLOBAL back = ReadDib(f);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(GlobalSize(back), 5064u);
  EXPECT_EQ(static_cast<uint8_t*>(GlobalLock(back))[5000], 0x5A);
  GlobalUnlock(back);
  GlobalFree(back);
  TChooseFontDialog::TData fb;
  fb.DC = reinterpret_cast<HDC>(1);
  ReadFontData(fb, f);
  EXPECT_EQ(fb.LogFont.lfHeight, -16);
  EXPECT_STREQ(fb.LogFont.lfFaceName, "Arial");
  EXPECT_EQ(fb.Color, RGB(1, 2, 3));
  EXPECT_EQ(fb.DC, nullptr);
  RECT r{};
  ReadRect(r, f);
  EXPECT_EQ(r.bottom, 4);
  EXPECT_EQ(ReadDib(f), nullptr);  // at the end
  f.Close();
  GlobalFree(dib);
  DeleteFileA(path.c_str());
}

TEST(StreamIo, GermanTextsComeFromTheStringTable) {
  EXPECT_STREQ(LoadResString(IDS_NO_TIMER), "Keine Zeitgeber mehr verf\xfc" "gbar!");
  EXPECT_STREQ(LoadResString(IDS_PROGRAM_TITLE), "TSL F\xdcR WINDOWS V4.77");
  EXPECT_STREQ(LoadResString(65000), "");
}
