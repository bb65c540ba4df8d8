// What the fast search field (kind 14) does when Enter is pressed: the word
// index of one database field's values and the search through it, with the
// project reached through a host. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "database/core/dbnodes.h"

class TdBaseInfo;

// The field's three messages (code page 1252).
constexpr const char* kFastSearchNoDatabase = "Kann Datenbank nicht finden.";
constexpr const char* kFastSearchNoField = "Es wurde noch kein Datenfeld ausgew\xE4hlt.";
constexpr const char* kFastSearchNotFound = "Der Eintrag wurde nicht gefunden.";

// One entry of the word index: the entry's id and its field text, folded.
struct TSearchTripelAndString {
  int32_t EntryId = -1;
  std::string Text;
};

// A to Z become a to z; every other byte, umlauts included, stays.
std::string FoldSearchText(std::string text);
// What the field's text is looked up as: blanks, and the CR and LF an edit
// control may have kept of an Enter, removed at both ends; then folded.
std::string FastSearchKey(const std::string& windowText);

// The values of the searched field, folded and ordered by their bytes as
// unsigned values; equal texts keep the order they were collected in.
class TFastSearchIndex {
public:
  // `texts[i]` belongs to the entry `ids[i]`; the two lists run in step.
  void Build(const std::vector<string>& texts, const std::vector<int32_t>& ids);
  void Clear() { entries_.clear(); }
  size_t Size() const { return entries_.size(); }
  const TSearchTripelAndString& At(size_t i) const { return entries_[i]; }
  // The position of an entry whose whole text is `key` (halving from the
  // middle; of several equal texts, whichever the halving meets first), or
  // -1.
  int64_t Find(const std::string& key) const;

private:
  std::vector<TSearchTripelAndString> entries_;
};

// The open project as the field sees it.
class TFastSearchHost {
public:
  virtual ~TFastSearchHost() = default;
  // The current page's database descriptor and the database read for it;
  // either may be null.
  virtual const TdBaseInfo* DatabaseInfo() = 0;
  virtual TDBNodeManager* Database() = 0;
  virtual void ShowMessage(const char* text) = 0;
  virtual void BeginWait() = 0;
  virtual void EndWait() = 0;
  // Makes the entry the current record, with a history step.
  virtual void GotoDBRecord(int32_t entryId) = 0;
};

enum class TFastSearchResult { NoDatabase, NoField, NotFound, Found };

// The search of the field's text. The index is built anew when the
// database's path differs from `indexedPath` (byte for byte), which then
// takes the path; a field name the database lacks leaves `indexedPath` as
// it was, so the next search tries again.
TFastSearchResult RunFastSearch(TFastSearchIndex& index, std::string& indexedPath, const std::string& fieldName,
                                const std::string& windowText, TFastSearchHost& host);
