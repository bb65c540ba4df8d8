// Picture scaling (ShrinkDib24 / EnlargeDib24) against ImageMagick's box
// filter on the same pictures: 1600 × 1200 → 400 × 300 and 400 × 300 →
// 1600 × 1200, 24-bit. ImageMagick runs as `convert FILE -filter Box
// -resize WxH! rgb:/dev/null`, which includes starting the program and
// reading the file; the same command without -resize is timed too, and each
// ImageMagick benchmark reports its ratio to ours as counters (times_ours:
// whole command; resize_times_ours: the resize alone, the command without
// it subtracted). Above 1 means we are faster.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/core/dibscale.h"
#include "tools/core/bmpgen.h"

namespace {

struct Pictures {
  std::string dir, large, small;
  bmpgen::Picture largePic = bmpgen::Pattern(1600, 1200, 24), smallPic = bmpgen::Pattern(400, 300, 24);
  bool haveConvert = false;
  Pictures() {
    char tmpl[] = "/tmp/tslscalebenchXXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    large = dir + "/large.bmp";
    small = dir + "/small.bmp";
    Save(large, bmpgen::Bmp(largePic, 40));
    Save(small, bmpgen::Bmp(smallPic, 40));
    haveConvert = std::system("command -v convert >/dev/null 2>&1") == 0;
  }
  ~Pictures() { std::system(("rm -rf '" + dir + "'").c_str()); }
  static void Save(const std::string& path, const bmpgen::Bytes& b) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(b.data(), 1, b.size(), f);
      std::fclose(f);
    }
  }
};

const Pictures& ThePictures() {
  static const Pictures p;
  return p;
}

struct Job {
  const char* what;
  bool enlarge;
  int w, h;
};
const Job kShrink{"shrink", false, 400, 300};
const Job kEnlarge{"enlarge", true, 1600, 1200};

const bmpgen::Picture& SourceOf(const Job& j) { return j.enlarge ? ThePictures().smallPic : ThePictures().largePic; }
const std::string& FileOf(const Job& j) { return j.enlarge ? ThePictures().small : ThePictures().large; }

tsl::DibHandle DibOf(const bmpgen::Picture& p) {
  const tsl::DibPlatform& pf = tsl::DefaultDibPlatform();
  tsl::DibHandle h = tsl::NewDib(pf, p.width, p.height, 24, 0);
  if (h) std::memcpy(pf.Lock(h) + 40, p.rows.data(), p.rows.size());
  return h;
}

bool ScaleOnce(const Job& j) {
  tsl::TDibScaler s;
  if (!s.Load(DibOf(SourceOf(j)))) return false;
  return (j.enlarge ? tsl::EnlargeDib24(s, j.w, j.h) : tsl::ShrinkDib24(s, j.w, j.h)) == 1;
}

double OursSeconds(const Job& j) {
  const int n = 10;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) ScaleOnce(j);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / n;
}

double CommandSeconds(const std::string& cmd, int n) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i)
    if (std::system(cmd.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / n;
}

std::string Convert(const Job& j, bool resize) {
  return "convert '" + FileOf(j) + "'" +
         (resize ? " -filter Box -resize " + std::to_string(j.w) + "x" + std::to_string(j.h) + "!" : std::string()) +
         " -depth 8 rgb:/dev/null";
}

// Loading the record (a copy of the source) is part of each call.
void BM_Ours(benchmark::State& state, const Job* j) {
  for (auto _ : state)
    if (!ScaleOnce(*j)) state.SkipWithError("scaling refused");
  state.SetItemsProcessed(int64_t(state.iterations()) * j->w * j->h);
}

void BM_Convert(benchmark::State& state, const Job* j) {
  if (!ThePictures().haveConvert) {
    state.SkipWithError("ImageMagick's convert is not on PATH");
    return;
  }
  const std::string cmd = Convert(*j, true);
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("convert failed");
  const double im = CommandSeconds(cmd, 5), plain = CommandSeconds(Convert(*j, false), 5), ours = OursSeconds(*j);
  state.counters["times_ours"] = im / ours;
  state.counters["resize_times_ours"] = (im - plain) / ours;
}

}  // namespace

BENCHMARK_CAPTURE(BM_Ours, shrink_1600x1200_to_400x300, &kShrink)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Ours, enlarge_400x300_to_1600x1200, &kEnlarge)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, shrink_1600x1200_to_400x300, &kShrink)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Convert, enlarge_400x300_to_1600x1200, &kEnlarge)->Unit(benchmark::kMillisecond)->Iterations(5);
