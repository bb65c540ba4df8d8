#include "platform/core/cstring.h"

#include <algorithm>
#include <atomic>
#include <ostream>

namespace tsl {

namespace {
std::atomic<int> g_caseSensitive{1};

int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = AnsiToUpper(static_cast<unsigned char>(a[i]));
    const unsigned char y = AnsiToUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
}  // namespace

unsigned char AnsiToUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  // Latin-1 lower-case letters 0xE0-0xFE except the division sign 0xF7.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

unsigned char AnsiToLower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

int string::set_case_sensitive(int on) { return g_caseSensitive.exchange(on ? 1 : 0); }
bool string::is_case_sensitive() { return g_caseSensitive.load() != 0; }

string& string::to_upper() {
  for (auto& c : s_) c = static_cast<char>(AnsiToUpper(static_cast<unsigned char>(c)));
  return *this;
}

string& string::to_lower() {
  for (auto& c : s_) c = static_cast<char>(AnsiToLower(static_cast<unsigned char>(c)));
  return *this;
}

string string::strip(StripType st, char c) const {
  size_t b = 0, e = s_.size();
  if (st == Leading || st == Both)
    while (b < e && s_[b] == c) ++b;
  if (st == Trailing || st == Both)
    while (e > b && s_[e - 1] == c) --e;
  return string(s_.substr(b, e - b));
}

string string::substr(size_t pos, size_t n) const {
  if (pos >= s_.size()) return string();
  return string(s_.substr(pos, n));
}

size_t string::find(const string& what, size_t pos) const {
  if (is_case_sensitive()) return npos(s_.find(what.s_, pos));
  string a(*this), b(what);
  a.to_upper();
  b.to_upper();
  return npos(a.s_.find(b.s_, pos));
}

string& string::remove(size_t pos, size_t n) {
  if (pos < s_.size()) s_.erase(pos, n);
  return *this;
}

string& string::replace(size_t pos, size_t n, const string& with) {
  if (pos > s_.size()) pos = s_.size();
  s_.replace(pos, n, with.s_);
  return *this;
}

int string::compare(const string& o) const {
  if (!is_case_sensitive()) return CompareNoCase(s_, o.s_);
  const int r = s_.compare(o.s_);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::ostream& operator<<(std::ostream& os, const string& s) { return os << s.str(); }

}  // namespace tsl
