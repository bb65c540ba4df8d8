#include "objects/core/abpdesc.h"

#include <sstream>

#include "objects/core/abpdata.h"
#include "tools/core/desc/descwords.h"

// abp "file"
std::string AbpStatementData(const std::vector<std::string>& w) {
  if (w.size() != 2 || !IsQuotedWord(w[1])) throw TDescriptionFailure("cannot read the abp statement");
  std::ostringstream s;
  s << "data flags " << kAbpDefaultFlags << " str " << w[1] << " zeros 16";
  return s.str();
}
