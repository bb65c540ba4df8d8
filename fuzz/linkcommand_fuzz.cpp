// Link commands and link markup on hostile text: the parser, the history
// walk and the markup stripping never read outside their strings, and every
// bookmark's range is ordered. (A marker inside an earlier link's words
// shortens the text behind that link's stored end; the hit test only compares.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "objects/core/linkcommand.h"
#include "objects/core/linkmarkup.h"

namespace {
class Host : public TLinkHost {
public:
  std::string DocumentName() override { return Shown; }
  void ShowDocument(const std::string& name) override { Shown = name; }
  void RecordNavigationStep(const std::string&) override {}
  void ShowHistoryMessage(int) override {}
  bool HasProject() override { return true; }
  const std::vector<std::string>& PageNames() override { return Pages; }
  void PostPageChange(int, int page, int32_t) override {
    if (page < 0 || page >= static_cast<int>(Pages.size())) std::abort();
  }
  void OpenUrl(const std::string&) override {}
  void GotoDbRecord(int32_t) override {}
  std::string Shown = "a.rtf";
  std::vector<std::string> Pages = {"Start", "Zwei", ""};
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Host host;
  TDocumentHistory history;
  // Each line is one command, run in turn on one history.
  size_t from = 0;
  while (from <= text.size()) {
    const size_t end = text.find('\n', from);
    ExecuteLinkCommand(text.substr(from, end == std::string::npos ? std::string::npos : end - from), history, host);
    if (history.Index >= static_cast<int32_t>(history.Names.size())) std::abort();
    if (end == std::string::npos) break;
    from = end + 1;
  }
  TStringMarkupText markup(text);
  TBookmarkList links;
  StripLinkMarkup(markup, links);
  for (const TFindBookM& b : links)
    if (b.Start < 1 || b.End < b.Start - 1 || b.Command.size() > kMaxLinkCommand)
      std::abort();
  return 0;
}
