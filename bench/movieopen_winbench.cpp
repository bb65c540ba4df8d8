// mvpane: from OpenQTMovie to the movie's first frame on screen, for the
// 2 s MJPEG .mov ffmpeg makes, under Wine and Xvfb. The run's first open
// pays for GStreamer's start and is not timed. Run by hand:
//   . scripts/wine-env.sh; tsl_fresh_prefix
//   xvfb-run -a -s "-screen 0 1280x1024x24" wine64 build/wine/bin/movieopen_winbench.exe.so
//   tsl_drop_prefix
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "moviefixture.h"
#include "panes/mvpane/mvpane.h"
#include "playerscreen.h"

namespace {

using namespace moviefixture;

struct TBench {
  std::string path = wintest::TempPath("mvpane_bench.mov");
  std::vector<uint8_t> first;
  HWND host = nullptr;
  HMVPANE pane = nullptr;

  TBench() {
    InitQT();
    MakeTestMovie(TMovieKind::MjpegMov, path);
    first = ReferenceFrame(path, 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "MvpaneBenchHost";
    ::RegisterClassA(&wc);
    host = ::CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                             nullptr, wc.hInstance, nullptr);
    pane = CreateMvpane(host, 0, 0, 320, 256, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, -1);
  }

  bool ShowsFirstFrame() const {
    const ClientShot shot = ShootClient(GetMvpane(pane));
    if (first.empty() || shot.Width < kWidth || shot.Height < kHeight) return false;
    for (const POINT& p : BarPoints())
      if (!Near(shot.At(p.x, p.y), FramePixel(first, p.x, p.y), 48)) return false;
    return true;
  }

  // Opens the movie and waits for its first frame; the seconds it took, or
  // a negative number when the frame did not come.
  double OpenToFirstFrame() {
    const auto start = std::chrono::steady_clock::now();
    if (!OpenQTMovie(pane, path.c_str())) return -1;
    SizeMvpane(pane, 0, 0, kWidth, kHeight + 16, TRUE);
    if (!wintest::PumpUntil([&] { return ShowsFirstFrame(); }, 10000)) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  // Closes the movie (a missing file closes before it fails) and waits for the grey.
  void Close() {
    OpenQTMovie(pane, wintest::TempPath("mvpane_bench_missing.mov").c_str());
    wintest::PumpFor(50);
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void BM_OpenToFirstFrame(benchmark::State& state) {
  TBench& b = Bench();
  b.OpenToFirstFrame();  // GStreamer's start
  b.Close();
  for (auto _ : state) {
    const double s = b.OpenToFirstFrame();
    if (s < 0) {
      state.SkipWithError("no first frame");
      break;
    }
    state.SetIterationTime(s);
    b.Close();
  }
}
BENCHMARK(BM_OpenToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

// Ends at once after the report: Wine kills a process whose library
// finalisers run late, which would hide the figures' exit status.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::fflush(nullptr);
  _exit(0);
}
