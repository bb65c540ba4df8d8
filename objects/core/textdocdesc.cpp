#include "objects/core/textdocdesc.h"

#include <sstream>

#include "objects/core/textdocdata.h"
#include "tools/core/desc/descwords.h"

// document file "name" | document embedded "text" [rtf]
//   [links [doubleclick]] [vscroll] [hscroll] [nowrap] [margin N]
//   [colour C] [font "Face" SIZE [bold] [italic] [underline] [colour C]]
//   [bar [transparent] [thumb N] [arrow N]] [flags N]
std::string DocumentStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the document statement"); };
  if (w.size() < 3 || !IsQuotedWord(w[2])) throw fail();
  long flags = kDocWrap | kDocHasBarBlock, margin = 0, thumb = 1, arrow = 1, transparent = 0;
  bool explicitFlags = false;
  std::string name = "\"\"", text, colour = "#C0C0C0", font = "font \"Arial\" 17";
  if (w[1] == "file") {
    flags |= kDocFileText;
    name = w[2];
  } else if (w[1] == "embedded") {
    flags |= kDocEmbedded;
    text = w[2];
  } else {
    throw fail();
  }
  for (size_t i = 3; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "rtf") {
      flags |= kDocEmbeddedRtf;
    } else if (k == "links") {
      flags |= kDocLinks | kDocSingleClick;
    } else if (k == "doubleclick") {
      flags &= ~static_cast<long>(kDocSingleClick);
    } else if (k == "vscroll") {
      flags |= kDocVScroll;
    } else if (k == "hscroll") {
      flags |= kDocHScroll;
    } else if (k == "nowrap") {
      flags &= ~static_cast<long>(kDocWrap);
    } else if (k == "margin" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      margin = NumberOf(w[++i]);
    } else if ((k == "colour" || k == "color") && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      colour = w[++i];
    } else if (k == "font") {
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
    } else if (k == "bar") {
      while (i + 1 < w.size()) {
        const std::string& m = w[i + 1];
        if (m == "transparent") {
          transparent = 1;
          ++i;
        } else if ((m == "thumb" || m == "arrow") && i + 2 < w.size() && IsNumberWord(w[i + 2])) {
          (m == "thumb" ? thumb : arrow) = NumberOf(w[i + 2]);
          i += 2;
        } else {
          break;
        }
      }
    } else if (k == "flags" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      flags = NumberOf(w[++i]);
      explicitFlags = true;
    } else {
      throw fail();
    }
  }
  std::ostringstream s;
  s << "data flags " << flags << " colour " << colour << " " << font << " str " << name << " u8 0 i16 " << margin
    << " zeros 13";
  if (!(flags & kDocFileText) || (explicitFlags && !(flags & (kDocEmbedded | kDocFileText))))
    s << " str " << (text.empty() ? "\"\"" : text);
  if (flags & kDocHasBarBlock)
    s << " colour #C0C0C0 colour #00FF00 colour #FF0000 u32 4 u32 100 u32 " << thumb << " u32 " << arrow
      << " u16 1 u16 0 u16 " << transparent << " u16 0 u16 1 u16 1 zeros 32";
  return s.str();
}
