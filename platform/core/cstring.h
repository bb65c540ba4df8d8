// The class library's string: value semantics, upper/lower-casing in place,
// stripping, substring search, and one process-wide switch that makes
// comparisons and searches case-insensitive (the search dialogs turn it on
// while they compare words). Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace tsl {

class string {
public:
  enum StripType { Leading = 0, Trailing = 1, Both = 2 };
  static const size_t NPOS = static_cast<size_t>(-1);

  string() = default;
  string(const char* s) : s_(s ? s : "") {}
  string(const char* s, size_t n) : s_(s ? std::string(s, n) : std::string()) {}
  string(char c) : s_(1, c) {}
  string(size_t count, char c) : s_(count, c) {}
  string(const std::string& s) : s_(s) {}
  string(std::string&& s) : s_(std::move(s)) {}

  const char* c_str() const { return s_.c_str(); }
  size_t length() const { return s_.size(); }
  bool is_null() const { return s_.empty(); }
  const std::string& str() const { return s_; }
  std::string& str() { return s_; }

  char& operator[](size_t i) { return s_[i]; }
  char operator[](size_t i) const { return s_[i]; }

  string& to_upper();
  string& to_lower();
  // A copy without `c` at the chosen ends.
  string strip(StripType st = Trailing, char c = ' ') const;
  // Substring of `n` characters from `pos` (clamped to the string).
  string substr(size_t pos, size_t n = NPOS) const;
  string operator()(size_t pos, size_t n) const { return substr(pos, n); }

  // Searches honour the process-wide case mode.
  size_t find(const string& what, size_t pos = 0) const;
  size_t find_first_of(const char* set, size_t pos = 0) const { return npos(s_.find_first_of(set, pos)); }
  size_t find_last_of(const char* set) const { return npos(s_.find_last_of(set)); }
  bool contains(const char* what) const { return find(string(what)) != NPOS; }
  bool contains(const string& what) const { return find(what) != NPOS; }

  string& append(const string& o) { s_ += o.s_; return *this; }
  string& append(const char* s, size_t n) { s_.append(s, n); return *this; }
  string& prepend(const string& o) { s_.insert(0, o.s_); return *this; }
  string& insert(size_t pos, const string& o) { s_.insert(pos < s_.size() ? pos : s_.size(), o.s_); return *this; }
  string& remove(size_t pos, size_t n = NPOS);
  string& replace(size_t pos, size_t n, const string& with);
  void resize(size_t n) { s_.resize(n); }

  string& operator+=(const string& o) { s_ += o.s_; return *this; }
  string& operator+=(const char* o) { if (o) s_ += o; return *this; }
  string& operator+=(char c) { s_ += c; return *this; }

  // <0, 0, >0; case-sensitive unless the process-wide mode says otherwise.
  int compare(const string& o) const;

  // Process-wide case mode: 1 = case-sensitive (the default), 0 = not.
  static int set_case_sensitive(int on);
  static bool is_case_sensitive();

private:
  static size_t npos(std::string::size_type p) { return p == std::string::npos ? NPOS : p; }
  std::string s_;
};

inline string operator+(const string& a, const string& b) { string r(a); r += b; return r; }
inline string operator+(const string& a, const char* b) { string r(a); r += b; return r; }
inline string operator+(const char* a, const string& b) { string r(a); r += b; return r; }
inline string operator+(const string& a, char b) { string r(a); r += b; return r; }
inline bool operator==(const string& a, const string& b) { return a.compare(b) == 0; }
inline bool operator!=(const string& a, const string& b) { return a.compare(b) != 0; }
inline bool operator<(const string& a, const string& b) { return a.compare(b) < 0; }
inline bool operator>(const string& a, const string& b) { return a.compare(b) > 0; }
inline bool operator<=(const string& a, const string& b) { return a.compare(b) <= 0; }
inline bool operator>=(const string& a, const string& b) { return a.compare(b) >= 0; }
std::ostream& operator<<(std::ostream& os, const string& s);

// Switches the case-insensitive mode on for a scope and restores it after.
class CaseInsensitiveScope {
public:
  CaseInsensitiveScope() : old_(string::set_case_sensitive(0)) {}
  ~CaseInsensitiveScope() { string::set_case_sensitive(old_); }
  CaseInsensitiveScope(const CaseInsensitiveScope&) = delete;
  CaseInsensitiveScope& operator=(const CaseInsensitiveScope&) = delete;
private:
  int old_;
};

// Upper/lower case of one ANSI (code page 1252) byte, as the Windows ANSI
// case mapping does it: ASCII letters plus the accented Latin-1 letters.
unsigned char AnsiToUpper(unsigned char c);
unsigned char AnsiToLower(unsigned char c);

}  // namespace tsl

using tsl::string;
