// The table of object kinds as the rest of the program sees it: the stored
// kind numbers keep their names and their order, numbers outside the table
// have no traits, and kinds print readably in traces and test messages.
#include <gtest/gtest.h>

#include <iterator>

#include "engine/core/format/objectkinds.h"
#include "engine/core/format/objectrecords.h"

TEST(ObjectKinds, StoredNumbersKeepTheirKindsAndDisplayNames) {
  // The numbers are those of the project files; a row out of place would
  // give stored objects another kind's creators.
  struct Case {
    int number;
    TObjectKind kind;
    const char* name;
  };
  const Case cases[] = {
      {0, TObjectKind::Text, "Text"},
      {1, TObjectKind::Picture, "Grafik"},
      {2, TObjectKind::Video, "Video"},
      {3, TObjectKind::Animation, "Animation"},
      {4, TObjectKind::Sound, "Sound"},
      {5, TObjectKind::CdAudio, "CD-Audio"},
      {6, TObjectKind::Button, "Schalter"},
      {7, TObjectKind::MciBar, "MCI-Leiste"},
      {8, TObjectKind::Document, "Dokument"},
      {9, TObjectKind::List, "Listenfenster"},
      {10, TObjectKind::AnimatedBitmap, "ABP"},
      {11, TObjectKind::Combo, "Kombifenster"},
      {12, TObjectKind::NaviTree, "NaviBaum"},
      {13, TObjectKind::SlideOverview, "Dia\374bersicht"},
      {14, TObjectKind::QuickSearch, "Schnellsuche"},
      {15, TObjectKind::RtfDocument, "RTF-Dokument"},
      {16, TObjectKind::SlideWindow, "Diafenster"},
      {17, TObjectKind::DirectShow, "DirectShow"},
      {18, TObjectKind::Html, "HTML-Fenster"},
      {19, TObjectKind::TransparentList, "Listenfenster"},
      {20, TObjectKind::HelpRegister, "Hilferegister"},
      {21, TObjectKind::Flash, "Shockwave-Flash"},
  };
  ASSERT_EQ(std::size(cases), static_cast<size_t>(kObjectKinds));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<int>(c.kind), c.number);
    EXPECT_TRUE(IsValidObjectKind(c.number));
    EXPECT_STREQ(ObjectKindName(c.number), c.name);
    LinkTarget t(static_cast<int16_t>(c.number), 4, -1);
    EXPECT_EQ(t.GetName(), std::string(c.name) + "5") << "the default name's stem";
  }
}

TEST(ObjectKinds, NumbersOutsideTheTableAreNoKinds) {
  for (int number : {-1, 22, 40, 32767, -32768}) {
    SCOPED_TRACE(number);
    EXPECT_FALSE(IsValidObjectKind(number));
    EXPECT_STREQ(ObjectKindName(number), "???");
    EXPECT_EQ(ObjectKindText(number), TKindText::NoText);
    for (TKindTrait t : {kReportsEndOfMedia, kDragsWindow, kSound, kOwnWindow, kDocument, kThumbnailItems, kDatabaseTree})
      EXPECT_FALSE(ObjectKindHas(number, t)) << t;
  }
}

TEST(ObjectKinds, PrintableNamesAreAsciiAndSayWhatANumberIs) {
  struct Case {
    const char* what;
    int number;
    const char* printed;
  };
  const Case cases[] = {
      {"a kind by its number and enumerator", 6, "6 Button"},
      {"no code page 1252 letters", 13, "13 SlideOverview"},
      {"the page itself", 32767, "32767 (page)"},
      {"no object", -1, "-1 (none)"},
      {"a damaged number", 40, "40 (no kind)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PrintableObjectKind(c.number), c.printed);
  }
  EXPECT_EQ(::testing::PrintToString(TObjectKind::Flash), "21 Flash") << "test messages name the kind";
}
