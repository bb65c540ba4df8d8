#include "tools/core/desc/tsldesc.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

#include "actions/core/actioncodes.h"
#include "engine/core/format/rawio.h"
#include "imaging/core/dibfile.h"
#include "tools/core/desc/descwords.h"
#include "tools/core/desc/objectdesc.h"

using namespace tsl;

namespace {

// ---------------------------------------------------------------- texts

// Code page 1252 of the characters above Latin-1's control range.
const std::pair<uint32_t, uint8_t> kCp1252[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F}};

// UTF-8 to code page 1252; a byte that starts no valid sequence is taken as
// a code page 1252 byte already. False for a character 1252 cannot hold.
bool Utf8ToAnsi(const std::string& in, std::string& out) {
  out.clear();
  for (size_t i = 0; i < in.size();) {
    const uint8_t c = static_cast<uint8_t>(in[i]);
    uint32_t cp = c;
    size_t n = 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07;
    bool valid = n > 1 && i + n <= in.size();
    for (size_t k = 1; valid && k < n; ++k) {
      const uint8_t cc = static_cast<uint8_t>(in[i + k]);
      if ((cc & 0xC0) != 0x80) valid = false;
      cp = cp << 6 | (cc & 0x3F);
    }
    if (!valid) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    i += n;
    if (cp < 0x100) {
      out += static_cast<char>(cp);
      continue;
    }
    bool found = false;
    for (const auto& m : kCp1252)
      if (m.first == cp) {
        out += static_cast<char>(m.second);
        found = true;
      }
    if (!found) return false;
  }
  return true;
}

std::string AnsiToUtf8(const std::string& in) {
  std::string out;
  for (char ch : in) {
    const uint8_t c = static_cast<uint8_t>(ch);
    uint32_t cp = c;
    for (const auto& m : kCp1252)
      if (m.second == c) cp = m.first;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | cp >> 6);
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | cp >> 12);
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

// ---------------------------------------------------------------- pictures

std::vector<uint8_t> MakeDib24(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::vector<uint8_t> b(40 + static_cast<size_t>(stride) * height, 0);
  const uint32_t hs = 40, comp = 0, image = stride * static_cast<uint32_t>(height), ppm = 2953;
  const int32_t w = width, h = height;
  const uint16_t planes = 1, bpp = 24;
  std::memcpy(&b[0], &hs, 4);
  std::memcpy(&b[4], &w, 4);
  std::memcpy(&b[8], &h, 4);
  std::memcpy(&b[12], &planes, 2);
  std::memcpy(&b[14], &bpp, 2);
  std::memcpy(&b[16], &comp, 4);
  std::memcpy(&b[20], &image, 4);
  std::memcpy(&b[24], &ppm, 4);
  std::memcpy(&b[28], &ppm, 4);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = &b[40 + static_cast<size_t>(stride) * (height - 1 - y)];  // bottom-up
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixel(x, y);  // COLORREF 0x00BBGGRR
      row[3 * x] = static_cast<uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c);
    }
  }
  return b;
}

uint8_t Channel(uint32_t c, int shift) { return static_cast<uint8_t>(c >> shift); }

}  // namespace

std::vector<uint8_t> MakeGradientDib(int width, int height, uint32_t top, uint32_t bottom) {
  return MakeDib24(width, height, [&](int, int y) {
    uint32_t c = 0;
    for (int s = 0; s <= 16; s += 8) {
      const int a = Channel(top, s), b = Channel(bottom, s);
      const int v = height > 1 ? a + (b - a) * y / (height - 1) : a;
      c |= static_cast<uint32_t>(v) << s;
    }
    return c;
  });
}

std::vector<uint8_t> MakeCheckerDib(int width, int height, uint32_t a, uint32_t b, int cell) {
  if (cell < 1) cell = 1;
  return MakeDib24(width, height, [&](int x, int y) { return ((x / cell + y / cell) & 1) ? b : a; });
}

namespace {

// ---------------------------------------------------------------- tokens

// Two hexadecimal digits.
uint8_t HexByte(const std::string& s, size_t at) {
  auto digit = [&](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::invalid_argument("hex");
  };
  if (at + 1 >= s.size()) throw std::invalid_argument("hex");
  return static_cast<uint8_t>(digit(s[at]) << 4 | digit(s[at + 1]));
}

struct Token {
  std::string text;
  bool quoted = false;
};

using ParseError = TDescriptionFailure;

// A quoted word's text: escapes resolved, code page 1252.
std::string Unquote(const std::string& word) {
  std::string text;
  for (size_t i = 1; i + 1 < word.size();) {
    const char d = word[i++];
    if (d != '\\' || i + 1 >= word.size()) {
      text += d;
      continue;
    }
    const char e = word[i++];
    if (e == 'n') text += '\n';
    else if (e == 't') text += '\t';
    else if (e == 'x') {
      text += static_cast<char>(HexByte(word, i));
      i += 2;
    } else text += e;
  }
  std::string ansi;
  if (!Utf8ToAnsi(text, ansi)) throw ParseError("text holds a character outside code page 1252");
  return ansi;
}

}  // namespace

std::string UnquotedText(const std::string& word) { return Unquote(word); }

