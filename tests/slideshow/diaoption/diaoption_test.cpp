#include "slideshow/core/diaoption.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../engine/format/bytes.h"

using namespace tsl;

namespace {

std::vector<uint8_t> Stored(TDiaOption& o) {
  MemoryStream m;
  EXPECT_TRUE(o.Write(m));
  return m.Data();
}

Bytes& PictureBytes(Bytes& b, const std::string& picture, const std::string& sound, uint16_t soundOn,
                    const std::string& header) {
  b.str(picture).str(sound).u16(soundOn).str(header).str("");
  FontBytes(b, "Arial", 20);
  FontBytes(b, "Courier New", 12);
  return b.u16(kDiaAlignRight).u16(kDiaAlignLeft);
}

// Laid down from the table: two pictures, a colour background, skip F2,
// pause Tab, music once.
Bytes HandShow() {
  Bytes b;
  b.u32(0x024DD1DD).i16(2);
  PictureBytes(b, "C:\\Bilder\\a.jpg", "C:\\Ton\\a.wav", 1, "Kopf A");
  PictureBytes(b, "C:\\Bilder\\b.bmp", "", 0, "");
  // Background: length, flags (linked, presence byte), mode 2, pattern 3,
  // two colours, no name, 16 bytes.
  b.u32(38).u32(5).u16(2).u16(3).u32(0x112233).u32(0x445566).str("").zeros(16);
  b.u16(0).u16(7).u32(1500).u32(4000).u16(1).u16(4).u16(1).str("C:\\Ton\\musik.mid");
  b.str("Oben").str("Unten");
  FontBytes(b, "Times New Roman", 30);
  FontBytes(b, "Arial", 10);
  b.u16(0).u16(2);
  b.u16(kShowKeyEnter).u16(kShowKeyRightButton).u16(kShowKeyEscape);
  b.u16(1);                 // background music once
  b.u16(1);                 // skip: F2
  b.u16(kShowKeyTab);       // pause
  b.u16(25);
  for (int i = 0; i < 24; ++i) b.u8(static_cast<uint8_t>(i + 1));
  return b;
}

TDiaOption Filled() {
  TDiaOption o;
  MemoryStream m = HandShow().stream();
  EXPECT_TRUE(o.Read(m));
  return o;
}

void ExpectSameShow(const TDiaOption& a, const TDiaOption& b) {
  ASSERT_EQ(a.Pictures.Count(), b.Pictures.Count());
  for (int i = 0; i < a.Pictures.Count(); ++i) {
    const TDiaFileInfo &x = a.Pictures[i], &y = b.Pictures[i];
    EXPECT_EQ(x.PictureFile.str(), y.PictureFile.str());
    EXPECT_EQ(x.SoundFile.str(), y.SoundFile.str());
    EXPECT_EQ(x.SoundEnabled, y.SoundEnabled);
    EXPECT_EQ(x.HeaderText.str(), y.HeaderText.str());
    EXPECT_EQ(x.FooterText.str(), y.FooterText.str());
    EXPECT_EQ(0, std::memcmp(&x.HeaderFont, &y.HeaderFont, sizeof x.HeaderFont));
    EXPECT_EQ(0, std::memcmp(&x.FooterFont, &y.FooterFont, sizeof x.FooterFont));
    EXPECT_EQ(x.HeaderAlign, y.HeaderAlign);
    EXPECT_EQ(x.FooterAlign, y.FooterAlign);
  }
  EXPECT_EQ(a.Background.Mode, b.Background.Mode);
  EXPECT_EQ(a.Background.Colour1, b.Background.Colour1);
  EXPECT_EQ(a.Background.Colour2, b.Background.Colour2);
  EXPECT_EQ(a.Background.Pattern, b.Background.Pattern);
  EXPECT_EQ(a.Endless, b.Endless);
  EXPECT_EQ(a.TransitionKind, b.TransitionKind);
  EXPECT_EQ(a.TransitionDuration, b.TransitionDuration);
  EXPECT_EQ(a.AdvanceInterval, b.AdvanceInterval);
  EXPECT_EQ(a.PcdResolution, b.PcdResolution);
  EXPECT_EQ(a.PcdColourDepth, b.PcdColourDepth);
  EXPECT_EQ(a.BackgroundSoundEnabled, b.BackgroundSoundEnabled);
  EXPECT_EQ(a.BackgroundSoundFile.str(), b.BackgroundSoundFile.str());
  EXPECT_EQ(a.HeaderText.str(), b.HeaderText.str());
  EXPECT_EQ(a.FooterText.str(), b.FooterText.str());
  EXPECT_EQ(0, std::memcmp(&a.HeaderFont, &b.HeaderFont, sizeof a.HeaderFont));
  EXPECT_EQ(0, std::memcmp(&a.FooterFont, &b.FooterFont, sizeof a.FooterFont));
  EXPECT_EQ(a.HeaderAlign, b.HeaderAlign);
  EXPECT_EQ(a.FooterAlign, b.FooterAlign);
  EXPECT_EQ(a.NextKey, b.NextKey);
  EXPECT_EQ(a.PreviousKey, b.PreviousKey);
  EXPECT_EQ(a.AbortKey, b.AbortKey);
  EXPECT_EQ(a.PauseKey, b.PauseKey);
  EXPECT_EQ(a.SkipKey, b.SkipKey);
  EXPECT_EQ(a.BackgroundSoundOnce, b.BackgroundSoundOnce);
  EXPECT_EQ(a.JumpInterval, b.JumpInterval);
  EXPECT_EQ(0, std::memcmp(a.Reserved, b.Reserved, sizeof a.Reserved));
}

TEST(DiaOption, DefaultShowHasItsSizeAndReadsBack) {
  TDiaOption o;
  EXPECT_EQ(0x000000u, o.Background.Colour1);
  EXPECT_EQ(-24, o.HeaderFont.lfHeight);
  EXPECT_EQ(140, o.FooterFont.PointSize);
  const std::vector<uint8_t> bytes = Stored(o);
  EXPECT_EQ(274 + o.HeaderText.length() + o.FooterText.length(), bytes.size());
  TDiaOption back;
  back.HeaderText = "other";
  MemoryStream m(bytes);
  EXPECT_TRUE(back.Read(m));
  EXPECT_EQ(bytes.size(), static_cast<size_t>(m.Position()));
  ExpectSameShow(o, back);
}

TEST(DiaOption, HandAssembledShowReadsRight) {
  const TDiaOption o = Filled();
  ASSERT_EQ(2, o.Pictures.Count());
  EXPECT_EQ("C:\\Bilder\\a.jpg", o.Pictures[0].PictureFile.str());
  EXPECT_EQ("C:\\Ton\\a.wav", o.Pictures[0].SoundFile.str());
  EXPECT_EQ(1, o.Pictures[0].SoundEnabled);
  EXPECT_EQ("Kopf A", o.Pictures[0].HeaderText.str());
  EXPECT_STREQ("Courier New", o.Pictures[0].FooterFont.lfFaceName);
  EXPECT_EQ(kDiaAlignRight, o.Pictures[0].HeaderAlign);
  EXPECT_EQ(kDiaAlignLeft, o.Pictures[0].FooterAlign);
  EXPECT_EQ(3, o.Background.Pattern);
  EXPECT_EQ(0x112233u, o.Background.Colour1);
  EXPECT_EQ(0, o.Endless);
  EXPECT_EQ(7, o.TransitionKind);
  EXPECT_EQ(1500u, o.TransitionDuration);
  EXPECT_EQ(4000u, o.AdvanceInterval);
  EXPECT_EQ(1, o.PcdResolution);
  EXPECT_EQ(4, o.PcdColourDepth);
  EXPECT_EQ("C:\\Ton\\musik.mid", o.BackgroundSoundFile.str());
  EXPECT_EQ("Oben", o.HeaderText.str());
  EXPECT_STREQ("Times New Roman", o.HeaderFont.lfFaceName);
  EXPECT_EQ(kShowKeyEnter, o.NextKey);
  EXPECT_EQ(kShowKeyRightButton, o.PreviousKey);
  EXPECT_EQ(kShowKeyEscape, o.AbortKey);
  // Stored as music-once, skip, pause.
  EXPECT_EQ(1, o.BackgroundSoundOnce);
  EXPECT_EQ(1, o.SkipKey);
  EXPECT_EQ(kShowKeyTab, o.PauseKey);
  EXPECT_EQ(25, o.JumpInterval);
  EXPECT_EQ(24, o.Reserved[23]);
}

TEST(DiaOption, FilledShowRoundTripsAndWritesTheHandBytes) {
  TDiaOption o = Filled();
  EXPECT_EQ(HandShow().data(), Stored(o));
  TDiaOption back;
  MemoryStream m(Stored(o));
  EXPECT_TRUE(back.Read(m));
  ExpectSameShow(o, back);
}

TEST(DiaOption, DamagedInputsKeepWhatTheyMust) {
  const std::vector<uint8_t> good = HandShow().data();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int pictures;           // count after the read; -1: the filled show's
    bool keepsTransition;   // the filled show's transition stays
  };
  std::vector<uint8_t> wrongMagic = good;
  wrongMagic[0] ^= 0xFF;
  Bytes negative;
  negative.u32(kDiaMagic).u16(0x8000);
  Bytes tooMany;
  tooMany.u32(kDiaMagic).i16(3).zeros(2 * kDiaPictureMinBytes + 100);
  const size_t firstPicture = 6;
  const size_t backgroundAt = good.size() - 38 - 236 + 6;  // magic and count are outside the tail
  const Case cases[] = {
      {"wrong magic", wrongMagic, -1, true},
      {"count 0x8000 reads as negative", negative.data(), 0, true},
      {"count beyond the bytes left", tooMany.data(), -1, true},
      {"cut inside the first picture: refused by the count", {good.begin(), good.begin() + firstPicture + 9}, -1, true},
      {"cut late in the second picture", {good.begin(), good.begin() + 400}, 1, true},
      {"cut inside the background", {good.begin(), good.begin() + static_cast<long>(backgroundAt) + 10}, 2, true},
      {"cut in the last reserved bytes", {good.begin(), good.end() - 3}, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDiaOption o = Filled();
    o.TransitionKind = 99;
    o.Reserved[23] = 0xEE;
    MemoryStream m(c.bytes);
    EXPECT_FALSE(o.Read(m));
    EXPECT_EQ(c.pictures < 0 ? 2 : c.pictures, o.Pictures.Count());
    EXPECT_EQ(c.keepsTransition ? 99 : 7, o.TransitionKind);
    EXPECT_EQ(0xEE, o.Reserved[23]);
  }
}

TEST(DiaOption, CutsKeepEveryValueBeforeTheCut) {
  // For every cut the fields before it carry the file's values and the rest
  // the earlier ones; never a half value.
  const std::vector<uint8_t> good = HandShow().data();
  for (size_t cut = 0; cut < good.size() - 24 - 2; cut += 7) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    TDiaOption o;
    o.HeaderText = "vorher";
    o.JumpInterval = 77;
    MemoryStream m(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut)));
    EXPECT_FALSE(o.Read(m));
    EXPECT_TRUE(o.HeaderText.str() == "vorher" || o.HeaderText.str() == "Oben") << o.HeaderText.str();
    EXPECT_EQ(77, o.JumpInterval);
  }
}

