// The tree database on 100,000 data entries in 10 x 100 categories with 8
// fields (about 22 MB): loading the .dbd file stored parents first and the
// same file stored children first, collecting the entries in tree order, and
// converting a table-format pair of the same keys and fields.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "database/core/dbnodes.h"
#include "database/core/dbtable.h"

namespace {

constexpr int kTop = 10, kSub = 100, kData = 100000, kFields = 8;

struct Out {
  std::vector<uint8_t> b;
  template <class T> void put(T v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + sizeof v);
  }
  void str(const std::string& s) {
    put(static_cast<uint16_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
  }
  void entry(int32_t id, int32_t cat, int32_t data, uint8_t isCat) {
    put(id); put(cat); put(data); put(isCat); put(int32_t(-1)); put(uint16_t(3));
    put(int32_t(0x7FFFFFFF)); put(int32_t(0x7FFFFFFF)); put(int32_t(0x7FFFFFFF));
  }
};

std::vector<uint8_t> MakeFile(bool childrenFirst) {
  Out o;
  o.put(kDbdMagic); o.put(uint16_t(0)); o.put(uint32_t(0));
  o.put(int16_t(kFields));
  for (int f = 0; f < kFields; ++f) { o.str("Feld0" + std::to_string(f + 1)); o.put(uint16_t(0xFFFF)); o.put(uint8_t(0)); }
  o.put(int16_t(0));
  const int cats = kTop + kTop * kSub;
  o.put(uint32_t(cats)); o.put(uint32_t(kData)); o.put(uint32_t(cats + kData));
  o.put(int32_t(cats));
  for (int c = 0; c < cats; ++c) {
    o.put(int32_t(c)); o.put(int32_t(c < kTop ? -1 : (c - kTop) / kSub)); o.put(uint32_t(0)); o.put(uint8_t(0));
    o.str("Kategorie " + std::to_string(c)); o.str("");
  }
  o.put(int32_t(kData));
  for (int d = 0; d < kData; ++d) {
    o.put(int32_t(d)); o.put(uint32_t(1)); o.str("Eintrag " + std::to_string(d));
    o.put(int16_t(kFields));
    for (int f = 0; f < kFields; ++f) o.str("Wert " + std::to_string(f) + " des Eintrags " + std::to_string(d));
  }
  o.put(int32_t(cats + kData));
  std::vector<std::vector<uint8_t>> ents;
  auto add = [&](int32_t id, int32_t cat, int32_t data, uint8_t isCat) {
    Out e;
    e.entry(id, cat, data, isCat);
    ents.push_back(e.b);
  };
  for (int c = 0; c < cats; ++c) add(c, c, -1, 1);
  for (int d = 0; d < kData; ++d) add(cats + d, kTop + d % (kTop * kSub), d, 0);
  if (childrenFirst) std::reverse(ents.begin(), ents.end());
  for (auto& e : ents) o.b.insert(o.b.end(), e.begin(), e.end());
  return o.b;
}

void Load(benchmark::State& state, bool childrenFirst) {
  const std::vector<uint8_t> file = MakeFile(childrenFirst);
  for (auto _ : state) {
    // The copy of the file is not the load's; making and freeing the
    // manager are.
    state.PauseTiming();
    tsl::MemoryStream s(file);
    state.ResumeTiming();
    TDBNodeManager m;
    m.Load(s);
    benchmark::DoNotOptimize(m.CurrentEntryId);
  }
  state.counters["MB"] = file.size() / 1e6;
}

void BM_LoadParentsFirst(benchmark::State& state) { Load(state, false); }
void BM_LoadChildrenFirst(benchmark::State& state) { Load(state, true); }

void BM_CollectEntries(benchmark::State& state) {
  tsl::MemoryStream s(MakeFile(false));
  TDBNodeManager m;
  m.Load(s);
  for (auto _ : state) {
    std::vector<TDBCategoryData*> all;
    m.CollectEntries(all);
    benchmark::DoNotOptimize(all.data());
  }
}

void BM_ConvertTable(benchmark::State& state) {
  TTableWriter w(kFields);
  TdbfMemoryKey row;
  for (int c = 0; c < kTop; ++c) {
    const std::string cat = "Kategorie " + std::to_string(c);
    w.Add(cat.c_str(), "", "", nullptr);
    for (int s = 0; s < kSub; ++s) {
      const std::string sub = "Kategorie " + std::to_string(kTop + c * kSub + s);
      w.Add(cat.c_str(), sub.c_str(), "", nullptr);
    }
  }
  for (int d = 0; d < kData; ++d) {
    const int c = d % (kTop * kSub);
    const std::string cat = "Kategorie " + std::to_string(c / kSub), sub = "Kategorie " + std::to_string(kTop + c);
    const std::string key = "Eintrag " + std::to_string(d);
    row.Columns[0] = string(cat.c_str());
    row.Columns[1] = string(sub.c_str());
    row.Columns[2] = string(key.c_str());
    for (int f = 0; f < kFields; ++f)
      row.Columns[3 + f] = string(("Wert " + std::to_string(f) + " des Eintrags " + std::to_string(d)).c_str());
    w.Add(cat.c_str(), sub.c_str(), key.c_str(), &row);
  }
  const std::vector<uint8_t> store = w.Store(), catalogue = w.Catalogue();
  const TdBaseInfo info;
  for (auto _ : state) {
    tsl::MemoryStream s(store), c(catalogue);
    TDBNodeManager m;
    ConvertTable(m, &s, &c, info);
    benchmark::DoNotOptimize(m.EntryCount());
  }
  state.counters["MB"] = (store.size() + catalogue.size()) / 1e6;
}

}  // namespace

BENCHMARK(BM_ConvertTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadParentsFirst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadChildrenFirst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectEntries)->Unit(benchmark::kMillisecond);