namespace {

std::vector<Token> Tokenize(const std::vector<std::string>& words) {
  std::vector<Token> out;
  for (const std::string& w : words) out.push_back(IsQuotedWord(w) ? Token{Unquote(w), true} : Token{w, false});
  return out;
}

// A cursor over one statement's tokens.
class Args {
public:
  explicit Args(std::vector<Token> t) : t_(std::move(t)) {}
  bool More() const { return i_ < t_.size(); }
  bool Peek(const char* word) const { return More() && !t_[i_].quoted && t_[i_].text == word; }
  bool Take(const char* word) {
    if (!Peek(word)) return false;
    ++i_;
    return true;
  }
  bool PeekQuoted() const { return More() && t_[i_].quoted; }
  bool PeekNumber() const {
    if (!More() || t_[i_].quoted) return false;
    const std::string& s = t_[i_].text;
    size_t k = s[0] == '-' || s[0] == '+' ? 1 : 0;
    return k < s.size() && ((s[k] >= '0' && s[k] <= '9') || s[0] == '#');
  }
  std::string Word() {
    if (!More() || t_[i_].quoted) throw ParseError("a word is missing");
    return t_[i_++].text;
  }
  std::string Text() {
    if (!PeekQuoted()) throw ParseError("a quoted text is missing");
    return t_[i_++].text;
  }
  int64_t Number() {
    if (!More() || t_[i_].quoted) throw ParseError("a number is missing");
    const std::string s = t_[i_++].text;
    if (s[0] == '#') {  // #RRGGBB as a COLORREF
      if (s.size() != 7) throw ParseError("a colour is #RRGGBB: " + s);
      const uint32_t rgb = static_cast<uint32_t>(HexByte(s, 1)) << 16 | HexByte(s, 3) << 8 | HexByte(s, 5);
      return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    }
    try {
      size_t used = 0;
      const long long v = std::stoll(s, &used, 0);
      if (used != s.size()) throw ParseError("not a number: " + s);
      return v;
    } catch (const std::logic_error&) {
      throw ParseError("not a number: " + s);
    }
  }
  int64_t Number(int64_t lo, int64_t hi) {
    const int64_t v = Number();
    if (v < lo || v > hi) throw ParseError("value out of range: " + std::to_string(v));
    return v;
  }
  uint32_t U32() { return static_cast<uint32_t>(Number(INT32_MIN, UINT32_MAX)); }
  void End() const {
    if (More()) throw ParseError("unexpected '" + t_[i_].text + "'");
  }

private:
  std::vector<Token> t_;
  size_t i_ = 0;
};

// ---------------------------------------------------------------- parser

const std::map<std::string, uint32_t> kProjectFlags = {
    {"runtime", kOptRunTime},        {"sizing", kOptSizingBorder},  {"caption", kOptCaption},
    {"hscroll", kOptHScroll},        {"vscroll", kOptVScroll},      {"desk", kOptDeskFrame},
    {"transitions", kOptTransitions}, {"advance", kOptAutoAdvance}, {"loop", kOptAdvanceLoop},
    {"sequence", kOptAdvanceSequence}, {"drawdib", kOptDrawDib},    {"palettes", kOptOwnPalettes},
    {"topmost", kOptTopmost},        {"minbox", kOptMinimizeBox},   {"maxbox", kOptMaximizeBox},
    {"sysmenu", kOptSystemMenu},     {"contour", kOptContour},      {"drag", kOptDragWindow},
    {"fit", kOptFitWorkArea}};

const std::map<std::string, int> kKinds = {
    {"text", 0},         {"picture", 1},  {"video", 2},   {"animation", 3},     {"sound", 4},
    {"cdaudio", 5},      {"button", 6},   {"mcibar", 7},  {"document", 8},      {"list", 9},
    {"abp", 10},         {"combo", 11},   {"tree", 12},   {"slideoverview", 13}, {"quicksearch", 14},
    {"rtf", 15},         {"slides", 16},  {"directshow", 17}, {"html", 18},      {"listwindow", 19},
    {"helpregister", 20}, {"flash", 21}};

class Parser {
public:
  Parser(TProjectDescription& d, std::string baseDir) : d_(d), baseDir_(std::move(baseDir)) {
    d_.Image = TProjectImage();
    d_.Image.Info.Flags |= kOptRunTime;
  }

  // An object's and a menu's statements are the lines indented deeper than
  // the line that opened them.
  void Line(Args a, size_t indent) {
    if (object_ && indent <= objectIndent_) object_ = nullptr;
    if (inMenu_ && indent <= menuIndent_) inMenu_ = false;
    const std::string cmd = a.Word();
    if (cmd == "page") return Page(a);
    if (cmd == "object") {
      objectIndent_ = indent;
      return Object(a);
    }
    if (cmd == "menu" && page_) menuIndent_ = indent;
    if (object_) {
      if (!ObjectStatement(cmd, a)) throw ParseError("unknown object statement '" + cmd + "'");
      return;
    }
    if (inMenu_) {
      if (!MenuStatement(cmd, a)) throw ParseError("unknown menu statement '" + cmd + "'");
      return;
    }
    if (page_ && PageStatement(cmd, a)) return;
    if (!page_ && ProjectStatement(cmd, a)) return;
    throw ParseError("unknown statement '" + cmd + "' here");
  }

