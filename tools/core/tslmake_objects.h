// The fixture builder's statements for the data records of text and
// picture objects, written below an object as `text ...` and `picture ...`
// (syntax in tools/README.md). Each becomes the `data` line that spells out
// the record in the order its kind's writer stores it, so the description
// parser builds it; a line that does not parse is left as it is, and the
// parser reports it. Header only: the builder and the tests share it.
#pragma once
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace tslmake {

// Words of a line; quoted texts stay whole, quotes and escapes included.
inline std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    if (line[i] == '#' && (i + 1 >= line.size() || line[i + 1] == ' ')) break;  // a comment
    const size_t start = i;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i)
        if (line[i] == '\\') ++i;
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    }
    words.push_back(line.substr(start, i - start));
  }
  return words;
}

inline bool IsNumberWord(const std::string& w) {
  if (w.empty()) return false;
  if (w[0] == '#') return w.size() == 7;
  char* end = nullptr;
  std::strtoll(w.c_str(), &end, 0);
  return end && *end == '\0';
}

inline long NumberOf(const std::string& w) { return std::strtol(w.c_str(), nullptr, 0); }

// text "T" [font "Face" SIZE [bold] [italic] [underline] [colour C]]
//      [align left|centre|center|right|N] [nowrap] [shadow [#RRGGBB] [DX DY]]
//      [angle N] [flags N]
inline bool ExpandText(const std::vector<std::string>& w, std::string& out) {
  if (w.size() < 2 || w[1][0] != '"') return false;
  long flags = 1, align = 0, angle = 0, dx = 2, dy = 2;
  bool shadow = false;
  std::string shadowColour = "#808080", font = "font \"Arial\" 17";
  for (size_t i = 2; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "font") {
      if (i + 2 >= w.size() || w[i + 1][0] != '"' || !IsNumberWord(w[i + 2])) return false;
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
      else return false;
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
      return false;
    }
  }
  if (shadow) flags |= 2;
  std::ostringstream s;
  s << "data flags " << flags << " colour " << shadowColour << " i32 " << dy << " i32 " << dx << " i16 " << angle
    << " u32 " << align << " " << font << " str " << w[1] << " zeros 16";
  out = s.str();
  return true;
}

// picture linked "file" | picture embedded PICTURE
//         [transparent C] [viewer [C]] [pcd RESOLUTION FORMAT]
// PICTURE: gradient W H C1 C2 | checker W H C1 C2 [CELL] | file "x.bmp"
inline bool ExpandPicture(const std::vector<std::string>& w, std::string& out) {
  if (w.size() < 3) return false;
  long flags = 0x4, resolution = 3, format = 2;
  int transparent = 0;
  std::string name = "\"\"", transparentColour = "0", viewerColour = "0", picture;
  size_t i = 2;
  if (w[1] == "linked") {
    if (w[2][0] != '"') return false;
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
      return false;
    }
  } else {
    return false;
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
      return false;
    }
  }
  std::ostringstream s;
  s << "data flags " << flags << " str " << name << " u8 " << transparent << " colour " << transparentColour
    << " colour " << viewerColour << " u8 " << resolution << " u8 " << format << " zeros 5";
  if (!picture.empty()) s << " u8 1 dib " << picture;
  out = s.str();
  return true;
}

// The description with every indented `text` and `picture` statement
// replaced by its `data` line (same indentation, same line numbers).
inline std::string ExpandObjectStatements(const std::string& text) {
  std::istringstream in(text);
  std::string result, line;
  while (std::getline(in, line)) {
    const size_t indent = line.find_first_not_of(" \t");
    if (indent != std::string::npos && indent > 0) {
      const std::vector<std::string> w = SplitWords(line);
      std::string data;
      if (!w.empty() && ((w[0] == "text" && ExpandText(w, data)) || (w[0] == "picture" && ExpandPicture(w, data))))
        line = line.substr(0, indent) + data;
    }
    result += line;
    result += '\n';
  }
  return result;
}

}  // namespace tslmake
