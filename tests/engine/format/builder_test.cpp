// The fixture builder: a description becomes a project whose bytes the
// readers parse back to the same content.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/core/desc/tsldesc.h"

using tsl::MemoryStream;

namespace {

const char kDescription[] = R"(
title "Prüfung"
size 320 240
flags caption sysmenu 0x80000
advance loop sequence
sequence 5 2 9
background gradient #102030 #000000

object button "Immer" 10 200 90 230
  action next delay 250
  data flags 0x1001004 i16 0 colour #C0C0C0
object sound "Klang" 0 0 1 1 dataless

page 5 "Erste"
  background pattern 3 #FFFFFF
  timing 0 0 0 16
  transition 4
  hidden 1
  keys 3 4
  enter goto 2 delay 1000
  enter code 37 disabled
  leave info
  object text "Titel" 10 10 300 50 number 3
    layer 2
    fill #FFFF00
    border 1
    tooltip "Überschrift"
    action goto 9 on dblclick string "a" string "b" numbers 1 2 3 print
    data flags 0x3 colour #808080 i32 2 i32 2 i16 0 u32 1
    data font "Arial" 24 bold colour #0000FF str "Grüße" zeros 16
  object picture 10 60 110 160
    scale
    data flags 0x4 str "" u8 0 colour #000000 colour #000000 u8 3 u8 2 zeros 5 u8 1 dib checker 16 16 #000000 #FFFFFF 4
  data-for 2 flags 0x1000 str "klang.wav"
  menu "Gehe"
    item "Zwei" goto 2
    separator
    check 7 "A" code 12
    check 7 "B" code 13
  menu "Mehr"
    item "Knopf" object 3

page 2
  background stretch gradient 8 8 #FF0000 #0000FF
  ownoptions title "Zwei" size 200 100 flags caption
  database "daten.dbd"
  object text 0 0 50 50

page 9 "Letzte"
  background tile-file "kachel.bmp"
)";

std::vector<uint8_t> Build(const std::string& text, TProjectDescription& d) {
  TDescriptionError e;
  EXPECT_TRUE(ParseProjectDescription(text, ".", d, e)) << e.Line << ": " << e.Message;
  MemoryStream m;
  WriteProjectDescription(d, m);
  return m.Data();
}

std::string SourceRoot() {
  const std::string f = __FILE__;
  return f.substr(0, f.rfind("tests/engine/format"));
}

}  // namespace

