#include "database/core/searchtext.h"

#include <cstring>

#include "foundation/core/pathstr.h"

namespace {

bool SameNoCase(const std::string& text, size_t at, const char* word) {
  for (size_t i = 0; word[i]; ++i) {
    char c = text[at + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

}  // namespace

int CountQuotes(const char* text) {
  int n = 0;
  if (text)
    for (; *text; ++text)
      if (*text == '"') ++n;
  return n;
}

void UppercaseConnectives(std::string& text) {
  int quotes = 0;
  size_t i = 0;
  while (i + 3 <= text.size()) {
    if (text[i] == '"') ++quotes;
    if (quotes >= 2 && quotes % 2 == 0) {
      if (SameNoCase(text, i, "und")) {
        text.replace(i, 3, "UND");
        i += 3;
        continue;
      }
      if (i + 4 <= text.size() && SameNoCase(text, i, "oder")) {
        text.replace(i, 4, "ODER");
        i += 4;
        continue;
      }
    }
    ++i;
  }
}

void BuildQueryText(std::string& word, bool wholeWord, bool matchCase) {
  const char* prefix = wholeWord ? (matchCase ? "Feld[0]=" : "^Feld[0]=^")
                                 : (matchCase ? "Feld[0]*=" : "^Feld[0]*=^");
  const size_t prefixLength = std::strlen(prefix);
  size_t at = word.find('"');
  while (at != std::string::npos) {
    word.insert(at, prefix);
    const size_t close = word.find('"', at + prefixLength + 1);
    if (close == std::string::npos) break;
    at = word.find('"', close + 1);
  }
}

TSearchInput PrepareSearchInput(std::string& word, bool wholeWord, bool matchCase) {
  const size_t first = word.find_first_not_of(' ');
  if (first == std::string::npos) {
    word.clear();
  } else {
    word.erase(word.find_last_not_of(' ') + 1);
    word.erase(0, first);
  }
  const int quotes = CountQuotes(word.c_str());
  if (quotes == 0) return TSearchInput::Plain;
  if (quotes % 2) return TSearchInput::OddQuotes;
  UppercaseConnectives(word);
  BuildQueryText(word, wholeWord, matchCase);
  word += ';';
  return TSearchInput::Query;
}

TSearchTextState& SearchTextState() {
  static TSearchTextState state;
  return state;
}

QX_QueryCache::QX_QueryCache(void* dialog) : dialog_(dialog) {
  AddField("Suchfeld", false, 0);
}

QX_QueryCache::~QX_QueryCache() { DropFieldText(); }

const char* QX_QueryCache::FieldSource() { return SearchTextState().FieldText.c_str(); }

QX_Error QX_QueryCache::GetField(char** text, int index) {
  *text = nullptr;
  if (index != 0) return QX_Err(16);
  if (!haveField_) {
    const char* source = FieldSource();
    if (!source) return QX_Err(0);
    cached_.assign(source);
    haveField_ = true;
  }
  *text = &cached_[0];
  return nullptr;
}

QX_Error QX_QueryCache::CompileOnce(const char* queryText) {
  if (haveCompiled_ && Compiled() && compiled_ == queryText) return nullptr;
  haveCompiled_ = false;
  if (QX_Error e = Compile(queryText)) return e;
  compiled_ = queryText;
  haveCompiled_ = true;
  return nullptr;
}

bool MatchSearchText(const char* fieldText, const char* searchText, bool matchCase, bool wholeWord) {
  if (!searchText || !fieldText || !*fieldText) return false;
  TSearchTextState& s = SearchTextState();
  if (s.QueryMode && s.Query) {
    // A query that failed once fails for every text: the rest of the walk
    // neither compiles nor runs it again.
    if (s.QueryError) return false;
    s.FieldText = fieldText;
    s.Query->DropFieldText();
    if (s.Query->CompileOnce(searchText)) {
      s.QueryError = true;
      return false;
    }
    // A query that runs out of its evaluation budget (an endless loop typed
    // outside the quotes) is as faulty as one that does not compile.
    bool result = false;
    if (s.Query->Evaluate(result)) {
      s.QueryError = true;
      return false;
    }
    return result;
  }
  if (wholeWord && std::strlen(searchText) != std::strlen(fieldText)) return false;
  return FindSubstringPos(fieldText, searchText, matchCase, 0) >= 0;
}
