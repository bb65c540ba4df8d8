// The search query of two quoted words joined by "und", as the search dialog
// builds it (both options off), over 100,000 generated field texts: compiled
// once and evaluated per text, and compiled again for every text as the
// search run does.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "database/core/queryexpr.h"

namespace {

constexpr int kTexts = 100000;
const char* const kQuery = "^Feld[0]*=^\"haus\" UND ^Feld[0]*=^\"boot\";";

class SearchQuery : public QueryExpr {
public:
  const std::string* text = nullptr;
  QX_Error GetField(char** out, int index) override {
    if (index != 0) return QX_Err(16);
    *out = const_cast<char*>(text->c_str());
    return nullptr;
  }
  QX_Error SetField(int, const char*) override { return nullptr; }
};

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    const char* words[] = {"Haus", "Boot", "Hausboot", "Segel", "Stra\xDF" "e", "M\xFChle", "Garten", "Tor",
                           "Bootshaus", "Dach", "Fenster", "T\xFCr"};
    std::mt19937 rng(1234);
    std::vector<std::string> v;
    v.reserve(kTexts);
    for (int i = 0; i < kTexts; ++i) {
      std::string t;
      const int n = 1 + static_cast<int>(rng() % 6);
      for (int k = 0; k < n; ++k) {
        if (k) t += ' ';
        t += words[rng() % (sizeof words / sizeof *words)];
      }
      v.push_back(t);
    }
    return v;
  }();
  return texts;
}

void CompiledOnce(benchmark::State& state) {
  const auto& texts = Texts();
  SearchQuery q;
  if (q.Compile(kQuery)) state.SkipWithError("compile");
  for (auto _ : state) {
    int hits = 0;
    for (const std::string& t : texts) {
      q.text = &t;
      bool r = false;
      q.Evaluate(r);
      hits += r;
    }
    benchmark::DoNotOptimize(hits);
    state.counters["hits"] = hits;
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(CompiledOnce)->Unit(benchmark::kMillisecond);

void CompiledPerText(benchmark::State& state) {
  const auto& texts = Texts();
  SearchQuery q;
  for (auto _ : state) {
    int hits = 0;
    for (const std::string& t : texts) {
      q.text = &t;
      q.Compile(kQuery);
      bool r = false;
      q.Evaluate(r);
      hits += r;
    }
    benchmark::DoNotOptimize(hits);
    state.counters["hits"] = hits;
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(CompiledPerText)->Unit(benchmark::kMillisecond);

}  // namespace
