// The link commands of RTF documents: the text of a link's parameter block
// ("GOTOPAGE=Zwei", "LOADRTF=zwei.rtf", "NAVIGATE=BACK" ...) read and carried
// out over a host, and the document history that LOADRTF and NAVIGATE walk.
// Both document kinds (8 and 15) are hosts. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class TLinkKeyword { None, LoadRtf, GotoPage, OpenUrl, Navigate, GotoDbRecord };

struct TLinkCommand {
  TLinkKeyword Keyword = TLinkKeyword::None;
  // The rest of the command after the keyword, unchanged.
  std::string Value;
  // GotoPage: the page-name part, and the record of the combined form (-1
  // without it).
  std::string PageName;
  int32_t Record = -1;
  bool WithRecord = false;
  // GotoPage with the combined form: false unless it had exactly two pieces.
  bool Usable = true;
  // Navigate: the value mentions "BACK", "FORWARD" (both may).
  bool Back = false;
  bool Forward = false;
};

// The first keyword found, in the order LOADRTF, GOTOPAGE (or its combined
// form GOTOPAGE_GOTODBREC), OPENURL, NAVIGATE, GOTODBREC, in any case.
TLinkCommand ParseLinkCommand(const std::string& command);
// A decimal number as C's atol reads it: leading blanks, a sign; no digits
// give 0; out of range saturates.
int32_t LinkNumber(const std::string& text);
// The first name that contains `part`, in any case; -1 when none does.
int FindPageByName(const std::vector<std::string>& pageNames, const std::string& part);

// The documents visited through links, and where the reader stands.
class TDocumentHistory {
public:
  // LOADRTF from `current` to `next`: the first step records both; later
  // steps insert behind the current entry and never remove any.
  void Load(const std::string& current, const std::string& next);
  // One step; false at the start or the end, where nothing changes.
  bool Back();
  bool Forward();
  const std::string& Current() const { return Names[static_cast<size_t>(Index)]; }

  std::vector<std::string> Names;
  int32_t Index = -1;  // -1: no link navigation yet
};

// Page-change kinds of the timed messages that a link posts.
constexpr int kLinkPageChange = 8;
constexpr int kLinkPageChangeWithRecord = 14;
// String ids of the history's end messages.
constexpr int kIdsHistoryStart = 2163;  // "Der Anfang der Dokumentenliste wurde erreicht!"
constexpr int kIdsHistoryEnd = 2164;    // "Das Ende der Dokumentenliste wurde erreicht!"

// What a document object offers to its link commands.
class TLinkHost {
public:
  virtual ~TLinkHost() = default;
  // The record's file name, as shown now.
  virtual std::string DocumentName() = 0;
  // Loads another document into the object (its SetFileName).
  virtual void ShowDocument(const std::string& name) = 0;
  // A step of the project's back history that brings `previous` back.
  virtual void RecordNavigationStep(const std::string& previous) = 0;
  virtual void ShowHistoryMessage(int stringId) = 0;
  // False without an open project.
  virtual bool HasProject() = 0;
  // The project's page names in page order (built once per run).
  virtual const std::vector<std::string>& PageNames() = 0;
  virtual void PostPageChange(int kind, int pageIndex, int32_t record) = 0;
  virtual void OpenUrl(const std::string& target) = 0;
  virtual void GotoDbRecord(int32_t record) = 0;
};

void ExecuteLinkCommand(const std::string& command, TDocumentHistory& history, TLinkHost& host);
