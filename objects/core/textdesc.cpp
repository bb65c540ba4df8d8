#include "objects/core/textdesc.h"

#include <sstream>

#include "tools/core/desc/descwords.h"

// text "T" [font "Face" SIZE [bold] [italic] [underline] [colour C]]
//      [align left|centre|center|right|N] [nowrap] [shadow [#RRGGBB] [DX DY]]
//      [angle N] [flags N]
std::string TextStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the text statement"); };
  if (w.size() < 2 || !IsQuotedWord(w[1])) throw fail();
  long flags = 1, align = 0, angle = 0, dx = 2, dy = 2;
  bool shadow = false;
  std::string shadowColour = "#808080", font = "font \"Arial\" 17";
  for (size_t i = 2; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "font") {
      if (i + 2 >= w.size() || !IsQuotedWord(w[i + 1]) || !IsNumberWord(w[i + 2])) throw fail();
      font = "font " + w[i + 1] + " " + w[i + 2];
      i += 2;
      while (i + 1 < w.size()) {
        const std::string& m = w[i + 1];
        if (m == "bold" || m == "italic" || m == "underline") {
          font += " " + m;
          ++i;
        } else if ((m == "colour" || m == "color") && i + 2 < w.size()) {
          font += " colour " + w[i + 2];
          i += 2;
        } else {
          break;
        }
      }
    } else if (k == "align" && i + 1 < w.size()) {
      const std::string& a = w[++i];
      if (a == "left") align = 0;
      else if (a == "centre" || a == "center") align = 1;
      else if (a == "right") align = 2;
      else if (IsNumberWord(a)) align = NumberOf(a);
      else throw fail();
    } else if (k == "nowrap") {
      flags &= ~1L;
    } else if (k == "shadow") {
      shadow = true;
      if (i + 1 < w.size() && w[i + 1][0] == '#' && IsNumberWord(w[i + 1])) shadowColour = w[++i];
      if (i + 2 < w.size() && IsNumberWord(w[i + 1]) && IsNumberWord(w[i + 2])) {
        dx = NumberOf(w[i + 1]);
        dy = NumberOf(w[i + 2]);
        i += 2;
      }
    } else if (k == "angle" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      angle = NumberOf(w[++i]);
    } else if (k == "flags" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      flags = NumberOf(w[++i]);
    } else {
      throw fail();
    }
  }
  if (shadow) flags |= 2;
  std::ostringstream s;
  s << "data flags " << flags << " colour " << shadowColour << " i32 " << dy << " i32 " << dx << " i16 " << angle
    << " u32 " << align << " " << font << " str " << w[1] << " zeros 16";
  return s.str();
}
