// Searching a tree database of 100,000 data entries in 100 categories, two
// fields tested per entry: a plain word without case against grep -c -i -F
// over the same texts one per line, and two quoted words joined by und
// against an in-memory sqlite3 table with two LIKE terms.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/core/dbsearch.h"
#include "database/core/searchtext.h"

namespace {

constexpr int kCats = 100, kData = 100000;
const char* kCities[] = {"Kiel", "Bonn", "Ulm", "Trier", "Passau", "Jena", "Hof"};
const char* kTopics[] = {"Kirche", "Burg", "Hafen", "Markt", "Rathaus", "Museum", "Park",
                         "Schloss", "Bahnhof", "Turm", "Br\xFC" "cke"};

struct Fixture {
  TDBNodeManager m;
  std::vector<std::string> texts;  // every searched field text
  std::string file;
  Fixture() {
    for (const char* name : {"Titel", "Thema"}) {
      TDBFieldInfo field;
      field.Name = name;
      m.AddField(field);
    }
    for (int c = 0; c < kCats; ++c) {
      auto cat = std::make_unique<TDBCategory>();
      cat->Id = c;
      cat->Name = ("Kategorie " + std::to_string(c)).c_str();
      auto e = std::make_unique<TDBCategoryData>();
      e->EntryId = c;
      e->CategoryId = c;
      e->IsCategory = 1;
      e->Position = c;
      m.AddCategory(std::move(cat));
      m.AddEntry(std::move(e));
    }
    for (int d = 0; d < kData; ++d) {
      auto data = std::make_unique<TDBData>();
      data->Id = d;
      data->Name = ("Eintrag " + std::to_string(d)).c_str();
      const std::string f0 = "Eintrag " + std::to_string(d) + " in " + kCities[d % 7];
      const std::string f1 = std::string(kTopics[d % 11]) + " am " + kCities[(d / 7) % 7] + " von " + std::to_string(1500 + d % 500);
      data->Values.Add(string(f0.c_str()));
      data->Values.Add(string(f1.c_str()));
      texts.push_back(f0);
      texts.push_back(f1);
      m.AddData(std::move(data));
      auto e = std::make_unique<TDBCategoryData>();
      e->EntryId = kCats + d;
      e->CategoryId = d % kCats;
      e->DataId = d;
      e->Position = d / kCats;
      m.AddEntry(std::move(e));
    }
    m.RebuildTree();
    file = "/tmp/search_bench_" + std::to_string(getpid()) + ".txt";
    std::ofstream out(file, std::ios::binary);
    for (const std::string& t : texts) out << t << '\n';
  }
  ~Fixture() { std::remove(file.c_str()); }

  int64_t Search(const char* word, bool matchCase) {
    std::vector<int32_t> results;
    const int32_t fields[] = {0, 1};
    const int32_t kinds[] = {0, 0};
    auto match = [matchCase](const char* text, void* ctx, uint8_t, uint8_t) {
      return MatchSearchText(text, static_cast<const char*>(ctx), matchCase, false);
    };
    SearchDBTree(m, 8, &m.Root(), word, 0, 0, 0, 2, fields, kinds, results, match, nullptr, 0, nullptr);
    return static_cast<int64_t>(results.size());
  }
};

Fixture& TheFixture() {
  static Fixture f;
  return f;
}

void BM_PlainWordNoCase(benchmark::State& state) {
  Fixture& f = TheFixture();
  int64_t hits = 0;
  for (auto _ : state) hits = f.Search("kiel", false);
  state.counters["hits"] = static_cast<double>(hits);
}

void BM_GrepCountNoCase(benchmark::State& state) {
  Fixture& f = TheFixture();
  const std::string cmd = "grep -c -i -F kiel " + f.file + " > /dev/null";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("grep failed");
}

void BM_QueryTwoWordsUnd(benchmark::State& state) {
  Fixture& f = TheFixture();
  std::string query = "\"kiel\" und \"burg\"";
  PrepareSearchInput(query, false, false);
  TSearchTextState& s = SearchTextState();
  s.QueryMode = true;
  s.Query = std::make_unique<QX_QueryCache>();
  int64_t hits = 0;
  for (auto _ : state) hits = f.Search(query.c_str(), false);
  s.Query.reset();
  s.QueryMode = false;
  state.counters["hits"] = static_cast<double>(hits);
}

void BM_SqliteTwoLikes(benchmark::State& state) {
  Fixture& f = TheFixture();
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db, "CREATE TABLE t(x TEXT)", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?)", -1, &ins, nullptr);
  for (const std::string& t : f.texts) {
    sqlite3_bind_text(ins, 1, t.c_str(), -1, SQLITE_STATIC);
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_stmt* q = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM t WHERE x LIKE '%kiel%' AND x LIKE '%burg%'", -1, &q, nullptr);
  int64_t hits = 0;
  for (auto _ : state) {
    sqlite3_reset(q);
    if (sqlite3_step(q) == SQLITE_ROW) hits = sqlite3_column_int64(q, 0);
  }
  sqlite3_finalize(q);
  sqlite3_close(db);
  state.counters["hits"] = static_cast<double>(hits);
}

}  // namespace

BENCHMARK(BM_PlainWordNoCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrepCountNoCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryTwoWordsUnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteTwoLikes)->Unit(benchmark::kMillisecond);
