// The slide window's cells: 200 JPEG pictures of 1024 x 768 in 96 x 96
// cells. The first paint reads, reduces and caches every picture; a repaint
// draws from the cache. Beside them, ImageMagick's single-threaded
// `mogrify -thumbnail 96x96` on copies of the same files, in the same run.
// Run by hand:
//   . scripts/wine-env.sh; tsl_fresh_prefix
//   xvfb-run -a -s "-screen 0 1280x1024x24" wine64 build/wine/bin/slidethumbs_winbench.exe.so
//   tsl_drop_prefix
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "moviefixture.h"
#include "objects/diawindow.h"
#include "objects/text/objectpage.h"

namespace {

constexpr int kPictures = 200;

std::string Escaped(const std::string& path) {
  std::string f;
  for (char c : path) {
    if (c == '\\') f += "\\\\";
    else f += c;
  }
  return f;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct TBench {
  std::string folder = wintest::TempPath("tsl_slidebench");
  std::string peerIn = wintest::TempPath("tsl_slidebench_peer");
  std::string peerOut = wintest::TempPath("tsl_slidebench_thumbs");
  std::unique_ptr<ObjectPage> page;
  TDiaWindowObject* slides = nullptr;
  bool ok = false;

  TBench() {
    for (const std::string* d : {&folder, &peerIn, &peerOut}) ::CreateDirectoryA(d->c_str(), nullptr);
    // Two noisy pictures alternate, so the files are of a camera's size
    // and no decoder gains from a flat picture.
    const std::string a = wintest::TempPath("tsl_slidebench_a.jpg"), b = wintest::TempPath("tsl_slidebench_b.jpg");
    if (!moviefixture::RunUnix({"convert", "-size", "1024x768", "plasma:red-blue", "-quality", "85",
                                moviefixture::UnixPath(a)}) ||
        !moviefixture::RunUnix({"convert", "-size", "1024x768", "plasma:green-yellow", "-quality", "85",
                                moviefixture::UnixPath(b)}))
      return;
    for (int i = 0; i < kPictures; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "\\p%03d.jpg", i);
      const std::string& from = i % 2 ? b : a;
      if (!::CopyFileA(from.c_str(), (folder + name).c_str(), FALSE)) return;
      if (!::CopyFileA(from.c_str(), (peerIn + name).c_str(), FALSE)) return;
    }
    page = std::make_unique<ObjectPage>("size 640 300\npathmode 0\npage 1\n  background colour #3050A0\n"
                                        "  object slides \"Dias\" 10 10 410 130\n    slides folder \"" +
                                            Escaped(folder) + "\" flags 2\n",
                                        640, 300);
    slides = page->Ok ? dynamic_cast<TDiaWindowObject*>(page->Object(1)) : nullptr;
    ok = slides && slides->EntryCount() == kPictures;
  }

  std::vector<std::string> MogrifyArgs() const {
    std::vector<std::string> args = {"mogrify", "-limit", "thread", "1", "-path", moviefixture::UnixPath(peerOut),
                                     "-thumbnail", "96x96"};
    for (int i = 0; i < kPictures; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/p%03d.jpg", i);
      args.push_back(moviefixture::UnixPath(peerIn) + name);
    }
    return args;
  }

  // Every cell drawn once into a cell-sized memory bitmap, as the list
  // draws its items.
  double PaintAll() {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 96, 96);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPictures; ++i) {
      DRAWITEMSTRUCT item{};
      item.CtlType = ODT_LISTBOX;
      item.itemID = static_cast<UINT>(i);
      item.itemAction = ODA_DRAWENTIRE;
      item.hDC = dc;
      item.rcItem = RECT{0, 0, 96, 96};
      slides->DrawThumbnail(item);
    }
    ::GdiFlush();
    const double s = Seconds(start);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return s;
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void BM_FirstPaint(benchmark::State& state) {
  TBench& b = Bench();
  if (!b.ok) {
    state.SkipWithError("no slide window over the pictures");
    return;
  }
  for (auto _ : state) {
    DeleteThumbnailFiles();
    state.SetIterationTime(b.PaintAll());
  }
  state.counters["pictures"] = kPictures;
}
BENCHMARK(BM_FirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RepaintFromCache(benchmark::State& state) {
  TBench& b = Bench();
  if (!b.ok) {
    state.SkipWithError("no slide window over the pictures");
    return;
  }
  DeleteThumbnailFiles();
  b.PaintAll();
  for (auto _ : state) state.SetIterationTime(b.PaintAll());
}
BENCHMARK(BM_RepaintFromCache)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MogrifyThumbnail(benchmark::State& state) {
  TBench& b = Bench();
  if (!b.ok) {
    state.SkipWithError("no pictures");
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!moviefixture::RunUnix(b.MogrifyArgs())) {
      state.SkipWithError("mogrify failed");
      break;
    }
    state.SetIterationTime(Seconds(start));
  }
}
BENCHMARK(BM_MogrifyThumbnail)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// Ends at once after the report: Wine kills a process whose library
// finalisers run late, which would hide the figures' exit status.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  DeleteThumbnailFiles();
  std::fflush(nullptr);
  _exit(0);
}
