// dspane: from DSP_Load to the movie's first frame on screen, for the 2 s
// MS Video 1 .avi ffmpeg makes, under Wine and Xvfb. The run's first load
// pays for GStreamer's start and is not timed. Run by hand:
//   . scripts/wine-env.sh; tsl_fresh_prefix
//   xvfb-run -a -s "-screen 0 1280x1024x24" wine64 build/wine/bin/dspaneopen_winbench.exe.so
//   tsl_drop_prefix
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "moviefixture.h"
#include "platform/dspane/dspane.h"
#include "playerscreen.h"

namespace {

using namespace moviefixture;

struct TBench {
  std::string path = wintest::TempPath("dspane_bench.avi");
  std::vector<uint8_t> first;
  HWND host = nullptr;
  int id = -1;

  TBench() {
    MakeTestMovie(TMovieKind::MsVideoAvi, path);
    first = ReferenceFrame(path, 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "DspaneBenchHost";
    ::RegisterClassA(&wc);
    host = ::CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                             kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    id = DSP_AddEle(host);
  }

  bool ShowsFirstFrame() const {
    const ClientShot shot = ShootClient(host);
    if (first.empty() || shot.Width < kWidth || shot.Height < kHeight) return false;
    for (const POINT& p : BarPoints())
      if (!Near(shot.At(p.x, p.y), FramePixel(first, p.x, p.y), 48)) return false;
    return true;
  }

  // Loads the movie and waits for its first frame; the seconds it took, or
  // a negative number when the frame did not come.
  double LoadToFirstFrame() {
    const auto start = std::chrono::steady_clock::now();
    if (!DSP_Load(id, path.c_str(), host, TRUE)) return -1;
    if (!wintest::PumpUntil([&] { return ShowsFirstFrame(); }, 10000)) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  // Hides the picture and waits for the host's black.
  void Close() {
    DSP_ShowEle(id, FALSE);
    wintest::PumpUntil([&] { return ShootClient(host).At(100, 40) == RGB(0, 0, 0); }, 2000);
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void BM_LoadToFirstFrame(benchmark::State& state) {
  TBench& b = Bench();
  b.LoadToFirstFrame();  // GStreamer's start
  b.Close();
  for (auto _ : state) {
    const double s = b.LoadToFirstFrame();
    if (s < 0) {
      state.SkipWithError("no first frame");
      break;
    }
    state.SetIterationTime(s);
    b.Close();
  }
}
BENCHMARK(BM_LoadToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

// Ends at once after the report: Wine kills a process whose library
// finalisers run late, which would hide the figures' exit status.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::fflush(nullptr);
  _exit(0);
}
