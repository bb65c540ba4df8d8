// Turning a typed search into a query text, and the match routine the tree
// search calls for every field text. Portable.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "database/core/queryexpr.h"

// Number of '"' in `text` (0 for null).
int CountQuotes(const char* text);
// Outside quotes, after the first complete quoted word, every "und" / "oder"
// (any case, no word-boundary test) becomes "UND" / "ODER".
void UppercaseConnectives(std::string& text);
// Puts before every opening quote the field-0 test the options ask for.
void BuildQueryText(std::string& word, bool wholeWord, bool matchCase);

enum class TSearchInput { Plain, Query, OddQuotes };
// Strips blanks from both ends of `word` and, for a quoted query, rewrites it
// into the query text ending in ';'. OddQuotes: nothing is to be searched.
TSearchInput PrepareSearchInput(std::string& word, bool wholeWord, bool matchCase);

class QX_QueryCache;

// The search state every match routine caller shares.
struct TSearchTextState {
  bool QueryMode = false;
  bool QueryError = false;
  std::string FieldText;  // the text under test, field 0 of the query
  std::unique_ptr<QX_QueryCache> Query;
};
TSearchTextState& SearchTextState();

// A query whose field 0 is the text under test. The compiled form is kept
// while the query text stays the same.
class QX_QueryCache : public QueryExpr {
public:
  explicit QX_QueryCache(void* dialog = nullptr);
  ~QX_QueryCache() override;

  QX_Error GetField(char** text, int index) override;
  // Assignments to the field are accepted and change nothing.
  QX_Error SetField(int, const char*) override { return nullptr; }
  virtual const char* FieldSource();
  void DropFieldText() { haveField_ = false; }

  // Compiles `queryText` unless it is the text compiled last.
  QX_Error CompileOnce(const char* queryText);
  void* Dialog() const { return dialog_; }

private:
  void* dialog_;
  // The field text of the current test; its buffer is kept from text to
  // text so that a search does not allocate per entry.
  std::string cached_;
  bool haveField_ = false;
  std::string compiled_;
  bool haveCompiled_ = false;
};

// True when `fieldText` matches `searchText`: in query mode by evaluating the
// query against it, else as a substring (whole word: the same length too).
bool MatchSearchText(const char* fieldText, const char* searchText, bool matchCase, bool wholeWord);
