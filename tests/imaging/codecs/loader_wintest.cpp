// The picture file loader on Win32: each format by Windows path into a
// global DIB, the branch order of names, the GIF transparency values,
// pictures inside an open file, metafiles rendered through GDI, Photo CD
// through the library stand-in, the exported JPEG writer, and every format
// on screen as a page background and through LoadPictureDib.
#include "wintest.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/format/background.h"
#include "engine/recordgdi.h"
#include "imaging/dibdraw.h"
#include "imaging/jpegfile.h"
#include "imaging/kpcd.h"
#include "imaging/picload.h"
#include "imaging/wmf.h"
#include "imaging/core/wmfheader.h"
#include "picgen.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/file.h"
#include "platform/owl/geometry.h"
#include "platform/pcdlib/pcdlib.h"
#include "tools/core/bmpgen.h"

using picgen::Bytes;

namespace {

std::string TempPath(const std::string& name) {
  return wintest::TempPath("tslpic_" + std::to_string(GetCurrentProcessId()) + "_" + name);
}

bool Save(const std::string& path, const Bytes& b) {
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  return f.IsOpen() && f.Write(b.data(), uint32_t(b.size())) == b.size();
}

struct Global {
  HGLOBAL h;
  explicit Global(HGLOBAL handle) : h(handle) {}
  ~Global() {
    if (h) GlobalFree(h);
  }
  const BITMAPINFOHEADER* Header() const { return static_cast<const BITMAPINFOHEADER*>(GlobalLock(h)); }
  void Unlock() const { GlobalUnlock(h); }
};

// The colour of pixel (x, y from the top) of a packed DIB of any depth.
COLORREF PixelOf(HGLOBAL dib, int x, int y) {
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const uint32_t colours = h->biClrUsed ? h->biClrUsed : h->biBitCount <= 8 ? 1u << h->biBitCount : 0;
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(h) + h->biSize);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(table + colours);
  const uint32_t row = ((uint32_t(h->biWidth) * h->biBitCount + 31) / 32) * 4;
  const uint8_t* r = bits + size_t(h->biHeight - 1 - y) * row;
  COLORREF c;
  if (h->biBitCount == 24) {
    c = RGB(r[3 * x + 2], r[3 * x + 1], r[3 * x]);
  } else {
    uint32_t i = h->biBitCount == 8 ? r[x] : h->biBitCount == 4 ? ((x & 1) ? r[x / 2] & 15 : r[x / 2] >> 4)
                                                                 : (r[x / 8] >> (7 - (x & 7))) & 1;
    c = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
  }
  GlobalUnlock(dib);
  return c;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Test pictures: left half colour A, right half colour B.
const COLORREF kA = RGB(200, 40, 30), kB = RGB(20, 60, 210);
constexpr int kW = 32, kH = 16;

picgen::Indexed Halves() {
  picgen::Indexed p;
  p.w = kW, p.h = kH;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) p.px.push_back(x < kW / 2 ? 1 : 2);
  p.rgb = {0, 0, 0, GetRValue(kA), GetGValue(kA), GetBValue(kA), GetRValue(kB), GetGValue(kB), GetBValue(kB), 9, 9, 9};
  return p;
}

