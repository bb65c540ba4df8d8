#include "objects/core/mcidesc.h"

#include <sstream>

#include "objects/core/mcibardata.h"
#include "objects/core/mcidata.h"
#include "tools/core/desc/descwords.h"

// media "file" | media tracks N... ; then [kind K] [repeat] [mute] [errors]
//       [nosymbol] [flags F]
std::string MediaStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the media statement"); };
  if (w.size() < 2) throw fail();
  long flags = kMciFileFlag | kMciShowSymbol, kind = kMediaUndecided, options = kMciSoundOn;
  std::string name;
  std::vector<long> tracks;
  size_t i = 1;
  if (IsQuotedWord(w[1])) {
    name = w[1];
    i = 2;
  } else if (w[1] == "tracks") {
    kind = kMediaCdTracks;
    for (i = 2; i < w.size() && IsNumberWord(w[i]); ++i) tracks.push_back(NumberOf(w[i]));
  } else {
    throw fail();
  }
  for (; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "kind" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      kind = NumberOf(w[++i]);
    } else if (k == "flags" && i + 1 < w.size() && IsNumberWord(w[i + 1])) {
      flags = NumberOf(w[++i]);
    } else if (k == "repeat") {
      options |= kMciRepeat;
    } else if (k == "mute") {
      options &= ~long(kMciSoundOn);
    } else if (k == "errors") {
      flags |= kMciOpenOption;
    } else if (k == "nosymbol") {
      flags &= ~long(kMciShowSymbol);
    } else {
      throw fail();
    }
  }
  std::ostringstream s;
  s << "data flags " << flags << " i16 " << kind << " u16 " << options;
  if (kind == kMediaCdTracks) {
    s << " u16 " << tracks.size();
    for (long t : tracks) s << " i16 " << t;
  } else {
    s << " str " << (name.empty() ? "\"\"" : name);
  }
  s << " zeros 16";
  return s.str();
}

// mcibar [target N] [buttons MASK] [style S] [nobar]
std::string McibarStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the mcibar statement"); };
  long target = -1, mask = kMciBarDefaultMask, style = kMciBarDefaultStyle, show = 1;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& k = w[i];
    const bool number = i + 1 < w.size() && IsNumberWord(w[i + 1]);
    if (k == "target" && number) {
      target = NumberOf(w[++i]);
    } else if (k == "buttons" && number) {
      mask = NumberOf(w[++i]);
    } else if (k == "style" && number) {
      style = NumberOf(w[++i]);
    } else if (k == "nobar") {
      show = 0;
    } else {
      throw fail();
    }
  }
  const TKVR_ScrollerSettings d;
  std::ostringstream s;
  s << "data flags " << (0x1000 | kMciBarHasSettings) << " u16 " << style << " u16 " << mask << " i32 " << target
    << " zeros 16 u8 " << show << " u32 " << d.BackgroundColour << " u32 " << d.ProgressColourBefore << " u32 "
    << d.ProgressColourAfter << " u32 " << d.GrooveThickness << " u32 " << d.AutoRepeatInterval << " u32 "
    << d.ThumbStyle << " u32 " << d.ArrowStyle << " u16 " << d.Vertical << " u16 " << d.Scale << " u16 "
    << d.Transparent << " u16 " << d.ProgressFill << " u16 " << d.AutoRepeat << " u16 " << d.GrooveBorder
    << " zeros 32";
  return s.str();
}
