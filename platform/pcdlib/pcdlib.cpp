#include "platform/pcdlib/pcdlib.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/pcdcodec.h"
#include "imaging/core/rowconv.h"
#include "imaging/dibglobal.h"
#include "platform/owl/file.h"

namespace {

struct Image {
  std::string path;
  uint32_t available = 0;  // bit mask of loadable resolutions
  uint32_t rotation = 0;
  int32_t resolution = 0;
  int32_t format = kPcdFormatRgb;
  PCDpaletteHdl palette = 0;
};

struct Library {
  std::map<PCDphotoHdl, Image> images;
  std::map<PCDpaletteHdl, std::vector<tsl::DibRgbQuad>> palettes;
  uint32_t nextImage = 1;
  uint32_t nextPalette = 1;
};

Library& Lib() {
  static Library lib;
  return lib;
}

Image* Find(PCDphotoHdl h) {
  auto it = Lib().images.find(h);
  return it == Lib().images.end() ? nullptr : &it->second;
}

// An 8-bit block of the same size with the given colours, each pixel the
// entry nearest to (or the grey of) the 24-bit one.
HGLOBAL To8Bit(HGLOBAL dib24, const std::vector<tsl::DibRgbQuad>* colours) {
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib24));
  if (!h) return nullptr;
  const int w = h->biWidth, ht = h->biHeight;
  const uint32_t inRow = (uint32_t(w) * 3 + 3) & ~3u, outRow = (uint32_t(w) + 3) & ~3u;
  const SIZE_T size = 40 + 1024 + SIZE_T(outRow) * ht;
  HGLOBAL out = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* o = out ? static_cast<uint8_t*>(GlobalLock(out)) : nullptr;
  if (!o) {
    if (out) GlobalFree(out);
    GlobalUnlock(dib24);
    return nullptr;
  }
  BITMAPINFOHEADER oh = *h;
  oh.biBitCount = 8;
  oh.biSizeImage = outRow * uint32_t(ht);
  oh.biClrUsed = 256;
  std::memcpy(o, &oh, 40);
  auto* table = reinterpret_cast<tsl::DibRgbQuad*>(o + 40);
  uint32_t count = 256;
  if (colours) {
    count = uint32_t(colours->size());
    std::memcpy(table, colours->data(), 4 * count);
  } else {
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  }
  const uint8_t* in = reinterpret_cast<const uint8_t*>(h) + 40;
  uint8_t* bits = o + 40 + 1024;
  for (int y = 0; y < ht; ++y) {
    const uint8_t* s = in + SIZE_T(y) * inRow;
    uint8_t* d = bits + SIZE_T(y) * outRow;
    if (colours)
      tsl::Row24To8(d, s, w, table, count);
    else
      for (int x = 0; x < w; ++x) d[x] = uint8_t((s[3 * x + 2] * 77 + s[3 * x + 1] * 151 + s[3 * x] * 28) >> 8);
  }
  GlobalUnlock(out);
  GlobalUnlock(dib24);
  return out;
}

}  // namespace

PCDstatus PCDopen(const char* fileName, PCDphotoHdl* image) {
  if (!fileName || !image) return kPcdBadParameter;
  TFile f(fileName);
  if (!f.IsOpen()) return kPcdNoFile;
  char sig[7];
  if (f.Seek(2048) != 2048 || f.Read(sig, 7) != 7 || std::memcmp(sig, "PCD_IPI", 7) != 0) return kPcdNoFile;
  Image img;
  img.path = fileName;
  uint8_t attributes = 0;
  if (f.Seek(194635) == 194635 && f.Read(&attributes, 1) == 1) img.rotation = attributes & 3;
  const int64_t length = f.Length();
  for (uint32_t i = 0; i < 3; ++i) {
    uint32_t w, h, at;
    TPCD::StoredSize(i, w, h, at);
    if (length >= int64_t(at) + int64_t(w) * h * 3 / 2) img.available |= 1u << i;
  }
  if (!img.available) return kPcdNoFile;
  const PCDphotoHdl h = Lib().nextImage++;
  Lib().images[h] = img;
  *image = h;
  return kPcdOk;
}

PCDstatus PCDgetCount(PCDphotoHdl image, uint32_t* resolutions, uint16_t* count) {
  const Image* img = Find(image);
  if (!img) return kPcdBadHandle;
  if (resolutions) *resolutions = img->available;
  if (count) {
    uint16_t n = 0;
    for (uint32_t m = img->available; m; m >>= 1) n = uint16_t(n + (m & 1));
    *count = n;
  }
  return kPcdOk;
}

PCDstatus PCDgetRotation(PCDphotoHdl image, uint32_t* rotation) {
  const Image* img = Find(image);
  if (!img) return kPcdBadHandle;
  if (rotation) *rotation = img->rotation;
  return kPcdOk;
}