Bytes Rgb24(bool bgr) {
  Bytes out;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const COLORREF c = x < kW / 2 ? kA : kB;
      if (bgr)
        out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
      else
        out.insert(out.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  return out;
}

// Photo CD grey levels of the halves.
const uint8_t kLumaA = 50, kLumaB = 150;
COLORREF PcdGrey(uint8_t y) {
  uint8_t bgr[3];
  tsl::PhotoYccToBgr(y, 156, 137, bgr);
  return RGB(bgr[2], bgr[1], bgr[0]);
}

// A Windows metafile of the halves, 1 inch × 0.5 inch at 1440 units per
// inch, placeable.
Bytes PlaceableWmf() {
  HDC mdc = CreateMetaFileA(nullptr);
  SetWindowOrgEx(mdc, 0, 0, nullptr);
  SetWindowExtEx(mdc, 1440, 720, nullptr);
  HBRUSH a = CreateSolidBrush(kA), b = CreateSolidBrush(kB);
  RECT ra{0, 0, 720, 720}, rb{720, 0, 1440, 720};
  FillRect(mdc, &ra, a);
  FillRect(mdc, &rb, b);
  HMETAFILE mf = CloseMetaFile(mdc);
  DeleteObject(a);
  DeleteObject(b);
  const UINT n = GetMetaFileBitsEx(mf, 0, nullptr);
  Bytes file(22 + n);
  tsl::MakePlaceableHeader(file.data(), 0, 0, 1440, 720, 1440);
  GetMetaFileBitsEx(mf, n, file.data() + 22);
  DeleteMetaFile(mf);
  return file;
}

bool MakeEmf(const std::string& path) {
  RECT frame{0, 0, 2540, 1270};  // 1 × 0.5 inch
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  if (!dc) return false;
  HDC screen = GetDC(nullptr);
  const int px = GetDeviceCaps(screen, HORZRES) * 254 / (GetDeviceCaps(screen, HORZSIZE) * 10);  // pixels per inch
  ReleaseDC(nullptr, screen);
  HBRUSH a = CreateSolidBrush(kA), b = CreateSolidBrush(kB);
  RECT ra{0, 0, px / 2, px / 2}, rb{px / 2, 0, px, px / 2};
  FillRect(dc, &ra, a);
  FillRect(dc, &rb, b);
  DeleteObject(a);
  DeleteObject(b);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  if (!emf) return false;
  DeleteEnhMetaFile(emf);
  return true;
}

struct Fixture {
  const char* name;
  COLORREF a, b;
  int tolerance;
};

// Writes one file of each format; returns them with their expected halves.
std::vector<Fixture> WriteAll() {
  const picgen::Indexed p = Halves();
  picgen::GifFrame frame;
  frame.picture = p;
  Save(TempPath("pic.gif"), picgen::Gif(kW, kH, 4, p.rgb, {frame}));
  Bytes map;
  for (size_t i = 0; i < 4; ++i) map.insert(map.end(), {p.rgb[3 * i + 2], p.rgb[3 * i + 1], p.rgb[3 * i]});
  Bytes idx;
  for (int y = kH - 1; y >= 0; --y)
    for (int x = 0; x < kW; ++x) idx.push_back(p.At(x, y));
  Save(TempPath("pic.tga"), picgen::Tga(9, 8, kW, kH, 0, map, picgen::TgaRle(idx, 1)));
  Save(TempPath("pic.pcx"), picgen::Pcx(kW, kH, 8, 3, kW, [&](int y, int plane) {
         Bytes l;
         const Bytes rgb = Rgb24(false);
         for (int x = 0; x < kW; ++x) l.push_back(rgb[(size_t(y) * kW + size_t(x)) * 3 + size_t(plane)]);
         return l;
       }, {}));
  Save(TempPath("pic.tif"), picgen::Tiff(true,
                                         {{256, 3, 1, {kW}}, {257, 3, 1, {kH}}, {258, 3, 3, {8, 8, 8}},
                                          {259, 3, 1, {32773}}, {262, 3, 1, {2}}, {277, 3, 1, {3}}},
                                         {picgen::PackBits(Rgb24(false))}));
  bmpgen::Picture bmp;
  bmp.width = kW, bmp.height = kH, bmp.bits = 24;
  const Bytes bgr = Rgb24(true);
  bmp.rows.assign(size_t(bmp.RowBytes()) * kH, 0);
  for (int y = 0; y < kH; ++y) std::memcpy(&bmp.rows[size_t(kH - 1 - y) * bmp.RowBytes()], &bgr[size_t(y) * kW * 3], kW * 3);
  Save(TempPath("pic.bmp"), bmpgen::Bmp(bmp, 40));
  const Bytes rgb = Rgb24(false);
  SetJpegImage(TempPath("pic.jpg").c_str(), kW, kH, rgb.data(), 95);
  Save(TempPath("pic.pcd"), picgen::Pcd(0, [](uint32_t r, uint32_t x, uint32_t) { return x < (96u << r) ? kLumaA : kLumaB; },
                                        [](uint32_t, uint32_t, uint32_t, int c) { return uint8_t(c ? 137 : 156); }));
  Save(TempPath("pic.wmf"), PlaceableWmf());
  MakeEmf(TempPath("pic.emf"));
  return {{"pic.bmp", kA, kB, 0},  {"pic.gif", kA, kB, 0},  {"pic.pcx", kA, kB, 0},
          {"pic.tga", kA, kB, 0},  {"pic.tif", kA, kB, 0},  {"pic.jpg", kA, kB, 12},
          {"pic.pcd", PcdGrey(kLumaA), PcdGrey(kLumaB), 2}, {"pic.wmf", kA, kB, 0}, {"pic.emf", kA, kB, 0}};
}

void RemoveAll(const std::vector<Fixture>& all) {
  for (const Fixture& f : all) DeleteFileA(TempPath(f.name).c_str());
}

}  // namespace

