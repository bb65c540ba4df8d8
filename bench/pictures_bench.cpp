// Decoding speed of the GIF, TIFF (LZW), PCX and TGA codecs against their
// peers on the same 1600 × 1200 pictures, made by ImageMagick from one
// plasma picture: ImageMagick's convert for every format (its time per
// picture includes starting the program; the start-up alone is timed and
// subtracted for decode_times_codec), and giflib in-process for GIF
// (libgif, loaded at run time). Counters give each peer's time as a
// multiple of the codec's: above 1, the codec is faster.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "imaging/core/gifcodec.h"
#include "imaging/core/pcxcodec.h"
#include "imaging/core/tiffcodec.h"

namespace {

struct Files {
  std::string dir, gif, tif, pcx, tga, tgaRle;
  bool ok = false;
  Files() {
    char tmpl[] = "/tmp/tslpicbenchXXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    gif = dir + "/p.gif", tif = dir + "/p.tif", pcx = dir + "/p.pcx", tga = dir + "/p.tga", tgaRle = dir + "/r.tga";
    if (std::system("command -v convert >/dev/null 2>&1") != 0) return;
    const std::string src = dir + "/src.ppm";
    ok = std::system(("convert -size 1600x1200 -seed 7 plasma:fractal -blur 0x2 '" + src + "'").c_str()) == 0 &&
         std::system(("convert '" + src + "' -colors 256 '" + gif + "'").c_str()) == 0 &&
         std::system(("convert '" + src + "' -depth 8 -compress lzw '" + tif + "'").c_str()) == 0 &&
         std::system(("convert '" + src + "' '" + pcx + "'").c_str()) == 0 &&
         std::system(("convert '" + src + "' -compress none '" + tga + "'").c_str()) == 0 &&
         std::system(("convert '" + src + "' -compress RLE '" + tgaRle + "'").c_str()) == 0;
  }
  ~Files() { std::system(("rm -rf '" + dir + "'").c_str()); }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

template <class Codec>
bool Decode(const std::string& path) {
  Codec codec;
  return codec.LoadFile(path.c_str()) == kBitmapOk;
}

double Seconds(const std::function<bool()>& f, int n) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i)
    if (!f()) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / n;
}

const std::string kStartup = "convert -size 1x1 xc:black rgb:/dev/null";

// giflib through its C interface, looked up at run time.
struct GifLib {
  using Open = void* (*)(const char*, int*);
  using Slurp = int (*)(void*);
  using Close = int (*)(void*, int*);
  Open open = nullptr;
  Slurp slurp = nullptr;
  Close close = nullptr;
  GifLib() {
    void* lib = dlopen("libgif.so.7", RTLD_NOW);
    if (!lib) return;
    open = reinterpret_cast<Open>(dlsym(lib, "DGifOpenFileName"));
    slurp = reinterpret_cast<Slurp>(dlsym(lib, "DGifSlurp"));
    close = reinterpret_cast<Close>(dlsym(lib, "DGifCloseFile"));
  }
  bool Decode(const std::string& path) const {
    int error = 0;
    void* gif = open(path.c_str(), &error);
    if (!gif) return false;
    const bool ok = slurp(gif) == 1;
    close(gif, &error);
    return ok;
  }
};
const GifLib& Giflib() {
  static const GifLib g;
  return g;
}

using DecodeFn = bool (*)(const std::string&);

void BM_Codec(benchmark::State& state, const std::string* path, DecodeFn decode) {
  if (!TheFiles().ok) {
    state.SkipWithError("ImageMagick's convert is not on PATH");
    return;
  }
  for (auto _ : state)
    if (!decode(*path)) state.SkipWithError("decode failed");
  state.SetItemsProcessed(int64_t(state.iterations()) * 1600 * 1200);
}

void BM_ImageMagick(benchmark::State& state, const std::string* path, DecodeFn decode) {
  if (!TheFiles().ok) {
    state.SkipWithError("ImageMagick's convert is not on PATH");
    return;
  }
  const std::string cmd = "convert '" + *path + "' -depth 8 rgb:/dev/null";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("convert failed");
  const double im = Seconds([&] { return std::system(cmd.c_str()) == 0; }, 5);
  const double startup = Seconds([] { return std::system(kStartup.c_str()) == 0; }, 5);
  const double ours = Seconds([&] { return decode(*path); }, 20);
  state.counters["times_codec"] = im / ours;
  state.counters["decode_times_codec"] = (im - startup) / ours;
}

void BM_Giflib(benchmark::State& state) {
  const GifLib& g = Giflib();
  if (!TheFiles().ok || !g.open || !g.slurp || !g.close) {
    state.SkipWithError("no pictures or no libgif");
    return;
  }
  for (auto _ : state)
    if (!g.Decode(TheFiles().gif)) state.SkipWithError("giflib failed");
  const double theirs = Seconds([&] { return g.Decode(TheFiles().gif); }, 20);
  const double ours = Seconds([] { return Decode<TGIF>(TheFiles().gif); }, 20);
  state.counters["times_codec"] = theirs / ours;
}

void BM_ConvertStartup(benchmark::State& state) {
  if (!TheFiles().ok) {
    state.SkipWithError("ImageMagick's convert is not on PATH");
    return;
  }
  for (auto _ : state)
    if (std::system(kStartup.c_str()) != 0) state.SkipWithError("convert failed");
}

const std::string* Gif() { return &TheFiles().gif; }
const std::string* Tif() { return &TheFiles().tif; }
const std::string* Pcx() { return &TheFiles().pcx; }
const std::string* Tga() { return &TheFiles().tga; }
const std::string* TgaRle() { return &TheFiles().tgaRle; }

}  // namespace

BENCHMARK_CAPTURE(BM_Codec, gif_1600x1200, Gif(), &Decode<TGIF>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Giflib)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, gif_1600x1200, Gif(), &Decode<TGIF>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Codec, tiff_lzw_1600x1200, Tif(), &Decode<TTIF>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, tiff_lzw_1600x1200, Tif(), &Decode<TTIF>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Codec, pcx24_1600x1200, Pcx(), &Decode<TPCX>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, pcx24_1600x1200, Pcx(), &Decode<TPCX>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Codec, tga24_1600x1200, Tga(), &Decode<TTGA>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, tga24_1600x1200, Tga(), &Decode<TTGA>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Codec, tga24rle_1600x1200, TgaRle(), &Decode<TTGA>)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageMagick, tga24rle_1600x1200, TgaRle(), &Decode<TTGA>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConvertStartup)->Unit(benchmark::kMillisecond)->Iterations(5);
