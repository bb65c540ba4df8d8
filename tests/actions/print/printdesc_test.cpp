#include "tools/core/desc/tsldesc.h"

#include <gtest/gtest.h>

namespace {

// The print settings of an object's one action, written and read back.
bool PrintSettingsOf(const std::string& options, TBasePrintOutInfo& out) {
  const std::string text = "size 640 480\npage 1\n  object button \"B\" 10 10 110 40\n    action code 28 " + options +
                           " text1 \"a.bmp\"\n";
  TProjectDescription project;
  TDescriptionError error;
  if (!ParseProjectDescription(text, ".", project, error)) return false;
  TSActionStructArrayManager& actions = *project.Image.Pages.at(0)->Record.Objects.at(0).Info.Property.Actions;
  if (actions.GetItemsInContainer() != 1 || !actions[0]->PrintInfo) return false;
  // Through the action's stream form, as the player reads it.
  tsl::MemoryStream m;
  actions[0]->Write(m);
  m.Seek(0);
  TActionStruct read;
  read.Read(m);
  if (!read.PrintInfo || read.Text1.str() != "a.bmp") return false;
  out = *read.PrintInfo;
  return true;
}

TEST(PrintDescription, SettingsWordsChangeTheDefaults) {
  TBasePrintOutInfo p;
  ASSERT_TRUE(PrintSettingsOf("print", p));
  EXPECT_EQ(p.ShowTitle, 0);
  EXPECT_EQ(p.PictureFlags, 5u);
  EXPECT_EQ(p.MarginLeft, 0);

  ASSERT_TRUE(PrintSettingsOf("print title \"Drucken\" pagenumber titlealign 2 numberalign 0 margins 10 20 30 40 "
                              "fixed 50 60 noaspect landscape",
                              p));
  EXPECT_EQ(p.ShowTitle, 1);
  EXPECT_STREQ(p.Title.c_str(), "Drucken");
  EXPECT_EQ(p.ShowPageNumber, 1);
  EXPECT_EQ(p.TitleAlign, 2);
  EXPECT_EQ(p.PageNumberAlign, 0);
  EXPECT_EQ(p.MarginLeft, 10);
  EXPECT_EQ(p.MarginTop, 20);
  EXPECT_EQ(p.MarginRight, 30);
  EXPECT_EQ(p.MarginBottom, 40);
  EXPECT_EQ(p.PictureFlags, 2u);
  EXPECT_EQ(p.TargetWidth, 50);
  EXPECT_EQ(p.TargetHeight, 60);
  EXPECT_EQ(p.Landscape, 1);

  ASSERT_TRUE(PrintSettingsOf("print fill aspect", p));
  EXPECT_EQ(p.PictureFlags, 5u);
  EXPECT_FALSE(PrintSettingsOf("print margins 1 2", p));
  EXPECT_FALSE(PrintSettingsOf("print titlealign 3", p));
}

}  // namespace
