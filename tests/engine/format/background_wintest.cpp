// TBackground painting by fill mode into a 32-bit memory bitmap, and picture
// files loaded for the records.
#define NOMINMAX
#include "wintest.h"

#include <cstdio>
#include <cstring>

#include "engine/core/format/background.h"
#include "engine/core/format/rawio.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/recordgdi.h"
#include "platform/owl/dc.h"
#include "platform/owl/geometry.h"

namespace {

// A 32-bit DIB section selected into a memory DC, cleared to magenta.
class Canvas {
public:
  Canvas(int w, int h) : w_(w), h_(h) {
    dc_ = ::CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp_ = ::CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = ::SelectObject(dc_, bmp_);
    RECT r{0, 0, w, h};
    HBRUSH b = ::CreateSolidBrush(kClear);
    ::FillRect(dc_, &r, b);
    ::DeleteObject(b);
  }
  ~Canvas() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bmp_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }
  static constexpr COLORREF kClear = RGB(255, 0, 255);

private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

const COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(128, 128, 128);

TBackground Fill(uint16_t mode, uint32_t c1 = RGB(10, 20, 30), uint32_t c2 = RGB(110, 220, 130)) {
  TBackground b;
  b.Mode = mode;
  b.Colour1 = c1;
  b.Colour2 = c2;
  return b;
}

}  // namespace

TEST(BackgroundPaint, ColourAndWindowColour) {
  Canvas c(40, 30);
  TDC dc(c.dc());
  Fill(kFillColour).Paint(dc, TRect(5, 5, 35, 25), TPoint(0, 0), nullptr);
  EXPECT_EQ(c.At(5, 5), RGB(10, 20, 30));
  EXPECT_EQ(c.At(34, 24), RGB(10, 20, 30));
  EXPECT_EQ(c.At(35, 25), Canvas::kClear) << "right and bottom edges excluded";

  // Mode 0, a pattern outside 0-11 and a picture mode without a picture fill
  // with the window colour, moved by the origin.
  TBackground pattern = Fill(kFillPattern);
  pattern.Pattern = 12;
  for (const TBackground& b : {Fill(kFillWindow), pattern, Fill(kFillStretch), Fill(kFillTile)}) {
    Canvas w(40, 30);
    TDC wdc(w.dc());
    b.Paint(wdc, TRect(0, 0, 10, 10), TPoint(20, 5), nullptr);
    EXPECT_EQ(w.At(25, 10), ::GetSysColor(COLOR_WINDOW)) << b.Mode;
    EXPECT_EQ(w.At(5, 5), Canvas::kClear) << b.Mode;
  }
}

TEST(BackgroundPaint, Patterns) {
  Canvas c(16, 16);
  TDC dc(c.dc());
  TBackground b = Fill(kFillPattern);
  b.Pattern = 0;  // a line along the top of every 8 x 8 cell
  b.Paint(dc, TRect(0, 0, 16, 16), TPoint(0, 0), nullptr);
  EXPECT_EQ(c.At(3, 0), kGrey);
  EXPECT_EQ(c.At(3, 8), kGrey);
  EXPECT_EQ(c.At(3, 1), kWhite);
  b.Pattern = 6;  // checker
  b.Paint(dc, TRect(0, 0, 16, 16), TPoint(0, 0), nullptr);
  EXPECT_EQ(c.At(0, 0), kGrey);
  EXPECT_EQ(c.At(1, 0), kWhite);
  EXPECT_EQ(c.At(1, 1), kGrey);
  for (uint16_t p = 0; p < kBackgroundPatterns; ++p) {
    b.Pattern = p;
    EXPECT_NE(b.CreateBrush(), nullptr) << "pattern " << p;
  }
}

