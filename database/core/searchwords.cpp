#include "database/core/searchwords.h"

#include "foundation/core/index/keycompare.h"

int CompareSearchWords(const char* a, const char* b) { return tsl::AnsiWordCompareNoCase(a, b); }

TSearchTripelWord2::TSearchTripelWord2(const TSearchTripelWord2& o)
    : TSearchTripelWord(o), Topics(std::make_unique<TSearchWordArray>(6, 0, 5)) {
  for (int i = 0; i < o.Topics->GetItemsInContainer(); ++i)
    Topics->Add(new TSearchTripelWord(*(*o.Topics)[i]));
}

namespace {

void TrimTrailingBlanks(std::string& s) {
  const size_t end = s.find_last_not_of(' ');
  s.erase(end == std::string::npos ? 0 : end + 1);
}

}  // namespace

std::vector<string> CutSearchWords(const string& text, uint32_t options, char separator) {
  std::vector<string> out;
  if (!text.length()) return out;
  const std::string all(text.c_str(), text.length());
  std::set<std::string> seen;
  auto finish = [&](std::string piece) {
    TrimTrailingBlanks(piece);
    if (!piece.empty() && seen.insert(piece).second) out.push_back(string(piece.c_str()));
  };
  if (!(options & kSearchCutWords)) {
    finish(all);
    return out;
  }
  std::string piece;
  for (char c : all) {
    if (c == separator) {
      finish(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  finish(piece);
  return out;
}

void AddTextWords(TSearchWordArray& words, const TSearchTripelWord& where, const string& text,
                  uint32_t options, char separator) {
  for (const string& w : CutSearchWords(text, options, separator))
    words.Add(new TSearchTripelWord(where.EntryId, where.PageIndex, w, 1, 0));
}

void AddTextWords2(TSearchWordArray2& words, const TSearchTripelWord& where, const string& text,
                   const string& label, uint32_t options, char separator) {
  for (const string& w : CutSearchWords(text, options, separator)) {
    TSearchTripelWord2 probe(where.EntryId, where.PageIndex, w);
    int at = words.Find(&probe);
    if (at == tsl::kNotFound) {
      words.Add(new TSearchTripelWord2(probe));
      at = words.Find(&probe);
    }
    if (at != tsl::kNotFound)
      words[at]->Topics->Add(new TSearchTripelWord(where.EntryId, where.PageIndex, label, 1, 0));
  }
}

TSearchWordArray& SearchWordCache() {
  static TSearchWordArray cache(101, 0, 100);
  return cache;
}

TSearchWordArray2& SearchWordCache2() {
  static TSearchWordArray2 cache(101, 0, 100);
  return cache;
}

void ClearSearchHitBit(TDBNodeManager& m, int n) {
  const uint8_t keep = static_cast<uint8_t>(~(1u << (static_cast<unsigned>(n) & 31u)));
  m.ForEachEntry([&](TDBCategoryData& e) {
    e.HitBits &= keep;
    e.SecondHitBits &= keep;
  });
}

const char* GetEntryFieldText(const TDBNodeManager& m, int32_t entryId, int field) {
  const TDBCategoryData* e = m.FindEntry(entryId);
  const TDBData* d = e ? m.FindData(e->DataId) : nullptr;
  if (!d || field < 0 || field >= d->Values.Count()) return nullptr;
  return d->Values.ItemAt(field).c_str();
}
