// A typed search word as the search dialogs take it: the quote count, the
// rewriting into a query text, then the match routine compiling the query
// once and evaluating it against two field texts. Every input must end,
// quickly, with a result or an error of the table. The first byte holds the
// options (bit 0 whole word, bit 1 match case); the word runs up to the
// first line feed, and each further line is a field text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "database/core/qxsymtab.h"
#include "database/core/searchtext.h"
#include "platform/core/cstring.h"

namespace {

std::string Lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(tsl::AnsiToLower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') + 1 - first);
}

size_t PrefixLength(bool wholeWord, bool matchCase) {
  return std::strlen(wholeWord ? (matchCase ? "Feld[0]=" : "^Feld[0]=^")
                               : (matchCase ? "Feld[0]*=" : "^Feld[0]*=^"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool wholeWord = data[0] & 1, matchCase = data[0] & 2;
  // The texts end at their first NUL, as the edit control's do.
  const std::string in(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::string> lines;
  for (size_t at = 0;;) {
    const size_t nl = in.find('\n', at);
    lines.push_back(std::string(in.substr(at, nl == std::string::npos ? std::string::npos : nl - at).c_str()));
    if (nl == std::string::npos) break;
    at = nl + 1;
  }
  const std::string typed = lines[0];
  if (lines.size() == 1) lines.push_back("Hausboot am Kieler Hafen");

  struct FreshRun {
    ~FreshRun() {
      TSearchTextState& s = SearchTextState();
      s.Query.reset();
      s.QueryMode = s.QueryError = false;
      s.FieldText.clear();
      QX_DataBase::ResetGlobal();
    }
  } fresh;

  const int quotes = CountQuotes(typed.c_str());
  std::string word = typed;
  const TSearchInput kind = PrepareSearchInput(word, wholeWord, matchCase);
  const std::string trimmed = Trimmed(typed);
  if (quotes == 0) {
    if (kind != TSearchInput::Plain || word != trimmed) std::abort();
  } else if (quotes % 2) {
    if (kind != TSearchInput::OddQuotes) std::abort();
    return 0;
  } else {
    // Only prefixes (one per opening quote) and the closing ';' are added;
    // the quotes stay as typed.
    if (kind != TSearchInput::Query || word.empty() || word.back() != ';') std::abort();
    if (CountQuotes(word.c_str()) != quotes) std::abort();
    if (word.size() != trimmed.size() + static_cast<size_t>(quotes / 2) * PrefixLength(wholeWord, matchCase) + 1)
      std::abort();
  }

  TSearchTextState& s = SearchTextState();
  s.QueryMode = kind == TSearchInput::Query;
  s.Query = std::make_unique<QX_QueryCache>();
  for (size_t i = 1; i < lines.size() && i < 4; ++i) {
    const bool hit = MatchSearchText(lines[i].c_str(), word.c_str(), matchCase, wholeWord);
    if (hit && s.QueryError) std::abort();
    if (!s.QueryMode) {
      // Plain mode is a substring test; whole word also asks equal length.
      const bool contains = matchCase ? lines[i].find(word) != std::string::npos
                                      : Lowered(lines[i]).find(Lowered(word)) != std::string::npos;
      const bool want = contains && (!wholeWord || lines[i].size() == word.size());
      if (!lines[i].empty() && hit != want) std::abort();
    }
  }
  return 0;
}
