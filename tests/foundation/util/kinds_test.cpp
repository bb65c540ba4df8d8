#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/core/mediakind.h"
#include "foundation/core/units.h"
#include "foundation/core/usstring.h"
#include "foundation/core/winversion.h"
#include "platform/core/containers.h"

namespace {
std::vector<std::string> Items(const TUSStrings& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l.ItemAt(i).str());
  return v;
}
}  // namespace

TEST(MediaKinds, ExtensionListsAppendInOrder) {
  TUSStrings list;
  list.Add("vorher");
  AddTextExtensions(list);
  AddWebPictureExtensions(list);
  AddAnimationExtensions(list);  // ".gif" a second time: nothing is de-duplicated
  AddFlicExtensions(list);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"vorher", ".rtf", ".txt", ".gif", ".jpg", ".gif", ".abp",
                                                   ".flx", ".fli", ".flc"}));
  TUSStrings audio, video;
  AddAudioExtensions(audio);
  AddVideoExtensions(video);
  EXPECT_EQ(Items(audio), (std::vector<std::string>{".mid", ".mp3", ".wav", ".au", ".snd", ".ra", ".rmi", ".wma",
                                                    ".wmv", ".aif", ".aifc", ".aiff"}));
  EXPECT_EQ(video.Count(), 15);
  EXPECT_EQ(video.ItemAt(0), ".dat");
  EXPECT_EQ(video.ItemAt(14), ".asf");

  TArrayAsVector<string> array;  // a plain string array works too
  AddFlicExtensions(array);
  ASSERT_EQ(array.GetItemsInContainer(), 2);
  EXPECT_EQ(array[1], ".flc");
}

TEST(MediaKinds, NameTestsAreCaseInsensitiveSubstringTests) {
  struct Case { const char* name; bool media, text; };
  const Case cases[] = {
      {"song.MP3", true, false},
      {"song.mp3.bak", true, false},
      {"clip.mpg", true, false},
      {"CLIP.MPG", true, false},
      {"notes.au.txt", true, true},  // ".au" occurs in it
      {"movie.wmv", true, false},    // found through the audio list
      {"film.qt", true, false},
      {"readme.txt", false, true},
      {"README.TXT", false, true},
      {"a.txtx", false, true},
      {"brief.Rtf", false, true},
      {"a.doc", false, false},
      {"bild.bmp", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsMediaFile(c.name), c.media) << c.name;
    EXPECT_EQ(IsTextFile(c.name), c.text) << c.name;
  }
  EXPECT_FALSE(IsMediaFile(nullptr));
  EXPECT_TRUE(IsTextFile(nullptr));
}

TEST(WindowsVersion, TestsOnPlatformAndVersion) {
  struct Case { uint32_t platform, major, minor; const char* yes; };
  const Case cases[] = {
      {OsVersion::WindowsNT, 4, 0, "nt4"},   {OsVersion::WindowsNT, 3, 51, "nt4"},
      {OsVersion::WindowsNT, 5, 0, "2000"},  {OsVersion::WindowsNT, 5, 1, "xp"},
      {OsVersion::WindowsNT, 5, 2, ""},      {OsVersion::WindowsNT, 10, 0, ""},
      {OsVersion::Windows9x, 4, 0, "95"},    {OsVersion::Windows9x, 4, 10, "98"},
      {OsVersion::Windows9x, 4, 90, "me"},   {OsVersion::Win32s, 4, 0, ""},
  };
  for (const Case& c : cases) {
    OsVersion v;
    v.platform = c.platform;
    v.major = c.major;
    v.minor = c.minor;
    const std::string yes(c.yes);
    EXPECT_EQ(IsWinNT4OrOlder(v), yes == "nt4") << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(IsWin2000(v), yes == "2000") << c.major << "." << c.minor;
    EXPECT_EQ(IsWinXP(v), yes == "xp") << c.major << "." << c.minor;
    EXPECT_EQ(IsWin95(v), yes == "95") << c.major << "." << c.minor;
    EXPECT_EQ(IsWin98(v), yes == "98") << c.major << "." << c.minor;
    EXPECT_EQ(IsWinME(v), yes == "me") << c.major << "." << c.minor;
  }
}

TEST(Units, PrintLayoutFactors) {
  EXPECT_DOUBLE_EQ(PointsToInches(72.27), 72.27 * 0.013837);
  EXPECT_NEAR(PointsToInches(72.27), 1.0, 1e-3);
  EXPECT_NEAR(MillimetresToPoints(25.4), 72.36, 1e-2);
  EXPECT_NEAR(InchesToMillimetres(MillimetresToInches(100)), 100, 1e-2);
  EXPECT_NEAR(InchesToPoints(1), 72.27, 1e-9);
  EXPECT_NEAR(InchesToDecipoints(1), 722.7, 1e-9);
  EXPECT_NEAR(DecipointsToInches(722.7), 1.0, 1e-3);
  EXPECT_NEAR(PointsToMillimetres(MillimetresToPoints(10)), 10, 1e-2);
  EXPECT_NEAR(DecipointsToMillimetres(MillimetresToDecipoints(10)), 10, 1e-2);
}
