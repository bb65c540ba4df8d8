#include "engine/core/recordfields.h"

namespace {
string StripBlanks(const string& s) {
  const char* p = s.c_str();
  size_t b = 0, e = s.length();
  while (b < e && p[b] == ' ') ++b;
  while (e > b && p[e - 1] == ' ') --e;
  return string(p + b, e - b);
}
}  // namespace

std::vector<std::pair<string, string>> BoundFieldValues(const std::vector<TFieldBinding>& fields,
                                                        const std::vector<string>& values) {
  std::vector<std::pair<string, string>> out;
  for (size_t i = 0; i < values.size() && i < fields.size(); ++i) {
    const uint16_t column = fields[i].Column;
    if (column == kNoFieldColumn || column >= values.size()) continue;
    out.emplace_back(fields[i].Name, StripBlanks(values[column]));
  }
  return out;
}
