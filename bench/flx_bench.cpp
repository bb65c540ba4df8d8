// Decoding speed of the FLC reader against ffmpeg's FLIC decoder on the same
// file: 500 frames of 640 × 480 written by our writer (a noisy start, then
// each frame moving a band and re-rolling a share of the pixels, so that
// the word-delta chunks carry real work). Our reader decodes in this
// process from the memory copy; ffmpeg runs as `ffmpeg -i x.flc -f null -`
// (its start-up time is measured on a one-frame file and taken off). Both
// report time per frame; the reader's `times_ffmpeg` is its time as a
// multiple of ffmpeg's (below 1: faster).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "imaging/core/flx.h"

namespace {

constexpr int kW = 640, kH = 480, kFrames = 500;

std::vector<uint8_t> Picture(const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> b(40 + 1024 + pixels.size(), 0);
  tsl::DibInfoHeader h{};
  h.biSize = 40;
  h.biWidth = kW;
  h.biHeight = kH;
  h.biPlanes = 1;
  h.biBitCount = 8;
  h.biClrUsed = 256;
  std::memcpy(b.data(), &h, 40);
  for (int i = 0; i < 256; ++i) b[40 + 4 * i] = uint8_t(i), b[41 + 4 * i] = uint8_t(255 - i), b[42 + 4 * i] = uint8_t(i * 3);
  std::memcpy(b.data() + 1064, pixels.data(), pixels.size());
  return b;
}

std::vector<uint8_t> WriteFlc(int frames) {
  std::mt19937 rng(5);
  std::vector<uint8_t> px(size_t(kW) * kH);
  for (auto& p : px) p = uint8_t(rng());
  auto* m = new tsl::MemoryStream;
  std::unique_ptr<tsl::ByteStream> owned(m);
  tsl::TFLX w;
  const auto first = Picture(px);
  w.Create(std::move(owned), 40, first.data(), first.size());
  for (int f = 1; f < frames; ++f) {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint8_t& p = px[size_t(y) * kW + x];
        if ((y / 8) % 60 == f % 60) p = uint8_t(x + f);
        else if (rng() % 16 == 0) p = uint8_t(rng());
      }
    const auto pic = Picture(px);
    w.AddFrame(pic.data(), pic.size());
  }
  w.Finish(first.data(), first.size());
  return m->Data();
}

const std::vector<uint8_t>& File() {
  static const std::vector<uint8_t> f = WriteFlc(kFrames);
  return f;
}

std::string Saved(const std::vector<uint8_t>& b, const char* name) {
  const std::string path = "/tmp/tsl_flx_bench_" + std::to_string(getpid()) + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
  return path;
}

double OurSecondsPerFrame(benchmark::State* state) {
  tsl::TFLX f(std::make_unique<tsl::MemoryStream>(File()), true);
  const auto t0 = std::chrono::steady_clock::now();
  int n = 1;
  while (n <= kFrames && f.NextFrame()) ++n;
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (state && n != kFrames + 1) state->SkipWithError("the reader stopped early");
  return s / kFrames;
}

double FfmpegSeconds(const std::string& path) {
  const auto t0 = std::chrono::steady_clock::now();
  const int rc = std::system(("ffmpeg -v error -threads 1 -i " + path + " -f null - 2>/dev/null").c_str());
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return rc == 0 ? s : -1;
}

double FfmpegSecondsPerFrame() {
  static const std::string big = Saved(File(), "_500.flc");
  static const std::string small = Saved(WriteFlc(1), "_1.flc");
  double best = 1e9, bestStart = 1e9;
  for (int i = 0; i < 3; ++i) {
    best = std::min(best, FfmpegSeconds(big));
    bestStart = std::min(bestStart, FfmpegSeconds(small));
  }
  return (best - bestStart) / (kFrames + 1);
}

void BM_FlcReader(benchmark::State& state) {
  File();
  double best = 1e9;
  for (auto _ : state) {
    const double s = OurSecondsPerFrame(&state);
    best = std::min(best, s);
    state.SetIterationTime(s * kFrames);
  }
  state.counters["us_per_frame"] = best * 1e6;
  state.counters["times_ffmpeg"] = best / FfmpegSecondsPerFrame();
}
BENCHMARK(BM_FlcReader)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_FfmpegFlic(benchmark::State& state) {
  File();
  double per = 0;
  for (auto _ : state) {
    per = FfmpegSecondsPerFrame();
    state.SetIterationTime(per * kFrames);
  }
  state.counters["us_per_frame"] = per * 1e6;
}
BENCHMARK(BM_FfmpegFlic)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
