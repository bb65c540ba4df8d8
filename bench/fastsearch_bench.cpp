// The fast search field's word index: built from 100,000 collected field
// values (folded, ordered) and then asked 100,000 keys, half of them
// stored, against the same work done by std::stable_sort and
// std::lower_bound on the same strings in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "objects/core/fastsearch.h"

namespace {

constexpr int kValues = 100000;
const char* kStems[] = {"Apfel", "Birne", "Kirsche", "Pflaume", "\xC4pfelchen", "Quitte", "Traube", "Zitrone"};

struct Fixture {
  std::vector<string> texts;
  std::vector<int32_t> ids;
  std::vector<std::string> keys;
  Fixture() {
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < kValues; ++i) {
      // Some values repeat: a tenth of them share their text with another.
      const uint32_t n = next() % (kValues - kValues / 10);
      const std::string t = std::string(kStems[n % 8]) + " " + std::to_string(n);
      texts.push_back(string(t.c_str()));
      ids.push_back(i);
    }
    for (int i = 0; i < kValues; ++i) {
      const uint32_t n = next() % (kValues - kValues / 10);
      std::string k = std::string(kStems[n % 8]) + " " + std::to_string(n);
      if (i % 2) k += "x";  // never stored
      keys.push_back(FastSearchKey(k));
    }
  }
};

Fixture& TheFixture() {
  static Fixture f;
  return f;
}

void BM_WordIndexBuildAndLookups(benchmark::State& state) {
  Fixture& f = TheFixture();
  int64_t hits = 0;
  for (auto _ : state) {
    TFastSearchIndex index;
    index.Build(f.texts, f.ids);
    hits = 0;
    for (const std::string& k : f.keys) hits += index.Find(k) >= 0;
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}

void BM_StableSortLowerBound(benchmark::State& state) {
  Fixture& f = TheFixture();
  int64_t hits = 0;
  for (auto _ : state) {
    std::vector<TSearchTripelAndString> v;
    v.reserve(f.texts.size());
    for (size_t i = 0; i < f.texts.size(); ++i) v.push_back({f.ids[i], FoldSearchText(f.texts[i].str())});
    const auto less = [](const TSearchTripelAndString& a, const TSearchTripelAndString& b) { return a.Text < b.Text; };
    std::stable_sort(v.begin(), v.end(), less);
    hits = 0;
    for (const std::string& k : f.keys) {
      auto it = std::lower_bound(v.begin(), v.end(), k,
                                 [](const TSearchTripelAndString& a, const std::string& key) { return a.Text < key; });
      hits += it != v.end() && it->Text == k;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
}

BENCHMARK(BM_WordIndexBuildAndLookups)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StableSortLowerBound)->Unit(benchmark::kMillisecond);

}  // namespace
