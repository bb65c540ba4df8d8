#include "wintest.h"

#include <cstring>
#include <string>
#include <vector>

#include "foundation/streamio.h"
#include "imaging/core/bmpcodec.h"
#include "imaging/dibglobal.h"
#include "imaging/dibutil.h"
#include "imaging/drawtrans.h"
#include "imaging/halftone.h"
#include "platform/owl/file.h"
#include "tools/core/bmpgen.h"

namespace {

// A global packed DIB of a generator picture.
HGLOBAL GlobalDibOf(const bmpgen::Picture& p) {
  const size_t size = 40 + p.palette.size() + p.rows.size();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* b = static_cast<uint8_t*>(GlobalLock(h));
  BITMAPINFOHEADER hd{40, p.width, p.height, 1, p.bits, BI_RGB, DWORD(p.rows.size()), 2953, 2953, p.Colours(), 0};
  std::memcpy(b, &hd, 40);
  if (!p.palette.empty()) std::memcpy(b + 40, p.palette.data(), p.palette.size());
  std::memcpy(b + 40 + p.palette.size(), p.rows.data(), p.rows.size());
  GlobalUnlock(h);
  return h;
}

std::vector<uint8_t> Bytes(HGLOBAL h) {
  const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
  std::vector<uint8_t> v(p, p + GlobalSize(h));
  GlobalUnlock(h);
  return v;
}

// The colour of a 24-bit DIB's pixel (x, y from the top).
COLORREF Pixel24(HGLOBAL dib, int x, int y) {
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const uint8_t* p = DibBitsPtr(h) + size_t(h->biHeight - 1 - y) * ((h->biWidth * 3 + 3) & ~3) + 3 * x;
  const COLORREF c = RGB(p[2], p[1], p[0]);
  GlobalUnlock(dib);
  return c;
}

bmpgen::Picture Solid24(int w, int h, COLORREF c) {
  bmpgen::Picture p = bmpgen::Pattern(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* q = &p.rows[size_t(y) * p.RowBytes() + 3 * size_t(x)];
      q[0] = GetBValue(c), q[1] = GetGValue(c), q[2] = GetRValue(c);
    }
  return p;
}

}  // namespace

// The codec on global memory and Windows paths; the picture it hands out is
// the HGLOBAL the player passes around.
TEST(ImagingWin, CodecLoadsByWindowsPathIntoGlobalMemory) {
  const std::string path = wintest::TempPath("tsl_codec.bmp");
  ASSERT_EQ(path.substr(1, 2), ":\\");
  const bmpgen::Picture p = bmpgen::Pattern(23, 9, 8);
  const bmpgen::Bytes file = bmpgen::Bmp(p, 124, bmpgen::Compression::Rle8);
  {
    TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_EQ(f.Write(file.data(), uint32_t(file.size())), file.size());
  }
  HGLOBAL dib = nullptr;
  {
    _TDIB codec(GlobalDibPlatform());
    ASSERT_EQ(codec.LoadFile(path.c_str()), kBitmapOk);
    dib = TakeGlobalDib(codec);
  }
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(GlobalSize(dib), 40u + 1024 + 24 * 9);
  EXPECT_EQ(DibWidth(dib), 23);
  EXPECT_EQ(DibBitCount(dib), 8);
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  EXPECT_EQ(DibBitsPtr(h), reinterpret_cast<uint8_t*>(h) + 40 + 1024);
  EXPECT_EQ(std::memcmp(DibBitsPtr(h), p.rows.data(), p.rows.size()), 0);
  GlobalUnlock(dib);
  GlobalFree(dib);
  _TDIB missing(GlobalDibPlatform());
  EXPECT_EQ(missing.LoadFile("C:\\no\\such\\picture.bmp"), kBitmapNoFile);
  DeleteFileA(path.c_str());
}

