// tslmake's extras records: pictures, transparency, font and a page change.
#include <gtest/gtest.h>

#include "tools/core/tslmake_db.h"

namespace {

TEST(DatabaseDescription, ExtrasWithPicturesFontAndAction) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(
      "extras 1 1 \"Bild\" picture1 20 16 0x0000FF 0x000080 picture2 24 16 0x00FF00 0x008000 transparent1 0xFFFFFF\n"
      "extras 2 2 \"Schrift\" font \"Arial\" 14 bold colour 0x800000\n"
      "extras 3 0 \"Aktion\" goto 2\n",
      nodes, extras, line, reason))
      << line << ": " << reason;
  const TDBSpecial* pictures = extras.FindRecord(1, kSpecialPictures);
  ASSERT_NE(pictures, nullptr);
  EXPECT_FALSE(pictures->Picture1.empty());
  EXPECT_FALSE(pictures->Picture2.empty());
  EXPECT_EQ(pictures->Flags & (kSpecialTransparent1 | kSpecialTransparent2), kSpecialTransparent1);
  EXPECT_EQ(pictures->Color1, 0xFFFFFFu);
  const TDBSpecial* font = extras.FindRecord(2, kSpecialFont);
  ASSERT_NE(font, nullptr);
  EXPECT_STREQ(font->Font.lfFaceName, "Arial");
  EXPECT_EQ(font->Font.lfWeight, 700);
  EXPECT_EQ(font->Font.Color, 0x800000u);
  const TDBSpecial* action = extras.FindRecord(3, kSpecialActions);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->Actions[0].Flags & kActionEnabled, kActionEnabled);
  EXPECT_EQ(action->Actions[0].Code, StoredActionCode(TActionCode::GotoPage));
  EXPECT_EQ(action->Actions[0].Value1, 2u);
  EXPECT_FALSE(tslmake::ParseDatabase("extras 4 1 \"x\" wobble\n", nodes, extras, line, reason));
}

}  // namespace
