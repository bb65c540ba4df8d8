#include "objects/core/iedesc.h"

#include <sstream>

#include "objects/core/iedata.h"
#include "tools/core/desc/descwords.h"

// browser "address" [no-hscroll] [no-vscroll]
std::string BrowserStatementData(const std::vector<std::string>& w) {
  const auto fail = [] { return TDescriptionFailure("cannot read the browser statement"); };
  if (w.size() < 2 || !IsQuotedWord(w[1])) throw fail();
  uint32_t flags = TIEData().Flags;
  for (size_t i = 2; i < w.size(); ++i) {
    if (w[i] == "no-hscroll") {
      flags |= kIEHideHScroll;
    } else if (w[i] == "no-vscroll") {
      flags |= kIEHideVScroll;
    } else {
      throw fail();
    }
  }
  std::ostringstream s;
  s << "data flags " << flags << " str " << w[1] << " zeros 16";
  return s.str();
}