// Every format loads by Windows path into a movable global DIB whose left
// and right halves have the expected colours.
TEST(PictureLoader, EveryFormat) {
  const std::vector<Fixture> all = WriteAll();
  for (const Fixture& f : all) {
    SCOPED_TRACE(f.name);
    Global dib(LoadPictureFile(TempPath(f.name).c_str()));
    ASSERT_NE(dib.h, nullptr);
    const BITMAPINFOHEADER* h = dib.Header();
    const int w = h->biWidth, ht = h->biHeight, bits = h->biBitCount;
    dib.Unlock();
    EXPECT_TRUE(bits == 1 || bits == 4 || bits == 8 || bits == 24) << bits;
    EXPECT_TRUE(Near(PixelOf(dib.h, w / 4, ht / 2), f.a, f.tolerance)) << std::hex << PixelOf(dib.h, w / 4, ht / 2);
    EXPECT_TRUE(Near(PixelOf(dib.h, 3 * w / 4, ht / 2), f.b, f.tolerance));
  }
  // Photo CD at the default resolution (3, searching down): the base image.
  Global pcd(LoadPictureFile(TempPath("pic.pcd").c_str()));
  ASSERT_NE(pcd.h, nullptr);
  EXPECT_EQ(pcd.Header()->biWidth, 768);
  pcd.Unlock();
  // Metafiles come back as 24 bits (the screen is deeper).
  Global wmf(LoadPictureFile(TempPath("pic.wmf").c_str()));
  EXPECT_EQ(wmf.Header()->biBitCount, 24);
  wmf.Unlock();
  RemoveAll(all);
}

// The name alone chooses, first extension in the loader's order wherever it
// stands: .jpg.bmp is a BMP, .gifs a GIF, .tif.gif a GIF; an unknown
// extension nothing.
TEST(PictureLoader, NamesChooseTheFormat) {
  const std::vector<Fixture> all = WriteAll();
  CopyFileA(TempPath("pic.bmp").c_str(), TempPath("x.jpg.bmp").c_str(), FALSE);
  CopyFileA(TempPath("pic.gif").c_str(), TempPath("x.gifs").c_str(), FALSE);
  CopyFileA(TempPath("pic.bmp").c_str(), TempPath("x.png").c_str(), FALSE);
  CopyFileA(TempPath("pic.gif").c_str(), TempPath("x.tif.gif").c_str(), FALSE);
  Global a(LoadPictureFile(TempPath("x.jpg.bmp").c_str()));
  Global b(LoadPictureFile(TempPath("x.gifs").c_str()));
  Global c(LoadPictureFile(TempPath("x.png").c_str()));
  Global d(LoadPictureFile(TempPath("x.tif.gif").c_str()));
  EXPECT_NE(a.h, nullptr);
  EXPECT_NE(b.h, nullptr);
  EXPECT_EQ(c.h, nullptr);
  EXPECT_NE(d.h, nullptr) << ".GIF is tested before .TIF";
  EXPECT_EQ(LoadPictureFile(""), nullptr);
  EXPECT_EQ(LoadPictureFile(nullptr), nullptr);
  EXPECT_EQ(LoadPictureFile(TempPath("missing.gif").c_str()), nullptr);
  for (const char* n : {"x.jpg.bmp", "x.gifs", "x.png", "x.tif.gif"}) DeleteFileA(TempPath(n).c_str());
  RemoveAll(all);
}

