#include "objects/core/linkcommand.h"

#include <cctype>
#include <climits>

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Where the value after `keyword` starts, or npos.
size_t ValueAfter(const std::string& upper, const char* keyword) {
  const size_t at = upper.find(keyword);
  return at == std::string::npos ? at : at + std::char_traits<char>::length(keyword);
}

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> CommaPieces(const std::string& value) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (;;) {
    const size_t comma = value.find(',', from);
    pieces.push_back(Trimmed(value.substr(from, comma == std::string::npos ? std::string::npos : comma - from)));
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  return pieces;
}

}  // namespace

int32_t LinkNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t v = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<int64_t>(INT32_MAX) + 1) v = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) v = INT32_MAX;
  return static_cast<int32_t>(v);
}

TLinkCommand ParseLinkCommand(const std::string& command) {
  TLinkCommand c;
  const std::string upper = Upper(command);
  size_t at;
  if ((at = ValueAfter(upper, "LOADRTF=")) != std::string::npos) {
    c.Keyword = TLinkKeyword::LoadRtf;
  } else if ((at = ValueAfter(upper, "GOTOPAGE=")) != std::string::npos ||
             (at = ValueAfter(upper, "GOTOPAGE_GOTODBREC=")) != std::string::npos) {
    c.Keyword = TLinkKeyword::GotoPage;
    c.PageName = command.substr(at);
    const size_t combined = ValueAfter(upper, "GOTOPAGE_GOTODBREC=");
    if (combined != std::string::npos) {
      c.WithRecord = true;
      const std::vector<std::string> pieces = CommaPieces(command.substr(combined));
      c.Usable = pieces.size() == 2;
      if (c.Usable) {
        c.PageName = pieces[0];
        c.Record = LinkNumber(pieces[1]);
      }
    }
  } else if ((at = ValueAfter(upper, "OPENURL=")) != std::string::npos) {
    c.Keyword = TLinkKeyword::OpenUrl;
  } else if ((at = ValueAfter(upper, "NAVIGATE=")) != std::string::npos) {
    c.Keyword = TLinkKeyword::Navigate;
    const std::string value = upper.substr(at);
    c.Back = value.find("BACK") != std::string::npos;
    c.Forward = value.find("FORWARD") != std::string::npos;
  } else if ((at = ValueAfter(upper, "GOTODBREC=")) != std::string::npos) {
    c.Keyword = TLinkKeyword::GotoDbRecord;
    c.Record = LinkNumber(command.substr(at));
  } else {
    return c;
  }
  c.Value = command.substr(at);
  return c;
}

int FindPageByName(const std::vector<std::string>& pageNames, const std::string& part) {
  const std::string wanted = Upper(part);
  for (size_t i = 0; i < pageNames.size(); ++i)
    if (Upper(pageNames[i]).find(wanted) != std::string::npos) return static_cast<int>(i);
  return -1;
}

void TDocumentHistory::Load(const std::string& current, const std::string& next) {
  if (Index == -1) {
    Names.push_back(current);
    Names.push_back(next);
    Index = 1;
  } else {
    Names.insert(Names.begin() + (Index + 1), next);
    ++Index;
  }
  if (Index > static_cast<int32_t>(Names.size()) - 1) Index = static_cast<int32_t>(Names.size()) - 1;
}

bool TDocumentHistory::Back() {
  if (Index < 1 || Names.empty()) return false;
  --Index;
  return true;
}

bool TDocumentHistory::Forward() {
  if (static_cast<int32_t>(Names.size()) - 1 < Index + 1) return false;
  ++Index;
  return true;
}

void ExecuteLinkCommand(const std::string& command, TDocumentHistory& history, TLinkHost& host) {
  const TLinkCommand c = ParseLinkCommand(command);
  switch (c.Keyword) {
    case TLinkKeyword::None:
      return;
    case TLinkKeyword::LoadRtf: {
      const std::string previous = host.DocumentName();
      history.Load(previous, c.Value);
      host.RecordNavigationStep(previous);
      host.ShowDocument(c.Value);
      return;
    }
    case TLinkKeyword::GotoPage: {
      if (!c.Usable || !host.HasProject()) return;
      const int page = FindPageByName(host.PageNames(), c.PageName);
      if (page < 0) return;
      host.PostPageChange(c.WithRecord ? kLinkPageChangeWithRecord : kLinkPageChange, page, c.Record);
      return;
    }
    case TLinkKeyword::OpenUrl:
      host.OpenUrl(c.Value);
      return;
    case TLinkKeyword::Navigate: {
      auto step = [&](bool back) {
        if (!(back ? history.Back() : history.Forward())) {
          host.ShowHistoryMessage(back ? kIdsHistoryStart : kIdsHistoryEnd);
          return false;
        }
        const std::string previous = host.DocumentName();
        host.RecordNavigationStep(previous);
        host.ShowDocument(history.Current());
        return true;
      };
      if (c.Back && !step(true)) return;
      if (c.Forward) step(false);
      return;
    }
    case TLinkKeyword::GotoDbRecord:
      if (host.HasProject()) host.GotoDbRecord(c.Record);
      return;
  }
}
