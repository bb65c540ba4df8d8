// Decoding speed of the picture codecs against the libraries that decode
// the same formats, in this process, on the same 2000 × 1500 files made by
// ImageMagick from one plasma picture: TIFF LZW with predictor against
// libtiff, RLE TGA and PCX against FreeImage, raw TGA against stb_image,
// GIF against giflib, JPEG against libjpeg, and an uncompressed 24-bit BMP
// against a memcpy of its bytes. Every pair is checked for equal pixels
// before it is timed. Each codec benchmark reports `times_peer`, its time
// as a multiple of the peer's (below 1: the codec is faster), from the
// fastest of interleaved runs in processor time, so that a busy machine
// hurts both alike.
#include <FreeImage.h>
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <stb/stb_image.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "imaging/core/bmpcodec.h"
#include "imaging/core/dib.h"
#include "imaging/core/gifcodec.h"
#include "imaging/core/jpegcodec.h"
#include "imaging/core/pcxcodec.h"
#include "imaging/core/tiffcodec.h"

namespace {

constexpr int kW = 2000, kH = 1500;
using Bytes = std::vector<uint8_t>;

// Top-down RGB, three bytes a pixel, of whatever decoded.
using Rgb = Bytes;

bool Sh(const std::string& cmd) { return std::system(cmd.c_str()) == 0; }

Bytes ReadAll(const std::string& path) {
  Bytes b;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    b.resize(size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(b.data(), 1, b.size(), f) != b.size()) b.clear();
    std::fclose(f);
  }
  return b;
}

// ---- our codecs ----

Rgb RgbOfDib(uint8_t* block, size_t size) {
  tsl::DibView v;
  if (!tsl::ParseDib(block, size, v) || v.Compressed() || (v.bitCount != 8 && v.bitCount != 24)) return {};
  Rgb out;
  out.reserve(size_t(v.width) * size_t(v.height) * 3);
  for (int32_t y = v.height - 1; y >= 0; --y) {
    const uint8_t* r = v.Row(y);
    for (int32_t x = 0; x < v.width; ++x) {
      if (v.bitCount == 24) {
        out.insert(out.end(), {r[3 * x + 2], r[3 * x + 1], r[3 * x]});
      } else {
        const tsl::DibRgbQuad& q = v.colours[r[x]];
        out.insert(out.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
      }
    }
  }
  return out;
}

template <class Codec>
bool Ours(const std::string& path, Rgb* rgb) {
  Codec codec;
  if (codec.LoadFile(path.c_str()) != kBitmapOk) return false;
  if (rgb) *rgb = RgbOfDib(codec.LockedBase, codec.Platform().Size(codec.Dib));
  return true;
}

bool OursJpeg(const std::string& path, Rgb* rgb) {
  const tsl::DibPlatform& p = tsl::DefaultDibPlatform();
  std::unique_ptr<tsl::ByteStream> f = p.OpenRead(path.c_str());
  if (!f) return false;
  tsl::DibHolder dib(p, tsl::ReadJpegDib(p, *f));
  if (!dib) return false;
  if (rgb) {
    tsl::DibLock l(p, dib.get());
    *rgb = RgbOfDib(l.get(), l.size());
  }
  return true;
}

// ---- the peers ----

bool Libtiff(const std::string& path, Rgb* rgb) {
  TIFF* t = TIFFOpen(path.c_str(), "r");
  if (!t) return false;
  const tmsize_t strip = TIFFStripSize(t);
  const uint32_t strips = TIFFNumberOfStrips(t);
  std::unique_ptr<uint8_t[]> buf(new uint8_t[size_t(strip) * strips]);
  tmsize_t at = 0;
  bool ok = true;
  for (uint32_t s = 0; s < strips && ok; ++s) {
    const tmsize_t n = TIFFReadEncodedStrip(t, s, buf.get() + at, strip);
    ok = n > 0;
    at += n;
  }
  TIFFClose(t);
  if (ok && rgb) rgb->assign(buf.get(), buf.get() + at);
  return ok;
}

bool Giflib(const std::string& path, Rgb* rgb) {
  int error = 0;
  GifFileType* g = DGifOpenFileName(path.c_str(), &error);
  if (!g) return false;
  bool ok = DGifSlurp(g) == GIF_OK && g->ImageCount > 0;
  if (ok && rgb) {
    const SavedImage& im = g->SavedImages[0];
    const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : g->SColorMap;
    const size_t n = size_t(im.ImageDesc.Width) * size_t(im.ImageDesc.Height);
    rgb->clear();
    for (size_t i = 0; i < n && map; ++i) {
      const GifColorType c = map->Colors[im.RasterBits[i]];
      rgb->insert(rgb->end(), {c.Red, c.Green, c.Blue});
    }
  }
  DGifCloseFile(g, &error);
  return ok;
}

template <FREE_IMAGE_FORMAT kFormat>
bool FreeImage(const std::string& path, Rgb* rgb) {
  FIBITMAP* b = FreeImage_Load(kFormat, path.c_str(), 0);
  if (!b) return false;
  if (rgb) {
    rgb->clear();
    const unsigned w = FreeImage_GetWidth(b), h = FreeImage_GetHeight(b), bpp = FreeImage_GetBPP(b) / 8;
    for (int y = int(h) - 1; y >= 0; --y) {
      const BYTE* r = FreeImage_GetScanLine(b, y);
      for (unsigned x = 0; x < w; ++x)
        rgb->insert(rgb->end(), {r[bpp * x + FI_RGBA_RED], r[bpp * x + FI_RGBA_GREEN], r[bpp * x + FI_RGBA_BLUE]});
    }
  }
  FreeImage_Unload(b);
  return true;
}

bool Stb(const std::string& path, Rgb* rgb) {
  int w = 0, h = 0, n = 0;
  stbi_uc* p = stbi_load(path.c_str(), &w, &h, &n, 0);
  if (!p) return false;
  if (rgb) {
    rgb->clear();
    for (size_t i = 0; i < size_t(w) * size_t(h); ++i) rgb->insert(rgb->end(), {p[n * i], p[n * i + 1], p[n * i + 2]});
  }
  stbi_image_free(p);
  return true;
}

bool Libjpeg(const std::string& path, Rgb* rgb) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, f);
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  const size_t row = size_t(info.output_width) * info.output_components;
  std::unique_ptr<uint8_t[]> buf(new uint8_t[row * info.output_height]);
  while (info.output_scanline < info.output_height) {
    JSAMPROW r = buf.get() + row * info.output_scanline;
    jpeg_read_scanlines(&info, &r, 1);
  }
  jpeg_finish_decompress(&info);
  if (rgb) rgb->assign(buf.get(), buf.get() + row * info.output_height);
  jpeg_destroy_decompress(&info);
  std::fclose(f);
  return true;
}

