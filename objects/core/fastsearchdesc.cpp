#include "objects/core/fastsearchdesc.h"

#include <sstream>

#include "objects/core/fastsearchdata.h"
#include "tools/core/desc/descwords.h"

namespace {

// [field "Name"] [text "t"] [background C] [font "Face" SIZE [bold] [italic] [colour C]]
// from word `i` on; `field` may already hold the name.
std::string RecordData(const std::vector<std::string>& w, size_t i, std::string field, const char* background) {
  const std::string what = w[0];
  const auto fail = [&](const std::string& why) { return TDescriptionFailure(what + ": " + why); };
  std::string text = "\"\"", colour = background, font = "\"Arial\" 17";
  auto quoted = [&](size_t& k, const char* name) {
    if (k + 1 >= w.size() || !IsQuotedWord(w[k + 1])) throw fail(std::string(name) + " needs a quoted text");
    return w[++k];
  };
  for (; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "field") {
      field = quoted(i, "field");
    } else if (k == "text") {
      text = quoted(i, "text");
    } else if (k == "background") {
      if (i + 1 >= w.size() || !IsNumberWord(w[i + 1])) throw fail("background needs a colour");
      colour = w[++i];
    } else if (k == "font" && i + 2 < w.size() && IsQuotedWord(w[i + 1]) && IsNumberWord(w[i + 2])) {
      font = w[i + 1] + " " + w[i + 2];
      i += 2;
      while (i + 1 < w.size() && (w[i + 1] == "bold" || w[i + 1] == "italic" || w[i + 1] == "colour")) {
        font += " " + w[++i];
        if (w[i] == "colour") {
          if (i + 1 >= w.size() || !IsNumberWord(w[i + 1])) throw fail("colour needs a colour");
          font += " " + w[++i];
        }
      }
    } else {
      throw fail("unknown option '" + k + "'");
    }
  }
  std::ostringstream s;
  s << "data colour " << colour << " font " << font << " str " << text << " str " << field << " zeros 32";
  return s.str();
}

}  // namespace

// quicksearch "Field" OPTION...
std::string FastSearchStatementData(const std::vector<std::string>& w) {
  if (w.size() < 2 || !IsQuotedWord(w[1])) throw TDescriptionFailure("quicksearch: the field name comes first");
  return RecordData(w, 2, w[1], "0xC0C0C0");
}

// helpregister OPTION...
std::string HelpRegisterStatementData(const std::vector<std::string>& w) {
  return RecordData(w, 1, "\"\"", "0x8000000F");
}
