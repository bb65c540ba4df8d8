// The project info record, the file header and the page directory.
#include <gtest/gtest.h>

#include "bytes.h"
#include "engine/core/format/projectfile.h"
#include "engine/core/format/recordctx.h"

using tsl::MemoryStream;

namespace {

// A stored info record of the given version; the rectangle in the form the
// version asks for. Returns the bytes; the length field covers them.
Bytes InfoRecord(uint8_t major, uint8_t minor, uint32_t flags, int32_t right = 640, int32_t bottom = 480,
                 uint32_t extra = 0) {
  Bytes b;
  b.u32(0).u32(flags).u8(0x20).u16(1).u8(major).u8(minor).fixed("Hinweis", 80).fixed("Titel", 64);
  if (major <= 2 && minor < 5)
    b.i16(-1).i16(0).i16(static_cast<int16_t>(right)).i16(static_cast<int16_t>(bottom)).u16(3);
  else
    b.u16(3).i32(-1).i32(0).i32(right).i32(bottom);
  b.u16(2).str("\\DATEN\\");
  b.u32(38).u32(0x4).u16(2).u16(0).u32(0xFFFFFF).u32(0).str("").zeros(16);  // background
  b.u16(3).u32(5).u32(2).u32(9);                                          // page sequence
  b.u32(1 | 2 | 8).str("kontur.dat").u32(0x5EC0).fixed("RESERV", 6);
  const size_t fields = b.size();
  b.zeros(extra);
  b.put32(0, static_cast<uint32_t>(fields + extra));
  return b;
}

// A whole file: header, info record, page directory, object-list record.
Bytes ProjectFile(uint32_t flags, uint32_t magic = 0x79EE9540, uint32_t count = 2) {
  Bytes b;
  b.u32(0).u32(0).u32(0x11).u32(0x22);
  b.append(InfoRecord(4, 7, flags).data());
  const size_t dir = b.size();
  b.u32(magic).u32(count).u32(0x1000).u32(7).u32(0x2000).u32(3);
  const size_t list = b.size();
  b.u32(12).u32(0xFFFFFFFF).u32(0xFFFFFFFF).u32(0xABCD);
  b.put32(0, static_cast<uint32_t>(dir)).put32(4, static_cast<uint32_t>(list));
  return b;
}

}  // namespace

TEST(TBookStructOptions, Defaults) {
  TBookStructOptions o;
  EXPECT_EQ(o.DataFolder, "\\DATA\\");
  EXPECT_EQ(o.QuitKeys, 3u);
  EXPECT_EQ(o.Flags, 0x1000u);
  EXPECT_EQ(o.VersionMajor, 4);
  EXPECT_EQ(o.VersionMinor, 7);
  EXPECT_EQ(o.WindowRect, (TObjectRect{0, 0, 800, 600, 0}));
  EXPECT_EQ(o.PathMode, 1);
  EXPECT_EQ(o.Background.Mode, 2);
}

TEST(TBookStructOptions, FieldsInFileOrder) {
  const Bytes b = InfoRecord(4, 7, 0x1102);
  MemoryStream m = b.stream();
  TBookStructOptions o;
  o.Read(m);
  EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size()));
  EXPECT_EQ(o.Flags, 0x1102u);
  EXPECT_EQ(o.GetNotice(), "Hinweis");
  EXPECT_EQ(o.GetTitle(), "Titel");
  EXPECT_EQ(o.WindowRect, (TObjectRect{-1, 0, 640, 480, 3}));
  EXPECT_EQ(o.PathMode, 2);
  EXPECT_EQ(o.DataFolder, "\\DATEN\\");
  EXPECT_EQ(o.Background.Colour1, 0xFFFFFFu);
  EXPECT_EQ(o.PageSequence.Values, (std::vector<uint32_t>{5, 2, 9}));
  EXPECT_EQ(o.QuitKeys, 11u);
  EXPECT_EQ(o.ContourFile, "kontur.dat");
  EXPECT_EQ(o.SecondValue, 0x5EC0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(o.Reserve), 6), "RESERV");
  MemoryStream w;
  o.Write(w);
  EXPECT_EQ(w.Data(), b.data());
  EXPECT_EQ(o.RecordLength, b.size());
}

