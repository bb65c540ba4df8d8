#include "tools/core/desc/tsldesc.h"

#include <gtest/gtest.h>

#include "foundation/core/streamenc.h"
#include "objects/core/buttondata.h"

namespace {

// The record the description gives the first object of page 1.
TButtonDataCore ButtonOf(const std::string& statement) {
  const std::string text = "size 640 480\npage 1\n  object button \"B\" 10 10 110 40\n    " + statement + "\n";
  TProjectDescription project;
  TDescriptionError perr;
  EXPECT_TRUE(ParseProjectDescription(text, ".", project, perr)) << perr.Line << ": " << perr.Message;
  TButtonDataCore d;
  if (project.Image.Pages.empty() || project.Image.Pages[0]->Record.Objects.empty()) return d;
  tsl::MemoryStream m;
  project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
  m.Seek(0);
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(m.Position(), m.Length());
  return d;
}

}  // namespace

TEST(ButtonDescription, StatementsGiveTheRecordsTheyName) {
  const TButtonDataCore text = ButtonOf("button text caption \"&Weiter >\" font \"Arial\" 20 bold colour #FFFFFF face #204080 group 2 default align left");
  EXPECT_EQ(text.Style, kButtonText);
  EXPECT_STREQ(text.Caption.c_str(), "&Weiter >");
  EXPECT_EQ(text.Font.lfHeight, 20);
  EXPECT_EQ(text.Font.lfWeight, 700);
  EXPECT_EQ(text.Font.Color, 0xFFFFFFu);
  EXPECT_EQ(text.FaceColor, 0x804020u);
  EXPECT_EQ(text.Group, 2);
  EXPECT_TRUE(text.IsGroupDefault());
  EXPECT_EQ(text.TextAlign, 1);

  const TButtonDataCore six =
      ButtonOf("button pictures3 up gradient 40 20 #FF0000 #800000 down checker 40 20 #FFFFFF #000000 4 "
               "hover gradient 40 20 #00FF00 #008000 transparent3 #000000 frames 2 1 hidden");
  EXPECT_EQ(six.Style, kButtonThreePictures);
  EXPECT_FALSE(six.PictureBlock1.empty());
  EXPECT_FALSE(six.PictureBlock2.empty());
  EXPECT_FALSE(six.PictureBlock3.empty());
  EXPECT_EQ(six.Transparent3, 1);
  EXPECT_EQ(six.Flags & kButtonCaptionHidden, kButtonCaptionHidden);
  EXPECT_EQ(six.FrameCount, 2);

  const TButtonDataCore spot = ButtonOf("button hotspot cursor 3");
  EXPECT_EQ(spot.CursorIndex, 3);
  const TButtonDataCore icon = ButtonOf("button icon icon 2");
  EXPECT_EQ(icon.IconIndex, 2);
  const TButtonDataCore linked = ButtonOf("button picture up linked \"knopf.bmp\"");
  EXPECT_EQ(linked.Flags & kButtonLinkedPictures, kButtonLinkedPictures);
  EXPECT_STREQ(linked.PictureName1.c_str(), "knopf.bmp");
}

TEST(ButtonDescription, Errors) {
  const char* bad[] = {"button round", "button text caption", "button text wobble 3",
                       "button pictures2 up linked \"a.bmp\" down gradient 4 4 #000000 #FFFFFF",
                       "button text caption \"open"};
  for (const char* b : bad) {
    TProjectDescription project;
    TDescriptionError error;
    EXPECT_FALSE(ParseProjectDescription(std::string("page 1\n  object button 0 0 10 10\n    ") + b + "\n", ".", project,
                                         error))
        << b;
    EXPECT_EQ(error.Line, 3) << b;
    EXPECT_FALSE(error.Message.empty()) << b;
  }
}
