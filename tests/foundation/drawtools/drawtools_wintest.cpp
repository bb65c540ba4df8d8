#include "wintest.h"

#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "foundation/drawtools.h"
#include "imaging/dibdraw.h"
#include "foundation/sysinfo.h"
#include "platform/owl/file.h"

namespace {

const COLORREF kBack = RGB(1, 2, 3);

// The picture's colour of (x, y): distinct for every pixel of small ones.
COLORREF Ramp(int x, int y) { return RGB(x * 20 % 256, y * 20 % 256, 77); }

TEST(DrawDibToRect, FittedAndCentred) {
  Canvas c(260, 260);
  auto dib = TrueColourDib(400, 300, 24, [](int, int) { return RGB(200, 0, 0); });
  TDibDrawOptions o;
  o.Stretch = 1;
  o.Fit = 1;
  o.HAlign = o.VAlign = 1;
  o.Source = TRect(0, 0, 400, 300);
  o.Dest = TRect(10, 10, 210, 210);
  ASSERT_TRUE(DrawDibToRect(c.Dc_(), dib.get(), o));
  EXPECT_EQ(o.Dest, TRect(10, 35, 210, 185));
  EXPECT_EQ(c.At(10, 35), RGB(200, 0, 0));
  EXPECT_EQ(c.At(209, 184), RGB(200, 0, 0));
  EXPECT_EQ(c.At(10, 34), kBack);
  EXPECT_EQ(c.At(10, 185), kBack);
  EXPECT_EQ(c.At(210, 100), kBack);
}

TEST(DrawDibToRect, AlignmentsAndNoFitWithoutStretch) {
  struct Case {
    int h, v;
    TRect want;
  } cases[] = {{0, 0, TRect(0, 0, 100, 50)}, {2, 2, TRect(0, 50, 100, 100)}, {1, 2, TRect(0, 50, 100, 100)}};
  auto dib = TrueColourDib(40, 20, 24, Ramp);
  for (const Case& k : cases) {
    Canvas c(120, 120);
    TDibDrawOptions o;
    o.Stretch = o.Fit = 1;
    o.HAlign = k.h;
    o.VAlign = k.v;
    o.Source = TRect(0, 0, 40, 20);
    o.Dest = TRect(0, 0, 100, 100);
    DrawDibToRect(c.Dc_(), dib.get(), o);
    EXPECT_EQ(o.Dest, k.want);
  }
  // Fit alone does nothing: the picture is copied unstretched.
  Canvas c(120, 120);
  TDibDrawOptions o;
  o.Fit = 1;
  o.Source = TRect(0, 0, 40, 20);
  o.Dest = TRect(0, 0, 100, 100);
  DrawDibToRect(c.Dc_(), dib.get(), o);
  EXPECT_EQ(o.Dest, TRect(0, 0, 100, 100));
  EXPECT_EQ(c.At(39, 19), Ramp(39, 19));
  EXPECT_EQ(c.At(40, 10), kBack);
  EXPECT_FALSE(DrawDibToRect(c.Dc_(), nullptr, o));
}

TEST(DrawDibArea, UnstretchedTakesTheSourceCornerAndDestinationSize) {
  Canvas c(60, 60);
  auto dib = TrueColourDib(8, 8, 24, Ramp);
  ASSERT_TRUE(DrawDibArea(c.Dc_(), dib.get(), 2, 3, 8, 8, 20, 20, 24, 24, false, nullptr));
  EXPECT_EQ(c.At(20, 20), Ramp(2, 3));
  EXPECT_EQ(c.At(23, 23), Ramp(5, 6));
  EXPECT_EQ(c.At(24, 24), kBack);
  EXPECT_EQ(c.At(19, 20), kBack);
  EXPECT_FALSE(DrawDibArea(c.Dc_(), nullptr, 0, 0, 1, 1, 0, 0, 1, 1, false, nullptr));
}

TEST(DrawDibArea, StretchedAndThroughDrawDib) {
  auto dib = TrueColourDib(2, 2, 24, Ramp);
  for (bool drawDib : {false, true}) {
    Canvas c(40, 40);
    HDRAWDIB dd = drawDib ? DrawDibOpen() : nullptr;
    if (drawDib) {
      ASSERT_NE(dd, nullptr);
    }
    ASSERT_TRUE(DrawDibArea(c.Dc_(), dib.get(), 0, 0, 2, 2, 10, 10, 30, 30, true, dd));
    EXPECT_EQ(c.At(10, 10), Ramp(0, 0)) << drawDib;
    EXPECT_EQ(c.At(29, 10), Ramp(1, 0)) << drawDib;
    EXPECT_EQ(c.At(10, 29), Ramp(0, 1)) << drawDib;
    EXPECT_EQ(c.At(29, 29), Ramp(1, 1)) << drawDib;
    EXPECT_EQ(c.At(30, 30), kBack) << drawDib;
    if (dd) DrawDibClose(dd);
  }
}

// On palette displays a palette is selected for the draw and the DC's own
// one comes back afterwards.
TEST(DrawDibArea, PaletteDisplayRestoresTheDcPalette) {
  const int32_t bits = SystemInfo().ColorBits;
  SystemInfo().ColorBits = 8;
  static int answer = 1;
  TPicturePaletteQuery old = SetPicturePaletteQuery([]() { return answer; });
  auto dib = PaletteDib(4, 4, {RGB(255, 0, 0), RGB(0, 0, 255)}, [](int x, int) { return x & 1; });
  for (int a : {-1, 0, 1}) {
    answer = a;
    Canvas c(10, 10);
    HGDIOBJ before = GetCurrentObject(c.Dc_(), OBJ_PAL);
    ASSERT_TRUE(DrawDibArea(c.Dc_(), dib.get(), 0, 0, 4, 4, 0, 0, 4, 4, false, nullptr));
    EXPECT_EQ(GetCurrentObject(c.Dc_(), OBJ_PAL), before);
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(1, 0), RGB(0, 0, 255));
    TDibDrawOptions o;
    o.UseOwnPalette = uint8_t(a == 1);
    o.Source = o.Dest = TRect(0, 0, 4, 4);
    ASSERT_TRUE(DrawDibToRect(c.Dc_(), dib.get(), o));
    EXPECT_EQ(GetCurrentObject(c.Dc_(), OBJ_PAL), before);
  }
  SetPicturePaletteQuery(old);
  SystemInfo().ColorBits = bits;
}

