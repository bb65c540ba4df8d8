#include "objects/core/buttondesc.h"

#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>

#include "objects/core/buttondata.h"
#include "tools/core/desc/descwords.h"

namespace {

using Failure = TDescriptionFailure;

class Statement {
public:
  explicit Statement(std::vector<std::string> t) : t_(std::move(t)) {}
  bool More() const { return i_ < t_.size(); }
  bool Take(const char* w) {
    if (More() && t_[i_] == w) return ++i_, true;
    return false;
  }
  bool PeekOneOf(std::initializer_list<const char*> words) const {
    if (!More()) return false;
    for (const char* w : words)
      if (t_[i_] == w) return true;
    return false;
  }
  bool PeekNumber() const { return More() && !t_[i_].empty() && (std::isdigit(static_cast<unsigned char>(t_[i_][0])) != 0); }
  std::string Word(const char* what) {
    if (!More()) throw Failure{std::string("missing ") + what};
    return t_[i_++];
  }
  std::string Text(const char* what) {
    const std::string w = Word(what);
    if (w.empty() || w[0] != '"') throw Failure{std::string(what) + " must be a quoted text"};
    return w;
  }
  std::string Number(const char* what) {
    const std::string w = Word(what);
    if (w.empty() || w[0] == '"') throw Failure{std::string(what) + " must be a number"};
    return w;
  }
  long Value(const char* what) {
    const std::string w = Number(what);
    try {
      return std::stol(w, nullptr, 0);
    } catch (const std::logic_error&) {
      throw Failure{std::string(what) + " must be a number"};
    }
  }

private:
  std::vector<std::string> t_;
  size_t i_ = 0;
};

struct Picture {
  std::string Name = "\"\"";
  std::string Dib;  // the `dib` item's picture, empty when none
  bool Linked = false;
};

const std::map<std::string, int> kStyles = {{"text", 0},      {"picture", 1},   {"icon", 2},     {"hotspot", 3},
                                            {"pictures2", 4}, {"fileicon", 5}, {"pictures3", 6}};

Picture ReadPicture(Statement& s) {
  Picture p;
  if (s.Take("linked")) {
    p.Name = s.Text("the picture's file name");
    p.Linked = true;
  } else if (s.PeekOneOf({"gradient", "checker"})) {
    const std::string kind = s.Word("a picture");
    // One item at a time: the operands of + are read in no fixed order.
    p.Dib = kind;
    p.Dib += " " + s.Number("width");
    p.Dib += " " + s.Number("height");
    p.Dib += " " + s.Word("colour");
    p.Dib += " " + s.Word("colour");
    if (kind == "checker" && s.PeekNumber()) p.Dib += " " + s.Word("the cell");
  } else if (s.Take("file")) {
    p.Dib = "file " + s.Text("the picture file");
  } else {
    throw Failure{"a picture is gradient W H C1 C2, checker W H C1 C2, file \"x.bmp\" or linked \"name\""};
  }
  return p;
}

std::string Expand(Statement& s) {
  const std::string styleWord = s.Word("the button style");
  auto it = kStyles.find(styleWord);
  if (it == kStyles.end()) throw Failure{"unknown button style '" + styleWord + "'"};
  const int style = it->second;
  std::string caption = "\"" + std::string(TButtonDataCore::kDefaultCaption) + "\"";
  std::string font = "font \"Arial\" 17";
  std::string face = "#C0C0C0";
  long align = 0, group = -1, frameCount = 1, frameIndex = 1, icon = 0, cursor = 0;
  bool hidden = false, groupDefault = false;
  std::string transparent[3] = {"", "", ""};
  Picture pictures[3];
  std::string iconFile = "\"\"";
  while (s.More()) {
    if (s.Take("caption")) caption = s.Text("the caption");
    else if (s.Take("font")) {
      font = "font " + s.Text("the face");
      font += " " + s.Number("the size");
      while (s.PeekOneOf({"bold", "italic", "underline", "colour", "color"})) {
        const std::string w = s.Word("");
        font += " " + w;
        if (w == "colour" || w == "color") font += " " + s.Word("the colour");
      }
    } else if (s.Take("face")) face = s.Word("the face colour");
    else if (s.Take("align")) {
      const std::string w = s.Word("left, centre or right");
      align = w == "left" ? 1 : w == "right" ? 2 : 0;
    } else if (s.Take("hidden")) hidden = true;
    else if (s.Take("group")) group = s.Value("the group");
    else if (s.Take("default")) groupDefault = true;
    else if (s.Take("frames")) {
      frameCount = s.Value("the frame count");
      frameIndex = s.Value("the frame shown");
    } else if (s.Take("up")) pictures[0] = ReadPicture(s);
    else if (s.Take("down")) pictures[1] = ReadPicture(s);
    else if (s.Take("hover")) pictures[2] = ReadPicture(s);
    else if (s.Take("transparent1")) transparent[0] = s.Word("the transparent colour");
    else if (s.Take("transparent2")) transparent[1] = s.Word("the transparent colour");
    else if (s.Take("transparent3")) transparent[2] = s.Word("the transparent colour");
    else if (s.Take("icon")) icon = s.Value("the icon index");
    else if (s.Take("iconfile")) iconFile = s.Text("the icon file");
    else if (s.Take("cursor")) cursor = s.Value("the cursor index");
    else throw Failure{"unknown button option '" + s.Word("") + "'"};
  }
  bool linked = false, embedded = false;
  for (const Picture& p : pictures) {
    linked = linked || p.Linked;
    embedded = embedded || !p.Dib.empty();
  }
  if (linked && embedded) throw Failure{"a button's pictures are all linked or all embedded"};

  uint32_t flags = kButtonActionsInList | kButtonPresenceBytes;
  if (linked) flags |= kButtonLinkedPictures;
  if (hidden) flags |= kButtonCaptionHidden;
  uint32_t styleFlags = kButtonHasCaptionFields | kButtonHasGroup;
  if (groupDefault) styleFlags |= kButtonGroupDefault;
  auto colourOr0 = [](const std::string& c) { return c.empty() ? std::string("0") : c; };
  auto picture = [&](const Picture& p) {
    std::string items = " str " + p.Name;
    if (linked) return items;
    return items + (p.Dib.empty() ? " u8 0" : " u8 1 dib " + p.Dib);
  };

  std::ostringstream d;
  d << "data flags " << flags << " i16 " << style << " colour " << face;
  d << " u8 " << (transparent[0].empty() ? 0 : 1) << " u8 " << (transparent[1].empty() ? 0 : 1);
  d << " colour " << colourOr0(transparent[0]) << " colour " << colourOr0(transparent[1]);
  d << " u16 " << align << " u32 " << styleFlags << " str " << caption << " " << font;
  if (style == 1 || style == 4 || style == 6) d << picture(pictures[0]);
  if (style == 2) d << " u16 " << icon;
  if (style == 3) d << " u16 " << cursor;
  if (style == 4 || style == 6) d << picture(pictures[1]);
  if (style == 6)
    d << " u8 " << (transparent[2].empty() ? 0 : 1) << " colour " << colourOr0(transparent[2]) << picture(pictures[2]);
  if (style == 5) d << " str " << iconFile << " u16 " << icon;
  d << " i16 " << frameCount << " i16 " << frameIndex << " i16 " << group;
  return d.str();
}

}  // namespace

std::string ButtonStatementData(const std::vector<std::string>& words) {
  Statement s(std::vector<std::string>(words.begin() + 1, words.end()));
  return Expand(s);
}