TEST(BackgroundPaint, GradientBands) {
  {  // 20 pixels: three bands, colour1, the midpoint, colour2
    Canvas c(10, 24);
    TDC dc(c.dc());
    Fill(kFillGradientDown, RGB(0, 100, 200), RGB(200, 0, 100)).Paint(dc, TRect(0, 0, 10, 20), TPoint(), nullptr);
    EXPECT_EQ(c.At(5, 0), RGB(0, 100, 200));
    EXPECT_EQ(c.At(5, 7), RGB(0, 100, 200));
    EXPECT_EQ(c.At(5, 8), RGB(100, 50, 150));
    EXPECT_EQ(c.At(5, 16), RGB(200, 0, 100));
    EXPECT_EQ(c.At(5, 23), RGB(200, 0, 100)) << "the last band reaches below the area";
  }
  {  // mode 5 starts from colour2
    Canvas c(10, 20);
    TDC dc(c.dc());
    Fill(kFillGradientUp, RGB(0, 100, 200), RGB(200, 0, 100)).Paint(dc, TRect(0, 0, 10, 20), TPoint(), nullptr);
    EXPECT_EQ(c.At(5, 0), RGB(200, 0, 100));
    EXPECT_EQ(c.At(5, 19), RGB(0, 100, 200));
  }
  {  // 8 pixels: one band of colour1
    Canvas c(10, 8);
    TDC dc(c.dc());
    Fill(kFillGradientDown, RGB(1, 2, 3), RGB(250, 250, 250)).Paint(dc, TRect(0, 0, 10, 8), TPoint(), nullptr);
    EXPECT_EQ(c.At(9, 7), RGB(1, 2, 3));
  }
}