// Embedded pictures go through the codec's writer and come back alike; BMP
// files by the utilities' writer load through the codec and the utilities.
TEST(ImagingWin, WritersAndReadersAgree) {
  const std::string path = wintest::TempPath("tsl_dibs.bin");
  const bmpgen::Picture p = bmpgen::Pattern(17, 6, 4);
  HGLOBAL dib = GlobalDibOf(p);
  {
    TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(WriteDib(dib, f));
  }
  {
    TFile f(path.c_str());
    uint8_t head[14];
    ASSERT_EQ(f.Read(head, 14), 14u);
    EXPECT_EQ(head[2] | head[3] << 8, int(GlobalSize(dib) + 40));
    EXPECT_EQ(head[10] | head[11] << 8, 54 + 64);
    f.SeekToBegin();
    HGLOBAL back = ReadDib(f);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Bytes(back), Bytes(dib));
    GlobalFree(back);
  }
  const std::string bmp = wintest::TempPath("tsl_dibs.bmp");
  ASSERT_TRUE(WriteBmpFile(bmp.c_str(), dib));
  EXPECT_TRUE(IsBmpFile(bmp.c_str()));
  HGLOBAL read = ReadBmpFile(bmp.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(Bytes(read), Bytes(dib));
  _TDIB codec(GlobalDibPlatform());
  ASSERT_EQ(codec.LoadFile(bmp.c_str()), kBitmapOk);
  HGLOBAL viaCodec = TakeGlobalDib(codec);
  EXPECT_EQ(Bytes(viaCodec), Bytes(dib));
  {
    TFile f(bmp.c_str());
    HGLOBAL head = ReadBmpHeader(f);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(GlobalSize(head), 40u + 64);
    EXPECT_EQ(f.Position(), 14 + 40 + 64);
    GlobalFree(head);
  }
  EXPECT_FALSE(WriteBmpFile(bmp.c_str(), nullptr));
  EXPECT_EQ(ReadBmpFile("C:\\no\\such.bmp"), nullptr);
  GlobalFree(viaCodec);
  GlobalFree(read);
  GlobalFree(dib);
  DeleteFileA(path.c_str());
  DeleteFileA(bmp.c_str());
}

TEST(ImagingWin, PalettesAndDeviceBitmaps) {
  const bmpgen::Picture p8 = bmpgen::Pattern(12, 5, 8);
  HGLOBAL d8 = GlobalDibOf(p8);
  HPALETTE pal = CreateDibPalette(d8);
  ASSERT_NE(pal, nullptr);
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(pal, 0, 256, e), 256u);
  EXPECT_EQ(e[7].peRed, p8.palette[4 * 7 + 2]);
  EXPECT_EQ(e[7].peBlue, p8.palette[4 * 7]);
  HPALETTE copy = CopyPalette(pal);
  PALETTEENTRY c[256];
  ASSERT_EQ(GetPaletteEntries(copy, 0, 256, c), 256u);
  EXPECT_EQ(std::memcmp(c, e, sizeof c), 0);
  EXPECT_EQ(CopyPalette(nullptr), nullptr);
  // 8 bits through the palette into the palette's indexes again.
  uint8_t rgb[3] = {e[9].peBlue, e[9].peGreen, e[9].peRed}, idx = 0;
  Row24To8(&idx, rgb, 1, pal);
  EXPECT_EQ(idx, GetNearestPaletteIndex(pal, RGB(rgb[2], rgb[1], rgb[0])));
  uint8_t back[3];
  Row8To24(back, &idx, 1, pal);
  EXPECT_EQ(std::memcmp(back, rgb, 3), 0);

  // 24 bits: the colour cube; to a device bitmap and back, the same pixels.
  const bmpgen::Picture p24 = bmpgen::Pattern(13, 7, 24);
  HGLOBAL d24 = GlobalDibOf(p24);
  HPALETTE cube = CreateDibPalette(d24);
  ASSERT_EQ(GetPaletteEntries(cube, 0, 256, e), 256u);
  EXPECT_EQ(e[201].peRed, 32 * (201 % 8));
  EXPECT_EQ(e[201].peBlue, 64 * (201 / 64));
  HBITMAP bm = DibToBitmap(d24, nullptr);
  ASSERT_NE(bm, nullptr);
  HGLOBAL again = BitmapToDib(bm, nullptr, 24, BI_RGB);
  ASSERT_NE(again, nullptr);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(Pixel24(again, x, y), Pixel24(d24, x, y)) << x << "," << y;
  EXPECT_EQ(BitmapToDib(nullptr, nullptr, 24, BI_RGB), nullptr);
  // The codec's constructor from a device bitmap, at the bitmap's own depth.
  _TDIB fromBitmap(bm, nullptr);
  ASSERT_NE(fromBitmap.Dib, nullptr);
  EXPECT_EQ(fromBitmap.Width, 13);
  EXPECT_EQ(fromBitmap.Height, 7);
  HGLOBAL own = TakeGlobalDib(fromBitmap);
  ASSERT_NE(own, nullptr);
  HGLOBAL own24 = BitmapToDib(bm, nullptr, 24, BI_RGB);  // the reference at 24 bits
  HBITMAP rebuilt = DibToBitmap(own, nullptr);
  HGLOBAL rebuilt24 = BitmapToDib(rebuilt, nullptr, 24, BI_RGB);
  EXPECT_EQ(Bytes(rebuilt24), Bytes(own24));
  GlobalFree(rebuilt24);
  DeleteObject(rebuilt);
  GlobalFree(own24);
  // Drawn into a memory DC, stretched.
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 26, 14);
  HGDIOBJ old = SelectObject(mem, target);
  EXPECT_EQ(StretchDibToDC(mem, d24, nullptr, 0, 0, 26, 14), 1);
  EXPECT_EQ(GetPixel(mem, 2 * 5, 2 * 3), Pixel24(d24, 5, 3));
  EXPECT_EQ(StretchDibToDC(mem, nullptr, nullptr, 0, 0, 1, 1), 0);
  SelectObject(mem, old);
  DeleteObject(target);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  GlobalFree(own);
  GlobalFree(again);
  DeleteObject(bm);
  DeleteObject(cube);
  DeleteObject(copy);
  DeleteObject(pal);
  GlobalFree(d24);
  GlobalFree(d8);
}