  void Finish() {
    uint32_t& counter = d_.Image.ListRecord.Values[0];
    if (!counterSet_) counter = maxNumber_;
  }

private:
  // -- project
  bool ProjectStatement(const std::string& cmd, Args& a) {
    TBookStructOptions& o = d_.Image.Info;
    if (cmd == "title") o.SetTitle(a.Text().c_str());
    else if (cmd == "notice") o.SetNotice(a.Text().c_str());
    else if (cmd == "size") Size(a, o);
    else if (cmd == "flags") o.Flags |= Flags(a);
    else if (cmd == "runtime") {
      if (a.Take("off")) o.Flags &= ~kOptRunTime;
      else if (a.Take("on")) o.Flags |= kOptRunTime;
      else throw ParseError("runtime on|off");
    } else if (cmd == "advance") {
      o.Flags |= kOptAutoAdvance;
      while (a.More()) {
        if (a.Take("loop")) o.Flags |= kOptAdvanceLoop;
        else if (a.Take("sequence")) o.Flags |= kOptAdvanceSequence;
        else throw ParseError("advance [loop] [sequence]");
      }
    } else if (cmd == "sequence") {
      o.PageSequence.Clear();
      while (a.More()) o.PageSequence.Values.push_back(a.U32());
    } else if (cmd == "quitkeys") o.QuitKeys = a.U32();
    else if (cmd == "datafolder") o.DataFolder = a.Text().c_str();
    else if (cmd == "pathmode") o.PathMode = static_cast<uint16_t>(a.Number(0, 0xFFFF));
    else if (cmd == "contour") o.ContourFile = a.Text().c_str();
    else if (cmd == "background") Background(a, o.Background);
    else if (cmd == "relocate") {
      d_.Write.Relocate = true;
      if (a.More()) d_.Write.RelocationShift = static_cast<uint32_t>(a.Number(1, 0x1000000));
    } else if (cmd == "counter") {
      d_.Image.ListRecord.Values[0] = a.U32();
      counterSet_ = true;
    } else if (cmd == "font") {
      TFontBlockEntry font;
      font.Entry.FaceName = a.Text().c_str();
      const std::string file = a.Text();
      font.Entry.SourceName = file.c_str();
      font.Image = ReadFile(file);
      if (font.Image.empty()) throw ParseError("no font file " + file);
      d_.Image.Fonts.push_back(std::move(font));
    } else return false;
    a.End();
    return true;
  }

  void Size(Args& a, TBookStructOptions& o) {
    o.WindowRect.Left = o.WindowRect.Top = 0;
    o.WindowRect.Right = static_cast<int32_t>(a.Number(1, 100000));
    o.WindowRect.Bottom = static_cast<int32_t>(a.Number(1, 100000));
  }

  uint32_t Flags(Args& a) {
    uint32_t f = 0;
    while (a.More()) {
      if (a.PeekNumber()) {
        f |= a.U32();
        continue;
      }
      const std::string w = a.Word();
      auto it = kProjectFlags.find(w);
      if (it == kProjectFlags.end()) throw ParseError("unknown flag '" + w + "'");
      f |= it->second;
    }
    return f;
  }

