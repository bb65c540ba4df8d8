#include "objects/core/bmpcontdesc.h"

#include <sstream>

#include "objects/core/bmpcontdata.h"
#include "tools/core/desc/descwords.h"

// slideoverview "container" [hidden]
std::string SlideOverviewStatementData(const std::vector<std::string>& w) {
  if (w.size() < 2 || w.size() > 3 || !IsQuotedWord(w[1]) || (w.size() == 3 && w[2] != "hidden"))
    throw TDescriptionFailure("cannot read the slideoverview statement");
  const uint32_t flags = w.size() == 3 ? kBmpContDefaultFlags & ~kBmpContSymbolShown : kBmpContDefaultFlags;
  std::ostringstream s;
  s << "data flags " << flags << " str " << w[1] << " zeros 32";
  return s.str();
}