// A memcpy of the BMP's pixel bytes from memory into a new block of the
// picture's size: what any decoder must at least do, get the memory and
// move the bytes. (Into a block kept warm between runs, `Memcpy<false>`,
// it leaves out the cost of fresh memory, which the codec cannot.)
struct BmpBytes {
  Bytes file;
  std::unique_ptr<uint8_t[]> warm;
  size_t offset = 0, size = 0;
};
BmpBytes& TheBmpBytes() {
  static BmpBytes b;
  return b;
}
template <bool kFreshBlock>
bool Memcpy(const std::string&, Rgb* rgb) {
  BmpBytes& b = TheBmpBytes();
  if (b.size == 0) return false;
  std::unique_ptr<uint8_t[]> fresh(kFreshBlock ? new uint8_t[b.size] : nullptr);
  uint8_t* to = kFreshBlock ? fresh.get() : b.warm.get();
  std::memcpy(to, b.file.data() + b.offset, b.size);
  benchmark::DoNotOptimize(to);
  benchmark::ClobberMemory();
  if (rgb) {
    rgb->clear();
    const size_t row = (size_t(kW) * 3 + 3) & ~size_t(3);
    for (int y = kH - 1; y >= 0; --y)
      for (int x = 0; x < kW; ++x) {
        const uint8_t* p = to + size_t(y) * row + 3 * size_t(x);
        rgb->insert(rgb->end(), {p[2], p[1], p[0]});
      }
  }
  return true;
}

using DecodeFn = bool (*)(const std::string&, Rgb*);

struct Pair {
  std::string file;
  DecodeFn ours, peer;
  std::string error;  // set-up failure; empty when the pair may be timed
};