// After a GIF that marks a transparent index, the flag is 1 and the colour
// that entry's; any other load clears the flag.
TEST(PictureLoader, GifTransparencyValues) {
  picgen::GifFrame f;
  f.picture = Halves();
  f.transparentIndex = 2;
  const std::string gif = TempPath("t.gif"), bmp = TempPath("t.bmp");
  ASSERT_TRUE(Save(gif, picgen::Gif(kW, kH, 4, f.picture.rgb, {f})));
  ASSERT_TRUE(Save(bmp, bmpgen::Bmp(bmpgen::Pattern(4, 4, 8), 40)));
  Global g(LoadPictureFile(gif.c_str()));
  ASSERT_NE(g.h, nullptr);
  EXPECT_EQ(GifTransparencyFlag, 1);
  EXPECT_EQ(GifTransparentColour, kB);
  Global o(LoadPictureFile(bmp.c_str()));
  EXPECT_EQ(GifTransparencyFlag, 0);
  DeleteFileA(gif.c_str());
  DeleteFileA(bmp.c_str());
}

// A picture inside an open file at an offset: the handle stays open; JPEG
// names go by name.
TEST(PictureLoader, FromAnOpenFile) {
  picgen::GifFrame f;
  f.picture = Halves();
  Bytes pack(100, 0x55);
  const Bytes gif = picgen::Gif(kW, kH, 4, f.picture.rgb, {f});
  pack.insert(pack.end(), gif.begin(), gif.end());
  pack.insert(pack.end(), 50, 0x66);
  const std::string path = TempPath("pack.dat");
  ASSERT_TRUE(Save(path, pack));
  TFile file(path.c_str());
  Global dib(LoadPictureFromHandle("inner.gif", &file, 100, int32_t(gif.size())));
  ASSERT_NE(dib.h, nullptr);
  EXPECT_EQ(PixelOf(dib.h, 1, 1), kA);
  EXPECT_TRUE(file.IsOpen());
  Global none(LoadPictureFromHandle("inner.xyz", &file, 100, -1));
  EXPECT_EQ(none.h, nullptr);
  Global wrong(LoadPictureFromHandle("inner.gif", &file, 0, -1));
  EXPECT_EQ(wrong.h, nullptr);
  file.Close();
  DeleteFileA(path.c_str());
}

