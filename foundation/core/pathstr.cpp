#include "foundation/core/pathstr.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/core/rtlcore.h"

namespace {
tsl::PathParts Split(const string& path) {
  tsl::PathParts p;
  tsl::fnsplit(path.c_str(), p);
  return p;
}

std::string Lower(const char* s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(tsl::AnsiToLower(static_cast<unsigned char>(c)));
  return r;
}

bool EqualNoCase(const char* a, const char* b) { return a && b && Lower(a) == Lower(b); }

// The code-page-1252 lower case of every byte, so that a search compares
// without building lower-cased copies.
struct LowerTable {
  unsigned char map[256];
  LowerTable() {
    for (int c = 0; c < 256; ++c) map[c] = tsl::AnsiToLower(static_cast<unsigned char>(c));
  }
};
const LowerTable& Folded() {
  static const LowerTable table;
  return table;
}
}  // namespace

void ReplaceExtension(const string& path, string& out, const string& extension) {
  if (path.is_null() || extension.is_null()) return;
  const tsl::PathParts p = Split(path);
  out = string(p.drive + p.dir + p.name) + extension;
}

bool ExtractFileName(const string& path, string& out) {
  if (path.is_null()) return false;
  const tsl::PathParts p = Split(path);
  if (p.name.empty()) return false;
  out = string(p.name + p.ext);
  return true;
}

bool GetPathDriveDir(const string& path, string& out) {
  if (path.is_null()) return false;
  const tsl::PathParts p = Split(path);
  if (p.drive.empty()) return false;
  out = string(p.drive + p.dir);
  return true;
}

bool GetPathDirectory(const string& path, string& out, bool whole) {
  if (path.is_null()) return false;
  const std::string& s = path.str();
  if (s.compare(0, 2, "\\\\") == 0) {
    string r;
    if (whole) {
      r = path;
    } else {
      const size_t last = s.rfind('\\');
      r = string(s.substr(0, last));
    }
    AddTrailingBackslash(r);
    out = r;
    return true;
  }
  return GetPathDriveDir(path, out);
}

bool GetPathExtension(const string& path, string& out, bool withDot) {
  if (path.is_null()) return false;
  const tsl::PathParts p = Split(path);
  if (p.ext.empty()) return false;
  out = string(withDot ? p.ext : p.ext.substr(1));
  return true;
}

bool GetPathWithoutExtension(const string& path, string& out) {
  if (path.is_null()) return false;
  const tsl::PathParts p = Split(path);
  if (p.drive.empty()) return false;
  out = string(p.drive + p.dir + p.name);
  return true;
}

void AddTrailingBackslash(string& s) {
  if (s.is_null()) return;
  std::string& r = s.str();
  while (!r.empty() && r.back() == '\\') r.pop_back();
  r += '\\';
}

bool MakeRelativeDirPath(string& s) {
  s = s.strip(string::Both);
  if (s.is_null()) return false;
  std::string& r = s.str();
  if (r.back() != '\\') r += '\\';
  if (r.front() == '\\') r.erase(0, 1);
  return true;
}

bool ContainsNoCase(const char* text, const char* part) {
  if (!text || !part) return false;
  return Lower(text).find(Lower(part)) != std::string::npos;
}

bool IsExecutableFile(const char* name) {
  for (const char* ext : {".exe", ".pif", ".bat", ".com"})
    if (ContainsNoCase(name, ext)) return true;
  return false;
}

bool IsQuickTimeFile(const char* name) { return ContainsNoCase(name, ".mov") || ContainsNoCase(name, ".qt"); }

bool IsUrlAddress(const char* text) {
  if (!text) return false;
  if (std::strstr(text, "://")) return true;
  return std::strstr(text, ":\\") == nullptr;
}

bool IsPictureExtension(const char* extension) {
  for (const char* ext : {".bmp", ".gif", ".pcd", ".pcx", ".tga", ".tif", ".jpg", ".wmf"})
    if (EqualNoCase(extension, ext)) return true;
  return false;
}

bool IsTextExtension(const char* extension) { return EqualNoCase(extension, ".txt"); }

int32_t FindSubstringPos(const char* text, const char* pattern, bool caseSensitive, int32_t start) {
  if (!text || !pattern || start < 0) return -1;
  const size_t len = std::strlen(text);
  if (static_cast<size_t>(start) > len) return -1;
  size_t at;
  if (caseSensitive) {
    const char* hit = std::strstr(text + start, pattern);
    if (!hit) return -1;
    at = static_cast<size_t>(hit - text);
  } else {
    const unsigned char* fold = Folded().map;
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    const auto* p = reinterpret_cast<const unsigned char*>(pattern);
    const size_t plen = std::strlen(pattern);
    if (plen > len - start) return -1;
    if (plen == 0) return start;
    const unsigned char first = fold[p[0]];
    size_t i = start;
    for (const size_t last = len - plen; i <= last; ++i) {
      if (fold[t[i]] != first) continue;
      size_t j = 1;
      while (j < plen && fold[t[i + j]] == fold[p[j]]) ++j;
      if (j >= plen) break;
    }
    if (i > len - plen) return -1;
    at = i;
  }
  return at > INT32_MAX ? -1 : static_cast<int32_t>(at);
}

void RemoveChar(const string& source, string& out, char ch) {
  std::string r;
  for (char c : source.str())
    if (c != ch) r += c;
  out = string(std::move(r));
}

void ReplaceChar(const string& source, string& out, char from, char to) {
  std::string r(source.str());
  for (char& c : r)
    if (c == from) c = to;
  out = string(std::move(r));
}

int32_t CountCarriageReturns(const char* text) {
  if (!text) return 0;
  int32_t n = 0;
  for (; *text; ++text)
    if (*text == '\r') ++n;
  return n;
}

void CutAtCarriageReturn(const string& source, string& out) {
  const std::string& s = source.str();
  out = string(s.substr(0, s.find('\r')));
}

void SplitBarFields(const char* source, string* fields, int n) {
  if (!source || !fields || n <= 0) return;
  int current = 0;
  fields[0] = string();
  for (const char* p = source; *p; ++p) {
    if (*p != '|') {
      fields[current] += *p;
      continue;
    }
    if (current + 1 >= n) break;
    fields[++current] = string();
  }
  for (int i = 0; i <= current; ++i) fields[i] = fields[i].strip(string::Both);
}

bool ParseCommandLineFile(const char* commandLine, string& out) {
  out = string();
  if (!commandLine) return false;
  const char* p = commandLine;
  if (*p == '"') {
    p = std::strchr(p + 1, '"');
    if (!p) return false;
    ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  RemoveChar(string(p), out, '"');
  return !out.is_null();
}

void StripAssociationCommand(string& command) {
  std::string& s = command.str();
  size_t cut = s.rfind(" \"%1\"");
  if (cut == std::string::npos) cut = s.rfind(" /dde");
  if (cut == std::string::npos) cut = s.rfind("%1");
  if (cut != std::string::npos) s.erase(cut);
  RemoveChar(command, command, '"');
}

bool CopyOpenFileBytes(tsl::ByteStream& source, tsl::ByteStream& target, int32_t count) {
  if (count < 0) return false;
  const uint32_t kBuffer = 65535, kChunk = 65534;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kBuffer]);
  if (!buffer) return false;
  uint32_t left = static_cast<uint32_t>(count);
  while (left) {
    const uint32_t n = left < kChunk ? left : kChunk;
    if (source.Read(buffer.get(), n) != n) return false;
    if (target.Write(buffer.get(), n) != n) return false;
    left -= n;
  }
  return true;
}
