#include "objects/core/flxdesc.h"

#include <sstream>

#include "objects/core/flxdata.h"
#include "tools/core/desc/descwords.h"

// animation "file" [loop] [memory]
std::string AnimationStatementData(const std::vector<std::string>& w) {
  if (w.size() < 2 || !IsQuotedWord(w[1])) throw TDescriptionFailure("cannot read the animation statement");
  unsigned options = 0;
  for (size_t i = 2; i < w.size(); ++i) {
    if (w[i] == "loop") options |= kFlxLoop;
    else if (w[i] == "memory") options |= kFlxLoadIntoMemory;
    else throw TDescriptionFailure("unknown animation option '" + w[i] + "'");
  }
  std::ostringstream s;
  s << "data flags " << 0x1000 << " u16 0 u16 " << options << " str " << w[1] << " zeros 16";
  return s.str();
}