TEST(Builder, DescriptionWrittenAndReadBack) {
  for (bool relocate : {false, true}) {
    TProjectDescription d;
    const std::string text = std::string(relocate ? "relocate 777\n" : "") + kDescription;
    const std::vector<uint8_t> bytes = Build(text, d);
    MemoryStream m(bytes);
    EXPECT_TRUE(IsPlayableProject(m));
    TProjectImage read;
    ASSERT_TRUE(read.Read(m));
    EXPECT_EQ(DumpProject(read), DumpProject(d.Image)) << "relocate " << relocate;

    // The read image written again with the same options: the same bytes.
    MemoryStream again;
    read.Write(again, d.Write);
    EXPECT_EQ(again.Data(), bytes) << "relocate " << relocate;

    // What the builder made of the description.
    ASSERT_EQ(read.Pages.size(), 3u);
    const TPageRecord& first = read.Pages[0]->Record;
    EXPECT_EQ(read.Info.GetTitle(), "Pr\xFC" "fung") << "texts are stored in code page 1252";
    EXPECT_EQ(read.Info.Flags & (kOptRunTime | kOptAutoAdvance | kOptAdvanceLoop | kOptAdvanceSequence | 0x80000),
              kOptRunTime | kOptAutoAdvance | kOptAdvanceLoop | kOptAdvanceSequence | 0x80000u);
    EXPECT_EQ(read.Info.PageSequence.Values, (std::vector<uint32_t>{5, 2, 9}));
    EXPECT_EQ(read.Directory.FindPageIndex(9), 2);
    EXPECT_EQ(first.Info.Target.GetName(), "Erste");
    EXPECT_EQ(read.Pages[1]->Record.Info.Target.GetName(), "Seite#3") << "a page without a name";
    EXPECT_EQ(first.Info.Tail.Spans[3], 16u);
    ASSERT_EQ(first.Objects.size(), 2u);
    EXPECT_EQ(first.Objects[0].Info.Property.Flags & kPropPlacement, kPropPageObject);
    EXPECT_EQ(first.Objects[1].Info.Target.GetName(), "Grafik5") << "numbered after 3";
    const TSActionStructArrayManager& acts = *first.Objects[0].Info.Property.Actions;
    ASSERT_EQ(acts.GetItemsInContainer(), 1);
    EXPECT_EQ(acts[0]->TriggerEvent, 0x203);
    EXPECT_EQ(acts[0]->IntList, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_NE(acts[0]->PrintInfo, nullptr);
    EXPECT_TRUE(first.EnterActions[0].Flags & kActionEnabled);
    EXPECT_FALSE(first.EnterActions[1].Flags & kActionEnabled);
    EXPECT_EQ(first.Menu.GetItemsInContainer(), 7);
    EXPECT_EQ(first.Menu[4]->Position, "1,7");
    EXPECT_EQ(first.Menu[6]->MenuFlags, kMenuRunsObject);
    ASSERT_EQ(first.DataOverrides.size(), 1u);
    EXPECT_EQ(first.DataOverrides[0].Number, 2u);
    ASSERT_EQ(read.Shared.Objects.size(), 1u);
    ASSERT_EQ(read.Shared.Dataless.size(), 1u);
    EXPECT_EQ(read.Shared.Objects[0].Info.Property.Flags & kPropPlacement, kPropShared);
    EXPECT_EQ(read.Shared.Dataless[0].Info.Property.Flags & kPropPlacement, kPropSharedDataless);
    EXPECT_EQ(read.Pages[1]->Record.OwnOptionsFlag, 1);
    EXPECT_EQ(read.Pages[1]->Record.DbInfo.Flags, kDbInUse);
    EXPECT_EQ(read.Pages[2]->Record.Background.Flags & kBackgroundLinked, kBackgroundLinked);
    EXPECT_EQ(read.ListRecord.Values[0], 5u) << "the object counter is the highest number";

    // With relocation the lists' bases differ from where they lie.
    MemoryStream raw(bytes);
    TRecordHeader h;
    ASSERT_TRUE(ReadRecordHeader(raw, read.Directory.Pages[0].Offset, h));
    raw.Seek(h.ObjectListOffset);
    uint32_t base = 0;
    raw.Read(&base, 4);
    EXPECT_EQ(base != h.ObjectListOffset, relocate);
  }
}

TEST(Builder, RunTimeFlagCanBeLeftOff) {
  TProjectDescription d;
  const std::vector<uint8_t> bytes = Build("runtime off\npage 1\n", d);
  MemoryStream m(bytes);
  EXPECT_FALSE(IsPlayableProject(m));
  TProjectImage read;
  EXPECT_TRUE(read.Read(m)) << "still a valid project file";
}

TEST(Builder, ErrorsNameTheirLine) {
  struct Case { const char* text; int line; };
  const Case cases[] = {
      {"page 1\n  object nosuchkind 0 0 1 1\n", 2},
      {"title \"x\"\nsize 0 100\n", 2},
      {"page 1\npage 1\n", 2},
      {"page 1\n  object text 1 2 3\n", 2},
      {"page 1\n  background colour #12345\n", 2},
      {"page 1\n  object text 0 0 1 1\n    data u8 300\n", 3},
      {"page 1\n  menu \"m\"\n    item \"x\" jump\n", 3},
      {"title \"unterminated\n", 1},
      {"frobnicate\n", 1},
      {"object text 0 0 1 1 dataless\n  data u8 1\n", 2},
      {"page 1\n  enter next\n  enter next\n  enter next\n  enter next\n  enter next\n", 6},
      {"title \"\xE2\x82\xAC \xE2\x98\x83\"\n", 1},  // a snowman is not in code page 1252
      {"page 1\n  background colour #GG0000\n", 2},
      {"title \"a\\xZZ\"\n", 1},
      {"page 1\n  object text 0 0 1 1\n    data hex 0G\n", 3},
  };
  for (const Case& c : cases) {
    TProjectDescription d;
    TDescriptionError e;
    EXPECT_FALSE(ParseProjectDescription(c.text, ".", d, e)) << c.text;
    EXPECT_EQ(e.Line, c.line) << c.text << " -> " << e.Message;
    EXPECT_FALSE(e.Message.empty());
  }
}

TEST(Builder, TheDemoDescriptionBuilds) {
  std::ifstream in(SourceRoot() + "examples/demo/demo.tsd");
  ASSERT_TRUE(in.good());
  std::stringstream text;
  text << in.rdbuf();
  TProjectDescription d;
  const std::vector<uint8_t> bytes = Build(text.str(), d);
  MemoryStream m(bytes);
  EXPECT_TRUE(IsPlayableProject(m));
  TProjectImage read;
  ASSERT_TRUE(read.Read(m));
  EXPECT_EQ(read.Pages.size(), 14u);
  EXPECT_EQ(DumpProject(read), DumpProject(d.Image));
}

TEST(Builder, GeneratedPictures) {
  const std::vector<uint8_t> g = MakeGradientDib(3, 5, 0x0000FF, 0xFF0000);
  ASSERT_EQ(g.size(), 40u + 12 * 5);
  // Bottom-up rows: the last row in memory is the top one (red, stored B G R).
  EXPECT_EQ(g[40 + 12 * 4 + 2], 0xFF);
  EXPECT_EQ(g[40 + 0], 0xFF) << "the bottom row is blue";
  const std::vector<uint8_t> c = MakeCheckerDib(4, 4, 0xFFFFFF, 0x000000, 2);
  EXPECT_EQ(c[40 + 12 * 3], 0xFF) << "top-left cell";
  EXPECT_EQ(c[40 + 12 * 3 + 6], 0x00);
}