TEST(BackgroundPaint, StretchedAndTiledPictures) {
  {  // a 2 x 2 checker stretched over 100 x 100: quadrants
    Canvas c(100, 100);
    TDC dc(c.dc());
    TBackground b = Fill(kFillStretch);
    b.Picture = MakeCheckerDib(2, 2, RGB(255, 0, 0), RGB(0, 0, 255), 1);
    b.Paint(dc, TRect(0, 0, 100, 100), TPoint(), nullptr);
    EXPECT_EQ(c.At(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(c.At(90, 10), RGB(0, 0, 255));
    EXPECT_EQ(c.At(10, 90), RGB(0, 0, 255));
    EXPECT_EQ(c.At(90, 90), RGB(255, 0, 0));
  }
  {  // a 30-pixel-wide picture over 100 pixels: four columns, the last cut
    Canvas c(110, 20);
    TDC dc(c.dc());
    TBackground b = Fill(kFillTile);
    b.Picture = MakeCheckerDib(30, 10, RGB(0, 255, 0), RGB(0, 0, 0), 15);  // left half green
    b.Paint(dc, TRect(0, 0, 100, 20), TPoint(), nullptr);
    for (int x : {0, 30, 60, 90}) EXPECT_EQ(c.At(x + 2, 2), RGB(0, 255, 0)) << x;
    EXPECT_EQ(c.At(20, 2), RGB(0, 0, 0));
    EXPECT_EQ(c.At(100, 2), Canvas::kClear) << "cut to the area";
    // Every row of tiles starts with the picture's top line.
    b.Picture = MakeGradientDib(30, 10, RGB(255, 0, 0), RGB(0, 0, 255));
    b.Paint(dc, TRect(0, 0, 100, 20), TPoint(), nullptr);
    for (int y : {0, 10}) {
      EXPECT_EQ(c.At(45, y), RGB(255, 0, 0)) << y;
      EXPECT_EQ(c.At(45, y + 9), RGB(0, 0, 255)) << y;
    }
  }
  {  // a picture without pixels counts as none
    Canvas c(20, 20);
    TDC dc(c.dc());
    TBackground b = Fill(kFillTile);
    b.Picture = MakeCheckerDib(2, 2, 0, 0, 1);
    const int32_t zero = 0;
    std::memcpy(&b.Picture[4], &zero, 4);
    b.Paint(dc, TRect(0, 0, 20, 20), TPoint(), nullptr);
    EXPECT_EQ(c.At(10, 10), ::GetSysColor(COLOR_WINDOW));
    b.Picture = MakeCheckerDib(64, 64, 0, 0, 1);
    b.Picture.resize(100);  // a block that does not hold its pixels draws nothing
    b.Paint(dc, TRect(0, 0, 20, 20), TPoint(), nullptr);
    EXPECT_EQ(c.At(10, 10), ::GetSysColor(COLOR_WINDOW));
  }
}

TEST(BackgroundPaint, PartsStayWhereTheyLieOnThePage) {
  const TRect page(0, 0, 64, 64);
  // Painted whole, and painted as the part (20, 24, 50, 60) into a bitmap
  // whose top-left is that point: the same pixels.
  TBackground modes[4] = {Fill(kFillPattern), Fill(kFillGradientDown, RGB(0, 0, 0), RGB(240, 240, 240)),
                          Fill(kFillStretch), Fill(kFillTile)};
  modes[0].Pattern = 3;
  modes[2].Picture = MakeGradientDib(8, 8, RGB(255, 0, 0), RGB(0, 0, 255));
  modes[3].Picture = MakeCheckerDib(12, 12, RGB(255, 255, 0), RGB(0, 128, 0), 3);
  for (const TBackground& b : modes) {
    Canvas whole(64, 64), part(30, 36);
    TDC wdc(whole.dc()), pdc(part.dc());
    b.PaintPart(wdc, page, TPoint(0, 0), page, nullptr);
    b.PaintPart(pdc, TRect(20, 24, 50, 60), TPoint(20, 24), page, nullptr);
    int differ = 0;
    for (int y = 0; y < 36; ++y)
      for (int x = 0; x < 30; ++x) differ += part.At(x, y) != whole.At(x + 20, y + 24);
    EXPECT_EQ(differ, 0) << "mode " << b.Mode;
  }
  // Beside the page: the window colour.
  Canvas c(80, 20);
  TDC dc(c.dc());
  modes[1].PaintPart(dc, TRect(0, 0, 80, 20), TPoint(0, 0), page, nullptr);
  EXPECT_EQ(c.At(70, 5), ::GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(c.At(10, 5), RGB(0, 0, 0));
}

TEST(RecordPictures, LoadedFromABitmapFile) {
  char dir[MAX_PATH], path[MAX_PATH + 32];
  ::GetTempPathA(sizeof dir, dir);
  std::snprintf(path, sizeof path, "%stslfmt_%u.bmp", dir, static_cast<unsigned>(::GetCurrentProcessId()));
  const std::vector<uint8_t> dib = MakeGradientDib(7, 5, RGB(1, 2, 3), RGB(4, 5, 6));
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfSize = static_cast<DWORD>(sizeof fh + dib.size());
  fh.bfOffBits = sizeof fh + 40;
  HANDLE h = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n;
  ::WriteFile(h, &fh, sizeof fh, &n, nullptr);
  ::WriteFile(h, dib.data(), static_cast<DWORD>(dib.size()), &n, nullptr);
  ::CloseHandle(h);

  std::vector<uint8_t> loaded;
  ASSERT_TRUE(LoadPictureFileDib(path, loaded));
  int32_t w, hgt;
  ASSERT_TRUE(tsl::PackedDibSize(loaded, w, hgt));
  EXPECT_EQ(w, 7);
  EXPECT_EQ(hgt, 5);
  ::DeleteFileA(path);
  EXPECT_FALSE(LoadPictureFileDib(path, loaded));
  EXPECT_TRUE(loaded.empty());
  EXPECT_FALSE(LoadPictureFileDib("", loaded));
}

TEST(EdgeLines, BlackAndWhitePairs) {
  Canvas c(20, 20);
  TDC dc(c.dc());
  DrawEdgeLineH(dc, 2, 12, 5, false);
  EXPECT_EQ(c.At(2, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(11, 6), kWhite);
  EXPECT_EQ(c.At(12, 5), Canvas::kClear) << "the end point is left out";
  DrawEdgeLineV(dc, 8, 18, 15, true);
  EXPECT_EQ(c.At(15, 10), kWhite);
  EXPECT_EQ(c.At(16, 10), RGB(0, 0, 0));
  Canvas f(20, 20);
  TDC fdc(f.dc());
  DrawEdgeFrame(fdc, TRect(0, 0, 20, 20), false);
  EXPECT_EQ(f.At(10, 0), RGB(0, 0, 0));
  EXPECT_EQ(f.At(10, 19), kWhite);
  EXPECT_EQ(f.At(0, 10), RGB(0, 0, 0));
  EXPECT_EQ(f.At(19, 10), kWhite);
  EXPECT_EQ(f.At(10, 10), Canvas::kClear);
}