TEST(DiaOption, AssignGivesIndependentCopies) {
  TDiaOption source = Filled();
  TDiaOption copy;
  copy.Assign(source);
  ExpectSameShow(source, copy);
  copy.Pictures[0].HeaderText = "geändert";
  copy.HeaderText = "neu";
  copy.Reserved[0] = 0x55;
  copy.Pictures.Flush();
  EXPECT_EQ(2, source.Pictures.Count());
  EXPECT_EQ("Kopf A", source.Pictures[0].HeaderText.str());
  EXPECT_EQ("Oben", source.HeaderText.str());
  EXPECT_EQ(1, source.Reserved[0]);
}

TEST(DiaOption, CaptionHeightFollowsThePointSize) {
  const struct { const char* what; int32_t pointSize, height; } cases[] = {
      {"12.5 pt", 125, -12}, {"negative 24 pt", -240, -24}, {"24 pt", 240, -24}, {"below a point", 9, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FontRecord f = DiaCaptionFont(24);
    f.PointSize = c.pointSize;
    EXPECT_EQ(c.height, DiaCaptionHeight(f));
  }
}

TEST(DiaOption, FindIgnoresCaseAndTheListIsCapped) {
  TDiaOption o;
  auto entry = [](const char* name) {
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = name;
    return e;
  };
  ASSERT_TRUE(o.Pictures.Add(entry("C:\\BILDER\\\xC4PFEL.JPG")));
  EXPECT_EQ(0, o.Pictures.Find(string("c:\\bilder\\\xE4pfel.jpg")));
  EXPECT_EQ(-1, o.Pictures.Find(string("c:\\bilder\\other.jpg")));
  for (int i = 1; i < kDiaMaxPictures; ++i) ASSERT_TRUE(o.Pictures.Add(entry("x")));
  EXPECT_FALSE(o.Pictures.Add(entry("one too many")));
  EXPECT_FALSE(o.Pictures.Insert(0, entry("one too many")));
  // Stored count reads back as the whole list, never as negative.
  TDiaOption back;
  MemoryStream m(Stored(o));
  EXPECT_TRUE(back.Read(m));
  EXPECT_EQ(kDiaMaxPictures, back.Pictures.Count());
}

}  // namespace
