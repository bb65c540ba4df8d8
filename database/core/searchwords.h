// The records the search dialogs list (a word or label with the entry and
// page it leads to), their sorted arrays, the cutting of database texts into
// words, and two small operations on the tree database. Portable.
#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "database/core/dbnodes.h"
#include "platform/core/containers.h"

// Case-insensitive order of words as the dialogs' lists keep them.
int CompareSearchWords(const char* a, const char* b);

struct TSearchTripelWord {
  TSearchTripelWord() = default;
  TSearchTripelWord(int32_t entryId, int32_t pageIndex, const string& word, uint8_t byWord,
                    int32_t number)
      : EntryId(entryId), PageIndex(pageIndex), Word(word), ByWord(byWord), Number(number) {}
  virtual ~TSearchTripelWord() = default;

  int32_t EntryId = -1;
  int32_t PageIndex = -1;
  string Word;
  uint8_t ByWord = 1;  // ordered by word, else by number
  int32_t Number = 0;

  bool operator<(const TSearchTripelWord& o) const {
    return ByWord ? CompareSearchWords(Word.c_str(), o.Word.c_str()) < 0 : Number < o.Number;
  }
  bool operator==(const TSearchTripelWord& o) const {
    return ByWord ? CompareSearchWords(Word.c_str(), o.Word.c_str()) == 0 : Number == o.Number;
  }
};

using TSearchWordArray = TISArrayAsVector<TSearchTripelWord>;

// A word of the three-step list with the topics (labelled entries) holding it.
struct TSearchTripelWord2 : TSearchTripelWord {
  TSearchTripelWord2() : Topics(std::make_unique<TSearchWordArray>(6, 0, 5)) {}
  TSearchTripelWord2(int32_t entryId, int32_t pageIndex, const string& word)
      : TSearchTripelWord(entryId, pageIndex, word, 1, 0),
        Topics(std::make_unique<TSearchWordArray>(6, 0, 5)) {}
  TSearchTripelWord2(const TSearchTripelWord2& o);

  std::unique_ptr<TSearchWordArray> Topics;
};

using TSearchWordArray2 = TISArrayAsVector<TSearchTripelWord2>;

// The options of the action that opened a list dialog.
const uint32_t kSearchCutWords = 0x04;

// The words of one text: the whole text without trailing blanks, or with
// kSearchCutWords the pieces between separators without trailing blanks;
// empty pieces and repeats (case-sensitive) are dropped.
std::vector<string> CutSearchWords(const string& text, uint32_t options, char separator);

// Files a record per word of `text` (leading to `where`'s entry and page).
void AddTextWords(TSearchWordArray& words, const TSearchTripelWord& where, const string& text,
                  uint32_t options, char separator);
// Files a topic named `label` under each word of `text`; a word is kept once.
void AddTextWords2(TSearchWordArray2& words, const TSearchTripelWord& where, const string& text,
                   const string& label, uint32_t options, char separator);

// The program-wide caches of the two list dialogs' all-pages words.
TSearchWordArray& SearchWordCache();
TSearchWordArray2& SearchWordCache2();

// Clears hit bit n (taken to 8 bits: n of 8 and above clear nothing) in both
// hit-bit bytes of every entry.
void ClearSearchHitBit(TDBNodeManager& m, int n);
// The text of field `field` of the entry's data record, or null.
const char* GetEntryFieldText(const TDBNodeManager& m, int32_t entryId, int field);