  // A file named by the description, relative to it; empty when missing.
  std::vector<uint8_t> ReadFile(const std::string& name) {
    const std::string path = name.size() && name[0] == '/' ? name : baseDir_ + "/" + name;
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // -- pictures and backgrounds
  std::vector<uint8_t> Dib(Args& a) {
    if (a.Take("gradient")) {
      const int w = static_cast<int>(a.Number(1, 4096)), h = static_cast<int>(a.Number(1, 4096));
      const uint32_t c1 = a.U32(), c2 = a.U32();
      return MakeGradientDib(w, h, c1, c2);
    }
    if (a.Take("checker")) {
      const int w = static_cast<int>(a.Number(1, 4096)), h = static_cast<int>(a.Number(1, 4096));
      const uint32_t c1 = a.U32(), c2 = a.U32();
      const int cell = a.More() ? static_cast<int>(a.Number(1, 4096)) : 8;
      return MakeCheckerDib(w, h, c1, c2, cell);
    }
    if (a.Take("file")) {
      const std::string name = a.Text();
      const std::string path = name.size() && name[0] == '/' ? name : baseDir_ + "/" + name;
      std::ifstream in(path, std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (!in.good() && !in.eof()) throw ParseError("cannot read " + path);
      if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M')
        throw ParseError(path + " is no bitmap file");
      return std::vector<uint8_t>(bytes.begin() + 14, bytes.end());
    }
    throw ParseError("a picture is gradient W H #top #bottom, checker W H #a #b [cell] or file \"x.bmp\"");
  }

  void Background(Args& a, TBackground& b) {
    b = TBackground();
    b.Flags = 0;
    if (a.Take("window")) b.Mode = kFillWindow;
    else if (a.Take("colour") || a.Take("color")) {
      b.Mode = kFillColour;
      b.Colour1 = a.U32();
    } else if (a.Take("pattern")) {
      b.Mode = kFillPattern;
      b.Pattern = static_cast<uint16_t>(a.Number(0, 0xFFFF));
      if (a.More()) b.Colour1 = a.U32();
    } else if (a.Take("gradient")) {
      b.Mode = kFillGradientDown;
      b.Colour1 = a.U32();
      b.Colour2 = a.U32();
    } else if (a.Take("gradient-up")) {
      b.Mode = kFillGradientUp;
      b.Colour1 = a.U32();
      b.Colour2 = a.U32();
    } else if (a.Peek("stretch") || a.Peek("tile")) {
      b.Mode = a.Take("stretch") ? kFillStretch : (a.Word(), kFillTile);
      b.Picture = Dib(a);
    } else if (a.Peek("stretch-file") || a.Peek("tile-file")) {
      b.Mode = a.Take("stretch-file") ? kFillStretch : (a.Word(), kFillTile);
      b.Flags = kBackgroundLinked;
      b.PictureFile = a.Text().c_str();
    } else {
      throw ParseError("background window|colour|pattern|gradient|gradient-up|stretch|tile|stretch-file|tile-file");
    }
  }

  // -- pages
  void Page(Args& a) {
    object_ = nullptr;
    inMenu_ = false;
    menuTop_ = 0;
    auto p = std::make_unique<TProjectPage>();
    p->Number = a.U32();
    for (const auto& other : d_.Image.Pages)
      if (other->Number == p->Number) throw ParseError("page " + std::to_string(p->Number) + " twice");
    const std::string name = a.PeekQuoted() ? a.Text() : std::string();
    a.End();
    TObjectInfo& info = p->Record.Info;
    info.Target = LinkTarget(kKindPage, p->Number, -1, name.empty() ? nullptr : name.c_str());
    info.Rect.Left = d_.Image.Info.WindowRect.Left;
    info.Rect.Top = d_.Image.Info.WindowRect.Top;
    info.Rect.Right = d_.Image.Info.WindowRect.Right;
    info.Rect.Bottom = d_.Image.Info.WindowRect.Bottom;
    p->Record.Background = d_.Image.Info.Background;
    enter_ = leave_ = 0;
    page_ = p.get();
    d_.Image.Pages.push_back(std::move(p));
  }

  bool PageStatement(const std::string& cmd, Args& a) {
    TPageRecord& r = page_->Record;
    if (cmd == "background") Background(a, r.Background);
    else if (cmd == "timing") Timing(a, r.Info.Tail);
    else if (cmd == "transition") r.Info.Property.Transition = static_cast<uint8_t>(a.Number(0, 255));
    else if (cmd == "hidden") Numbers(a, r.HiddenList);
    else if (cmd == "keys") Numbers(a, r.KeyList);
    else if (cmd == "enter" || cmd == "leave") {
      int& n = cmd == "enter" ? enter_ : leave_;
      if (n == 4) throw ParseError("a page has four " + cmd + " actions");
      TActionStruct& act = (cmd == "enter" ? r.EnterActions : r.LeaveActions)[n++];
      act = TActionStruct();
      Action(a, act);
    } else if (cmd == "database") {
      r.DbInfo.Path = a.Text().c_str();
      r.DbInfo.Flags = a.Take("flags") ? static_cast<uint8_t>(a.Number(0, 255)) : kDbInUse;
    } else if (cmd == "ownoptions") {
      r.OwnOptionsFlag = 1;
      while (a.More()) {
        if (a.Take("size")) Size(a, r.Options);
        else if (a.Take("flags")) r.Options.Flags |= Flags(a);
        else if (a.Take("title")) r.Options.SetTitle(a.Text().c_str());
        else if (a.Take("contour")) r.Options.ContourFile = a.Text().c_str();
        else if (a.Take("background")) Background(a, r.Options.Background);
        else throw ParseError("ownoptions [title \"t\"] [size W H] [contour \"file\"] [background ...] [flags ...]");
      }
    } else if (cmd == "data-for") {
      TDataOverride o;
      o.Number = a.U32();
      auto raw = std::make_unique<TRawData>();
      Data(a, *raw);
      o.Data = std::move(raw);
      r.DataOverrides.push_back(std::move(o));
    } else if (cmd == "menu") {
      r.MenuFlag = 1;
      ++menuTop_;
      inMenu_ = true;
      auto item = std::make_unique<TTSLMenuData>();
      item->Text = a.Text().c_str();
      item->Position = (std::to_string(menuTop_) + ",0").c_str();
      item->MenuFlags = 0;
      r.Menu.Add(item.release());
    } else return false;
    a.End();
    return true;
  }

  bool MenuStatement(const std::string& cmd, Args& a) {
    TPageRecord& r = page_->Record;
    auto item = std::make_unique<TTSLMenuData>();
    item->MenuFlags = 0;
    int group = 0;
    if (cmd == "item" || cmd == "check") {
      if (cmd == "check") {
        group = static_cast<int>(a.Number(1, 0x7FFFFFFF));
        item->MenuFlags |= kMenuCheckGroup;
      }
      item->Text = a.Text().c_str();
      if (a.Take("object")) {
        item->MenuFlags |= kMenuRunsObject;
        item->ObjectNumber = a.U32();
      } else {
        auto act = std::make_unique<TActionStruct>();
        Action(a, *act);
        item->Actions->Add(act.release());
      }
    } else if (cmd == "separator") {
      item->MenuFlags = kMenuSeparator;
    } else {
      return false;
    }
    a.End();
    item->Position = (std::to_string(menuTop_) + "," + std::to_string(group)).c_str();
    r.Menu.Add(item.release());
    return true;
  }

  void Timing(Args& a, TObjectInfoTail& t) {
    uint32_t s[4];
    for (uint32_t& v : s) v = a.U32();
    const uint32_t flags = a.Take("flags") ? a.U32() : 1;
    t.Init(s[0], s[1], s[2], s[3], flags);
  }

  void Numbers(Args& a, TLongArray& list) {
    list.Clear();
    while (a.More()) list.Values.push_back(a.U32());
  }

  // The page set-up an action carries: the defaults, changed by the words
  // that follow (margins and sizes in whole millimetres).
  void PrintSettings(Args& a, TBasePrintOutInfo& p) {
    for (;;) {
      if (a.Take("title")) p.Title = a.Text().c_str(), p.ShowTitle = 1;
      else if (a.Take("pagenumber")) p.ShowPageNumber = 1;
      else if (a.Take("titlealign")) p.TitleAlign = static_cast<int32_t>(a.Number(0, 2));
      else if (a.Take("numberalign")) p.PageNumberAlign = static_cast<int32_t>(a.Number(0, 2));
      else if (a.Take("margins")) {
        p.MarginLeft = static_cast<double>(a.Number(0, 1000));
        p.MarginTop = static_cast<double>(a.Number(0, 1000));
        p.MarginRight = static_cast<double>(a.Number(0, 1000));
        p.MarginBottom = static_cast<double>(a.Number(0, 1000));
      } else if (a.Take("fill")) p.PictureFlags = (p.PictureFlags & ~0x2u) | 0x1;
      else if (a.Take("fixed")) {
        p.PictureFlags = (p.PictureFlags & ~0x1u) | 0x2;
        p.TargetWidth = static_cast<double>(a.Number(1, 1000));
        p.TargetHeight = static_cast<double>(a.Number(1, 1000));
      } else if (a.Take("aspect")) p.PictureFlags |= 0x4;
      else if (a.Take("noaspect")) p.PictureFlags &= ~0x4u;
      else if (a.Take("landscape")) p.Landscape = 1;
      else return;
    }
  }

  // -- actions
  void Action(Args& a, TActionStruct& act) {
    act.Flags |= kActionEnabled;
    const std::string verb = a.Word();
    using C = TActionCode;
    if (verb == "goto") act.Code = StoredActionCode(C::GotoPage), act.Value1 = a.U32();
    else if (verb == "next") act.Code = StoredActionCode(C::GotoRelativePage), act.Value1 = 1;
    else if (verb == "prev") act.Code = StoredActionCode(C::GotoRelativePage), act.Value1 = static_cast<uint32_t>(-1);
    else if (verb == "back") act.Code = StoredActionCode(C::GotoPreviousPage);
    else if (verb == "quit") act.Code = StoredActionCode(C::QuitPresentation);
    else if (verb == "info") act.Code = StoredActionCode(C::ShowInfoBox);
    else if (verb == "code") act.Code = static_cast<uint16_t>(a.Number(INT16_MIN, 0xFFFF));
    else throw ParseError("an action is goto N, next, prev, back, quit, info or code N");
    while (a.More()) {
      if (a.Take("target")) act.Target = a.U32();
      else if (a.Take("value1")) act.Value1 = a.U32();
      else if (a.Take("value2")) act.Value2 = static_cast<int32_t>(a.U32());
      else if (a.Take("value3")) act.Value3 = static_cast<int32_t>(a.U32());
      else if (a.Take("value4")) act.Value4 = a.U32();
      else if (a.Take("short1")) act.Short1 = static_cast<uint16_t>(a.Number(0, 0xFFFF));
      else if (a.Take("short2")) act.Short2 = static_cast<uint16_t>(a.Number(0, 0xFFFF));
      else if (a.Take("delay")) act.Delay = a.U32();
      else if (a.Take("wait")) act.WaitFlag = 1;
      else if (a.Take("disabled")) act.Flags &= ~kActionEnabled;
      else if (a.Take("flags")) act.Flags |= a.U32();
      else if (a.Take("clearflags")) act.Flags &= ~a.U32();
      else if (a.Take("flags2")) act.Flags2 = a.U32();
      else if (a.Take("separator")) act.Separator = static_cast<uint8_t>(a.Number(0, 255));
      else if (a.Take("text1")) act.Text1 = a.Text().c_str();
      else if (a.Take("text2")) act.Text2 = a.Text().c_str();
      else if (a.Take("text3")) act.Text3 = a.Text().c_str();
      else if (a.Take("text4")) act.Text4 = a.Text().c_str();
      else if (a.Take("text5")) act.Text5 = a.Text().c_str();
      else if (a.Take("string")) act.Strings.Add(a.Text().c_str());
      else if (a.Take("numbers")) {
        while (a.PeekNumber()) act.IntList.push_back(static_cast<int32_t>(a.U32()));
      } else if (a.Take("print")) PrintSettings(a, act.GetPrintInfo());
      else if (a.Take("on")) {
        if (a.Take("click")) act.TriggerEvent = kTriggerClick;
        else if (a.Take("down")) act.TriggerEvent = kTriggerButtonDown;
        else if (a.Take("dblclick")) act.TriggerEvent = kTriggerDoubleClick;
        else act.TriggerEvent = static_cast<uint16_t>(a.Number(0, 0xFFFF));
      } else throw ParseError("unknown action option '" + a.Word() + "'");
    }
  }

  // -- objects
  void Object(Args& a) {
    inMenu_ = false;
    const bool shared = !page_;
    TObjectRecord rec;
    const int kind = KindNumber(a);
    const std::string name = a.PeekQuoted() ? a.Text() : std::string();
    TObjectRect& r = rec.Info.Rect;
    r.Left = static_cast<int32_t>(a.Number(INT32_MIN, INT32_MAX));
    r.Top = static_cast<int32_t>(a.Number(INT32_MIN, INT32_MAX));
    r.Right = static_cast<int32_t>(a.Number(INT32_MIN, INT32_MAX));
    r.Bottom = static_cast<int32_t>(a.Number(INT32_MIN, INT32_MAX));
    bool dataless = false;
    uint32_t number = nextNumber_;
    while (a.More()) {
      if (a.Take("dataless") && shared) dataless = true;
      else if (a.Take("number")) number = a.U32();
      else throw ParseError("object KIND [\"name\"] LEFT TOP RIGHT BOTTOM [number N]" +
                            std::string(shared ? " [dataless]" : ""));
    }
    if (number >= nextNumber_) nextNumber_ = number + 1;
    maxNumber_ = std::max(maxNumber_, number);
    rec.Info.Target = LinkTarget(static_cast<int16_t>(kind), number, -1, name.empty() ? nullptr : name.c_str());
    rec.Info.Property.Flags = (rec.Info.Property.Flags & ~kPropPlacement) |
                              (shared ? (dataless ? kPropSharedDataless : kPropShared) : kPropPageObject);
    if (!dataless) rec.Data = std::make_unique<TRawData>();
    std::vector<TObjectRecord>& list =
        shared ? (dataless ? d_.Image.Shared.Dataless : d_.Image.Shared.Objects) : page_->Record.Objects;
    list.push_back(std::move(rec));
    object_ = &list.back();
    objectDataless_ = dataless;
  }

  int KindNumber(Args& a) {
    if (a.PeekNumber()) return static_cast<int>(a.Number(0, kLastObjectKind));
    const std::string w = a.Word();
    auto it = kKinds.find(w);
    if (it == kKinds.end()) throw ParseError("unknown object kind '" + w + "'");
    return it->second;
  }

  bool ObjectStatement(const std::string& cmd, Args& a) {
    TObjectInfo& info = object_->Info;
    TProperty& p = info.Property;
    if (cmd == "layer") info.Rect.Layer = static_cast<uint16_t>(a.Number(0, 0xFFFF));
    else if (cmd == "props") p.Flags = (a.U32() & ~0x7u) | (p.Flags & 0x7u);
    else if (cmd == "fill") {
      p.Flags |= kPropFill;
      p.Colour = a.U32();
    } else if (cmd == "border") p.BorderStyle = static_cast<uint16_t>(a.Number(0, 0xFFFF));
    else if (cmd == "scale") p.Flags |= kPropScaleSize;
    else if (cmd == "tooltip") {
      p.Flags |= kPropToolTip;
      p.ToolTip.Text = a.Text().c_str();
    } else if (cmd == "proptext") p.Text = a.Text().c_str();
    else if (cmd == "timing") Timing(a, info.Tail);
    else if (cmd == "action") {
      auto act = std::make_unique<TActionStruct>();
      Action(a, *act);
      p.Actions->Add(act.release());
    } else if (cmd == "data") {
      if (objectDataless_) throw ParseError("a dataless object's data is given per page (data-for)");
      Data(a, *static_cast<TRawData*>(object_->Data.get()));
    } else return false;
    a.End();
    return true;
  }

  // Data items of a raw data record: base fields, or bytes appended behind
  // the base.
  void Data(Args& a, TRawData& d) {
    MemoryStream m(d.Bytes);
    m.Seek(0, ByteStream::end);
    while (a.More()) {
      if (a.Take("flags")) d.Flags = a.U32();
      else if (a.Take("value3")) d.Value3 = a.U32();
      else if (a.Take("value4")) d.Value4 = a.U32();
      else if (a.Take("u8")) WriteU8(static_cast<uint8_t>(a.Number(-128, 255)), m);
      else if (a.Take("u16") || a.Take("i16")) WriteU16(static_cast<uint16_t>(a.Number(INT16_MIN, 0xFFFF)), m);
      else if (a.Take("u32") || a.Take("i32") || a.Take("colour") || a.Take("color")) WriteU32(a.U32(), m);
      else if (a.Take("str")) WriteShortString(a.Text().c_str(), m);
      else if (a.Take("lstr")) WriteLongString(a.Text().c_str(), m);
      else if (a.Take("zeros")) {
        const int64_t n = a.Number(0, 1 << 20);
        for (int64_t i = 0; i < n; ++i) WriteU8(0, m);
      } else if (a.Take("hex")) {
        const std::string h = a.Word();
        if (h.size() % 2) throw ParseError("hex needs pairs of digits");
        for (size_t i = 0; i < h.size(); i += 2) WriteU8(HexByte(h, i), m);
      } else if (a.Take("font")) {
        const std::string face = a.Text();
        FontRecord fr = MakeFontRecord(static_cast<int32_t>(a.Number(1, 1000)), true, face.c_str());
        while (a.Peek("bold") || a.Peek("italic") || a.Peek("underline") || a.Peek("colour") || a.Peek("color")) {
          if (a.Take("bold")) fr.lfWeight = 700;
          else if (a.Take("italic")) fr.lfItalic = 1;
          else if (a.Take("underline")) fr.lfUnderline = 1;
          else a.Word(), fr.Color = a.U32();
        }
        WriteFontRecord(fr, m);
      } else if (a.Take("dib")) {
        const std::vector<uint8_t> dib = Dib(a);
        WriteEmbeddedDibImage(m, dib.data(), dib.size());
      } else throw ParseError("unknown data item '" + a.Word() + "'");
    }
    d.Bytes = m.Data();
  }

  TProjectDescription& d_;
  std::string baseDir_;
  TProjectPage* page_ = nullptr;
  TObjectRecord* object_ = nullptr;
  bool objectDataless_ = false;
  size_t objectIndent_ = 0, menuIndent_ = 0;
  bool inMenu_ = false;
  int menuTop_ = 0;
  int enter_ = 0, leave_ = 0;
  uint32_t nextNumber_ = 1, maxNumber_ = 0;
  bool counterSet_ = false;
};

}  // namespace


bool ParseProjectDescription(const std::string& text, const std::string& baseDir,
                             TProjectDescription& out, TDescriptionError& error) {
  Parser parser(out, baseDir);
  std::istringstream in(text);
  std::string line;
  int n = 0;
  try {
    while (std::getline(in, line)) {
      ++n;
      std::vector<std::string> words = DescriptionWords(line);
      const size_t indent = line.find_first_not_of(" \t");
      if (indent > 0) {
        const std::string data = ObjectStatementData(words);
        if (!data.empty()) words = DescriptionWords(data);
      }
      if (!words.empty()) parser.Line(Args(Tokenize(words)), indent);
    }
    parser.Finish();
  } catch (const ParseError& e) {
    error.Line = n;
    error.Message = e.Message;
    return false;
  } catch (const std::logic_error&) {  // digits that do not convert (\x, hex, colours)
    error.Line = n;
    error.Message = "not a number where one belongs";
    return false;
  }
  return true;
}

void WriteProjectDescription(TProjectDescription& project, ByteStream& f) {
  project.Image.Write(f, project.Write);
}

// ---------------------------------------------------------------- dump

namespace {

class Dumper {
public:
  std::string Result() const { return out_.str(); }

