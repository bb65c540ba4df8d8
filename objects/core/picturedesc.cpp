#include "objects/core/picturedesc.h"

#include <sstream>

#include "tools/core/desc/descwords.h"

// picture linked "file" | picture embedded PICTURE
//         [transparent C] [viewer [C]] [pcd RESOLUTION FORMAT]
// PICTURE: gradient W H C1 C2 | checker W H C1 C2 [CELL] | file "x.bmp"
std::string PictureStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the picture statement"); };
  if (w.size() < 3) throw fail();
  long flags = 0x4, resolution = 3, format = 2;
  int transparent = 0;
  std::string name = "\"\"", transparentColour = "0", viewerColour = "0", picture;
  size_t i = 2;
  if (w[1] == "linked") {
    if (!IsQuotedWord(w[2])) throw fail();
    flags |= 0x1000;
    name = w[2];
    i = 3;
  } else if (w[1] == "embedded") {
    if (w[2] == "file" && w.size() > 3) {
      picture = "file " + w[3];
      i = 4;
    } else if ((w[2] == "gradient" || w[2] == "checker") && w.size() > 6) {
      picture = w[2] + " " + w[3] + " " + w[4] + " " + w[5] + " " + w[6];
      i = 7;
      if (w[2] == "checker" && i < w.size() && IsNumberWord(w[i]) && w[i][0] != '#') picture += " " + w[i++];
    } else {
      throw fail();
    }
  } else {
    throw fail();
  }
  for (; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "transparent" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      transparent = 1;
      transparentColour = w[++i];
    } else if (k == "viewer") {
      flags |= 0x1;
      if (i + 1 < w.size() && IsNumberWord(w[i + 1])) {
        flags |= 0x2;
        viewerColour = w[++i];
      }
    } else if (k == "pcd" && i + 2 < w.size() && IsNumberWord(w[i + 1]) && IsNumberWord(w[i + 2])) {
      resolution = NumberOf(w[i + 1]);
      format = NumberOf(w[i + 2]);
      i += 2;
    } else {
      throw fail();
    }
  }
  std::ostringstream s;
  s << "data flags " << flags << " str " << name << " u8 " << transparent << " colour " << transparentColour
    << " colour " << viewerColour << " u8 " << resolution << " u8 " << format << " zeros 5";
  if (!picture.empty()) s << " u8 1 dib " << picture;
  return s.str();
}
