#include "objects/core/dxshowdesc.h"

#include <sstream>

#include "objects/core/dxshowdata.h"
#include "tools/core/desc/descwords.h"

// dxshow "file" [loop] [rewind] [dspane] [sound-only] [no-bar]
std::string DXShowStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the DirectShow statement"); };
  if (w.size() < 2 || !IsQuotedWord(w[1])) throw fail();
  uint32_t flags = kDXShowDefaultFlags;
  static const struct {
    const char* Word;
    uint32_t Set, Clear;
  } kOptions[] = {
      {"loop", kDXShowLoop, 0},
      {"rewind", kDXShowRewind, 0},
      {"dspane", kDXShowUseDspane, 0},
      {"sound-only", 0, kDXShowWindowVisible},
      {"no-bar", 0, kDXShowControllerBar},
  };
  for (size_t i = 2; i < w.size(); ++i) {
    bool known = false;
    for (const auto& o : kOptions) {
      if (w[i] != o.Word) continue;
      flags = (flags | o.Set) & ~o.Clear;
      known = true;
    }
    if (!known) throw fail();
  }
  std::ostringstream s;
  s << "data flags " << flags << " str " << w[1] << " zeros 16";
  return s.str();
}