  void Project(const TProjectImage& p) {
    const TBookStructOptions& o = p.Info;
    Line(0, "project header " + Hex(p.Header.Values[2]) + " " + Hex(p.Header.Values[3]));
    Options(1, o);
    Line(1, "list-record counter " + std::to_string(p.ListRecord.Values[0]) + " fourth " +
                Hex(p.ListRecord.Values[3]));
    for (const TFontBlockEntry& f : p.Fonts)
      Line(1, "font " + Q(f.Entry.FaceName) + " source " + Q(f.Entry.SourceName) + " temp " + Q(f.Entry.TempFile) +
                  " image " + Bytes(f.Image));
    for (const TObjectRecord& r : p.Shared.Objects) Object(1, "shared", r);
    for (const TObjectRecord& r : p.Shared.Dataless) Object(1, "dataless", r);
    for (const auto& page : p.Pages) Page(*page);
  }

private:
  static std::string Hex(uint64_t v) {
    char b[32];
    std::snprintf(b, sizeof b, "0x%llx", static_cast<unsigned long long>(v));
    return b;
  }
  static std::string Q(const string& s) { return Q(s.str()); }
  static std::string Q(const std::string& s) {
    std::string r = "\"";
    for (char c : AnsiToUtf8(s)) {
      if (c == '"' || c == '\\') r += '\\';
      if (c == '\n') r += "\\n";
      else r += c;
    }
    return r + "\"";
  }
  static std::string Raw(const void* p, size_t n) {
    std::string r;
    char b[3];
    for (size_t i = 0; i < n; ++i) {
      std::snprintf(b, sizeof b, "%02x", static_cast<const uint8_t*>(p)[i]);
      r += b;
    }
    return r;
  }
  static std::string Bytes(const std::vector<uint8_t>& v) {
    // Long blocks (pictures) by length and checksum.
    if (v.size() <= 96) return Raw(v.data(), v.size());
    uint32_t h = 2166136261u;
    for (uint8_t c : v) h = (h ^ c) * 16777619u;
    return std::to_string(v.size()) + " bytes fnv " + Hex(h);
  }
  void Line(int depth, const std::string& text) { out_ << std::string(2 * depth, ' ') << text << "\n"; }

