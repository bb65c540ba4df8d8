#include "wintest.h"

#include <cstdlib>
#include <string>

#include "engine/paintinfo.h"
#include "platform/owl/applicat.h"
#include "foundation/sysinfo.h"
#include "imaging/jpegfile.h"
#include "objects/picture.h"
#include "objects/text/objectpage.h"
#include "slideshow/picdlg.h"

namespace {

const COLORREF kPage = RGB(0x30, 0x50, 0xA0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

// Picture files beside the project, made once.
struct Pictures {
  Pictures() {
    // 40 x 20: the left half red, the right half blue.
    TrueColourDib(40, 20, 24, [](int x, int) { return x < 20 ? kRed : kBlue; })->WriteFile(wintest::TempPath("pic_halves.bmp").c_str());
    TrueColourDib(100, 100, 24, [](int, int) { return kGreen; })->WriteFile(wintest::TempPath("pic_square.bmp").c_str());
    // Yellow inside a magenta ring 10 pixels wide.
    TrueColourDib(40, 40, 24, [](int x, int y) {
      return x < 10 || y < 10 || x >= 30 || y >= 30 ? kMagenta : kYellow;
    })->WriteFile(wintest::TempPath("pic_ring.bmp").c_str());
    TrueColourDib(60, 30, 24, [](int, int) { return kRed; })->WriteFile(wintest::TempPath("pic_wide.bmp").c_str());
    std::vector<uint8_t> rgb(32 * 32 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 200, rgb[i + 1] = 40, rgb[i + 2] = 40;
    SetJpegImage(wintest::TempPath("pic_solid.jpg").c_str(), 32, 32, rgb.data(), 95);
  }
};
const Pictures& MakePictures() {
  static Pictures p;
  return p;
}

// Pictures named through the project-folder placeholder (the project lies
// in the temporary folder too).
std::string Page(const std::string& background, const std::string& objects) {
  MakePictures();
  return "size 600 400\nflags hscroll vscroll\npathmode 0\npage 1\n  background " + background + "\n" + objects;
}

TPicObject* PictureAt(ObjectPage& page, uint32_t number) { return dynamic_cast<TPicObject*>(page.Object(number)); }

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(PictureObject, StretchedCentredNaturalAndJpeg) {
  ObjectPage page(Page("colour #3050A0",
                       "  object picture 10 10 210 110\n"
                       "    picture linked \"<CURRENTPROJECTDIR>pic_halves.bmp\"\n"
                       "  object picture 250 10 450 110\n"
                       "    props 0x80184\n"
                       "    picture linked \"<CURRENTPROJECTDIR>pic_square.bmp\"\n"
                       "  object picture 10 150 210 250\n"
                       "    props 0x104\n"
                       "    picture linked \"<CURRENTPROJECTDIR>pic_halves.bmp\"\n"
                       "  object picture 250 150 330 230\n"
                       "    picture linked \"<CURRENTPROJECTDIR>pic_solid.jpg\"\n"),
                  600, 400);
  ASSERT_TRUE(page.Ok);
  for (uint32_t n = 1; n <= 4; ++n) {
    ASSERT_NE(PictureAt(page, n), nullptr) << n;
    ASSERT_NE(PictureAt(page, n)->GetPicture(), nullptr) << n;
  }
  auto c = page.PaintClient();
  // Stretched over 200 x 100: the halves meet at x = 110.
  EXPECT_EQ(c->At(10, 10), kRed);
  EXPECT_EQ(c->At(105, 60), kRed);
  EXPECT_EQ(c->At(115, 60), kBlue);
  EXPECT_EQ(c->At(209, 109), kBlue);
  EXPECT_EQ(c->At(211, 60), kPage);
  // 100 x 100 fitted into 200 x 100: centred, 50 from the left edge.
  EXPECT_EQ(c->At(298, 60), kPage);
  EXPECT_EQ(c->At(300, 60), kGreen);
  EXPECT_EQ(c->At(399, 60), kGreen);
  EXPECT_EQ(c->At(401, 60), kPage);
  // Natural size at the top-left corner.
  EXPECT_EQ(c->At(12, 152), kRed);
  EXPECT_EQ(c->At(45, 165), kBlue);
  EXPECT_EQ(c->At(52, 160), kPage);
  EXPECT_EQ(c->At(20, 172), kPage);
  // The JPEG stretched over 80 x 80.
  EXPECT_TRUE(Near(c->At(252, 152), RGB(200, 40, 40), 12));
  EXPECT_TRUE(Near(c->At(328, 228), RGB(200, 40, 40), 12));
  EXPECT_EQ(c->At(332, 190), kPage);
}

// The transparent colour lets the patterned page show through.
TEST(PictureObject, TransparentColourOverAPattern) {
  ObjectPage page(Page("pattern 6 #000000",
                       "  object picture 40 40 200 200\n"
                       "    picture linked \"<CURRENTPROJECTDIR>pic_ring.bmp\" transparent #FF00FF\n"),
                  600, 400);
  ASSERT_TRUE(page.Ok);
  TPicObject* pic = PictureAt(page, 1);
  ASSERT_NE(pic, nullptr);
  EXPECT_TRUE(pic->RepaintsThroughPage());
  auto with = page.PaintClient();
  pic->Visible = 0;
  auto without = page.PaintClient();
  int ringPixels = 0;
  for (int y = 40; y < 200; y += 3)
    for (int x = 40; x < 200; x += 3) {
      const bool centre = x >= 80 && x < 160 && y >= 80 && y < 160;
      const bool edge = (x >= 76 && x < 84) || (x >= 156 && x < 164) || (y >= 76 && y < 84) || (y >= 156 && y < 164);
      if (edge) continue;
      if (centre) {
        EXPECT_EQ(with->At(x, y), kYellow) << x << "," << y;
      } else {
        EXPECT_EQ(with->At(x, y), without->At(x, y)) << x << "," << y;
        ++ringPixels;
      }
    }
  EXPECT_GT(ringPixels, 100);
}

// Scrolled by (100, 50), the picture lands at its page place minus the
// offset, once.
TEST(PictureObject, PaintsAtTheScrollOffset) {
  for (bool transparent : {false, true}) {
    ObjectPage page(Page("colour #3050A0", std::string("  object picture 150 100 250 150\n"
                                                       "    picture linked \"<CURRENTPROJECTDIR>pic_wide.bmp\"") +
                                               (transparent ? " transparent #00FF00\n" : "\n")),
                    300, 200);
    ASSERT_TRUE(page.Ok);
    // A DrawDib handle that drew into another DC draws nothing under Wine
    // (DDF_SAME_HDC): the page draws through GDI here, and a fresh handle
    // checks the DrawDib path below.
    page.Book->Info.Flags &= ~0x1000u;
    page.Window->Scroller->ScrollTo(100, 50);
    ASSERT_EQ(page.Window->GetScrollOffset(), TPoint(100, 50));
    auto c = page.PaintClient();
    EXPECT_EQ(c->At(50, 50), kRed) << transparent;
    EXPECT_EQ(c->At(149, 99), kRed) << transparent;
    EXPECT_EQ(c->At(48, 75), kPage) << transparent;
    EXPECT_EQ(c->At(151, 75), kPage) << transparent;
    EXPECT_EQ(c->At(100, 101), kPage) << transparent;
    Canvas direct(300, 200, kPage);
    TPaintInfo paint(direct.Dc_(), direct.Dc_());
    paint.OriginX = 100;
    paint.OriginY = 50;
    paint.DrawDib = DrawDibOpen();
    PictureAt(page, 1)->Paint(paint);
    DrawDibClose(paint.DrawDib);
    EXPECT_EQ(direct.At(50, 50), kRed) << transparent;
    EXPECT_EQ(direct.At(149, 99), kRed) << transparent;
    EXPECT_EQ(direct.At(151, 99), kPage) << transparent;
  }
}

TEST(PictureObject, EmbeddedPicture) {
  ObjectPage page(Page("colour #3050A0", "  object picture 10 10 110 60\n"
                                         "    picture embedded checker 20 10 #FF0000 #0000FF 10\n"),
                  600, 400);
  ASSERT_TRUE(page.Ok);
  TPicObject* pic = PictureAt(page, 1);
  ASSERT_NE(pic, nullptr);
  ASSERT_NE(pic->GetPicture(), nullptr);
  EXPECT_EQ(pic->GetPicture()->Width(), 20);
  bool linked = true;
  string name;
  EXPECT_TRUE(pic->GetFile(0, linked, name));
  EXPECT_FALSE(linked);
  auto c = page.PaintClient();
  EXPECT_EQ(c->At(12, 12), kRed);
  EXPECT_EQ(c->At(108, 12), kBlue);
}

// A new file name loads the picture; without stretching the object takes
// the picture's size.
TEST(PictureObject, FileNameLoadsAndResizes) {
  for (bool stretch : {false, true}) {
    ObjectPage page(Page("colour #3050A0", std::string("  object picture 10 10 110 60\n    props ") +
                                               (stretch ? "0x184" : "0x104") +
                                               "\n    picture linked \"<CURRENTPROJECTDIR>pic_halves.bmp\"\n"),
                    600, 400);
    ASSERT_TRUE(page.Ok);
    TPicObject* pic = PictureAt(page, 1);
    string name = "<CURRENTPROJECTDIR>pic_square.bmp";
    pic->SetFileName(name);
    ASSERT_NE(pic->GetPicture(), nullptr);
    EXPECT_EQ(pic->GetPicture()->Width(), 100);
    EXPECT_EQ(std::string(pic->GetPictureData()->FileName.c_str()), wintest::TempPath("pic_square.bmp"));
    const TRect expected = stretch ? TRect(10, 10, 110, 60) : TRect(10, 10, 110, 110);
    EXPECT_EQ(pic->GetStoredRect(), expected) << stretch;
    bool linked = false;
    string path;
    EXPECT_TRUE(pic->GetFile(3, linked, path));
    EXPECT_TRUE(linked);
    EXPECT_EQ(std::string(path.c_str()), wintest::TempPath("pic_square.bmp"));
    // A missing file leaves no picture and the rectangle as it is.
    string missing = "<CURRENTPROJECTDIR>pic_fehlt.bmp";
    pic->SetFileName(missing);
    EXPECT_EQ(pic->GetPicture(), nullptr);
    EXPECT_EQ(pic->GetStoredRect(), expected);
  }
  ObjectPage page(Page("colour #3050A0", "  object picture 10 10 110 60\n    picture linked \"x\"\n"), 600, 400);
  ASSERT_TRUE(page.Ok);
  string text = "<CURRENTPROJECTDIR>a.txt";
  int32_t first = 0, second = 0;
  EXPECT_TRUE(PictureAt(page, 1)->ExchangeText(text, first, second));
  EXPECT_EQ(first, -1);
  EXPECT_EQ(second, -1);
  EXPECT_EQ(std::string(text.c_str()), wintest::TempPath("a.txt"));
  EXPECT_EQ(PictureAt(page, 1)->GetFileCount(), 1);
}

// What the viewer showed while it was open, and whether it opened.
struct ViewerSeen {
  int Opened = 0;
  RECT Window{};
};
ViewerSeen seen;

BOOL CALLBACK FindViewer(HWND h, LPARAM) {
  char cls[16] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (!IsWindowVisible(h) || std::string(cls) != "#32770") return TRUE;
  ++seen.Opened;
  GetWindowRect(h, &seen.Window);
  PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);
  return FALSE;
}

void CALLBACK LookForViewer(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), FindViewer, 0);
}