TEST(TBookStructOptions, OldAndNewRectangleForms) {
  struct Case { uint8_t major, minor; };
  for (const Case c : {Case{2, 4}, Case{1, 5}, Case{3, 0}, Case{4, 7}, Case{1, 0}}) {
    const Bytes b = InfoRecord(c.major, c.minor, 0x2, 1024, 768);
    MemoryStream m = b.stream();
    TBookStructOptions o;
    o.Read(m);
    EXPECT_EQ(o.WindowRect, (TObjectRect{-1, 0, 1024, 768, 3})) << int(c.major) << "." << int(c.minor);
    EXPECT_EQ(o.ContourFile, "kontur.dat") << int(c.major) << "." << int(c.minor);
    // Written again: the newest version and the new form.
    MemoryStream w;
    o.Write(w);
    w.Seek(0);
    TBookStructOptions r;
    r.Read(w);
    EXPECT_EQ(r.VersionMinor, 7);
    EXPECT_EQ(r.WindowRect, o.WindowRect);
  }
}

TEST(TBookStructOptions, StoredLengthLongerOrZero) {
  {
    const Bytes b = InfoRecord(4, 7, 0x2, 640, 480, 40);
    MemoryStream m = b.stream();
    TBookStructOptions o;
    o.Read(m);
    EXPECT_EQ(m.Position(), static_cast<int64_t>(b.size())) << "40 bytes behind the reserve";
  }
  {
    Bytes b = InfoRecord(4, 7, 0x2);
    const size_t fields = b.size();
    b.put32(0, 0).zeros(8);
    MemoryStream m = b.stream();
    TBookStructOptions o;
    o.Read(m);
    EXPECT_EQ(m.Position(), static_cast<int64_t>(fields)) << "zero: on behind the fields, never back";
  }
}

TEST(TBookStructOptions, ContourFileResolvedForTheOpenProject) {
  struct Project : tsl::TFileVersionScope {
    Project() : TFileVersionScope(4, 7) {}
    string ResolvePath(const string& name) const override { return "C:\\PRJ\\" + name; }
  } project;
  MemoryStream m = InfoRecord(4, 7, 0x2).stream();
  TBookStructOptions o;
  o.Read(m);
  EXPECT_EQ(o.GetContourPath(), "C:\\PRJ\\kontur.dat");
  EXPECT_EQ(o.ContourFile, "kontur.dat");
}

TEST(ProjectFile, HeaderDirectoryAndListRecord) {
  MemoryStream m = ProjectFile(0x1002).stream();
  TProjectHeader h;
  TBookStructOptions info;
  ASSERT_TRUE(ReadProjectHeader(m, h, info));
  EXPECT_EQ(h.Values[2], 0x11u);
  EXPECT_EQ(info.Flags, 0x1002u);
  TPageDirectory dir;
  ASSERT_TRUE(dir.Read(m, h.Values[0]));
  ASSERT_EQ(dir.Count(), 2);
  uint32_t v;
  EXPECT_TRUE(dir.GetPageOffset(1, v));
  EXPECT_EQ(v, 0x2000u);
  EXPECT_TRUE(dir.GetPageNumber(0, v));
  EXPECT_EQ(v, 7u);
  EXPECT_FALSE(dir.GetPageOffset(2, v)) << "index equal to the count";
  EXPECT_FALSE(dir.GetPageNumber(-1, v));
  EXPECT_EQ(dir.FindPageIndex(3), 1);
  EXPECT_EQ(dir.FindPageIndex(4), -1);
  m.Seek(h.Values[1]);
  TProjectListRecord list;
  list.Read(m);
  EXPECT_EQ(list.Values[0], 12u);
  EXPECT_EQ(list.Values[3], 0xABCDu);

  MemoryStream again = ProjectFile(0x1002).stream();
  EXPECT_TRUE(IsPlayableProject(again));
  MemoryStream notRunTime = ProjectFile(0x1000).stream();
  EXPECT_FALSE(IsPlayableProject(notRunTime)) << "without flag 0x2 a valid file does not play";
}

