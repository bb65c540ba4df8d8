// Pixel tests in memory: a 32-bit top-down DIB section selected into a
// memory DC, filled with a background colour, and pictures made in memory.
#pragma once
#include "wintest.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

#include "platform/owl/dc.h"
#include "platform/owl/dib.h"

class Canvas {
public:
  Canvas(int w, int h, COLORREF background = RGB(1, 2, 3)) : W(w), H(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<uint32_t*>(bits);
    Dc.reset(new TMemoryDC());
    Old = SelectObject(*Dc, Bmp);
    Fill(background);
  }
  ~Canvas() {
    SelectObject(*Dc, Old);
    Dc.reset();
    DeleteObject(Bmp);
  }
  void Fill(COLORREF c) {
    GdiFlush();
    for (int i = 0; i < W * H; ++i) Bits[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t v = Bits[y * W + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  TDC& Dc_() { return *Dc; }
  int W, H;

private:
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  uint32_t* Bits = nullptr;
  std::unique_ptr<TMemoryDC> Dc;
};

// A picture of `bits` bits per pixel (16, 24, 32 true colour; 8, 4, 1 with a
// colour table) whose pixel (x, y from the top) gets colour(x, y); palette
// pictures get `table` and index(x, y).
inline std::unique_ptr<TDib> TrueColourDib(int w, int h, int bits, const std::function<COLORREF(int, int)>& colour) {
  auto dib = std::make_unique<TDib>(w, h, bits == 16 ? 65536u : 1u << 24);
  if (bits != 24) {
    // TDib makes 24 (or 16) bits: build other depths by hand.
    const int row = ((w * bits + 31) / 32) * 4;
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + size_t(row) * h);
    auto* hd = static_cast<BITMAPINFOHEADER*>(GlobalLock(g));
    *hd = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, WORD(bits), BI_RGB, DWORD(row * h), 0, 0, 0, 0};
    GlobalUnlock(g);
    dib = std::make_unique<TDib>(g);
  }
  auto* base = static_cast<uint8_t*>(dib->GetBits());
  const int row = dib->Pitch();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = base + size_t(h - 1 - y) * row + size_t(x) * bits / 8;
      const COLORREF c = colour(x, y);
      if (bits == 16) {
        const uint16_t v = uint16_t((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | (GetBValue(c) >> 3));
        std::memcpy(p, &v, 2);
      } else {
        p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        if (bits == 32) p[3] = 0;
      }
    }
  return dib;
}

inline std::unique_ptr<TDib> PaletteDib(int w, int h, const std::vector<COLORREF>& table,
                                        const std::function<int(int, int)>& index) {
  auto dib = std::make_unique<TDib>(w, h, 256u);
  for (size_t i = 0; i < table.size(); ++i) dib->SetColor(int(i), TColor(table[i]));
  auto* base = static_cast<uint8_t*>(dib->GetBits());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) base[size_t(h - 1 - y) * dib->Pitch() + x] = uint8_t(index(x, y));
  return dib;
}
