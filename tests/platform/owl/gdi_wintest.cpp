#include "wintest.h"

#include <cstring>
#include <string>

#include "platform/owl/owl.h"

namespace {

bool Alive(HGDIOBJ h) { return ::GetObjectType(h) != 0; }

// A packed 8-bit DIB: 4 x 3 pixels, palette entry i = (i, 0, 255 - i),
// pixel (x, y counted from the top) = index 10 * y + x.
HGLOBAL MakeDib8(SIZE_T extra = 0) {
  const int w = 4, h = 3, pitch = 4;
  const SIZE_T size = 40 + 256 * 4 + pitch * h + extra;
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* p = static_cast<uint8_t*>(GlobalLock(g));
  auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(p);
  bih->biSize = 40;
  bih->biWidth = w;
  bih->biHeight = h;
  bih->biPlanes = 1;
  bih->biBitCount = 8;
  auto* colors = reinterpret_cast<RGBQUAD*>(p + 40);
  for (int i = 0; i < 256; ++i) {
    colors[i].rgbRed = static_cast<BYTE>(i);
    colors[i].rgbBlue = static_cast<BYTE>(255 - i);
  }
  uint8_t* bits = p + 40 + 1024;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits[(h - 1 - y) * pitch + x] = static_cast<uint8_t>(10 * y + x);
  GlobalUnlock(g);
  return g;
}

TEST(OwlGdi, WrappersDeleteWhatTheyOwnAndTheDcGivesItBack) {
  HGDIOBJ pen, brush, font, bitmap, region, palette;
  {
    TScreenDC screen;
    TPen p(TColor::LtRed, 2);
    TBrush b(TColor(1, 2, 3));
    TFont f("Arial", -12);
    TBitmap bmp(screen, 8, 8);
    TRegion r(TRect(0, 0, 4, 4));
    PALETTEENTRY entries[2] = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    TPalette pal(entries, 2);
    TMemoryDC dc(screen);
    pen = p.GetHandle();
    brush = b.GetHandle();
    font = f.GetHandle();
    bitmap = bmp.GetHandle();
    region = r.GetHandle();
    palette = pal.GetHandle();
    ASSERT_TRUE(Alive(pen) && Alive(brush) && Alive(font) && Alive(bitmap) && Alive(region) && Alive(palette));
    dc.SelectObject(p);
    dc.SelectObject(b);
    dc.SelectObject(f);
    dc.SelectObject(bmp);
    dc.SelectObject(pal);
    dc.SelectClipRgn(r);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    dc.RestoreObjects();
    EXPECT_NE(::GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    EXPECT_NE(::GetCurrentObject(dc, OBJ_PEN), pen);
    // Selected again and left selected: the DC, destroyed first, gives them
    // back before the objects are deleted.
    dc.SelectObject(bmp);
    dc.SelectObject(p);
  }
  EXPECT_FALSE(Alive(pen));
  EXPECT_FALSE(Alive(brush));
  EXPECT_FALSE(Alive(font));
  EXPECT_FALSE(Alive(bitmap));
  EXPECT_FALSE(Alive(region));
  EXPECT_FALSE(Alive(palette));

  // Handles given without ownership stay.
  HBRUSH foreign = ::CreateSolidBrush(RGB(0, 0, 0));
  { TBrush wrap(foreign); }
  EXPECT_TRUE(Alive(foreign));
  { TBrush take(foreign, AutoDelete); }
  EXPECT_FALSE(Alive(foreign));
  // A palette object given a palette later owns it.
  TPalette later;
  EXPECT_FALSE(later.IsOK());
  later.Attach(::CreateHalftonePalette(TScreenDC()));
  EXPECT_GT(later.GetNumEntries(), 0);
}

TEST(OwlGdi, DibTakesOverItsBlockAndChecksIt) {
  HGLOBAL g = MakeDib8();
  {
    TDib dib(g);
    ASSERT_TRUE(dib.IsOK());
    EXPECT_EQ(dib.Width(), 4);
    EXPECT_EQ(dib.Height(), 3);
    EXPECT_EQ(dib.BitsPixel(), 8);
    EXPECT_EQ(dib.NumColors(), 256);
    EXPECT_EQ(dib.Pitch(), 4);
    EXPECT_EQ(dib.GetColor(7).GetValue(), RGB(7, 0, 248));
    EXPECT_EQ(dib.FindColor(TColor(9, 0, 246)), 9);
    EXPECT_EQ(dib.FindColor(TColor(9, 9, 9)), -1);
    dib.SetColor(0, TColor(1, 2, 3));
    EXPECT_EQ(dib.GetColor(0).GetValue(), RGB(1, 2, 3));
    EXPECT_EQ(dib.GetColor(256).GetValue(), 0u);  // outside the table
    // A deep copy.
    TDib copy(dib);
    EXPECT_NE(copy.GetHandle(), dib.GetHandle());
    EXPECT_EQ(copy.GetColor(0).GetValue(), RGB(1, 2, 3));
  }
  EXPECT_EQ(GlobalFlags(g), static_cast<UINT>(GMEM_INVALID_HANDLE));  // freed

  HGLOBAL kept = MakeDib8();
  { TDib view(kept, NoAutoDelete); EXPECT_TRUE(view.IsOK()); }
  EXPECT_NE(GlobalFlags(kept), static_cast<UINT>(GMEM_INVALID_HANDLE));
  GlobalFree(kept);

  // Blocks that do not hold the whole picture are refused (and still freed).
  struct TCase {
    const char* What;
    void (*Spoil)(BITMAPINFOHEADER&);
  } cases[] = {
      {"header size", [](BITMAPINFOHEADER& h) { h.biSize = 12; }},
      {"rows past the end", [](BITMAPINFOHEADER& h) { h.biHeight = 4; }},
      {"width", [](BITMAPINFOHEADER& h) { h.biWidth = 0x40000000; }},
      {"depth", [](BITMAPINFOHEADER& h) { h.biBitCount = 7; }},
      {"colour count", [](BITMAPINFOHEADER& h) { h.biBitCount = 24; h.biClrUsed = 0xFFFFFFF0u; }},
  };
  for (const TCase& c : cases) {
    HGLOBAL bad = MakeDib8();
    c.Spoil(*static_cast<BITMAPINFOHEADER*>(GlobalLock(bad)));
    GlobalUnlock(bad);
    TDib dib(bad);
    EXPECT_FALSE(dib.IsOK()) << c.What;
    EXPECT_EQ(dib.Width(), 0) << c.What;
  }
  TDib none(static_cast<HGLOBAL>(nullptr));
  EXPECT_FALSE(none.IsOK());
}

TEST(OwlGdi, DibDrawsWritesAndReadsBack) {
  TDib dib(MakeDib8());
  ASSERT_TRUE(dib.IsOK());
  TScreenDC screen;
  TMemoryDC mem(screen);
  TBitmap target(screen, 4, 3);
  mem.SelectObject(target);
  EXPECT_EQ(mem.SetDIBitsToDevice(TRect(0, 0, 4, 3), TPoint(0, 0), dib), 3);
  EXPECT_EQ(mem.GetPixel(1, 0), RGB(1, 0, 254));
  EXPECT_EQ(mem.GetPixel(3, 2), RGB(23, 0, 232));  // the rows are upside down in memory
  mem.RestoreBitmap();

  // Device-dependent and back.
  TBitmap ddb(dib);
  ASSERT_TRUE(ddb.IsOK());
  EXPECT_EQ(ddb.Width(), 4);
  TDib back(ddb);
  ASSERT_TRUE(back.IsOK());
  EXPECT_EQ(back.Width(), 4);
  EXPECT_EQ(back.Height(), 3);

  // A BMP file on a Windows path and the default loader.
  const std::string path = wintest::TempPath("owl_dib.bmp");
  ASSERT_TRUE(dib.WriteFile(path.c_str()));
  TDib loaded(path.c_str());
  ASSERT_TRUE(loaded.IsOK());
  EXPECT_EQ(loaded.Width(), 4);
  EXPECT_EQ(std::memcmp(loaded.GetBits(), dib.GetBits(), dib.SizeImage()), 0);
  EXPECT_EQ(loaded.GetColor(23).GetValue(), RGB(23, 0, 232));
  ::DeleteFileA(path.c_str());
  EXPECT_FALSE(TDib("C:\\gibt\\es\\nicht.bmp").IsOK());

  // A loader installed by the codecs is used instead.
  static int calls;
  calls = 0;
  TDib::TFileLoader old = TDib::SetFileLoader([](const char*) -> HGLOBAL {
    ++calls;
    return MakeDib8();
  });
  TDib viaLoader("bild.gif");
  TDib::SetFileLoader(old);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(viaLoader.IsOK());
}

TEST(OwlGdi, DibSectionIsADrawableBitmap) {
  TDiBitmap section(2000, 1000, 16700000);
  ASSERT_TRUE(section.IsOK());
  EXPECT_EQ(section.BitsPixel(), 24);
  EXPECT_EQ(section.Width(), 2000);
  ASSERT_NE(section.GetBits(), nullptr);
  TMemoryDC mem;
  mem.SelectObject(section);
  TBrush green(TColor(0, 255, 0));
  mem.FillRect(TRect(1990, 990, 2000, 1000), green);
  ::GdiFlush();
  // Bottom-up: the last pixel of the picture is in the first row in memory.
  const auto* first = static_cast<const uint8_t*>(section.GetBits());
  EXPECT_EQ(first[1999 * 3 + 1], 255);  // green of (1999, 999)
  EXPECT_EQ(mem.GetPixel(1995, 995), RGB(0, 255, 0));
}

TEST(OwlGdi, RectangleArithmetic) {
  const TRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_TRUE(r.Contains(TPoint(10, 20)));
  EXPECT_FALSE(r.Contains(TPoint(110, 20)));  // right and bottom edges are outside
  EXPECT_TRUE(r.Contains(TRect(10, 20, 110, 70)));
  EXPECT_TRUE(r.Touches(TRect(109, 69, 200, 200)));
  EXPECT_FALSE(r.Touches(TRect(110, 20, 200, 70)));  // only touching
  EXPECT_EQ(r & TRect(100, 60, 200, 200), TRect(100, 60, 110, 70));
  EXPECT_TRUE((r & TRect(200, 200, 300, 300)).IsNull());
  EXPECT_EQ(r | TRect(0, 0, 5, 5), TRect(0, 0, 110, 70));
  EXPECT_EQ(r | TRect(), r);
  EXPECT_EQ(TRect(5, 5, 1, 1).Normalized(), TRect(1, 1, 5, 5));
  EXPECT_EQ(r.InflatedBy(1, 2), TRect(9, 18, 111, 72));
  EXPECT_EQ(r.OffsetBy(-10, -20), TRect(0, 0, 100, 50));
  EXPECT_EQ(TRect(TPoint(1, 2), TSize(3, 4)), TRect(1, 2, 4, 6));
  EXPECT_EQ(TPoint(5, 5) - TPoint(2, 3), TPoint(3, 2));
  EXPECT_TRUE(TRect(0, 0, 0, 10).IsEmpty());
}

TEST(OwlGdi, BorderStylesMeasureAndPaint) {
  // Thickness on each side, by style (measured as bounding minus client).
  const int expected[] = {0, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2};
  for (int style = TUIBorder::None; style <= TUIBorder::WellSet; ++style) {
    TUIBorder b(TRect(0, 0, 4, 4), static_cast<TUIBorder::TStyle>(style));
    EXPECT_EQ(b.GetBoundingRect().Width() - b.GetClientRect().Width(), 2 * expected[style]) << style;
    EXPECT_EQ(b.GetBoundingRect().Height() - b.GetClientRect().Height(), 2 * expected[style]) << style;
  }
  // Painting touches the frame's edge and leaves the inside alone.
  TScreenDC screen;
  TBitmap bmp(screen, 20, 20);
  TMemoryDC mem(screen);
  mem.SelectObject(bmp);
  TBrush magenta(TColor::LtMagenta);
  mem.FillRect(TRect(0, 0, 20, 20), magenta);
  TUIBorder(TRect(2, 2, 18, 18), TUIBorder::ButtonUp, TUIBorder::Soft).Paint(mem);
  EXPECT_NE(mem.GetPixel(2, 2), RGB(255, 0, 255));
  EXPECT_NE(mem.GetPixel(17, 17), RGB(255, 0, 255));
  EXPECT_EQ(mem.GetPixel(10, 10), RGB(255, 0, 255));
  EXPECT_EQ(mem.GetPixel(1, 1), RGB(255, 0, 255));
}

}  // namespace
