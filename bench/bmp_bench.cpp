// Decoding speed of the BMP codec against ImageMagick on the same files: a
// 1600 × 1200 24-bit picture and a 1600 × 1200 RLE8 one, decoded from disk.
// ImageMagick's time is per picture through `convert file rgb:/dev/null`,
// so it includes starting the program; the start-up alone is timed too, and
// each ImageMagick benchmark reports its ratio to the codec as counters
// (times_codec: whole call; decode_times_codec: start-up subtracted).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "imaging/core/bmpcodec.h"
#include "tools/core/bmpgen.h"

namespace {

struct Files {
  std::string dir, bmp24, rle8;
  bool haveConvert = false;
  Files() {
    char tmpl[] = "/tmp/tslbmpbenchXXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    bmp24 = dir + "/photo24.bmp";
    rle8 = dir + "/rle8.bmp";
    Save(bmp24, bmpgen::Bmp(bmpgen::Pattern(1600, 1200, 24), 40));
    Save(rle8, bmpgen::Bmp(bmpgen::Pattern(1600, 1200, 8), 40, bmpgen::Compression::Rle8));
    haveConvert = std::system("command -v convert >/dev/null 2>&1") == 0;
  }
  ~Files() { std::system(("rm -rf '" + dir + "'").c_str()); }
  static void Save(const std::string& path, const bmpgen::Bytes& b) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(b.data(), 1, b.size(), f);
      std::fclose(f);
    }
  }
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

bool Decode(const std::string& path) {
  _TDIB codec;
  return codec.LoadFile(path.c_str()) == kBitmapOk;
}

// Seconds per decode by the codec, measured outside the benchmark loop.
double CodecSeconds(const std::string& path) {
  const int n = 20;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) Decode(path);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / n;
}

double ConvertSeconds(const std::string& cmd, int n) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i)
    if (std::system(cmd.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / n;
}

const std::string kStartup = "convert -size 1x1 xc:black rgb:/dev/null";

void BM_CodecDecode(benchmark::State& state, const std::string* path) {
  for (auto _ : state)
    if (!Decode(*path)) state.SkipWithError("decode failed");
  state.SetBytesProcessed(int64_t(state.iterations()) * 1600 * 1200 * 3);
}

void BM_ConvertDecode(benchmark::State& state, const std::string* path) {
  if (!TheFiles().haveConvert) {
    state.SkipWithError("ImageMagick's convert is not on PATH");
    return;
  }
  const std::string cmd = "convert '" + *path + "' -depth 8 rgb:/dev/null";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("convert failed");
  const double im = ConvertSeconds(cmd, 5), startup = ConvertSeconds(kStartup, 5), ours = CodecSeconds(*path);
  state.counters["times_codec"] = im / ours;
  state.counters["decode_times_codec"] = (im - startup) / ours;
}

void BM_ConvertStartup(benchmark::State& state) {
  if (!TheFiles().haveConvert) {
    state.SkipWithError("ImageMagick's convert is not on PATH");
    return;
  }
  for (auto _ : state)
    if (std::system(kStartup.c_str()) != 0) state.SkipWithError("convert failed");
}

const std::string* Bmp24() { return &TheFiles().bmp24; }
const std::string* Rle8() { return &TheFiles().rle8; }

}  // namespace

BENCHMARK_CAPTURE(BM_CodecDecode, bmp24_1600x1200, Bmp24())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CodecDecode, rle8_1600x1200, Rle8())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConvertDecode, bmp24_1600x1200, Bmp24())->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ConvertDecode, rle8_1600x1200, Rle8())->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ConvertStartup)->Unit(benchmark::kMillisecond)->Iterations(10);