// Metafiles: a placeable one inch wide at 1440 units per inch plays at its
// frame; an EMF without palette has none; the writer's placeable file reads
// back the same size.
TEST(Metafiles, OpenPlayAndSave) {
  const std::string wmfPath = TempPath("m.wmf"), emfPath = TempPath("m.emf"), saved = TempPath("saved.wmf");
  ASSERT_TRUE(Save(wmfPath, PlaceableWmf()));
  ASSERT_TRUE(MakeEmf(emfPath));
  TWMF wmf(wmfPath.c_str());
  ASSERT_EQ(wmf.Valid, 1u);
  ENHMETAHEADER h{};
  ASSERT_TRUE(GetEnhMetaFileHeader(wmf.Emf, sizeof h, &h));
  EXPECT_NEAR(h.rclFrame.right - h.rclFrame.left, 2540, 30);
  EXPECT_NEAR(h.rclFrame.bottom - h.rclFrame.top, 1270, 30);
  EXPECT_GT(wmf.Width, 0);
  EXPECT_NEAR(double(wmf.Width) / wmf.Height, 2.0, 0.1);
  TWMF emf(emfPath.c_str());
  ASSERT_EQ(emf.Valid, 1u);
  EXPECT_EQ(emf.Palette, nullptr);
  ASSERT_TRUE(emf.SavePlaceable(saved.c_str()));
  TWMF back(saved.c_str());
  EXPECT_EQ(back.Valid, 1u);
  EXPECT_NEAR(back.Width, emf.Width, 2);
  TWMF none;
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(none.Play(dc, RECT{0, 0, 1, 1}));
  DeleteDC(dc);
  EXPECT_FALSE(none.SavePlaceable(saved.c_str()));
  Bytes zero = PlaceableWmf();
  zero[14] = zero[15] = 0;  // 0 units per inch
  ASSERT_TRUE(Save(wmfPath, zero));
  TWMF invalid(wmfPath.c_str());
  EXPECT_EQ(invalid.Valid, 0u);
  EXPECT_EQ(LoadPictureFile(wmfPath.c_str()), nullptr);
  for (const std::string& p : {wmfPath, emfPath, saved}) DeleteFileA(p.c_str());
}

// The Photo CD reader over the library stand-in: the three smallest
// resolutions load, larger ones are not available, the search modes find
// the next available one, the palette formats give 8 bits.
TEST(PhotoCd, ResolutionsSearchAndFormats) {
  const std::string path = TempPath("p.pcd");
  ASSERT_TRUE(Save(path, picgen::Pcd(0, [](uint32_t, uint32_t x, uint32_t) { return uint8_t(x); },
                                     [](uint32_t, uint32_t, uint32_t, int c) { return uint8_t(c ? 137 : 156); })));
  PCDphotoHdl image = 0;
  ASSERT_EQ(PCDopen(path.c_str(), &image), kPcdOk);
  uint32_t mask = 0;
  uint16_t count = 0;
  ASSERT_EQ(PCDgetCount(image, &mask, &count), kPcdOk);
  EXPECT_EQ(mask, 7u);
  EXPECT_EQ(count, 3);
  ASSERT_EQ(PCDsetResolution(image, 4), kPcdOk);
  HGLOBAL bitmap = nullptr;
  EXPECT_NE(PCDloadImage(image, 0, &bitmap) & 0xFFFF, 0u);
  EXPECT_EQ(bitmap, nullptr);
  PCDclose(image);

  struct Case { int32_t resolution, mode, format; bool ok; int width, bits; };
  // A resolution the image lacks falls back to the largest one below it.
  const Case cases[] = {{3, 2, 2, true, 768, 24},  {3, 0, 2, true, 768, 24}, {1, 0, 2, true, 384, 24},
                        {0, 1, 2, true, 192, 24},  {4, 1, 2, true, 768, 24}, {5, 2, 3, true, 768, 8},
                        {2, 0, 0, true, 768, 8},   {1, 0, 1, true, 384, 8}, {1, 0, 7, false, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.resolution << "/" << c.mode << "/" << c.format);
    TKPCD reader;
    reader.Resolution = c.resolution;
    reader.SearchMode = c.mode;
    reader.Format = c.format;
    ASSERT_EQ(reader.Load(path.c_str()), c.ok);
    if (!c.ok) continue;
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(reader.Bitmap));
    EXPECT_EQ(h->biWidth, c.width);
    EXPECT_EQ(h->biBitCount, c.bits);
    GlobalUnlock(reader.Bitmap);
  }
  // The parameters of the loader go to every reader it builds.
  const int16_t oldRes = PcdResolution, oldMode = PcdSearchMode;
  PcdResolution = 1;
  PcdSearchMode = 0;
  Global lowRes(LoadPictureFile(path.c_str()));
  ASSERT_NE(lowRes.h, nullptr);
  EXPECT_EQ(lowRes.Header()->biWidth, 384);
  lowRes.Unlock();
  // A picture object passes its format as the search mode: at the record
  // defaults (3, 2) and with every format the base image shows, full size.
  PcdResolution = 3;
  for (int16_t format : {0, 1, 2, 3}) {
    SCOPED_TRACE(testing::Message() << "format " << format);
    PcdSearchMode = format;
    Global base(LoadPictureFile(path.c_str()));
    ASSERT_NE(base.h, nullptr);
    EXPECT_EQ(base.Header()->biWidth, 768);
    EXPECT_EQ(base.Header()->biHeight, 512);
    base.Unlock();
  }
  PcdResolution = oldRes;
  PcdSearchMode = oldMode;
  TKPCD missing;
  EXPECT_FALSE(missing.Load(TempPath("missing.pcd").c_str()));
  DeleteFileA(path.c_str());
}