TEST(Frames, FillFrameIsARingOfBands) {
  Canvas c(40, 40);
  FillFrame(c.Dc_(), TRect(5, 5, 35, 35), 3, 2, RGB(0, 200, 0));
  const COLORREF g = RGB(0, 200, 0);
  EXPECT_EQ(c.At(5, 5), g);
  EXPECT_EQ(c.At(34, 6), g);    // top-right corner, by the right band
  EXPECT_EQ(c.At(32, 34), g);   // bottom band
  EXPECT_EQ(c.At(7, 20), g);    // left band, 3 wide
  EXPECT_EQ(c.At(8, 20), kBack);
  EXPECT_EQ(c.At(20, 7), kBack);  // top band is 2 high
  EXPECT_EQ(c.At(31, 20), kBack);
  EXPECT_EQ(c.At(35, 35), kBack);
}

TEST(Frames, RectOutlineAndBrushFill) {
  Canvas c(20, 20);
  TPen pen(TColor(255, 255, 255));
  HGDIOBJ old = SelectObject(c.Dc_(), pen);
  EXPECT_TRUE(DrawRectOutline(c.Dc_(), TRect(2, 2, 10, 8)));
  SelectObject(c.Dc_(), old);
  for (auto p : {TPoint(2, 2), TPoint(9, 2), TPoint(9, 7), TPoint(2, 7), TPoint(2, 5)})
    EXPECT_EQ(c.At(p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;
  EXPECT_EQ(c.At(10, 2), kBack);
  EXPECT_EQ(c.At(5, 5), kBack);
  TBrush red(TColor(255, 0, 0));
  FillRectWithBrush(c.Dc_(), 12, 12, 15, 15, red);
  EXPECT_EQ(c.At(14, 14), RGB(255, 0, 0));
  EXPECT_EQ(c.At(15, 15), kBack);
}

struct EdgeCase {
  COLORREF face;
  bool raised;
  COLORREF topLeft, bottomRight;
};

TEST(Frames, Draw3DEdgeColoursAndFace) {
  const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128), light = RGB(192, 192, 192);
  const COLORREF face = RGB(40, 90, 160);
  const EdgeCase cases[] = {
      {face, true, white, grey},
      {face, false, grey, white},
      {white, true, light, grey},  // a white face keeps a visible light edge
      {grey, true, white, RGB(0, 0, 0)},
      {grey, false, RGB(0, 0, 0), white},
  };
  for (const EdgeCase& k : cases) {
    Canvas c(40, 40);
    Draw3DEdge(c.Dc_(), TRect(10, 10, 30, 30), TColor(k.face), k.raised);
    EXPECT_EQ(c.At(10, 20), k.topLeft);      // left edge
    EXPECT_EQ(c.At(20, 10), k.topLeft);      // top edge
    EXPECT_EQ(c.At(20, 29), k.bottomRight);  // bottom edge (right and bottom one less)
    EXPECT_EQ(c.At(29, 20), k.bottomRight);  // right edge
    EXPECT_EQ(c.At(11, 11), k.face);
    EXPECT_EQ(c.At(28, 28), k.face);
    EXPECT_EQ(c.At(30, 30), kBack);
  }
}

TEST(Frames, Draw3DEdgeFramedRingAndInner) {
  const COLORREF white = RGB(255, 255, 255), grey = RGB(128, 128, 128), face = RGB(40, 90, 160);
  for (bool fill : {false, true}) {
    Canvas c(60, 60);
    Draw3DEdgeFramed(c.Dc_(), TRect(10, 10, 50, 50), 4, 4, TColor(face), fill, true);
    EXPECT_EQ(c.At(10, 30), white);  // outer left
    EXPECT_EQ(c.At(49, 30), grey);   // outer right
    EXPECT_EQ(c.At(12, 30), face);   // ring
    EXPECT_EQ(c.At(14, 30), face);
    EXPECT_EQ(c.At(15, 30), grey);   // inner left: the other way
    EXPECT_EQ(c.At(30, 15), grey);   // inner top
    EXPECT_EQ(c.At(44, 30), white);  // inner right
    EXPECT_EQ(c.At(30, 44), white);  // inner bottom
    EXPECT_EQ(c.At(30, 30), fill ? face : kBack);
  }
}

// A contour file written at test time.
std::string WriteContour(const char* name, const char* magic, int32_t count, const std::vector<POINT>& points) {
  const std::string path = wintest::TempPath(name);
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  f.Write(magic, 6);
  f.Write("\0\0\0\0", 4);
  f.Write(&count, 4);
  for (const POINT& p : points) {
    const int32_t xy[2] = {p.x, p.y};
    f.Write(xy, 8);
  }
  return path;
}

class PopupWindow {
public:
  PopupWindow() {
    Wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  }
  ~PopupWindow() { DestroyWindow(Wnd); }
  bool HasRegion() const {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    const int type = GetWindowRgn(Wnd, r);
    DeleteObject(r);
    return type != ERROR;
  }
  bool RegionContains(int x, int y) const {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(Wnd, r);
    const bool in = PtInRegion(r, x, y) != 0;
    DeleteObject(r);
    return in;
  }
  HWND Wnd;
};

TEST(ApplyContourRegion, ShapesTheWindow) {
  PopupWindow w;
  ASSERT_NE(w.Wnd, nullptr);
  const std::string path = WriteContour("tsl_kontur_ok.bin", "KONTUR", 3, {{0, 0}, {100, 0}, {0, 100}});
  EXPECT_TRUE(ApplyContourRegion(path.c_str(), w.Wnd));
  EXPECT_TRUE(w.HasRegion());
  EXPECT_TRUE(w.RegionContains(10, 10));
  EXPECT_FALSE(w.RegionContains(90, 90));
  DeleteFileA(path.c_str());
}

TEST(ApplyContourRegion, BadFilesLeaveTheWindowRectangular) {
  struct Case {
    const char* magic;
    int32_t count;
    std::vector<POINT> points;
  } cases[] = {
      {"KONTUX", 3, {{0, 0}, {100, 0}, {0, 100}}},
      {"KONTUR", 2, {{0, 0}, {100, 0}}},
      {"KONTUR", 40, {{0, 0}, {100, 0}, {0, 100}}},
      {"KONTUR", -3, {{0, 0}, {100, 0}, {0, 100}}},
  };
  for (const Case& k : cases) {
    PopupWindow w;
    const std::string path = WriteContour("tsl_kontur_bad.bin", k.magic, k.count, k.points);
    EXPECT_FALSE(ApplyContourRegion(path.c_str(), w.Wnd)) << k.magic << " " << k.count;
    EXPECT_FALSE(w.HasRegion());
    DeleteFileA(path.c_str());
  }
  PopupWindow w;
  EXPECT_FALSE(ApplyContourRegion("", w.Wnd));
  EXPECT_FALSE(ApplyContourRegion(nullptr, w.Wnd));
  EXPECT_FALSE(ApplyContourRegion(wintest::TempPath("tsl_no_such_kontur.bin").c_str(), w.Wnd));
  EXPECT_FALSE(w.HasRegion());
}

TEST(LoadPictureDib, BmpFilesOnly) {
  auto dib = TrueColourDib(5, 4, 24, Ramp);
  const std::string path = wintest::TempPath("tsl_pic.bmp");
  ASSERT_TRUE(dib->WriteFile(path.c_str()));
  std::unique_ptr<TDib> loaded(LoadPictureDib(path.c_str()));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 5);
  EXPECT_EQ(loaded->Height(), 4);
  DeleteFileA(path.c_str());

  const std::string junk = wintest::TempPath("tsl_junk.bmp");
  {
    TFile f(junk.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    f.Write("BM not a picture at all, just text", 34);
  }
  EXPECT_EQ(LoadPictureDib(junk.c_str()), nullptr);
  DeleteFileA(junk.c_str());
  EXPECT_EQ(LoadPictureDib(path.c_str()), nullptr);  // gone
  EXPECT_EQ(LoadPictureDib(""), nullptr);
  EXPECT_EQ(LoadPictureDib(nullptr), nullptr);
}

TEST(FontRecord, DefaultsAndFont) {
  TChooseFontDialog::TData d;
  d.Error = 1234;
  d.LogFont.lfWeight = 700;
  InitChooseFontData(d, 24, true, nullptr);
  EXPECT_EQ(d.Flags, 0x50103u);
  EXPECT_EQ(d.Error, 1234u);
  EXPECT_EQ(d.LogFont.lfHeight, 24);
  EXPECT_EQ(d.LogFont.lfWeight, 0);
  EXPECT_EQ(d.LogFont.lfOutPrecision, 7);
  EXPECT_STREQ(d.LogFont.lfFaceName, "Arial");
  EXPECT_EQ(d.PointSize, 240);
  EXPECT_EQ(d.Color, RGB(0, 0, 0));
  EXPECT_EQ(d.FontType, 0x6000);
  InitChooseFontData(d, 12, false, "Times New Roman");
  EXPECT_EQ(d.Flags, 0x10103u);
  EXPECT_EQ(d.LogFont.lfOutPrecision, 0);
  EXPECT_STREQ(d.LogFont.lfFaceName, "Times New Roman");
  InitChooseFontData(d, 12, false, "A face name much longer than thirty-one characters");
  EXPECT_EQ(strlen(d.LogFont.lfFaceName), 31u);

  d.LogFont.lfQuality = 0xF3;
  std::unique_ptr<TFont> a(CreateFontFromData(d));
  EXPECT_EQ(d.LogFont.lfQuality, 0xF4);
  std::unique_ptr<TFont> b(CreateFontFromData(d));
  EXPECT_EQ(d.LogFont.lfQuality, 0xF4);
  LOGFONTA la{}, lb{};
  ASSERT_TRUE(a->GetObject(la));
  ASSERT_TRUE(b->GetObject(lb));
  EXPECT_EQ(memcmp(&la, &lb, sizeof la), 0);
}

}  // namespace
