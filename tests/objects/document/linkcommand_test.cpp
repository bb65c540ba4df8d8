#include "objects/core/linkcommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeHost : public TLinkHost {
public:
  std::string DocumentName() override { return Shown; }
  void ShowDocument(const std::string& name) override {
    Shown = name;
    Log.push_back("show " + name);
  }
  void RecordNavigationStep(const std::string& previous) override { Log.push_back("step " + previous); }
  void ShowHistoryMessage(int id) override { Log.push_back("message " + std::to_string(id)); }
  bool HasProject() override { return Project; }
  const std::vector<std::string>& PageNames() override { return Pages; }
  void PostPageChange(int kind, int page, int32_t record) override {
    Log.push_back("post " + std::to_string(kind) + " " + std::to_string(page) + " " + std::to_string(record));
  }
  void OpenUrl(const std::string& target) override { Log.push_back("open " + target); }
  void GotoDbRecord(int32_t record) override { Log.push_back("record " + std::to_string(record)); }

  std::string Shown = "eins.rtf";
  bool Project = true;
  std::vector<std::string> Pages = {"Start", "Seite Zwei", "Zweite Seite", "Dokumente"};
  std::vector<std::string> Log;
};

TEST(LinkCommand, KeywordsValuesAndPages) {
  using L = std::vector<std::string>;
  const struct {
    const char* what;
    std::string command;
    L log;
  } cases[] = {
      {"page by part of its name, any case, first in page order wins", "gotopage=zWEI", {"post 8 1 -1"}},
      {"combined form with blanks around both pieces", "GOTOPAGE_GOTODBREC= Dokumente ,  42 ", {"post 14 3 42"}},
      {"combined form with one piece does nothing", "GOTOPAGE_GOTODBREC=Dokumente", {}},
      {"combined form with an empty last piece is one piece", "GOTOPAGE_GOTODBREC=Dokumente,", {}},
      {"combined form with three pieces does nothing", "GOTOPAGE_GOTODBREC=a,1,2", {}},
      {"combined form, record without digits is 0", "GOTOPAGE_GOTODBREC=Start,x", {"post 14 0 0"}},
      {"a page that no name contains", "GOTOPAGE=Nirgends", {}},
      {"LOADRTF takes the whole rest, other keywords included", "LOADRTF=zwei.rtf GOTOPAGE=Start",
       {"step eins.rtf", "show zwei.rtf GOTOPAGE=Start"}},
      {"value kept unchanged after the keyword", "x OPENURL= http://a/ ", {"open  http://a/ "}},
      {"database record, signed", "GOTODBREC=  -7", {"record -7"}},
      {"no keyword", "Hallo", {}},
      {"keyword order: LOADRTF before GOTOPAGE", "GOTOPAGE=Start LOADRTF=b.rtf",
       {"step eins.rtf", "show b.rtf"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHost host;
    TDocumentHistory history;
    ExecuteLinkCommand(c.command, history, host);
    EXPECT_EQ(host.Log, c.log);
  }
}

TEST(LinkCommand, PageChangeNeedsAProject) {
  FakeHost host;
  host.Project = false;
  TDocumentHistory history;
  ExecuteLinkCommand("GOTOPAGE=Start", history, host);
  ExecuteLinkCommand("GOTODBREC=3", history, host);
  EXPECT_TRUE(host.Log.empty());
}

TEST(LinkCommand, HistoryOfOneTwoThree) {
  FakeHost host;
  TDocumentHistory h;
  ExecuteLinkCommand("LOADRTF=zwei.rtf", h, host);
  EXPECT_EQ(h.Names, (std::vector<std::string>{"eins.rtf", "zwei.rtf"}));
  EXPECT_EQ(h.Index, 1);
  ExecuteLinkCommand("NAVIGATE=BACK", h, host);
  EXPECT_EQ(h.Index, 0);
  EXPECT_EQ(host.Shown, "eins.rtf");
  ExecuteLinkCommand("LOADRTF=drei.rtf", h, host);
  EXPECT_EQ(h.Names, (std::vector<std::string>{"eins.rtf", "drei.rtf", "zwei.rtf"}));
  EXPECT_EQ(h.Index, 1);
  EXPECT_EQ(host.Shown, "drei.rtf");
  ExecuteLinkCommand("NAVIGATE=FORWARD", h, host);
  EXPECT_EQ(host.Shown, "zwei.rtf");
  EXPECT_EQ(host.Log, (std::vector<std::string>{"step eins.rtf", "show zwei.rtf", "step zwei.rtf", "show eins.rtf",
                                                "step eins.rtf", "show drei.rtf", "step drei.rtf", "show zwei.rtf"}));
}

TEST(LinkCommand, HistoryEndsShowTheirMessageAndChangeNothing) {
  using L = std::vector<std::string>;
  const struct {
    const char* what;
    std::vector<std::string> commands;
    L tail;  // the log after the commands
    int32_t index;
  } cases[] = {
      {"back before any LOADRTF", {"NAVIGATE=BACK"}, {"message 2163"}, -1},
      {"back at index 0", {"LOADRTF=zwei.rtf", "navigate=back", "NAVIGATE=BACK"},
       {"step eins.rtf", "show zwei.rtf", "step zwei.rtf", "show eins.rtf", "message 2163"}, 0},
      {"forward at the last entry", {"LOADRTF=zwei.rtf", "NAVIGATE=FORWARD"},
       {"step eins.rtf", "show zwei.rtf", "message 2164"}, 1},
      {"back and forward in one value: back, then forward", {"LOADRTF=zwei.rtf", "NAVIGATE=BACKFORWARD"},
       {"step eins.rtf", "show zwei.rtf", "step zwei.rtf", "show eins.rtf", "step eins.rtf", "show zwei.rtf"}, 1},
      {"a failed back stops the forward too", {"NAVIGATE=BACK,FORWARD"}, {"message 2163"}, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHost host;
    TDocumentHistory h;
    for (const std::string& command : c.commands) ExecuteLinkCommand(command, h, host);
    EXPECT_EQ(host.Log, c.tail);
    EXPECT_EQ(h.Index, c.index);
  }
}

TEST(LinkCommand, NumbersReadLikeAtol) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"12", 12}, {"  +5x", 5}, {"-3", -3}, {"", 0}, {"abc", 0}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
  for (const auto& c : cases) EXPECT_EQ(LinkNumber(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
