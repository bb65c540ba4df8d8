// Wrapping and paginating hostile text: every line is no wider than the
// page unless it is one character, the lines hold the text's characters in
// order, their count is bounded by the text's length, and pagination ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/core/printlayout.h"
#include "actions/core/tslprintlayout.h"

namespace {
// Characters are as wide as their code modulo 23 (zero-width ones
// included); a tab 40.
double Measure(const char* p, size_t n) {
  double w = 0;
  for (size_t i = 0; i < n; ++i) w += p[i] == '\t' ? 40 : static_cast<unsigned char>(p[i]) % 23;
  return w;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const double width = static_cast<int8_t>(data[0]);
  const double lineHeight = data[1] % 40;
  const bool tabsAsBlanks = data[2] & 1;
  const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
  size_t measured = 0;
  auto measure = [&](const char* p, size_t n) {
    ++measured;
    return Measure(p, n);
  };
  const std::vector<std::string> lines = WrapText(text, width, measure, tabsAsBlanks);
  size_t feeds = 0;
  for (char c : text) feeds += c == '\n';
  if (lines.size() > text.size() + 1) std::abort();
  if (measured > 64 * (text.size() + 1)) std::abort();
  std::string kept, wanted;
  for (const std::string& l : lines) {
    if (l.empty()) std::abort();
    if (l.size() > 1 && Measure(l.data(), l.size()) > width) std::abort();
    for (char c : l) kept += c == '\t' && tabsAsBlanks ? ' ' : c;
  }
  for (char c : text)
    if (c != '\r' && c != '\n') wanted += c == '\t' && tabsAsBlanks ? ' ' : c;
  // Blanks are dropped where lines wrap, and empty lines become one blank:
  // the other characters stay in order.
  std::string a, b;
  for (char c : kept)
    if (c != ' ') a += c;
  for (char c : wanted)
    if (c != ' ') b += c;
  if (a != b || feeds > lines.size() + 1) std::abort();
  size_t pages = 0;
  for (size_t i = 0; i < lines.size(); i = NextPageStart(i, lines.size(), lineHeight, 100)) {
    if (++pages > lines.size()) std::abort();
  }
  TTslLineSplitter splitter;
  size_t pieces = 0, chars = 0;
  auto add = [&](const std::string& l) {
    if (l.size() > kTslLinePiece) std::abort();
    ++pieces;
    chars += l.size();
  };
  splitter.Feed(text.data(), text.size(), add);
  splitter.Finish(add);
  if (pieces > text.size() + 1) std::abort();
  return 0;
}