// The files, made once; each pair decoded by both sides and compared.
struct Files {
  std::string dir;
  std::map<std::string, Pair> pairs;
  Files() {
    char tmpl[] = "/tmp/tsldecodebenchXXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    const std::string src = dir + "/src.ppm";
    const bool made = Sh("command -v convert >/dev/null 2>&1") &&
                      Sh("convert -size " + std::to_string(kW) + "x" + std::to_string(kH) +
                         " -seed 7 plasma:fractal -blur 0x2 '" + src + "'");
    auto add = [&](const std::string& name, const std::string& options, DecodeFn ours, DecodeFn peer,
                   const std::string& format = "") {
      Pair p{dir + "/" + name, ours, peer, ""};
      if (!made)
        p.error = "ImageMagick's convert is not on PATH";
      else if (!Sh("convert '" + src + "' " + options + " " + format + "'" + p.file + "'"))
        p.error = "convert could not write " + name;
      pairs[name] = p;
    };
    add("lzw.tif", "-depth 8 -compress lzw -define tiff:predictor=2", &Ours<TTIF>, &Libtiff);
    add("rle.tga", "-compress RLE", &Ours<TTGA>, &FreeImage<FIF_TARGA>);
    add("raw.tga", "-compress none", &Ours<TTGA>, &Stb);
    add("p.pcx", "", &Ours<TPCX>, &FreeImage<FIF_PCX>);
    add("p.gif", "-colors 256", &Ours<TGIF>, &Giflib);
    add("p.jpg", "-quality 90", &OursJpeg, &Libjpeg);
    add("p.bmp", "-type truecolor", &Ours<_TDIB>, &Memcpy<true>, "BMP3:");
    Pair& bmp = pairs["p.bmp"];
    if (bmp.error.empty()) {
      BmpBytes& b = TheBmpBytes();
      b.file = ReadAll(bmp.file);
      if (b.file.size() > 54) {
        b.offset = tsl::GetLe32(&b.file[10]);
        b.size = b.file.size() - b.offset;
        b.warm.reset(new uint8_t[b.size]);
      }
    }
    for (auto& [name, p] : pairs) {
      if (!p.error.empty()) continue;
      Rgb a, b;
      if (!p.ours(p.file, &a))
        p.error = "the codec does not decode " + name;
      else if (!p.peer(p.file, &b))
        p.error = "the peer does not decode " + name;
      else if (a.size() != size_t(kW) * kH * 3 || a != b)
        p.error = "pixels differ for " + name;
      if (!p.error.empty()) std::fprintf(stderr, "decode_bench: %s\n", p.error.c_str());
    }
  }
  ~Files() { Sh("rm -rf '" + dir + "'"); }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

// The thread's processor time (user and system) of one call: on a shared
// machine it varies far less than the time on the wall.
double Seconds(const std::function<bool()>& f) {
  auto now = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
  };
  const double t0 = now();
  if (!f()) return -1;
  return now() - t0;
}

void Run(benchmark::State& state, const char* name, bool ours) {
  const Pair& p = TheFiles().pairs.at(name);
  if (!p.error.empty()) {
    state.SkipWithError(p.error.c_str());
    return;
  }
  const DecodeFn f = ours ? p.ours : p.peer;
  for (auto _ : state)
    if (!f(p.file, nullptr)) state.SkipWithError("decode failed");
  state.SetItemsProcessed(int64_t(state.iterations()) * kW * kH);
  if (!ours) return;
  // Interleaved, the fastest of each side.
  double mine = 1e9, theirs = 1e9;
  for (int i = 0; i < 15; ++i) {
    mine = std::min(mine, Seconds([&] { return p.ours(p.file, nullptr); }));
    theirs = std::min(theirs, Seconds([&] { return p.peer(p.file, nullptr); }));
  }
  state.counters["times_peer"] = mine / theirs;
  if (p.peer == &Memcpy<true>) {
    double warm = 1e9;
    for (int i = 0; i < 15; ++i) warm = std::min(warm, Seconds([&] { return Memcpy<false>(p.file, nullptr); }));
    state.counters["times_warm_memcpy"] = mine / warm;
  }
}

void BM_Codec(benchmark::State& state, const char* name) { Run(state, name, true); }
void BM_Peer(benchmark::State& state, const char* name) { Run(state, name, false); }

}  // namespace

#define TSL_PAIR(label, file)                                                       \
  BENCHMARK_CAPTURE(BM_Codec, label, file)->Unit(benchmark::kMillisecond);          \
  BENCHMARK_CAPTURE(BM_Peer, label, file)->Unit(benchmark::kMillisecond)

TSL_PAIR(tiff_lzw_predictor_vs_libtiff, "lzw.tif");
TSL_PAIR(tga_rle_vs_freeimage, "rle.tga");
TSL_PAIR(pcx_vs_freeimage, "p.pcx");
TSL_PAIR(tga_raw_vs_stb_image, "raw.tga");
TSL_PAIR(gif_vs_giflib, "p.gif");
TSL_PAIR(jpeg_vs_libjpeg, "p.jpg");
TSL_PAIR(bmp24_vs_memcpy, "p.bmp");