TEST(PictureObject, DoubleClickOpensTheViewerAtNaturalSize) {
  TApplication app("Spieler");  // its loop gives the viewer its dialog keys
  struct Case {
    const char* viewer;
    bool opens;
  } cases[] = {{" viewer", true}, {" viewer #102030", true}, {"", false}};
  for (const Case& c : cases) {
    ObjectPage page(Page("colour #3050A0", std::string("  object picture 10 10 50 50\n"
                                                       "    picture linked \"<CURRENTPROJECTDIR>pic_wide.bmp\"") +
                                               c.viewer + "\n"),
                    600, 400);
    ASSERT_TRUE(page.Ok);
    seen = ViewerSeen();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, LookForViewer);
    PictureAt(page, 1)->LButtonDblClk(0, TPoint(5, 5));
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.Opened, c.opens ? 1 : 0) << c.viewer;
    if (!c.opens) continue;
    const int sw = SystemInfo().ScreenWidth, sh = SystemInfo().ScreenHeight;
    // Natural size, centred; with its own colour the viewer covers the
    // screen in that colour.
    const bool fullScreen = std::string(c.viewer) != " viewer";
    const RECT expected = fullScreen ? RECT{0, 0, sw, sh} : RECT{(sw - 60) / 2, (sh - 30) / 2, (sw - 60) / 2 + 60,
                                                                 (sh - 30) / 2 + 30};
    EXPECT_TRUE(EqualRect(&seen.Window, &expected)) << c.viewer;
  }
  // Without a picture nothing opens either.
  ObjectPage page(Page("colour #3050A0", "  object picture 10 10 50 50\n"
                                         "    picture linked \"<CURRENTPROJECTDIR>pic_fehlt.bmp\" viewer\n"),
                  600, 400);
  ASSERT_TRUE(page.Ok);
  seen = ViewerSeen();
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, LookForViewer);
  PictureAt(page, 1)->LButtonDblClk(0, TPoint(5, 5));
  KillTimer(nullptr, timer);
  EXPECT_EQ(seen.Opened, 0);
}

}  // namespace
