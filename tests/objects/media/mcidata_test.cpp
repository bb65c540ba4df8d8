#include "objects/core/mcidata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../engine/format/bytes.h"
#include "engine/core/format/recordctx.h"
#include "objects/core/mcibardata.h"
#include "objects/core/mcidesc.h"
#include "tools/core/desc/descwords.h"

using namespace tsl;

namespace {

std::vector<uint8_t> Written(TData& d) {
  MemoryStream m;
  d.Write(m);
  return m.Data();
}

TEST(MciData, Defaults) {
  TMCIData d;
  EXPECT_EQ(d.DeviceKind, -1);
  EXPECT_EQ(d.PlayOptions, 0x0010);
  EXPECT_EQ(d.Flags, 0x1004u);
  EXPECT_TRUE(d.FileName.is_null());
  EXPECT_EQ(d.TrackCount, 0);
  for (uint8_t b : d.Reserved) EXPECT_EQ(b, 0);
}

TEST(MciData, HandMadeRecordsRead) {
  struct Case {
    const char* what;
    uint8_t major, minor;
    Bytes bytes;
    int16_t kind;
    std::string name;
    int32_t count;
    std::vector<int32_t> tracks;  // the first ones
    uint8_t reserved0;
  };
  const auto file = [](int16_t kind, const char* name) {
    Bytes b;
    b.u32(0).u32(0x1005).i32(-1).i32(-1).i16(kind).u16(0x14).str(name).u8(9).zeros(15);
    return b.put32(0, static_cast<uint32_t>(b.size()));
  };
  const auto cd = [](int16_t count, int stored, bool reserved, size_t tail = 0) {
    Bytes b;
    b.u32(0).u32(0x1004).i32(-1).i32(-1).i16(6).u16(0x10).i16(count);
    for (int i = 0; i < stored; ++i) b.i16(static_cast<int16_t>(i + 1));
    if (reserved) b.u8(7).zeros(15);
    b.zeros(tail);
    return b.put32(0, static_cast<uint32_t>(b.size()));
  };
  Case cases[] = {
      {"video file", 4, 7, file(1, "film.avi"), 1, "film.avi", 0, {}, 9},
      {"tracks, current version", 4, 7, cd(3, 3, true), 6, "", 3, {1, 2, 3}, 7},
      {"tracks, version 2.4: no reserved block", 2, 4, cd(2, 2, false, 5), 6, "", 2, {1, 2}, 0},
      {"tracks, version 2.5 has the block", 2, 5, cd(2, 2, true), 6, "", 2, {1, 2}, 7},
      {"count -1 reads none", 4, 7, cd(-1, 0, true), 6, "", 0, {}, 7},
      {"count 120 keeps 99, skips the rest", 4, 7, cd(120, 120, true), 6, "", 99, {1, 2, 3}, 7},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFileVersionScope version(c.major, c.minor);
    MemoryStream m = c.bytes.stream();
    m.Seek(0);
    TMCIData d;
    d.FileName = "left over";
    ASSERT_TRUE(d.Read(m));
    EXPECT_EQ(m.Position(), static_cast<int64_t>(c.bytes.size())) << "continues at the record's end";
    EXPECT_EQ(d.DeviceKind, c.kind);
    EXPECT_EQ(d.FileName.str(), c.name);
    EXPECT_EQ(d.TrackCount, c.count);
    for (size_t i = 0; i < c.tracks.size(); ++i) EXPECT_EQ(d.Tracks[i], c.tracks[i]);
    if (c.count == 99) {
      EXPECT_EQ(d.Tracks[98], 99);
    }
    EXPECT_EQ(d.Reserved[0], c.reserved0);
  }
}

TEST(MciData, WriteReadWriteIsIdentical) {
  TMCIData file;
  file.DeviceKind = kMediaMpeg;
  file.PlayOptions = 0x14;
  file.FileName = "C:\\m\\a.mpg";
  file.Reserved[3] = 5;
  file.Value3 = 17;
  TMCIData cd;
  cd.DeviceKind = kMediaCdTracks;
  cd.TrackCount = 4;
  for (int i = 0; i < 4; ++i) cd.Tracks[i] = 10 - i;
  cd.Reserved[15] = 1;
  for (TMCIData* d : {&file, &cd}) {
    const std::vector<uint8_t> first = Written(*d);
    uint32_t length;
    std::memcpy(&length, first.data(), 4);
    EXPECT_EQ(length, first.size());
    MemoryStream in(first);
    TMCIData again;
    ASSERT_TRUE(again.Read(in));
    EXPECT_EQ(Written(again), first);
  }
  EXPECT_EQ(Written(cd).size(), 16u + 4 + 2 + 4 * 2 + 16);
}

TEST(MciData, AssignCopiesItsOwnClassAndResetsForAnother) {
  TMCIData src;
  src.DeviceKind = kMediaWave;
  src.FileName = "s.wav";
  src.TrackCount = 2;
  src.Tracks[1] = 8;
  src.Flags = 0x1001;
  TMCIData d;
  d.Assign(&src);
  EXPECT_EQ(d.DeviceKind, kMediaWave);
  EXPECT_EQ(d.FileName.str(), "s.wav");
  EXPECT_EQ(d.Tracks[1], 8);
  EXPECT_EQ(d.Flags, 0x1001u);
  TMCIBarData other;
  other.Flags = 0x1234;
  d.Assign(&other);
  EXPECT_EQ(d.DeviceKind, -1);
  EXPECT_TRUE(d.FileName.is_null());
  EXPECT_EQ(d.TrackCount, 0);
  EXPECT_EQ(d.Flags, 0x1004u);
}

TEST(MciData, KindFromExtension) {
  struct Case {
    const char* ext;
    bool known;
    int16_t kind;
  } cases[] = {{".avi", true, 1}, {".MOV", true, 2}, {".MPG", true, 3}, {".vpg", true, 3}, {".Dat", true, 3},
               {".fli", true, 0}, {".FLC", true, 0}, {".wav", true, 4}, {".mid", true, 5}, {".rmi", true, 5},
               {".mp3", false, -1}, {"avi", false, -1}, {"", false, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    int16_t kind = 42;
    EXPECT_EQ(MediaKindFromExtension(c.ext, kind), c.known);
    EXPECT_EQ(kind, c.kind);
  }
  EXPECT_TRUE(IsVideoExtension(".DAT"));
  EXPECT_FALSE(IsVideoExtension(".fli"));
  EXPECT_TRUE(IsAnimationExtension(".flc"));
  EXPECT_TRUE(IsAudioExtension(".RMI"));
  EXPECT_FALSE(IsAudioExtension(".avi"));
  EXPECT_TRUE(IsMediaExtension(".mid"));
}

// ---- the control bar's record ----

TEST(MciBarData, DefaultsAndPanels) {
  TMCIBarData d;
  EXPECT_EQ(d.Style, 0x0100);
  EXPECT_EQ(d.ButtonMask, 0x0005);
  EXPECT_EQ(d.MediaObjectId, -1);
  EXPECT_EQ(d.ShowBar, 1);
  const int32_t states[] = {0, -1, 0, -1, -1, -1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(d.ButtonStates[i], states[i]) << i;
  EXPECT_EQ(d.PanelWidth, 2 * kMciBarSmallImageWidth);
  EXPECT_EQ(d.PanelHeight, kMciBarSmallHeight);

  struct Case {
    const char* what;
    uint16_t style, mask;
    int32_t width, height;
  } cases[] = {
      {"six large in a row", 0x0101, 0x3F, 6 * kMciBarLargeImageWidth, kMciBarLargeHeight},
      {"three small in a column", 0x0200, 0x07, kMciBarSmallImageWidth, 3 * kMciBarSmallHeight},
      {"row wins over column", 0x0300, 0x03, 2 * kMciBarSmallImageWidth, kMciBarSmallHeight},
      {"no image set", 0x0102, 0x3F, 100, 100},
      {"layout 0", 0x0000, 0x3F, 100, 100},
      {"layout without bits 1 and 2", 0x0400, 0x3F, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d.Style = c.style;
    d.ButtonMask = c.mask;
    d.Recompute();
    EXPECT_EQ(d.PanelWidth, c.width);
    EXPECT_EQ(d.PanelHeight, c.height);
  }
}

TEST(MciBarData, ClicksFindTheButton) {
  TMCIBarData d;
  d.ButtonMask = 0x3F;
  d.Recompute();
  const int w = kMciBarSmallImageWidth;
  struct Case {
    const char* what;
    uint16_t style, mask;
    int x, y, index;
  } cases[] = {
      {"first", 0x0100, 0x3F, 0, 0, 0},
      {"order is play pause stop start end door", 0x0100, 0x3F, 3 * w + 1, 5, 3},
      {"fifth: to the end (mask 0x08)", 0x0100, 0x3F, 4 * w + 1, 5, 4},
      {"last pixel", 0x0100, 0x3F, 6 * w - 1, 0, 5},
      {"right of the panel", 0x0100, 0x3F, 6 * w, 0, -1},
      {"left of the panel", 0x0100, 0x3F, -1, 0, -1},
      {"present ones only", 0x0100, 0x24, w, 0, 5},
      {"column", 0x0200, 0x05, 0, kMciBarSmallHeight + 1, 2},
      {"column, above", 0x0200, 0x05, 0, -3, -1},
      {"no layout bits", 0x0400, 0x3F, 0, 0, -1},
      {"no images", 0x0102, 0x3F, 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d.Style = c.style;
    d.ButtonMask = c.mask;
    d.Recompute();
    EXPECT_EQ(d.ButtonAt(c.x, c.y), c.index);
  }
}

TEST(MciBarData, HandMadeRecordsAndRoundTrip) {
  const auto record = [](uint32_t flags, bool reserved, bool settings) {
    Bytes b;
    b.u32(0).u32(flags).i32(-1).i32(-1).u16(0x0201).u16(0x3F).i32(12);
    if (reserved) b.u8(4).zeros(15);
    if (settings) {
      b.u8(0).u32(0x123456).u32(0xFF).u32(0xFF00).u32(6).u32(50).u32(2).u32(0);
      b.u16(1).u16(1).u16(0).u16(1).u16(0).u16(1).u8(3).zeros(31);
    }
    return b.put32(0, static_cast<uint32_t>(b.size()));
  };
  struct Case {
    const char* what;
    uint8_t major, minor;
    Bytes bytes;
    uint16_t style;
    uint8_t reserved0, show;
    uint32_t background;
  } cases[] = {
      {"current", 4, 7, record(0x1008, true, true), 0x0201, 4, 0, 0x123456},
      {"version 2.4: default style, no block", 2, 4, record(0x1008, false, true), 0x0100, 0, 0, 0x123456},
      {"without settings", 4, 7, record(0x1000, true, false), 0x0201, 4, 1, 0xC0C0C0},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFileVersionScope version(c.major, c.minor);
    MemoryStream m = c.bytes.stream();
    TMCIBarData d;
    ASSERT_TRUE(d.Read(m));
    EXPECT_EQ(m.Position(), static_cast<int64_t>(c.bytes.size()));
    EXPECT_EQ(d.Style, c.style);
    EXPECT_EQ(d.ButtonMask, 0x3F);
    EXPECT_EQ(d.MediaObjectId, 12);
    EXPECT_EQ(d.Reserved[0], c.reserved0);
    EXPECT_EQ(d.ShowBar, c.show);
    EXPECT_EQ(d.BarSettings.BackgroundColour, c.background);
    EXPECT_EQ(d.ButtonStates[5], 0);
  }
  TFileVersionScope newest(kFileVersionMajor, kFileVersionMinor);
  MemoryStream m = cases[0].bytes.stream();
  TMCIBarData d;
  d.Read(m);
  const std::vector<uint8_t> first = Written(d);
  EXPECT_EQ(first, cases[0].bytes.data()) << "written as read";
  EXPECT_EQ(first.size(), 40u + 1 + TKVR_ScrollerSettings::kStoredBytes);
  MemoryStream again(first);
  TMCIBarData e;
  e.Read(again);
  EXPECT_EQ(Written(e), first);
  TMCIBarData reset;
  reset.Assign(&d);
  EXPECT_EQ(Written(reset), first);
  TMCIData foreign;
  reset.Assign(&foreign);
  EXPECT_EQ(reset.ButtonMask, 0x0005);
  EXPECT_EQ(reset.MediaObjectId, -1);
}

TEST(MciDescription, StatementsSpellTheRecords) {
  struct Case {
    const char* what;
    std::string line;
    std::string data;
  } cases[] = {
      {"file", "media \"a.avi\" repeat", "data flags 4100 i16 -1 u16 20 str \"a.avi\" zeros 16"},
      {"tracks", "media tracks 2 3 kind 6 mute errors",
       "data flags 4101 i16 6 u16 0 u16 2 i16 2 i16 3 zeros 16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MediaStatementData(DescriptionWords(c.line)), c.data);
  }
  EXPECT_NE(McibarStatementData(DescriptionWords("mcibar target 3 buttons 0x3F")).find("u16 256 u16 63 i32 3"),
            std::string::npos);
  EXPECT_THROW(MediaStatementData(DescriptionWords("media 12")), TDescriptionFailure);
  EXPECT_THROW(McibarStatementData(DescriptionWords("mcibar loud")), TDescriptionFailure);
}

}  // namespace