TEST(ImagingWin, GlobalOperations) {
  HGLOBAL d24 = GlobalDibOf(bmpgen::Pattern(10, 4, 24));
  const auto before = Bytes(d24);
  EXPECT_EQ(GreyDibInPlace(d24, 3, 1, 1, 1, 0), d24);  // beeps, changes nothing
  EXPECT_EQ(Bytes(d24), before);
  EXPECT_EQ(GreyDibInPlace(nullptr, 0, 1, 1, 1, 0), nullptr);
  HGLOBAL cut = CopyDibRect(d24, 2, 1, 5, 2);
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(DibWidth(cut), 5);
  EXPECT_EQ(Pixel24(cut, 0, 1), Pixel24(d24, 2, 2));
  HGLOBAL eight = QuantizeDib24(d24, 8, 3);
  EXPECT_EQ(DibBitCount(eight), 8);
  HGLOBAL one = Dib24To1(d24);
  EXPECT_EQ(DibBitCount(one), 1);
  HGLOBAL copy = CopyGlobalBlock(d24);
  EXPECT_EQ(Bytes(copy), Bytes(d24));
  HGLOBAL dup = DuplicateGlobal(d24);
  EXPECT_EQ(Bytes(dup), Bytes(d24));
  GlobalFree(dup);
  EXPECT_EQ(DuplicateGlobal(nullptr), nullptr);
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(d24));
  EXPECT_EQ(DibRowBytes(h), 32u);
  EXPECT_EQ(DibColumnBytes(h), 12u);
  EXPECT_EQ(DibImageBytes(h), 128u);
  GlobalUnlock(d24);
  HGLOBAL nq = QuantizeDibTo8Bit(d24, 64, 8, 1);
  EXPECT_EQ(DibBitCount(nq), 8);
  for (HGLOBAL h : {cut, eight, one, copy, nq, d24}) GlobalFree(h);
}

TEST(ImagingWin, HalftoneAndQuantiserPalettes) {
  HPALETTE half = CreateScreenHalftonePalette();
  ASSERT_NE(half, nullptr);
  WORD n = 0;
  GetObjectA(half, sizeof n, &n);
  EXPECT_GT(n, 16);
  DeleteObject(half);
  TPalette* owned = MakeHalftonePalette();
  ASSERT_NE(owned, nullptr);
  EXPECT_TRUE(owned->IsOK());
  delete owned;

  std::vector<uint8_t> px;
  for (int i = 0; i < 600; ++i) px.insert(px.end(), {uint8_t(i % 2 ? 255 : 0), 0, 0});
  TNeuQuant net(px.data(), int(px.size()), 1, 16);
  net.Run();
  TPalette* np = MakeNeuQuantPalette(net);
  EXPECT_EQ(np->GetNumEntries(), 256);
  PALETTEENTRY last;
  np->GetPaletteEntries(255, 1, &last);
  EXPECT_EQ(last.peRed | last.peGreen | last.peBlue, 0);
  delete np;

  bmpgen::Picture three = Solid24(6, 2, RGB(10, 20, 30));
  three.rows[3] = 200;  // pixel 1 of the first row: blue 200
  three.rows[8] = 99;   // pixel 2: red 99
  HGLOBAL d = GlobalDibOf(three);
  HPALETTE oct = CreateOctreePalette(d, 256, 8);
  ASSERT_NE(oct, nullptr);
  GetObjectA(oct, sizeof n, &n);
  EXPECT_EQ(n, 3);
  DeleteObject(oct);
  EXPECT_EQ(CreateOctreePalette(d, 256, 9), nullptr);
  GlobalFree(d);
}

