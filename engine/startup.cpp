#include "engine/startup.h"

#include <cstring>
#include <string>

#include "foundation/resstring.h"
#include "resources/ids_foundation.h"

string LocalRuntimeDir;

namespace {
string g_title;
bool g_titleSet = false;

std::string Trim(const std::string& s, char c) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == c) ++b;
  while (e > b && s[e - 1] == c) --e;
  return s.substr(b, e - b);
}
}  // namespace

const char* ProgramTitle() {
  if (!g_titleSet) {
    g_title = LoadResString(IDS_PROGRAM_TITLE).c_str();
    g_titleSet = true;
  }
  return g_title.c_str();
}

void SetProgramTitle(const char* title) {
  g_title = title ? title : "";
  g_titleSet = true;
}

string SelectByColourDepth(const char* text, int bitsPerPixel) {
  if (!text) return string();
  std::string first, second;
  bool comma = false;
  for (const char* p = text; *p; ++p) {
    if (*p == ',') {
      comma = true;
      continue;
    }
    (comma ? second : first) += *p;
  }
  first = Trim(first, ' ');
  second = Trim(second, ' ');
  if (!first.empty() && !second.empty()) return string((bitsPerPixel <= 8 ? first : second).c_str());
  if (!first.empty()) return string(first.c_str());
  return string(second.c_str());
}

string MapToRuntimeRoot(const string& path, const string& programDir) {
  std::string prefix;
  const std::string local = LocalRuntimeDir.c_str();
  if (!local.empty()) {
    prefix = "..\\";
    for (char c : local)
      if (c == '\\') prefix += "..\\";
  }
  const std::string p = path.c_str();
  std::string rest;
  const size_t at = p.find(":\\");
  if (at != std::string::npos) rest = p.size() > at + 2 ? p.substr(at + 2) : p;
  else rest = p.substr(p.find_first_not_of('\\') == std::string::npos ? p.size() : p.find_first_not_of('\\'));
  return string((std::string(programDir.c_str()) + prefix + rest).c_str());
}

string ResolveAutostartFile(const string& value, const string& programDir, bool (*exists)(const char*)) {
  std::string v = Trim(value.c_str(), ' ');
  const std::string dir = programDir.c_str();
  if (v.empty()) return string();
  const bool shareDir = dir.compare(0, 2, "\\\\") == 0;
  if (v.compare(0, 2, "\\\\") == 0) return string(v.c_str());
  if (v.size() > 1 && v.find(":\\") != std::string::npos) {
    if (shareDir) return MapToRuntimeRoot(string(v.c_str()), programDir);
    if (!dir.empty()) v[0] = dir[0];
    return string(v.c_str());
  }
  if (v.size() > 1) v = v.substr(std::min(v.find_first_not_of('\\'), v.size()));
  const std::string beside = dir + v;
  if (exists(beside.c_str())) return string(beside.c_str());
  if (!shareDir && !dir.empty()) {
    const std::string root = std::string(1, dir[0]) + ":\\" + v;
    if (exists(root.c_str())) return string(root.c_str());
  } else if (shareDir) {
    const string mapped = MapToRuntimeRoot(string(v.c_str()), programDir);
    if (exists(mapped.c_str())) return mapped;
  }
  return string(beside.c_str());
}
