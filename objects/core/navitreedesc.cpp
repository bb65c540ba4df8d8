#include "objects/core/navitreedesc.h"

#include <sstream>

#include "objects/core/treelistdata.h"
#include "tools/core/desc/descwords.h"

// tree [set 1|2|none] [background C] [lines C] [dotted] [nolines]
//          [noexpanders] [clicktoggles] [transparent] [spacing N] [fixed N]
//          [cell N] [scroll none|v|h|both] [font "Face" SIZE [bold] [italic] [colour C]]
//          [closed PIC] [open PIC] [entry PIC] [selected PIC]
// PIC: gradient W H C1 C2 | checker W H C1 C2 [CELL] | file "x.bmp"
std::string NaviTreeStatementData(const std::vector<std::string>& w) {
  const auto fail = [](const std::string& why) { return TDescriptionFailure("tree: " + why); };
  TTreeListItemDataCore d;
  uint32_t flags = d.Flags;
  std::string background = "0xFFFFFF", lines = "0xC0C0C0", font = "\"MS Sans Serif\" 8";
  long spacing = 4, fixed = 4, cell = 0;
  int transparent = 0;
  std::string pictures[4];
  auto number = [&](size_t& i, const char* what) {
    if (i + 1 >= w.size() || !IsNumberWord(w[i + 1])) throw fail(std::string(what) + " needs a number");
    return w[++i];
  };
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "set" && i + 1 < w.size()) {
      const std::string s = w[++i];
      flags &= ~(kTreeStandardSet1 | kTreeStandardSet2);
      if (s == "1") flags |= kTreeStandardSet1;
      else if (s == "2") flags |= kTreeStandardSet2;
      else if (s != "none") throw fail("set is 1, 2 or none");
    } else if (k == "background") {
      background = number(i, k.c_str());
    } else if (k == "lines") {
      lines = number(i, k.c_str());
    } else if (k == "dotted") {
      flags |= kTreeDottedLines;
    } else if (k == "nolines") {
      flags &= ~kTreeLines;
    } else if (k == "noexpanders") {
      flags &= ~kTreeExpanders;
    } else if (k == "clicktoggles") {
      flags |= kTreeClickToggles;
    } else if (k == "transparent") {
      transparent = 1;
    } else if (k == "spacing") {
      spacing = NumberOf(number(i, "spacing"));
    } else if (k == "fixed") {
      flags |= kTreeFixedPictureCell;
      fixed = NumberOf(number(i, "fixed"));
    } else if (k == "cell") {
      cell = NumberOf(number(i, "cell"));
    } else if (k == "scroll" && i + 1 < w.size()) {
      const std::string s = w[++i];
      flags &= ~(kTreeVScroll | kTreeHScroll);
      if (s == "v" || s == "both") flags |= kTreeVScroll;
      if (s == "h" || s == "both") flags |= kTreeHScroll;
      if (s != "v" && s != "h" && s != "both" && s != "none") throw fail("scroll is none, v, h or both");
    } else if (k == "font" && i + 2 < w.size() && IsQuotedWord(w[i + 1]) && IsNumberWord(w[i + 2])) {
      font = w[i + 1] + " " + w[i + 2];
      i += 2;
      while (i + 1 < w.size() && (w[i + 1] == "bold" || w[i + 1] == "italic" || w[i + 1] == "colour")) {
        font += " " + w[++i];
        if (w[i] == "colour") font += " " + number(i, "colour");
      }
    } else if (k == "closed" || k == "open" || k == "entry" || k == "selected") {
      const int which = k == "closed" ? kFolderClosed : k == "open" ? kFolderOpen : k == "entry" ? kEntryPicture
                                                                                                 : kEntrySelected;
      if (i + 2 < w.size() && w[i + 1] == "file" && IsQuotedWord(w[i + 2])) {
        pictures[which] = "file " + w[i + 2];
        i += 2;
      } else if (i + 5 < w.size() && (w[i + 1] == "gradient" || w[i + 1] == "checker")) {
        pictures[which] = w[i + 1] + " " + w[i + 2] + " " + w[i + 3] + " " + w[i + 4] + " " + w[i + 5];
        i += 5;
        // The record's stream goes on behind the picture: a checker's cell
        // is always given there.
        if (pictures[which].compare(0, 7, "checker") == 0)
          pictures[which] += " " + (i + 1 < w.size() && IsNumberWord(w[i + 1]) ? w[++i] : std::string("8"));
      } else {
        throw fail("a picture is gradient W H C1 C2, checker W H C1 C2 or file \"x.bmp\"");
      }
      flags &= ~(kTreeStandardSet1 | kTreeStandardSet2 | kTreeLinkedPictures);
    } else {
      throw fail("unknown option '" + k + "'");
    }
  }
  flags |= kTreePresenceBytes | kTreeCellWidthValid | kTreeDataBlock | kTreeThirdBlock;
  const bool stored = !(flags & (kTreeStandardSet1 | kTreeStandardSet2 | kTreeLinkedPictures));
  std::ostringstream s;
  // u32 for the line colour: a `colour` after the font would be the font's.
  s << "data flags " << flags << " colour " << background << " font " << font << " u32 " << lines
    << " u8 0 u8 0 colour 0xFFFFFF colour 0xFFFFFF u8 " << transparent << " u8 1 colour 0 u8 0 colour 0xFFFFFF"
    << " i16 " << fixed << " i16 " << spacing << " str \"\" str \"\""
    << " u8 0 u8 0 colour 0xFFFFFF colour 0xFFFFFF str \"\" str \"\" str \"\" colour 0 colour 0 colour 0";
  if (stored)
    for (const std::string& p : pictures) s << (p.empty() ? " u8 0" : " u8 1 dib " + p);
  s << " i16 " << cell << " zeros 30";
  return s.str();
}
