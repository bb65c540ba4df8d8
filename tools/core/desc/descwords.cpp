#include "tools/core/desc/descwords.h"

#include <cstdlib>

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
}  // namespace

std::vector<std::string> DescriptionWords(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#' && (out.empty() || i + 1 == line.size() || IsBlank(line[i + 1]) || line[i + 1] == '#')) break;
    size_t end = i;
    if (line[i] == '"') {
      for (++end; end < line.size() && line[end] != '"'; ++end)
        if (line[end] == '\\') ++end;
      if (end >= line.size()) throw TDescriptionFailure("unterminated string");
      ++end;
    } else {
      while (end < line.size() && !IsBlank(line[end])) ++end;
    }
    out.push_back(line.substr(i, end - i));
    i = end;
  }
  return out;
}

bool IsNumberWord(const std::string& w) {
  if (w.empty()) return false;
  if (w[0] == '#') return w.size() == 7;
  char* end = nullptr;
  std::strtoll(w.c_str(), &end, 0);
  return end && *end == '\0';
}

long NumberOf(const std::string& w) { return std::strtol(w.c_str(), nullptr, 0); }
