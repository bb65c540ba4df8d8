#include "foundation/core/index/indexerr.h"

#include <sstream>

namespace tsl {
namespace {

constexpr size_t kKeepChars = 64 * 1024;

std::ostringstream& Stream() {
  static std::ostringstream s;
  return s;
}

}  // namespace

std::ostream& IndexErrorStream() { return Stream(); }

void TrimIndexErrorStream() {
  std::ostringstream& s = Stream();
  if (static_cast<size_t>(s.tellp()) <= 2 * kKeepChars) return;
  std::string text = s.str();
  // Cut at a line start so that every kept line is whole.
  size_t from = text.size() - kKeepChars;
  const size_t nl = text.find('\n', from);
  from = nl == std::string::npos ? text.size() : nl + 1;
  s.str(text.substr(from));
  s.seekp(0, std::ios::end);
}

std::string IndexErrorText() { return Stream().str(); }

void ClearIndexErrorStream() {
  Stream().str(std::string());
  Stream().clear();
}

}  // namespace tsl