// The exported writer reports a file it cannot create instead of ending
// the program.
TEST(Jpeg, WriterReportsFailure) {
  const Bytes rgb = Rgb24(false);
  EXPECT_EQ(SetJpegImage("Q:\\no\\such\\dir\\x.jpg", kW, kH, rgb.data(), 80), 0);
  const std::string path = TempPath("w.jpg");
  EXPECT_EQ(SetJpegImage(path.c_str(), kW, kH, rgb.data(), 80), 1);
  Global dib(read_JPEG_file(path.c_str()));
  EXPECT_NE(dib.h, nullptr);
  EXPECT_EQ(read_JPEG_file(TempPath("missing.jpg").c_str()), nullptr);
  DeleteFileA(path.c_str());
}

namespace {

// A window whose left half paints a page background stretching the
// picture (loaded as the engine loads it) and whose right half the picture
// through LoadPictureDib.
struct Shown {
  TBackground background;
  std::unique_ptr<TDib> dib;
};
Shown* Current = nullptr;

LRESULT CALLBACK ShowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcA(w, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  if (Current) {
    TDC tdc(dc);
    Current->background.Paint(tdc, TRect(0, 0, 100, 60), TPoint(0, 0), nullptr);
    if (Current->dib)
      StretchDIBits(dc, 100, 0, 100, 60, 0, 0, Current->dib->Width(), Current->dib->Height(), Current->dib->GetBits(),
                    Current->dib->GetInfo(), DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(w, &ps);
  return 0;
}

}  // namespace

TEST(PictureLoader, EachFormatOnScreen) {
  const std::vector<Fixture> all = WriteAll();
  WNDCLASSA wc{};
  wc.lpfnWndProc = ShowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TslPictures2Show";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "pictures", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  for (const Fixture& f : all) {
    SCOPED_TRACE(f.name);
    const std::string path = TempPath(f.name);
    Shown shown;
    shown.background.Mode = kFillStretch;
    ASSERT_TRUE(LoadPictureFileDib(path.c_str(), shown.background.Picture));
    shown.dib.reset(LoadPictureDib(path.c_str()));
    ASSERT_NE(shown.dib, nullptr);
    Current = &shown;
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    GdiFlush();
    HDC dc = GetDC(w);
    const int xs[4] = {20, 80, 120, 180};
    for (int i = 0; i < 4; ++i) {
      const COLORREF got = GetPixel(dc, xs[i], 30);
      EXPECT_TRUE(Near(got, (i & 1) ? f.b : f.a, f.tolerance + 2)) << "x " << xs[i] << ": " << std::hex << got;
    }
    ReleaseDC(w, dc);
    Current = nullptr;
  }
  DestroyWindow(w);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
  RemoveAll(all);
}
