#include "objects/core/linkmarkup.h"

#include <algorithm>
#include <cctype>
#include <cstring>

void StripLinkMarkup(TMarkupText& text, TBookmarkList& bookmarks) {
  const int32_t markerLength = static_cast<int32_t>(std::strlen(kLinkMarker));
  const int32_t openLength = static_cast<int32_t>(std::strlen(kLinkBlockOpen));
  int32_t from = 0;
  for (;;) {
    const int32_t p = text.Find(kLinkMarker, from);
    if (p < 0) break;
    text.Delete(p, p + markerLength);
    const int32_t q = text.Find(kLinkBlockOpen, p);
    if (q < 0) break;
    const int32_t r = text.Find("}", q + openLength);
    if (r < 0) break;
    std::string command = text.Range(q + openLength, r);
    if (command.size() > kMaxLinkCommand) command.resize(kMaxLinkCommand);
    bookmarks.push_back(TFindBookM{std::move(command), p + 1, q});
    text.Delete(q, r + 1);
    from = p;
  }
}

int FindLinkAt(const TBookmarkList& bookmarks, int32_t c) {
  for (size_t i = 0; i < bookmarks.size(); ++i)
    if (bookmarks[i].Start <= c && c < bookmarks[i].End) return static_cast<int>(i);
  return -1;
}

int32_t TStringMarkupText::Find(const char* what, int32_t from) {
  if (from < 0 || static_cast<size_t>(from) > Text.size()) return -1;
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  const auto at = std::search(Text.begin() + from, Text.end(), what, what + std::strlen(what), same);
  return at == Text.end() ? -1 : static_cast<int32_t>(at - Text.begin());
}

std::string TStringMarkupText::Range(int32_t from, int32_t to) {
  const size_t size = Text.size();
  const size_t a = std::min(static_cast<size_t>(std::max(from, 0)), size);
  const size_t b = std::min(static_cast<size_t>(std::max(to, 0)), size);
  return a < b ? Text.substr(a, b - a) : std::string();
}

void TStringMarkupText::Delete(int32_t from, int32_t to) {
  const size_t size = Text.size();
  const size_t a = std::min(static_cast<size_t>(std::max(from, 0)), size);
  const size_t b = std::min(static_cast<size_t>(std::max(to, 0)), size);
  if (a < b) Text.erase(a, b - a);
}
