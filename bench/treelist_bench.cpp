// Walking and showing the tree database: a deep StepEntry over every entry
// of 100,000 data entries in 10 x 100 categories, the same over the entries
// as one flat top-level list, and filling a tree list's lines with 10,000
// entries, every category open.
#include <benchmark/benchmark.h>

#include <memory>

#include "database/core/dbnodes.h"
#include "database/core/treefill.h"
#include "objects/core/usertree.h"

namespace {

constexpr int kTop = 10, kSub = 100;

// Categories 0..9 on top, 10.. below them; data entries spread over the
// lower categories. Stored open when `open`.
std::unique_ptr<TDBNodeManager> Tree(int data, bool flat, bool open) {
  auto m = std::make_unique<TDBNodeManager>();
  const int cats = flat ? 0 : kTop + kTop * kSub;
  for (int c = 0; c < cats; ++c) {
    auto r = std::make_unique<TDBCategory>();
    r->Id = c;
    r->ParentId = c < kTop ? -1 : (c - kTop) / kSub;
    r->Name = "Kategorie";
    r->Open = open ? 1 : 0;
    m->AddCategory(std::move(r));
    auto e = std::make_unique<TDBCategoryData>();
    e->EntryId = c;
    e->CategoryId = c;
    e->IsCategory = 1;
    m->AddEntry(std::move(e));
  }
  for (int d = 0; d < data; ++d) {
    auto r = std::make_unique<TDBData>();
    r->Id = d;
    r->Name = "Eintrag";
    m->AddData(std::move(r));
    auto e = std::make_unique<TDBCategoryData>();
    e->EntryId = cats + d;
    e->CategoryId = flat ? -1 : kTop + d % (kTop * kSub);
    e->DataId = d;
    m->AddEntry(std::move(e));
  }
  m->RebuildTree();
  return m;
}

void WalkAll(benchmark::State& state, bool flat) {
  const auto m = Tree(100000, flat, false);
  for (auto _ : state) {
    int n = 0;
    for (int32_t id = m->GetFirstTopLevelId(); id != -1; id = m->StepEntry(id, 1, false, true)) ++n;
    benchmark::DoNotOptimize(n);
  }
}

void BM_DeepStepOverTheTree(benchmark::State& state) { WalkAll(state, false); }
void BM_DeepStepOverAFlatList(benchmark::State& state) { WalkAll(state, true); }

void BM_FillTenThousandOpenLines(benchmark::State& state) {
  const auto m = Tree(10000 - kTop - kTop * kSub, false, true);
  for (auto _ : state) {
    TUserTreeLines lines;
    TUserTreeFillTarget target(lines);
    TDBIndentLevelWidths widths;
    CollectIndentLevelWidths(*m, nullptr, widths, 16, 16);
    AddChildrenToTreeList(*m, m->Root(), target, target.RootLine());
    target.Refill();
    RestoreOpenCategories(*m, target);
    benchmark::DoNotOptimize(lines.Count());
  }
}

}  // namespace

BENCHMARK(BM_DeepStepOverTheTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepStepOverAFlatList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTenThousandOpenLines)->Unit(benchmark::kMillisecond);
