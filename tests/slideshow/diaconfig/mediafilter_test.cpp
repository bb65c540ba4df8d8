#include "slideshow/core/mediafilter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(MediaFilter, PicturesAloneIsTheTwoGroupFilterByteForByte) {
  EXPECT_EQ(BuildMediaFilter(mkPictures),
            "Bitmap-Dateien|*.WMF;*.EMF;*.BMP;*.DIB;*.PCX;*.TGA;*.GIF;*.TIF;*.PCD;*.JPG|Alle Dateien (*.*)|*.*|");
}

TEST(MediaFilter, GroupsPerMask) {
  const std::string all = "Alle Dateien (*.*)|*.*|";
  const struct {
    const char* what;
    uint32_t kinds;
    std::string filter;
  } cases[] = {
      {"empty mask", 0, all},
      {"flash", mkFlash, "Shockwave-Flash-Dateien|*.swf|" + all},
      {"web pictures", mkWebPictures, "Webfreundliche-Dateien|*.gif;*.jpg|" + all},
      {"text", mkText, "Text- oder RTF-Dateien|*.rtf;*.txt|" + all},
      {"rtf", mkRtf, "RTF-Dateien|*.rtf|" + all},
      {"web pages", mkWebPages, "Webseiten|*.htm;*.html|" + all},
      {"audio", mkAudio,
       "Audio-Formate|*.mid;*.mp3;*.wav;*.au;*.snd;*.ra;*.rmi;*.wma;*.wmv;*.aif;*.aifc;*.aiff|" + all},
      {"flic", mkFlic, "AutoDesk Animationen|*.fli;*.flc|" + all},
      {"own animations", mkAnimation, "TSL Animationen|*.gif;*.abp;*.flx|" + all},
      {"video", mkVideo,
       "Video-Formate|*.dat;*.mpg;*.mpeg;*.mp2;*.mpv;*.mpa;*.mpe;*.avi;*.mov;*.qt;*.asx;*.ram;*.rm;*.rmm;*.asf|" +
           all},
      {"audio and video", mkAudioVideo,
       "Unterst\xFCtzte Formate|*.mid;*.mp3;*.wav;*.au;*.snd;*.ra;*.rmi;*.wma;*.wmv;*.aif;*.aifc;*.aiff;"
       "*.dat;*.mpg;*.mpeg;*.mp2;*.mpv;*.mpa;*.mpe;*.avi;*.mov;*.qt;*.asx;*.ram;*.rm;*.rmm;*.asf|" +
           all},
      {"groups keep their fixed order whatever the bits", mkFlash | mkPictures | mkRtf | mkFlic,
       "Shockwave-Flash-Dateien|*.swf|"
       "Bitmap-Dateien|*.WMF;*.EMF;*.BMP;*.DIB;*.PCX;*.TGA;*.GIF;*.TIF;*.PCD;*.JPG|"
       "RTF-Dateien|*.rtf|AutoDesk Animationen|*.fli;*.flc|" +
           all},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BuildMediaFilter(c.kinds), c.filter);
  }
}

TEST(MediaFilter, AllSupportedListsEveryKindAndKeepsDuplicates) {
  const std::string f = BuildMediaFilter(mkAllSupported);
  EXPECT_EQ(f,
            "Unterst\xFCtzte Formate|"
            "*.mid;*.mp3;*.wav;*.au;*.snd;*.ra;*.rmi;*.wma;*.wmv;*.aif;*.aifc;*.aiff;"
            "*.dat;*.mpg;*.mpeg;*.mp2;*.mpv;*.mpa;*.mpe;*.avi;*.mov;*.qt;*.asx;*.ram;*.rm;*.rmm;*.asf;"
            "*.WMF;*.EMF;*.BMP;*.DIB;*.PCX;*.TGA;*.GIF;*.TIF;*.PCD;*.JPG;"
            "*.rtf;*.txt;*.fli;*.flc;*.gif;*.abp;*.flx;*.htm;*.html|"
            "Alle Dateien (*.*)|*.*|");
  EXPECT_EQ(Occurrences(f, "*.gif;"), 1u) << "lower-case gif from the animations";
  EXPECT_EQ(Occurrences(f, "*.GIF;"), 1u) << "upper-case GIF from the pictures";
  // Combined with other bits, the group still comes, after theirs.
  const std::string mixed = BuildMediaFilter(mkAllSupported | mkAnimation);
  EXPECT_EQ(Occurrences(mixed, "*.gif;"), 2u) << mixed;
  EXPECT_LT(mixed.find("TSL Animationen|"), mixed.find("Unterst\xFCtzte Formate|"));
}

TEST(MediaFilter, TemplateTextModeAndBrowserPerMask) {
  const struct {
    const char* what;
    uint32_t kinds;
    int templateId;
    bool textOnly;
    bool browser;
  } cases[] = {
      {"empty mask", 0, 1510, false, false},
      {"pictures", mkPictures, 1510, false, false},
      {"media without text", mkAudio | mkVideo | mkFlash, 1510, false, false},
      {"text alone", mkText, 1520, true, false},
      {"rtf alone", mkRtf, 1520, true, false},
      {"web pages alone", mkWebPages, 1520, true, true},
      {"text with pictures", mkText | mkPictures, 1520, false, false},
      {"all supported alone", mkAllSupported, 1520, false, true},
      {"all supported with pictures: no text mode", mkAllSupported | mkPictures, 1510, false, false},
      {"all supported with web pages", mkAllSupported | mkWebPages, 1520, false, true},
      {"all supported with text", mkAllSupported | mkText, 1520, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MediaTemplateId(c.kinds), c.templateId);
    EXPECT_EQ(IsMediaTextMode(c.kinds), c.templateId == 1520);
    EXPECT_EQ(IsMediaTextOnly(c.kinds), c.textOnly);
    EXPECT_EQ(WantsMediaBrowser(c.kinds), c.browser);
  }
}

}  // namespace
