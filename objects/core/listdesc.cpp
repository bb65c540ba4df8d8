#include "objects/core/listdesc.h"

#include <sstream>

#include "objects/core/listdata.h"
#include "tools/core/desc/descwords.h"

// list|combo [pages N...] [second] [shown] [entries ID] [category DEPTH]
//            [whole] [scroll none|v|h|both] [background C]
//            [font "Face" SIZE [bold] [italic] [colour C]] [flags N]
std::string ListStatementData(const std::vector<std::string>& w) {
  const std::string what = w.empty() ? "list" : w[0];
  const auto fail = [&](const std::string& why) { return TDescriptionFailure(what + ": " + why); };
  uint32_t flags = kListDefaultFlags;
  std::string background = "0xC0C0C0", font = "\"Arial\" 17";
  std::vector<std::string> pages;
  long start = 0;
  auto number = [&](size_t& i, const char* name) {
    if (i + 1 >= w.size() || !IsNumberWord(w[i + 1])) throw fail(std::string(name) + " needs a number");
    return w[++i];
  };
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "pages") {
      while (i + 1 < w.size() && IsNumberWord(w[i + 1])) pages.push_back(w[++i]);
      if (pages.size() > 32767) throw fail("at most 32767 pages");
    } else if (k == "second") {
      flags |= kListSecondNames;
    } else if (k == "shown") {
      flags = (flags & ~kListPages) | kListPagesShown;
    } else if (k == "entries" || k == "category") {
      start = NumberOf(number(i, k.c_str()));
      flags = (flags & ~(kListPages | kListFromEntry | kListCategory)) |
              (k == "entries" ? kListFromEntry : kListCategory);
    } else if (k == "whole") {
      flags |= kListWholeRows;
    } else if (k == "scroll" && i + 1 < w.size()) {
      const std::string s = w[++i];
      flags &= ~(kListVScroll | kListHScroll);
      if (s == "v" || s == "both") flags |= kListVScroll;
      if (s == "h" || s == "both") flags |= kListHScroll;
      if (s != "v" && s != "h" && s != "both" && s != "none") throw fail("scroll is none, v, h or both");
    } else if (k == "background") {
      background = number(i, "background");
    } else if (k == "flags") {
      flags = static_cast<uint32_t>(NumberOf(number(i, "flags")));
    } else if (k == "font" && i + 2 < w.size() && IsQuotedWord(w[i + 1]) && IsNumberWord(w[i + 2])) {
      font = w[i + 1] + " " + w[i + 2];
      i += 2;
      while (i + 1 < w.size() && (w[i + 1] == "bold" || w[i + 1] == "italic" || w[i + 1] == "colour")) {
        font += " " + w[++i];
        if (w[i] == "colour") font += " " + number(i, "colour");
      }
    } else {
      throw fail("unknown option '" + k + "'");
    }
  }
  std::ostringstream s;
  // The count as u16 bytes and the start as u32: a `colour` or number after
  // the font would be taken as the font's.
  s << "data flags " << flags << " colour " << background << " font " << font << " i16 " << pages.size();
  for (const std::string& p : pages) s << " i32 " << p;
  s << " u32 " << start << " zeros 12";
  return s.str();
}
