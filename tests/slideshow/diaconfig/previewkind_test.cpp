#include "slideshow/core/previewkind.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewKind, RulesInTheirOrderOnTheFullPath) {
  const struct {
    const char* what;
    const char* path;
    bool isFile;
    TPreviewKind kind;
    TPreviewPlayer player;
  } cases[] = {
      {"QuickTime goes to the movie pane, not MCI", "C:\\media\\CLIP.MOV", true, pkWindow, TPreviewPlayer::Movie},
      {"qt extension", "C:\\media\\clip.qt", true, pkWindow, TPreviewPlayer::Movie},
      {"MIDI opens MCI", "C:\\media\\song.mid", true, pkWindow, TPreviewPlayer::Mci},
      {"raw video opens MCI", "C:\\media\\film.avi", true, pkWindow, TPreviewPlayer::Mci},
      {"Flash", "C:\\media\\intro.SWF", true, pkWindow, TPreviewPlayer::Flash},
      {"a folder named like a movie wins over rtf", "C:\\Demo.mov\\notes.rtf", true, pkWindow,
       TPreviewPlayer::Movie},
      {"gif is a picture, not an animation", "C:\\anim.gif", true, pkPicture, TPreviewPlayer::None},
      {"picture extension in any case", "C:\\x\\Photo.jpg", true, pkPicture, TPreviewPlayer::None},
      {"picture test looks at the last extension only", "C:\\x.bmp\\clip.mov", true, pkWindow,
       TPreviewPlayer::Movie},
      {"picture wins over a movie folder", "C:\\Demo.mov\\a.PCD", true, pkPicture, TPreviewPlayer::None},
      {"html is a web page", "C:\\web\\page.html", true, pkWebPage, TPreviewPlayer::None},
      {"upper-case TXT is text", "C:\\docs\\readme.TXT", true, pkText, TPreviewPlayer::None},
      {"rtf is text", "C:\\docs\\notes.rtf", true, pkText, TPreviewPlayer::None},
      {"own animation", "C:\\a\\walk.ABP", true, pkAnimation, TPreviewPlayer::None},
      {"flx animation", "C:\\a\\walk.flx", true, pkAnimation, TPreviewPlayer::None},
      {"flic", "C:\\a\\spin.FLC", true, pkFlic, TPreviewPlayer::None},
      {"fli", "C:\\a\\spin.fli", true, pkFlic, TPreviewPlayer::None},
      {"text before animation", "C:\\a.txt\\walk.abp", true, pkText, TPreviewPlayer::None},
      {"unknown", "C:\\a\\data.bin", true, pkNone, TPreviewPlayer::None},
      {"a folder gives none", "C:\\media\\CLIP.MOV", false, pkNone, TPreviewPlayer::None},
      {"empty path", "", true, pkNone, TPreviewPlayer::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TPreviewClass got = ClassifyPreview(c.path, c.isFile);
    EXPECT_EQ(got.Kind, c.kind) << c.path;
    EXPECT_EQ(got.Player, c.player) << c.path;
  }
  EXPECT_EQ(ClassifyPreview(nullptr, true).Kind, pkNone);
}

TEST(PreviewKind, PicturesShrinkToFitButAreNeverEnlarged) {
  const struct {
    const char* what;
    int32_t w, h, boxW, boxH;
    TPreviewPlacement at;
  } cases[] = {
      {"small picture keeps its size, centred", 16, 16, 200, 150, {92, 67, 16, 16}},
      {"landscape fills the pane", 1600, 1200, 200, 150, {0, 0, 200, 150}},
      {"portrait rounds its width", 1200, 1600, 200, 150, {43, 0, 113, 150}},
      {"as wide as the pane: fitted, not enlarged", 200, 50, 200, 150, {0, 50, 200, 50}},
      {"narrow and short", 100, 40, 200, 150, {50, 55, 100, 40}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TPreviewPlacement p;
    ASSERT_TRUE(PlacePreviewPicture(c.w, c.h, c.boxW, c.boxH, p));
    EXPECT_EQ(p.x, c.at.x);
    EXPECT_EQ(p.y, c.at.y);
    EXPECT_EQ(p.width, c.at.width);
    EXPECT_EQ(p.height, c.at.height);
  }
}

TEST(PreviewKind, ZeroSizesDrawNothing) {
  TPreviewPlacement p;
  EXPECT_FALSE(PlacePreviewPicture(640, 480, 0, 0, p)) << "a hidden text-only pane";
  EXPECT_FALSE(PlacePreviewPicture(640, 480, 200, 0, p));
  EXPECT_FALSE(PlacePreviewPicture(0, 480, 200, 150, p));
}

TEST(PreviewKind, InfoLines) {
  EXPECT_EQ(PreviewSizeText(640, 480), "Gr\xF6\xDF" "e: 640x480");
  EXPECT_EQ(PreviewColoursText(0), "Anzahl Farben: 16,7M") << "24-bit: no colour table";
  EXPECT_EQ(PreviewColoursText(256), "Anzahl Farben: 256");
  const struct {
    const char* what;
    uint64_t bytes;
    const char* text;
  } sizes[] = {
      {"empty file is at least 1KB", 0, "Dateigr\xF6sse: 1KB"},
      {"499 bytes round up to the minimum", 499, "Dateigr\xF6sse: 1KB"},
      {"1499 bytes", 1499, "Dateigr\xF6sse: 1KB"},
      {"1500 bytes round half up", 1500, "Dateigr\xF6sse: 2KB"},
      {"kilobytes of 1000", 1024000, "Dateigr\xF6sse: 1024KB"},
  };
  for (const auto& c : sizes) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PreviewFileSizeText(c.bytes), c.text);
  }
}

}  // namespace
