// The media dialog's preview pane: LoadFile and the paint that follows, for
// a 1600 x 1200 JPEG (ImageMagick) and a Photo CD image (our writer of the
// three base resolutions; the pane decodes resolution 1), in a 194 x 184
// pane, under Wine and Xvfb. Each stays within 50 ms on this machine. Run
// by hand:
//   . scripts/wine-env.sh; tsl_fresh_prefix
//   xvfb-run -a -s "-screen 0 1280x1024x24" wine64 build/wine/bin/preview_winbench.exe.so
//   tsl_drop_prefix
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>

#include "imaging/codecs/picgen.h"
#include "imaging/picload.h"
#include "moviefixture.h"
#include "platform/owl/window.h"
#include "slideshow/mediaopen.h"

namespace {

struct TBench {
  std::string jpeg = wintest::TempPath("preview_bench.jpg");
  std::string pcd = wintest::TempPath("preview_bench.pcd");
  std::unique_ptr<TWindow> host;
  std::unique_ptr<TPreviewWindow> pane;

  TBench() {
    InstallPictureFileLoader();
    moviefixture::RunUnix({"convert", "-size", "1600x1200", "gradient:red-blue", "-quality", "90",
                           moviefixture::UnixPath(jpeg)});
    wintest::WriteFileBytes(pcd, picgen::Pcd(0, [](uint32_t, uint32_t x, uint32_t y) { return uint8_t(x + y); },
                                             [](uint32_t, uint32_t x, uint32_t, int c) { return uint8_t(c ? x : 128); }));
    host = std::make_unique<TWindow>(nullptr, "Vorschau");
    host->Attr.Style = WS_POPUP | WS_VISIBLE;
    host->Attr.X = 40;
    host->Attr.Y = 40;
    host->Attr.W = 200;
    host->Attr.H = 190;
    host->Create();
    pane = std::make_unique<TPreviewWindow>(host.get());
    pane->Create();
    pane->MoveWindow(0, 0, 198, 188);
    ::ShowWindow(pane->HWindow, SW_SHOW);
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void LoadAndPaint(benchmark::State& state, const std::string& path) {
  TBench& b = Bench();
  for (auto _ : state) {
    b.pane->LoadFile(path.c_str());
    ::UpdateWindow(b.pane->HWindow);
    if (!b.pane->Dib) {
      state.SkipWithError("no picture");
      break;
    }
  }
}

void BM_PreviewJpeg1600x1200(benchmark::State& state) { LoadAndPaint(state, Bench().jpeg); }
void BM_PreviewPhotoCdBase(benchmark::State& state) { LoadAndPaint(state, Bench().pcd); }

BENCHMARK(BM_PreviewJpeg1600x1200)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PreviewPhotoCdBase)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

// Ends at once after the report: Wine kills a process whose library
// finalisers run late, which would hide the figures' exit status.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::fflush(nullptr);
  _exit(0);
}