  void Options(int d, const TBookStructOptions& o) {
    Line(d, "version " + std::to_string(o.VersionMajor) + "." + std::to_string(o.VersionMinor) + " format " +
                Hex(o.FormatByte) + " " + Hex(o.FormatWord) + " flags " + Hex(o.Flags) + " second " +
                Hex(o.SecondValue));
    Line(d, "notice " + Raw(o.Notice, sizeof o.Notice));
    Line(d, "title " + Raw(o.Title, sizeof o.Title));
    Line(d, "rect " + Rect(o.WindowRect) + " pathmode " + std::to_string(o.PathMode) + " datafolder " +
                Q(o.DataFolder) + " quitkeys " + Hex(o.QuitKeys) + " contour " + Q(o.ContourFile) +
                " reserve " + Raw(o.Reserve, sizeof o.Reserve));
    Background(d, o.Background);
    Line(d, "sequence" + List(o.PageSequence));
  }
  static std::string Rect(const TObjectRect& r) {
    return std::to_string(r.Left) + " " + std::to_string(r.Top) + " " + std::to_string(r.Right) + " " +
           std::to_string(r.Bottom) + " layer " + std::to_string(r.Layer);
  }
  static std::string List(const TLongArray& a) {
    std::string r;
    for (uint32_t v : a.Values) r += " " + std::to_string(v);
    return r;
  }
  void Background(int d, const TBackground& b) {
    Line(d, "background mode " + std::to_string(b.Mode) + " flags " + Hex(b.Flags) + " colours " +
                Hex(b.Colour1) + " " + Hex(b.Colour2) + " pattern " + std::to_string(b.Pattern) + " file " +
                Q(b.PictureFile) + " reserved " + Raw(b.Reserved16, sizeof b.Reserved16) + " picture " +
                Bytes(b.Picture));
  }
  void Info(int d, const TObjectInfo& i) {
    const LinkTarget& t = i.Target;
    Line(d, "target kind " + std::to_string(t.Kind) + " number " + std::to_string(t.Number) + " reference " +
                std::to_string(t.Reference) + " name " + Raw(t.Name, sizeof t.Name) + " name2 " +
                Raw(t.Name2, sizeof t.Name2));
    Line(d, "rect " + Rect(i.Rect));
    const TProperty& p = i.Property;
    Line(d, "property flags " + Hex(p.Flags) + " border " + std::to_string(p.BorderStyle) + " point " +
                std::to_string(p.Point.x) + " " + std::to_string(p.Point.y) + " extent " +
                std::to_string(p.Extent.cx) + " " + std::to_string(p.Extent.cy) + " colour " + Hex(p.Colour) +
                " bytes " + std::to_string(p.Byte1) + " " + std::to_string(p.Transition) + " " +
                std::to_string(p.Byte3) + " short " + Raw(p.ShortName, sizeof p.ShortName) + " reserved " +
                Raw(p.Reserved4, sizeof p.Reserved4) + " value " + Hex(p.Value32) + " text " + Q(p.Text));
    const TToolTipInfo& tt = p.ToolTip;
    Line(d + 1, "tooltip mode " + std::to_string(tt.Mode) + " background " + Hex(tt.Background) + " text " +
                    Q(tt.Text) + " font " + Font(tt.Font) + " value " + Hex(tt.Value) + " file " +
                    Q(tt.PictureFile) + " reserved " + Raw(tt.Reserved20, sizeof tt.Reserved20));
    Actions(d + 1, *p.Actions);
    const TObjectInfoTail& tail = i.Tail;
    Line(d, "tail " + Hex(tail.Flags) + " " + std::to_string(tail.Unit) + " " + std::to_string(tail.Spans[0]) +
                " " + std::to_string(tail.Spans[1]) + " " + std::to_string(tail.Spans[2]) + " " +
                std::to_string(tail.Spans[3]));
  }
  static std::string Font(const FontRecord& f) {
    MemoryStream m;
    WriteFontRecord(f, m);
    return Raw(m.Data().data(), m.Data().size());
  }
  void Actions(int d, const TSActionStructArrayManager& list) {
    for (int i = 0; i < list.GetItemsInContainer(); ++i) Action(d, *list[i]);
  }
  void Action(int d, const TActionStruct& a) {
    std::string numbers;
    for (int32_t v : a.IntList) numbers += " " + std::to_string(v);
    Line(d, "action code " + std::to_string(a.Code) + " target " + std::to_string(a.Target) + " flags " +
                Hex(a.Flags) + " values " + std::to_string(a.Value1) + " " + std::to_string(a.Value2) + " " +
                std::to_string(a.Value3) + " " + std::to_string(a.Value4) + " shorts " +
                std::to_string(a.Short1) + " " + std::to_string(a.Short2) + " wait " +
                std::to_string(a.WaitFlag) + " delay " + std::to_string(a.Delay) + " numbers" + numbers);
    Line(d + 1, "texts " + Q(a.Text1) + " " + Q(a.Text2) + " " + Q(a.Text3) + " " + Q(a.Text4) + " " +
                    Q(a.Text5) + " separator " + std::to_string(a.Separator) + " flags2 " + Hex(a.Flags2) +
                    " trigger " + Hex(a.TriggerEvent) + " " + Hex(a.Ext1) + " " + std::to_string(a.Ext2) + " " +
                    Hex(a.Ext3));
    std::string strings;
    for (int i = 0; i < a.Strings.Count(); ++i) strings += " " + Q(a.Strings.ItemAt(i));
    if (!strings.empty()) Line(d + 1, "strings" + strings);
    if (a.PrintInfo) {
      MemoryStream m;
      a.PrintInfo->Write(m);
      Line(d + 1, "print " + Bytes(m.Data()));
    }
  }
  void Data(int d, const TData* data) {
    if (!data) return;
    std::string line = "data base " + Hex(data->RecordLength) + " " + Hex(data->Flags) + " " +
                       Hex(data->Value3) + " " + Hex(data->Value4);
    if (const auto* raw = dynamic_cast<const TRawData*>(data)) line += " bytes " + Bytes(raw->Bytes);
    Line(d, line);
  }
  void Object(int d, const char* what, const TObjectRecord& r) {
    Line(d, std::string("object ") + what);
    Info(d + 1, r.Info);
    Data(d + 1, r.Data.get());
  }
  void Page(const TProjectPage& page) {
    const TPageRecord& r = page.Record;
    Line(0, "page " + std::to_string(page.Number) + " reserved " + Hex(r.Header.Reserved1) + " " +
                Hex(r.Header.Reserved2));
    Background(1, r.Background);
    Line(1, "hidden" + List(r.HiddenList));
    Info(1, r.Info);
    std::string names;
    for (int i = 0; i < kDbColumns; ++i) names += Raw(r.DbInfo.FieldNames[i], kDbColumnNameSize);
    Line(1, "database " + Q(r.DbInfo.Path) + " flags " + Hex(r.DbInfo.Flags) + " names " + names);
    for (const TObjectRecord& o : r.Objects) Object(1, "page", o);
    for (const TDataOverride& o : r.DataOverrides) {
      Line(1, "data-for " + std::to_string(o.Number));
      Data(2, o.Data.get());
    }
    for (const TActionStruct& a : r.EnterActions) Action(1, a);
    for (const TActionStruct& a : r.LeaveActions) Action(1, a);
    Line(1, "menu flag " + std::to_string(r.MenuFlag));
    for (const TTSLMenuData* m : r.Menu) {
      Line(2, "item " + Q(m->Text) + " position " + Q(m->Position) + " object " + Hex(m->ObjectNumber) +
                  " flags " + Hex(m->MenuFlags) + " reserved " + Raw(m->Reserved, sizeof m->Reserved));
      Actions(3, *m->Actions);
    }
    Line(1, "keys" + List(r.KeyList));
    Line(1, "own options " + std::to_string(r.OwnOptionsFlag));
    Options(2, r.Options);
  }

  std::ostringstream out_;
};

}  // namespace

std::string DumpProject(const TProjectImage& image) {
  Dumper d;
  d.Project(image);
  return d.Result();
}
