#include "objects/core/flashplayerdesc.h"

#include <sstream>

#include "objects/core/flashplayerdata.h"
#include "tools/core/desc/descwords.h"

// flash "file" [loop] [quality N] [scale N]
std::string FlashStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the Flash statement"); };
  if (w.size() < 2 || !IsQuotedWord(w[1])) throw fail();
  TFlashPlayerData d;
  uint32_t flags = d.Flags;
  long quality = d.Quality, scale = d.ScaleMode;
  for (size_t i = 2; i < w.size(); ++i) {
    if (w[i] == "loop") {
      flags |= kFlashLoop;
      continue;
    }
    long* value = w[i] == "quality" ? &quality : w[i] == "scale" ? &scale : nullptr;
    if (!value || i + 1 >= w.size() || !IsNumberWord(w[i + 1])) throw fail();
    *value = NumberOf(w[++i]);
    if (*value < 0 || *value > 0xFFFF) throw fail();
  }
  std::ostringstream s;
  s << "data flags " << flags << " str " << w[1] << " u16 " << quality << " u16 " << scale << " zeros 16";
  return s.str();
}
