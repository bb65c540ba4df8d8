// Hidden link markup of RTF documents. In the visible text an author writes
// "\BEGIN_TSLPARM", the words the reader clicks, then "\TSLPARM={command}".
// Stripping deletes the marker and the block and keeps, per link, the
// command with the character range of the link words. It works on the
// control's plain text through TMarkupText, so the same pass runs over the
// rich-edit control and over a string in tests. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One link: the clickable words are the characters Start - 1 up to, not
// including, End (Start is one past the marker's old place).
struct TFindBookM {
  std::string Command;
  int32_t Start = 0;
  int32_t End = 0;
  bool operator==(const TFindBookM& o) const { return Command == o.Command && Start == o.Start && End == o.End; }
};
using TBookmarkList = std::vector<TFindBookM>;

constexpr char kLinkMarker[] = "\\BEGIN_TSLPARM";
constexpr char kLinkBlockOpen[] = "\\TSLPARM={";
// A command holds at most this many characters; the rest is cut.
constexpr size_t kMaxLinkCommand = 507;

// The plain text of a document, as the stripping pass edits it.
class TMarkupText {
public:
  virtual ~TMarkupText() = default;
  // First position of `what` at or after `from`, ignoring case; -1 when none.
  virtual int32_t Find(const char* what, int32_t from) = 0;
  virtual std::string Range(int32_t from, int32_t to) = 0;
  virtual void Delete(int32_t from, int32_t to) = 0;
};

// Strips every complete marker-and-block pair, in document order, and
// appends a bookmark per link. A block without its own marker stays, and
// so does everything after the first pair that cannot be completed.
void StripLinkMarkup(TMarkupText& text, TBookmarkList& bookmarks);

// The index of the first bookmark whose words hold character `c`; -1.
int FindLinkAt(const TBookmarkList& bookmarks, int32_t c);

// TMarkupText over a string (tests, fuzzing).
class TStringMarkupText : public TMarkupText {
public:
  explicit TStringMarkupText(std::string text) : Text(std::move(text)) {}
  int32_t Find(const char* what, int32_t from) override;
  std::string Range(int32_t from, int32_t to) override;
  void Delete(int32_t from, int32_t to) override;
  std::string Text;
};
