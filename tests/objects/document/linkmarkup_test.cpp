#include "objects/core/linkmarkup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct StripCase {
  const char* what;
  std::string source;
  std::string visible;
  TBookmarkList bookmarks;
};

TEST(LinkMarkup, StripsMarkersAndBlocksIntoBookmarks) {
  const std::string goto2 = "GOTOPAGE=Zwei";
  const StripCase cases[] = {
      {"a marker at 10, a six-letter word and a block",
       "Vorne bis \\BEGIN_TSLPARMSeite2\\TSLPARM={GOTOPAGE=Zwei} hinten",
       "Vorne bis Seite2 hinten",
       {{goto2, 11, 16}}},
      {"two links in a row, document order",
       "\\BEGIN_TSLPARMeins\\TSLPARM={LOADRTF=a.rtf}\\begin_tslparmzwei\\tslparm={NAVIGATE=BACK}.",
       "einszwei.",
       {{"LOADRTF=a.rtf", 1, 4}, {"NAVIGATE=BACK", 5, 8}}},
      {"a second block without its own marker stays",
       "\\BEGIN_TSLPARMa\\TSLPARM={X=1} b\\TSLPARM={Y=2}",
       "a b\\TSLPARM={Y=2}",
       {{"X=1", 1, 1}}},
      {"a } inside the command ends it; the rest stays visible",
       "\\BEGIN_TSLPARMlink\\TSLPARM={OPENURL=a}b} Ende",
       "linkb} Ende",
       {{"OPENURL=a", 1, 4}}},
      {"a marker without a block is removed and stripping stops",
       "x\\BEGIN_TSLPARMy and \\BEGIN_TSLPARM z",
       "xy and \\BEGIN_TSLPARM z",
       {}},
      {"a block without its closing brace stops stripping",
       "\\BEGIN_TSLPARMw\\TSLPARM={GOTOPAGE=Zwei",
       "w\\TSLPARM={GOTOPAGE=Zwei",
       {}},
      {"a block before any marker stays", "\\TSLPARM={GOTOPAGE=Zwei} text", "\\TSLPARM={GOTOPAGE=Zwei} text", {}},
      {"an empty command", "\\BEGIN_TSLPARMw\\TSLPARM={}", "w", {{"", 1, 1}}},
      {"no markup", "Nur Text", "Nur Text", {}},
  };
  for (const StripCase& c : cases) {
    SCOPED_TRACE(c.what);
    TStringMarkupText text(c.source);
    TBookmarkList found;
    StripLinkMarkup(text, found);
    EXPECT_EQ(text.Text, c.visible);
    ASSERT_EQ(found.size(), c.bookmarks.size());
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].Command, c.bookmarks[i].Command) << "link " << i;
      EXPECT_EQ(found[i].Start, c.bookmarks[i].Start) << "link " << i;
      EXPECT_EQ(found[i].End, c.bookmarks[i].End) << "link " << i;
    }
  }
}

TEST(LinkMarkup, LongCommandIsCutAt507Characters) {
  const std::string command(600, 'c');
  TStringMarkupText text("\\BEGIN_TSLPARMw\\TSLPARM={" + command + "}!");
  TBookmarkList found;
  StripLinkMarkup(text, found);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Command, command.substr(0, kMaxLinkCommand));
  EXPECT_EQ(text.Text, "w!");
}

TEST(LinkMarkup, HitTestTakesTheFirstRangeHoldingTheCharacter) {
  const TBookmarkList links = {{"a", 11, 16}, {"b", 20, 25}};
  const struct {
    int32_t c;
    int expected;
  } cases[] = {{10, -1}, {11, 0}, {15, 0}, {16, -1}, {19, -1}, {20, 1}, {24, 1}, {25, -1}, {-1, -1}};
  for (const auto& c : cases) EXPECT_EQ(FindLinkAt(links, c.c), c.expected) << "character " << c.c;
}

}  // namespace