// A 24-bit picture with magenta over a saved background: the background
// shows where magenta was; drawn again, those pixels are black.
TEST(ImagingWin, TransparentDrawing) {
  HDC screen = GetDC(nullptr);
  TDC dc(screen);
  if (dc.GetDeviceCaps(BITSPIXEL) < 16) GTEST_SKIP() << "needs a true-colour display";
  // The background: a green bitmap the "page" shows.
  HDC pageDc = CreateCompatibleDC(screen);
  HBITMAP page = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ oldPage = SelectObject(pageDc, page);
  HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  RECT all{0, 0, 8, 8};
  FillRect(pageDc, &all, green);
  TDC pageTdc(pageDc);

  for (uint16_t bits : {24, 8, 32}) {
    SCOPED_TRACE(bits);
    bmpgen::Picture p = bits == 8 ? bmpgen::Pattern(4, 4, 8) : Solid24(4, 4, RGB(200, 10, 10));
    if (bits == 8) {
      for (auto& b : p.rows) b = 1;
      p.rows[0] = 2;  // bottom-left pixel uses entry 2
      p.palette[4 * 1 + 0] = 10, p.palette[4 * 1 + 1] = 10, p.palette[4 * 1 + 2] = 200;
      p.palette[4 * 2 + 0] = 255, p.palette[4 * 2 + 1] = 0, p.palette[4 * 2 + 2] = 255;
    } else {
      uint8_t* q = &p.rows[0];  // bottom-left pixel magenta
      q[0] = 255, q[1] = 0, q[2] = 255;
    }
    if (bits == 32) {
      bmpgen::Picture p32 = bmpgen::Pattern(4, 4, 32);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
          uint8_t* s = &p.rows[size_t(y) * p.RowBytes() + 3 * size_t(x)];
          uint8_t* d = &p32.rows[size_t(y) * p32.RowBytes() + 4 * size_t(x)];
          d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 0;
        }
      p = p32;
    }
    TDib dib(GlobalDibOf(p));
    ASSERT_TRUE(dib.IsOK());
    TBitmap* off = nullptr;
    TBitmap* saved = nullptr;
    for (int round = 0; round < 2; ++round) {
      DrawDibTransparent(pageTdc, TSize(8, 8), TSize(4, 4), TPoint(0, 0), TPoint(2, 2), TColor(255, 0, 255), true,
                         true, off, saved, &dib);
      ASSERT_NE(off, nullptr);
      ASSERT_NE(saved, nullptr);
      HDC check = CreateCompatibleDC(screen);
      HGDIOBJ o = SelectObject(check, *off);
      EXPECT_EQ(GetPixel(check, 0, 0), RGB(0, 200, 0));        // outside the picture
      EXPECT_EQ(GetPixel(check, 3, 3), RGB(200, 10, 10));      // picture pixel
      EXPECT_EQ(GetPixel(check, 2, 5), round == 0 ? RGB(0, 200, 0) : RGB(0, 0, 0));  // was magenta
      SelectObject(check, o);
      DeleteDC(check);
    }
    EXPECT_EQ(GetDibPixelPtr(dib, 0, 0), static_cast<uint8_t*>(dib.GetBits()) + 3 * dib.Pitch());
    EXPECT_EQ(GetDibPixelPtr(dib, 4, 0), nullptr);
    delete off;
    delete saved;
  }
  TBitmap* none = nullptr;
  TBitmap* noneSaved = nullptr;
  DrawDibTransparent(pageTdc, TSize(8, 8), TSize(4, 4), TPoint(), TPoint(), TColor(0, 0, 0), false, true, none,
                     noneSaved, nullptr);
  EXPECT_EQ(none, nullptr);
  SelectObject(pageDc, oldPage);
  DeleteObject(green);
  DeleteObject(page);
  DeleteDC(pageDc);
  ReleaseDC(nullptr, screen);
}
