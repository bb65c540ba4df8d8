// The RTF loader under Wine on a document with 1,000 links: the first load
// strips the markup through the control's own search and deletion, a later
// load of the same name streams the cache's stripped copy and copies the
// bookmarks. Counters: links found per load.
#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#include <benchmark/benchmark.h>
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")
#include <windows.h>

#include <string>

#include "engine/objectelement.h"
#include "objects/highedit.h"
#include "objects/richhost.h"

namespace {

class TBenchOwner : public TRichDocumentOwner {
public:
  TBenchOwner() : Element_(nullptr, TObjectInfo(), new TTextDocData()) {
    GetTextDocData()->Flags = kDocFileText | kDocLinks | kDocSingleClick;
  }
  TTextDocData* GetTextDocData() const override { return dynamic_cast<TTextDocData*>(Element_.Data.get()); }
  void ExecuteLinkCommand(const std::string&) override {}
  TObjectElement& Element() override { return Element_; }
  bool IsWindowed() const override { return false; }

private:
  TObjectElement Element_;
};

std::string Document(int links) {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  for (int i = 0; i < links; ++i)
    rtf += "Absatz " + std::to_string(i) + " mit \\\\BEGIN_TSLPARMVerweis " + std::to_string(i) +
           "\\\\TSLPARM=\\{GOTOPAGE=Seite " + std::to_string(i % 40) + "\\} und Text dahinter.\\par ";
  return rtf + "}";
}

std::string WriteDocument(const char* name) {
  char folder[MAX_PATH] = {};
  ::GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + name;
  const std::string rtf = Document(1000);
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD n = 0;
  ::WriteFile(f, rtf.data(), static_cast<DWORD>(rtf.size()), &n, nullptr);
  ::CloseHandle(f);
  return path;
}

struct TWindowPair {
  TWindowPair() {
    Parent.Attr.Style = WS_POPUP;
    Parent.Attr.W = 400;
    Parent.Attr.H = 300;
    Parent.Create();
    Child = new THighEditChildWindow(&Parent, &Owner);
    Child->Attr.Style &= ~WS_VISIBLE;
    Child->Attr.W = 380;
    Child->Attr.H = 280;
    Child->Create();
  }
  ~TWindowPair() { delete Child; }
  TBenchOwner Owner;
  TWindow Parent{static_cast<TWindow*>(nullptr)};
  THighEditChildWindow* Child = nullptr;
};

// Every iteration loads under a name of its own: never a cache hit.
void BM_FirstLoad(benchmark::State& state) {
  const std::string path = WriteDocument("tsl_bench_first.rtf");
  TWindowPair w;
  int n = 0;
  for (auto _ : state) {
    const std::string name = path.substr(0, path.size() - 4) + std::to_string(++n) + ".rtf";
    state.PauseTiming();
    ::CopyFileA(path.c_str(), name.c_str(), FALSE);
    state.ResumeTiming();
    LoadRichDocument(name, w.Child, 0xFFFFFF, false, false);
    state.PauseTiming();
    ::DeleteFileA(name.c_str());
    state.ResumeTiming();
  }
  state.counters["links"] = static_cast<double>(w.Child->Bookmarks.size());
  ::DeleteFileA(path.c_str());
}
BENCHMARK(BM_FirstLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CachedLoad(benchmark::State& state) {
  const std::string path = WriteDocument("tsl_bench_cached.rtf");
  TWindowPair w;
  LoadRichDocument(path, w.Child, 0xFFFFFF, false, false);
  for (auto _ : state) LoadRichDocument(path, w.Child, 0xFFFFFF, false, false);
  state.counters["links"] = static_cast<double>(w.Child->Bookmarks.size());
  ::DeleteFileA(path.c_str());
}
BENCHMARK(BM_CachedLoad)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  ShutdownRichModule();
  return 0;
}
