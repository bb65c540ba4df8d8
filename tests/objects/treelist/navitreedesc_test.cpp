// The fixture statement of the database tree gives the records it names.
#include "tools/core/desc/tsldesc.h"

#include <gtest/gtest.h>

#include "foundation/core/streamenc.h"
#include "objects/core/treelistdata.h"

namespace {

// The record the description gives the first object of page 1.
TTreeListItemDataCore TreeOf(const std::string& statement, bool* parsed = nullptr) {
  const std::string text = "size 640 480\npage 1\n  object tree \"T\" 10 10 210 300\n    " + statement + "\n";
  TProjectDescription project;
  TDescriptionError perr;
  const bool ok = ParseProjectDescription(text, ".", project, perr);
  if (parsed) *parsed = ok;
  else EXPECT_TRUE(ok) << perr.Line << ": " << perr.Message;
  TTreeListItemDataCore d;
  if (!ok || project.Image.Pages.empty() || project.Image.Pages[0]->Record.Objects.empty()) return d;
  tsl::MemoryStream m;
  project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
  m.Seek(0);
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(m.Position(), m.Length());
  return d;
}

TEST(NaviTreeDescription, StatementsGiveTheRecordsTheyName) {
  const TTreeListItemDataCore plain = TreeOf("tree");
  EXPECT_EQ(plain.StandardSet(), 2);
  EXPECT_EQ(plain.Flags & 0xFF, 0xE3u);

  const TTreeListItemDataCore styled = TreeOf(
      "tree set 1 background #FFFFE0 lines #808080 dotted clicktoggles transparent spacing 2 scroll v "
      "font \"Arial\" 14 bold colour #000080");
  EXPECT_EQ(styled.StandardSet(), 1);
  EXPECT_EQ(styled.BackgroundColour, 0xE0FFFFu);
  EXPECT_EQ(styled.Flags & (kTreeDottedLines | kTreeClickToggles | kTreeVScroll | kTreeHScroll),
            kTreeDottedLines | kTreeClickToggles | kTreeVScroll);
  EXPECT_EQ(styled.Transparent, 1);
  EXPECT_EQ(styled.LineSpacing, 2);
  EXPECT_STREQ(styled.FontData.lfFaceName, "Arial");
  EXPECT_EQ(styled.FontData.lfWeight, 700);

  const TTreeListItemDataCore pictures =
      TreeOf("tree closed gradient 20 16 #FF0000 #800000 entry checker 12 12 #FFFFFF #000000 cell 3");
  EXPECT_EQ(pictures.StandardSet(), 0);
  EXPECT_FALSE(pictures.Pictures[kFolderClosed].empty());
  EXPECT_TRUE(pictures.Pictures[kFolderOpen].empty());
  EXPECT_FALSE(pictures.Pictures[kEntryPicture].empty());
  EXPECT_EQ(pictures.ExtraCellWidth, 3);

  bool parsed = true;
  TreeOf("tree set 3", &parsed);
  EXPECT_FALSE(parsed);
  TreeOf("tree wobble", &parsed);
  EXPECT_FALSE(parsed);
}

}  // namespace