PCDstatus PCDsetTransform(PCDphotoHdl image, uint32_t rotation) {
  // The reader always turns the picture upright by the image's own rotation.
  return Find(image) && rotation < 4 ? kPcdOk : kPcdBadHandle;
}

PCDstatus PCDsetResolution(PCDphotoHdl image, int32_t index) {
  Image* img = Find(image);
  if (!img) return kPcdBadHandle;
  if (index < 0 || index > 5) return kPcdBadParameter;
  img->resolution = index;
  return kPcdOk;
}

PCDstatus PCDsetFormat(PCDphotoHdl image, int32_t format) {
  Image* img = Find(image);
  if (!img) return kPcdBadHandle;
  if (format != kPcdFormatGrey && format != kPcdFormatRgb && format != kPcdFormatPalette) return kPcdBadParameter;
  img->format = format;
  return kPcdOk;
}

PCDstatus PCDsetPalette(PCDphotoHdl image, PCDpaletteHdl palette) {
  Image* img = Find(image);
  if (!img) return kPcdBadHandle;
  if (!Lib().palettes.count(palette)) return kPcdBadParameter;
  img->palette = palette;
  return kPcdOk;
}

PCDstatus PCDloadImage(PCDphotoHdl image, uint32_t, HGLOBAL* bitmap) {
  const Image* img = Find(image);
  if (!img) return kPcdBadHandle;
  if (!bitmap) return kPcdBadParameter;
  if (!(img->available & (1u << img->resolution))) return kPcdNotAvailable;
  const std::vector<tsl::DibRgbQuad>* colours = nullptr;
  if (img->format == kPcdFormatPalette) {
    auto it = Lib().palettes.find(img->palette);
    if (it == Lib().palettes.end()) return kPcdBadParameter;
    colours = &it->second;
  }
  TPCD reader(GlobalDibPlatform());
  reader.ResolutionIndex = uint32_t(img->resolution);
  if (reader.LoadFile(img->path.c_str()) != kBitmapOk) return kPcdNoFile;
  HGLOBAL dib = TakeGlobalDib(reader);
  if (!dib) return kPcdNoMemory;
  if (img->format != kPcdFormatRgb) {
    HGLOBAL eight = To8Bit(dib, colours);
    GlobalFree(dib);
    if (!eight) return kPcdNoMemory;
    dib = eight;
  }
  *bitmap = dib;
  return kPcdOk;
}

PCDstatus PCDfreeBitmap(HGLOBAL bitmap) {
  if (!bitmap) return kPcdBadParameter;
  return GlobalFree(bitmap) ? kPcdBadHandle : kPcdOk;
}

PCDstatus PCDclose(PCDphotoHdl image) { return Lib().images.erase(image) ? kPcdOk : kPcdBadHandle; }

PCDstatus PCDcreatePalette(const uint8_t* table, int32_t ycc, int32_t, int32_t count, int32_t, int32_t redBits,
                           int32_t greenBits, int32_t blueBits, int32_t, int32_t, int32_t, PCDpaletteHdl* palette) {
  if (!palette || count < 1 || count > 256) return kPcdBadParameter;
  std::vector<tsl::DibRgbQuad> colours(size_t(count), tsl::DibRgbQuad{0, 0, 0, 0});
  if (table) {
    for (int32_t i = 0; i < count; ++i) {
      const uint8_t* e = table + 3 * i;
      uint8_t bgr[3] = {e[2], e[1], e[0]};
      if (ycc) tsl::PhotoYccToBgr(e[0], e[1], e[2], bgr);
      colours[size_t(i)] = {bgr[0], bgr[1], bgr[2], 0};
    }
  } else {
    if (redBits < 1 || greenBits < 1 || blueBits < 1 || redBits + greenBits + blueBits > 8) return kPcdBadParameter;
    const int rs = 1 << redBits, gs = 1 << greenBits, bs = 1 << blueBits;
    for (int32_t i = 0; i < count && i < rs * gs * bs; ++i) {
      const int r = i / (gs * bs), g = (i / bs) % gs, b = i % bs;
      colours[size_t(i)] = {uint8_t(b * 255 / (bs - 1)), uint8_t(g * 255 / (gs - 1)), uint8_t(r * 255 / (rs - 1)), 0};
    }
  }
  const PCDpaletteHdl h = Lib().nextPalette++;
  Lib().palettes[h] = std::move(colours);
  *palette = h;
  return kPcdOk;
}

PCDstatus PCDfreePalette(PCDpaletteHdl palette) { return Lib().palettes.erase(palette) ? kPcdOk : kPcdBadHandle; }