TEST(ProjectFile, BadHeadersAndDirectories) {
  MemoryStream wrong = ProjectFile(0x2, 0x79EE9541).stream();
  TProjectHeader h;
  TBookStructOptions info;
  EXPECT_FALSE(ReadProjectHeader(wrong, h, info));
  EXPECT_FALSE(IsPlayableProject(wrong));

  Bytes outside = ProjectFile(0x2);
  outside.put32(0, 0x7FFFFFF0);
  MemoryStream o = outside.stream();
  EXPECT_FALSE(ReadProjectHeader(o, h, info)) << "a directory offset past the end";

  MemoryStream empty;
  EXPECT_FALSE(ReadProjectHeader(empty, h, info));

  // A stand-in for a page record's head (magic, own offset) at the end: 40
  // bytes follow the count, room for five entries, not six. The two real
  // entries lead to the stand-in; the three behind them are the bytes of
  // the object-list record and of the stand-in and lead nowhere.
  const auto withRecord = [](uint32_t count, std::vector<size_t> realEntries) {
    Bytes b = ProjectFile(0x2, 0x79EE9540, count);
    const uint32_t rec = static_cast<uint32_t>(b.size());
    b.u32(0x79EE9540).u32(rec);
    uint32_t dir;
    std::memcpy(&dir, &b.data()[0], 4);
    for (size_t e : realEntries) b.put32(dir + 8 + 8 * e, rec);
    return b;
  };
  struct Case {
    const char* what;
    uint32_t count;
    bool read;
    int pages;
  };
  const Case cases[] = {
      {"count 0", 0, false, 0},
      {"count 2, as stored", 2, true, 2},
      {"one more than the file holds", 6, true, 2},
      {"a count of 0x20000001", 0x20000001u, true, 2},
      {"a count of 0x20000000", 0x20000000u, true, 2},
      {"the largest count", 0xFFFFFFFFu, true, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryStream m = withRecord(c.count, {0, 1}).stream();
    ASSERT_TRUE(ReadProjectHeader(m, h, info));
    TPageDirectory dir;
    dir.Pages.Add(TPagePointer{1, 1});
    EXPECT_EQ(dir.Read(m, h.Values[0]), c.read);
    ASSERT_EQ(dir.Count(), c.pages);
    uint32_t v = 0;
    if (c.pages == 2) {
      EXPECT_TRUE(dir.GetPageNumber(1, v));
      EXPECT_EQ(v, 3u) << "the real entries come first, unchanged";
    }
  }
  {  // an entry that leads nowhere before the last real one stays, to fail as a damaged page
    MemoryStream m = withRecord(6, {0, 2}).stream();
    ASSERT_TRUE(ReadProjectHeader(m, h, info));
    TPageDirectory dir;
    EXPECT_TRUE(dir.Read(m, h.Values[0]));
    EXPECT_EQ(dir.Count(), 3);
  }
  {  // the magic alone, as a shared list has it, is no page record
    Bytes b = withRecord(6, {0});
    b.put32(b.data().size() - 4, 0x12);
    MemoryStream m = b.stream();
    ASSERT_TRUE(ReadProjectHeader(m, h, info));
    TPageDirectory dir;
    EXPECT_FALSE(dir.Read(m, h.Values[0]));
    EXPECT_EQ(dir.Count(), 0);
  }
}

TEST(ProjectFile, WrittenHeaderCarriesTheNewestVersion) {
  TProjectHeader h;
  h.Values[0] = 0x100;
  TBookStructOptions info;
  info.VersionMajor = 3;
  info.VersionMinor = 1;
  TBookStructOptions own;
  MemoryStream m;
  WriteProjectHeader(m, h, info, own);
  EXPECT_EQ(info.VersionMajor, 4);
  EXPECT_EQ(info.VersionMinor, 7);
  m.Seek(16);
  TBookStructOptions r;
  r.Read(m);
  EXPECT_EQ(r.RecordLength, m.Data().size() - 16);
  EXPECT_EQ(r.FormatByte, 0x20);
}

TEST(ProjectFile, PageCaption) {
  EXPECT_EQ(PageCaption("Seite: ", 12, "Start"), "Seite: 12, Start");
  EXPECT_EQ(PageCaption("Seite: ", 0, ""), "Seite: 0, ");
}
