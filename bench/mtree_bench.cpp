// The counted B-tree against std::multimap on one million random keys, both
// ordered by the same key comparison: inserting them all, finding each,
// reading every entry by ordinal, and removing half of them by key.
// std::multimap has no ordinal access: it reaches the n-th entry by walking
// (std::next), measured on a sample of ordinals, and in one in-order walk.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "foundation/core/index/keycompare.h"
#include "foundation/core/index/keyentry.h"
#include "foundation/core/index/mtree.h"

namespace {

constexpr int kKeys = 1000000;

struct Less {
  bool operator()(const std::string& a, const std::string& b) const {
    return tsl::AnsiWordCompare(a.c_str(), b.c_str()) < 0;
  }
};
using Map = std::multimap<std::string, uint32_t, Less>;
using Tree = MTREE<TKeyEntry>;

const std::vector<std::string>& Keys() {
  static const std::vector<std::string> keys = [] {
    std::mt19937 rng(42);
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::vector<std::string> k(kKeys);
    for (std::string& s : k) {
      s.resize(6 + rng() % 10);
      for (char& c : s) c = alphabet[rng() % (sizeof alphabet - 1)];
    }
    return k;
  }();
  return keys;
}

std::unique_ptr<Tree> BuildTree() {
  auto t = std::make_unique<Tree>();
  uint32_t i = 0;
  for (const std::string& k : Keys()) {
    TKeyEntry e(k.c_str());
    e.Value = i++;
    t->Insert(e, 1);
  }
  return t;
}

std::unique_ptr<Map> BuildMap() {
  auto m = std::make_unique<Map>();
  uint32_t i = 0;
  for (const std::string& k : Keys()) m->emplace(k, i++);
  return m;
}

Tree& SharedTree() {
  static std::unique_ptr<Tree> t = BuildTree();
  return *t;
}
Map& SharedMap() {
  static std::unique_ptr<Map> m = BuildMap();
  return *m;
}

void Insert_MTREE(benchmark::State& state) {
  for (auto _ : state) {
    auto t = BuildTree();
    benchmark::DoNotOptimize(t->Count());
    state.PauseTiming();
    t.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void Insert_multimap(benchmark::State& state) {
  for (auto _ : state) {
    auto m = BuildMap();
    benchmark::DoNotOptimize(m->size());
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void Find_MTREE(benchmark::State& state) {
  Tree& t = SharedTree();
  for (auto _ : state) {
    size_t found = 0;
    TKeyEntry e;
    for (const std::string& k : Keys()) found += t.Find(k.c_str(), 0, &e);
    if (found != kKeys) state.SkipWithError("key not found");
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void Find_multimap(benchmark::State& state) {
  Map& m = SharedMap();
  for (auto _ : state) {
    size_t found = 0;
    for (const std::string& k : Keys()) {
      auto it = m.find(k);
      found += it != m.end();
      benchmark::DoNotOptimize(it);
    }
    if (found != kKeys) state.SkipWithError("key not found");
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void GetAtAll_MTREE(benchmark::State& state) {
  Tree& t = SharedTree();
  for (auto _ : state) {
    TKeyEntry e;
    uint64_t sum = 0;
    for (int32_t i = 0; i < kKeys; ++i) {
      t.GetAt(i, e);
      sum += e.Value;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

// The n-th entry of a multimap: std::next from the start, for 20 random
// ordinals (all one million would take hours).
void GetAtSample_multimap(benchmark::State& state) {
  Map& m = SharedMap();
  std::mt19937 rng(7);
  std::vector<long> ordinals(20);
  for (long& o : ordinals) o = static_cast<long>(rng() % kKeys);
  for (auto _ : state) {
    uint64_t sum = 0;
    for (long o : ordinals) sum += std::next(m.begin(), o)->second;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ordinals.size()));
}

// 200 random ordinals in the tree, for the per-access comparison.
void GetAtSample_MTREE(benchmark::State& state) {
  Tree& t = SharedTree();
  std::mt19937 rng(7);
  std::vector<int32_t> ordinals(200);
  for (int32_t& o : ordinals) o = static_cast<int32_t>(rng() % kKeys);
  for (auto _ : state) {
    uint64_t sum = 0;
    TKeyEntry e;
    for (int32_t o : ordinals) {
      t.GetAt(o, e);
      sum += e.Value;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ordinals.size()));
}

// Every entry in order, the one thing a multimap does without search.
void WalkAll_multimap(benchmark::State& state) {
  Map& m = SharedMap();
  for (auto _ : state) {
    uint64_t sum = 0;
    for (const auto& kv : m) sum += kv.second;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void RemoveHalf_MTREE(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto t = BuildTree();
    state.ResumeTiming();
    for (int i = 0; i < kKeys; i += 2) t->FindAndRemove(Keys()[i].c_str(), 0);
    if (t->Count() != kKeys / 2) state.SkipWithError("wrong count");
    state.PauseTiming();
    t.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys / 2);
}

void RemoveHalf_multimap(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto m = BuildMap();
    state.ResumeTiming();
    for (int i = 0; i < kKeys; i += 2) m->erase(m->find(Keys()[i]));
    if (m->size() != kKeys / 2) state.SkipWithError("wrong count");
    state.PauseTiming();
    m.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys / 2);
}

}  // namespace

BENCHMARK(Insert_MTREE)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Insert_multimap)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Find_MTREE)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Find_multimap)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(GetAtAll_MTREE)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(WalkAll_multimap)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(GetAtSample_MTREE)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetAtSample_multimap)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RemoveHalf_MTREE)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RemoveHalf_multimap)->Unit(benchmark::kMillisecond)->Iterations(3);
