// The installation description and its list, SETUP.DAT's walk and the run's
// portable decisions: descriptions laid down byte by byte from the format
// table, our writer's round trip, damaged files, and the edge cases of the
// uninstall record and the program manager's commands.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "actions/core/installdesc.h"
#include "actions/core/installrun.h"
#include "actions/core/setupdat.h"
#include "engine/format/bytes.h"
#include "tools/core/desc/setupdesc.h"

namespace {

using Vec = std::vector<uint8_t>;

// The fields 6 to 15 of a description.
Bytes& Tail(Bytes& b, uint32_t flags, const std::string& target = "C:\\ZIEL") {
  b.u32(2880).str("B:\\").str(target).str("set1").u16(1).str("Gruppe").str("fünf").u16(7).u32(flags);
  for (int i = 0; i < 24; ++i) b.u8(static_cast<uint8_t>(i));
  return b;
}

TInstallOptionen ReadDesc(const Bytes& b) {
  TInstallOptionen o;
  tsl::MemoryStream s = b.stream();
  o.Read(s);
  return o;
}

TEST(InstallDescription, ReadsTheTableAndSortsInByteOrderWithNewAfterEqual) {
  Bytes b;
  b.u8(1);
  b.i16(4).str("txt").str("EDIT.EXE").str("Text").str("Zz").str("a").str("1").str("doc").str("WORD.EXE").str("Doc")
      .str("txt").str("SECOND.EXE").str("Text 2");
  b.i16(1).str("\\SRC").str("x").str("y");
  b.i16(2).str("b.exe").str("B").str("a.exe").str("A");
  b.i16(2).u32(5).u32(3);
  Tail(b, 0x10);
  const TInstallOptionen o = ReadDesc(b);
  ASSERT_EQ(o.Associations.size(), 4u);
  // "Zz" sorts before lower case letters in byte order; the second "txt"
  // follows the first.
  EXPECT_EQ(o.Associations[0].Extension.str(), "Zz");
  EXPECT_EQ(o.Associations[1].Extension.str(), "doc");
  EXPECT_EQ(o.Associations[2].Program.str(), "EDIT.EXE");
  EXPECT_EQ(o.Associations[3].Program.str(), "SECOND.EXE");
  ASSERT_EQ(o.ProgramItems.size(), 2u);
  EXPECT_EQ(o.ProgramItems[0].Title.str(), "A");
  ASSERT_EQ(o.SourcePaths.size(), 1u);
  EXPECT_EQ(o.SourcePaths[0].Third.str(), "y");
  EXPECT_EQ(o.Numbers, (std::vector<uint32_t>{5, 3}));  // file order
  EXPECT_EQ(o.DiskSize, 2880u);
  EXPECT_EQ(o.SourceDrive.str(), "B:\\");
  EXPECT_EQ(o.TargetFolder.str(), "C:\\ZIEL");
  EXPECT_EQ(o.PictureSetFolder.str(), "set1");
  EXPECT_EQ(o.GroupName.str(), "Gruppe");
  EXPECT_EQ(o.ReservedWord, 7);
  EXPECT_EQ(o.Flags, 0x10u);
  EXPECT_EQ(o.Reserved[23], 23);
}

TEST(InstallDescription, FlagsVersionsCountsAndTruncation) {
  struct Case {
    const char* what;
    Bytes bytes;
    uint32_t flags;
    size_t associations;
    const char* target;
  };
  auto one = [](int16_t n) {
    Bytes b;
    b.u8(1).i16(n);
    return b;
  };
  std::vector<Case> cases;
  {
    Bytes b = one(0);
    b.i16(0).i16(0).i16(0);
    cases.push_back({"no mode bit gets 0x20", Tail(b, 0x01), 0x21, 0, "C:\\ZIEL"});
  }
  {
    Bytes b = one(0);
    b.i16(0).i16(0).i16(0);
    cases.push_back({"0x18 stays", Tail(b, 0x18), 0x18, 0, "C:\\ZIEL"});
  }
  {
    Bytes b = one(-3);
    b.i16(0).i16(0).i16(0);
    cases.push_back({"a negative count reads nothing", Tail(b, 0x08), 0x08, 0, "C:\\ZIEL"});
  }
  {
    Bytes b;
    b.u8(2).i16(1).str("txt").str("A").str("B");
    cases.push_back({"version 2 stops before the lists", b, 0x11, 0, "C:\\TEST"});
  }
  {
    Bytes b = one(1);
    b.str("txt").str("A");
    cases.push_back({"cut inside an element: the rest keeps its defaults", b, 0x11, 1, "C:\\TEST"});
  }
  {
    Bytes b = one(32767);
    b.str("txt").str("A").str("B");
    cases.push_back({"a count the file does not hold", b, 0x11, 1, "C:\\TEST"});
  }
  cases.push_back({"empty file", Bytes(), 0x11, 0, "C:\\TEST"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TInstallOptionen o = ReadDesc(c.bytes);
    EXPECT_EQ(o.Flags, c.flags);
    EXPECT_EQ(o.Associations.size(), c.associations);
    EXPECT_EQ(o.TargetFolder.str(), c.target);
  }
}

TEST(InstallDescription, WriterLaysDownTheTableAndReadsBack) {
  TInstallOptionen o;
  o.Version = 5;  // the writer always stores 1
  o.AddAssociation({"tsl", "PLAY.EXE", "Projekt"});
  o.AddProgramItem({"PLAY.EXE", "Spieler"});
  o.Numbers = {9};
  tsl::MemoryStream out;
  ASSERT_TRUE(o.Write(out));
  Bytes b;
  b.u8(1).u16(1).str("tsl").str("PLAY.EXE").str("Projekt").u16(0).u16(1).str("PLAY.EXE").str("Spieler").u16(1).u32(9);
  b.u32(1440).str("A:\\").str("C:\\TEST").str("").u16(1).str("Programmgruppe").str("").u16(0).u32(0x11).zeros(24);
  EXPECT_EQ(out.Data(), b.data());

  const TInstallOptionen d;
  tsl::MemoryStream s;
  TInstallOptionen(d).Write(s);
  s.Seek(0);
  TInstallOptionen back;
  back.TargetFolder = "changed";
  back.Read(s);
  EXPECT_EQ(back.Flags, 0x11u);
  EXPECT_EQ(back.TargetFolder.str(), "C:\\TEST");
  EXPECT_EQ(back.GroupName.str(), "Programmgruppe");
  EXPECT_EQ(back.DiskSize, 1440u);
  EXPECT_EQ(back.CreateGroup, 1);
  EXPECT_EQ(back.Pictures.Entries.size(), 44u);
}

TEST(InstallDescription, ListReplacesByNameInAnyCase) {
  TInstallDescriptionList list;
  auto key = [](const char* name, const char* path) {
    auto k = std::make_unique<TInstallStructKey>();
    k->Name = name;
    k->Path = path;
    return k;
  };
  list.Replace(key("Demo", "a"));
  list.Replace(key("Other", "b"));
  list.Get("demo")->Busy = 1;
  list.Replace(key("DEMO", "c"));
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Find("dEmO"), 1);
  EXPECT_EQ(list.Get("Demo")->Path.str(), "c");
  EXPECT_EQ(list.Get("Demo")->Busy, 0);  // a fresh load runs again
  EXPECT_EQ(list.Find("Umlaut\xC4"), -1);
  list.Replace(key("umlaut\xC4", "d"));
  EXPECT_EQ(list.Find("UMLAUT\xE4"), 2);  // code page 1252 letters too
}

TEST(InstallRun, DeleteModeAndFileDates) {
  const struct {
    uint32_t flags;
    int mode;
  } modes[] = {{0x18, 1}, {0x28, 2}, {0x38, 2}, {0x11, 1}, {0x08, 0}, {0, 2}};
  for (const auto& m : modes) EXPECT_EQ(InstallDeleteMode(m.flags), m.mode) << std::hex << m.flags;

  const struct {
    const char* what;
    TFileStamp t;
    const char* text;
  } dates[] = {
      {"midnight", {2026, 12, 9, 0, 5, 7}, "December 9, 2026 0:05:07am"},
      {"noon", {2001, 1, 31, 12, 0, 0}, "January 31, 2001 12:00:00pm"},
      {"afternoon", {1999, 6, 5, 13, 9, 59}, "June 5, 1999 1:09:59pm"},
      {"last second", {2030, 9, 30, 23, 59, 58}, "September 30, 2030 11:59:58pm"},
      {"morning", {1980, 2, 29, 11, 30, 2}, "February 29, 1980 11:30:02am"},
  };
  for (const auto& d : dates) {
    SCOPED_TRACE(d.what);
    EXPECT_EQ(FormatFileDate(d.t), d.text);
  }
}

TEST(InstallRun, LastMatchShellPathsAndTheUninstallRecord) {
  const std::vector<std::string> files = {"C:\\Z\\DEMO.EXE", "C:\\Z\\HILFE.TXT", "C:\\Z\\SUB\\DEMO.EXE"};
  EXPECT_EQ(FindLastInstalled(files, "demo.exe"), 2);
  EXPECT_EQ(FindLastInstalled(files, "HILFE"), 1);
  EXPECT_EQ(FindLastInstalled(files, "NONE.EXE"), -1);

  EXPECT_EQ(ShellSafeChoice("", "", false, true), "");
  EXPECT_EQ(ShellSafeChoice("C:\\A\\B.EXE", "C:\\A\\B.EXE", true, false), "C:\\A\\B.EXE");
  EXPECT_EQ(ShellSafeChoice("C:\\Long Name\\B.EXE", "C:\\LONGNA~1\\B.EXE", true, true), "C:\\LONGNA~1\\B.EXE");
  EXPECT_EQ(ShellSafeChoice("C:\\Long Name\\B.EXE", "C:\\LONGNA~1\\B.EXE", true, false), "\"C:\\Long Name\\B.EXE\"");
  EXPECT_EQ(ShellSafeChoice("C:\\Gone\\B.EXE", "", false, true), "\"C:\\Gone\\B.EXE\"");

  TUninstallRecord r;
  r.DeleteMode = 1;
  r.Target = "C:\\ZIEL\\";
  r.Files = {{"C:\\ZIEL\\A.EXE", {2026, 3, 4, 0, 5, 7}}, {"C:\\ZIEL\\D\\B.TXT", {2026, 3, 4, 15, 0, 0}}};
  r.Folders = {"C:\\ZIEL\\", "C:\\ZIEL\\D\\"};
  r.WithGroup = true;
  r.GroupName = "Demo";
  r.Extensions = {"abc", "xyz"};
  EXPECT_EQ(UninstallIniText(r),
            "[DELMODE]\r\nMODE=1\r\n\r\n[TARGET]\r\nPATH=C:\\ZIEL\\\r\n\r\n[FILES]\r\nNUMFILES=2\r\n"
            "FILE0=C:\\ZIEL\\A.EXE\r\nFILEDATE0=March 4, 2026 0:05:07am\r\n"
            "FILE1=C:\\ZIEL\\D\\B.TXT\r\nFILEDATE1=March 4, 2026 3:00:00pm\r\n\r\n"
            "[DIRS]\r\nNUMDIRS=2\r\nDIR0=C:\\ZIEL\\\r\nDIR1=C:\\ZIEL\\D\\\r\n\r\n"
            "[GROUPNAME]\r\nNAME=Demo\r\n\r\n[EXT]\r\nNUMEXT=2\r\nEXT0=abc\r\nEXT1=xyz\r\n");
  r.WithGroup = false;
  EXPECT_EQ(UninstallIniText(r).find("GROUPNAME"), std::string::npos);
}

TEST(InstallRun, ProgramManagerCommandsAndErrorTexts) {
  const std::vector<TProgManItem> items = {{"D:\\DEMO\\DEMO.EXE", "Demo", ""},
                                           {"D:\\DEMO\\Uninstall.exe", "Demo Deinstallation", ""}};
  EXPECT_EQ(ProgManCreateCommand("Demo", items),
            "[CreateGroup(Demo)][AddItem(D:\\DEMO\\DEMO.EXE,Demo)][AddItem(D:\\DEMO\\Uninstall.exe,Demo "
            "Deinstallation)]");
  EXPECT_EQ(ProgManShowCommand("Demo"), "[ShowGroup(Demo,1)]");
  EXPECT_EQ(ProgManCreateCommand("G", {}), "[CreateGroup(G)]");
  EXPECT_EQ(ProgManCreateCommand("G", {{"a,b", "t(1)", "ic"}}), "[CreateGroup(G)][AddItem(a,b,t(1),ic)]");
  EXPECT_EQ(ProgManDeleteCommand("G"), "[CreateGroup(G)][DeleteGroup(G)]");
  EXPECT_TRUE((TProgManItem{"a", "b", "x"} == TProgManItem{"a", "b", "y"}));

  EXPECT_EQ(DdeErrorText(0x4001), "Fehler: DMLERR_BUSY\t");
  EXPECT_EQ(DdeErrorText(0x4002), "Fehler: DMLERR_DATAACKTIMEOUT ");
  EXPECT_EQ(DdeErrorText(0x4003), "Fehler: DMLERR_DLL_NOT_INITIALIZED\t");
  EXPECT_EQ(DdeErrorText(0x400A), "Fehler: DMLERR_NO_CONV_ESTABLISHED");
  EXPECT_EQ(DdeErrorText(0x4011), "Fehler: DMLERR_UNFOUND_QUEUE_ID");
  EXPECT_EQ(DdeErrorText(0), "Unbekannter DDE-Fehler");
  EXPECT_EQ(DdeErrorText(0x4012), "Unbekannter DDE-Fehler");
}

// --- SETUP.DAT --------------------------------------------------------

Vec Member(const std::string& content) {
  TLzssCore z;
  tsl::MemoryStream in(content.data(), content.size()), out;
  EXPECT_EQ(z.Encode(&in, &out), 1);
  return out.Data();
}

// Files land in a map; folders are recorded.
class TMemorySink : public TSetupDatSink {
public:
  std::map<std::string, std::string> Files;
  std::vector<std::string> Made;
  std::string FailFolder;
  bool MakeFolders(const std::string& path) override {
    Made.push_back(path);
    return FailFolder.empty() || path.find(FailFolder) == std::string::npos;
  }
  bool Unpack(const std::string& path, TLzssCore& codec, tsl::ByteStream& in) override {
    tsl::MemoryStream out;
    const bool ok = codec.Decode(&in, &out);
    if (ok) Files[path] = std::string(out.Data().begin(), out.Data().end());
    return ok;
  }
};

struct SetupFile {
  std::string name, content;
};
struct SetupFolder {
  std::string name;
  std::vector<SetupFile> files;
};

Bytes SetupDat(const std::vector<SetupFolder>& folders, uint32_t total = 0) {
  Bytes b;
  b.u32(total).i16(static_cast<int16_t>(folders.size()));
  for (const SetupFolder& f : folders) {
    b.i16(static_cast<int16_t>(f.files.size())).str(f.name);
    for (const SetupFile& x : f.files) b.str(x.name).append(Member(x.content));
  }
  return b;
}

TEST(SetupDat, WalksFoldersInFileOrder) {
  const Bytes b = SetupDat({{"", {{"a.exe", "AAAA"}, {"leer.txt", ""}}},
                            {" \\Daten\\Sub\\ ", {{"b.txt", std::string(5000, 'b')}}}}, 5004);
  tsl::MemoryStream s = b.stream();
  EXPECT_EQ(SetupDatTotal(s), 5004u);
  s.Seek(0);
  TMemorySink sink;
  TLzssCore codec;
  const TSetupWalk w = WalkSetupDat(s, "C:\\Ziel\\", codec, sink);
  EXPECT_EQ(w.Step, TSetupStep::Done);
  EXPECT_EQ(w.Folders, (std::vector<std::string>{"C:\\Ziel\\", "C:\\Ziel\\Daten\\Sub\\"}));
  EXPECT_EQ(w.Files, (std::vector<std::string>{"C:\\ZIEL\\A.EXE", "C:\\ZIEL\\LEER.TXT", "C:\\ZIEL\\DATEN\\SUB\\B.TXT"}));
  EXPECT_EQ(sink.Files["C:\\Ziel\\a.exe"], "AAAA");
  EXPECT_EQ(sink.Files["C:\\Ziel\\Daten\\Sub\\b.txt"], std::string(5000, 'b'));
  EXPECT_EQ(s.Remaining(), 0);
}

TEST(SetupDat, RefusesNamesOutsideTheTargetAndStopsOnDamage) {
  const std::string longName(255, 'x');
  struct Case {
    const char* what;
    Bytes bytes;
    TSetupStep step;
    const char* path;
    size_t written;
  };
  Bytes cut = SetupDat({{"", {{"a.txt", std::string(3000, 'q')}}}});
  Bytes truncated;
  truncated.raw(cut.data().data(), cut.size() - 10);
  Bytes flipped = SetupDat({{"", {{"a.txt", "AB"}, {"b.txt", "C"}}}});
  Vec fb = flipped.data();
  fb[4 + 2 + 2 + 2 + 2 + 5] ^= 0xFF;  // the first member's magic
  Bytes damagedMagic;
  damagedMagic.append(fb);
  Bytes countsBeyond;
  countsBeyond.u32(0).i16(3).i16(1).str("").str("a.txt").append(Member("A"));
  const std::vector<Case> cases = {
      {"folder with ..", SetupDat({{"a\\..\\..", {{"x", "1"}}}}), TSetupStep::UnsafeName, "C:\\T\\a\\..\\..\\", 0},
      {"folder with a drive", SetupDat({{"D:\\x", {{"x", "1"}}}}), TSetupStep::UnsafeName, "C:\\T\\D:\\x\\", 0},
      {"absolute with a slash", SetupDat({{"/etc", {{"x", "1"}}}}), TSetupStep::UnsafeName, "C:\\T\\/etc\\", 0},
      {"file with ..", SetupDat({{"", {{"ok", "1"}, {"../x", "1"}}}}), TSetupStep::UnsafeName, "C:\\T\\../x", 1},
      {"file absolute", SetupDat({{"", {{"\\x", "1"}}}}), TSetupStep::UnsafeName, "C:\\T\\\\x", 0},
      {"path over 259", SetupDat({{"", {{longName, "1"}}}}), TSetupStep::UnsafeName, nullptr, 0},
      {"member cut short", truncated, TSetupStep::FileFailed, "C:\\T\\a.txt", 0},
      {"member without magic", damagedMagic, TSetupStep::FileFailed, "C:\\T\\a.txt", 0},
      {"counts beyond the end", countsBeyond, TSetupStep::FileFailed, "C:\\T\\", 1},
      {"no folders", SetupDat({}), TSetupStep::Done, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tsl::MemoryStream s = c.bytes.stream();
    TMemorySink sink;
    TLzssCore codec;
    const TSetupWalk w = WalkSetupDat(s, "C:\\T\\", codec, sink);
    EXPECT_EQ(w.Step, c.step);
    if (c.path) {
      EXPECT_EQ(w.Path, c.path);
    }
    EXPECT_EQ(sink.Files.size(), c.written);
    EXPECT_EQ(w.Files.size(), c.written);
  }
  TMemorySink failing;
  failing.FailFolder = "Sub";
  tsl::MemoryStream s = SetupDat({{"Sub", {{"x", "1"}}}}).stream();
  TLzssCore codec;
  const TSetupWalk w = WalkSetupDat(s, "", codec, failing);
  EXPECT_EQ(w.Step, TSetupStep::FolderFailed);
  EXPECT_EQ(w.Path, "Sub\\");
}

TEST(SetupDat, ProgressReportsEachWholePercentOnce) {
  const struct {
    uint32_t total, bytes;
  } cases[] = {{1000, 1000}, {7, 7}, {100000, 100000}, {250, 300}, {0, 50}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.total);
    TInstallProgress p(c.total);
    std::vector<int> reported;
    int last = 0;
    for (uint32_t i = 0; i < c.bytes; ++i) {
      const int r = p.Step();
      // The percentage of the counter before this byte, reported when its
      // whole part changes.
      const int expect = c.total ? static_cast<int>(uint64_t(i) * 100 / c.total) : 0;
      if (c.total && expect != last && expect < 100) {
        EXPECT_EQ(r, expect) << "byte " << i;
      } else {
        EXPECT_EQ(r, -1) << "byte " << i;
      }
      if (c.total && expect != last) last = expect;
      if (r >= 0) reported.push_back(r);
    }
    if (c.total >= 100 && c.bytes >= c.total) {
      EXPECT_EQ(reported.size(), 99u);
    }
    if (c.total == 0) {
      EXPECT_TRUE(reported.empty());
    }
  }
}

}  // namespace

namespace {

// The fixture writer: what it describes comes back through the walk, dates
// included, and a damaged member fails.
class TDatedDecoder : public TLzssCore {
public:
  std::vector<TDosDateTime> Dates;

protected:
  void SetOutputDateTime(tsl::ByteStream&, const TDosDateTime& dt) override { Dates.push_back(dt); }
};

TEST(SetupFixture, DescriptionAndSetupDatFromText) {
  const std::string text =
      "target \"C:\\\\Ziel \"\n"
      "group \"Demo Gruppe\"\n"
      "flags 0x18\n"
      "association \"abc\" \"VIEWER.EXE\" \"ABC-Datei\"\n"
      "item \"VIEWER.EXE\" \"Betrachter\"\n"
      "folder \"\"\n"
      "file \"viewer.exe\" size 70000 date 2024-05-06 07:08:10\n"
      "folder \"Daten\"\n"
      "file \"liesmich.txt\" text \"Grüße\" date 1999-12-31 23:59:58\n"
      "file \"kaputt.bin\" size 100 damaged\n";
  TInstallFixture f;
  std::string error;
  ASSERT_TRUE(ParseInstallFixture(text, ".", f, error)) << error;
  tsl::MemoryStream desc, setup;
  ASSERT_TRUE(WriteInstallFixture(f, desc, setup));
  desc.Seek(0);
  TInstallOptionen o;
  o.Read(desc);
  EXPECT_EQ(o.TargetFolder.str(), "C:\\Ziel ");
  EXPECT_EQ(o.GroupName.str(), "Demo Gruppe");
  EXPECT_EQ(o.Flags, 0x18u);
  ASSERT_EQ(o.Associations.size(), 1u);
  EXPECT_EQ(o.Associations[0].Description.str(), "ABC-Datei");

  setup.Seek(0);
  EXPECT_EQ(SetupDatTotal(setup), 70000u + 5 + 100);  // "Grüße" in code page 1252
  setup.Seek(0);
  TMemorySink sink;
  TDatedDecoder codec;
  const TSetupWalk w = WalkSetupDat(setup, "C:\\Z\\", codec, sink);
  EXPECT_EQ(w.Step, TSetupStep::FileFailed);
  EXPECT_EQ(w.Path, "C:\\Z\\Daten\\kaputt.bin");
  EXPECT_EQ(sink.Files["C:\\Z\\viewer.exe"].size(), 70000u);
  EXPECT_EQ(sink.Files["C:\\Z\\Daten\\liesmich.txt"], "Gr\xFC\xDF" "e");
  ASSERT_GE(codec.Dates.size(), 2u);
  EXPECT_EQ(codec.Dates[0].Date, DosDateTimeOf(2024, 5, 6, 0, 0, 0).Date);
  EXPECT_EQ(codec.Dates[0].Time, DosDateTimeOf(1980, 1, 1, 7, 8, 10).Time);
  EXPECT_EQ(codec.Dates[1].Time, DosDateTimeOf(1980, 1, 1, 23, 59, 58).Time);

  TInstallFixture bad;
  EXPECT_FALSE(ParseInstallFixture("file \"x\" text \"y\"\n", ".", bad, error));
  EXPECT_EQ(error, "line 1: file before the first folder");
}

// The unpacker's gate reports what a call for every byte would, over
// members of any size (empty ones included), with far fewer calls.
class TGatedCoder : public TLzssCore {
public:
  explicit TGatedCoder(uint32_t total) : TLzssCore(1), Gate(total) {}
  void Progress(uint32_t produced, uint32_t unpacked) override {
    ++Calls;
    uint32_t quiet = 0;
    const int p = Gate.OnByte(produced, unpacked, quiet);
    if (p >= 0) Reported.push_back(p);
    SetProgressQuiet(quiet);
  }
  TInstallProgressGate Gate;
  std::vector<int> Reported;
  uint64_t Calls = 0;
};

TEST(SetupDat, ProgressGateReportsAsEveryByteWould) {
  const struct {
    const char* what;
    std::vector<size_t> sizes;
    int64_t total;  // -1: the bytes of all members
  } cases[] = {
      {"one member", {100000}, -1},
      {"members of all sizes", {1, 0, 333, 7, 0, 50000, 2, 1999}, -1},
      {"total smaller than the bytes", {3000, 4000}, 2500},
      {"tiny total", {10, 10}, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<SetupFile> files;
    uint64_t bytes = 0;
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      std::string content(c.sizes[i], '\0');
      for (size_t k = 0; k < content.size(); ++k) content[k] = char((k * 7 + i) % 251);
      files.push_back({"f" + std::to_string(i), content});
      bytes += c.sizes[i];
    }
    const uint32_t total = static_cast<uint32_t>(c.total < 0 ? bytes : c.total);
    TInstallProgress every(total);
    std::vector<int> expected;
    for (uint64_t i = 0; i < bytes; ++i)
      if (const int p = every.Step(); p >= 0) expected.push_back(p);
    tsl::MemoryStream s = SetupDat({{"", files}}, total).stream();
    TMemorySink sink;
    TGatedCoder codec(total);
    EXPECT_EQ(WalkSetupDat(s, "", codec, sink).Step, TSetupStep::Done);
    EXPECT_EQ(codec.Reported, expected);
    EXPECT_EQ(codec.BytesProduced(), c.sizes.back());
    // A call at each member's start and at each whole percentage passed.
    EXPECT_LE(codec.Calls, c.sizes.size() + bytes * 100 / total + 2);
  }
}

}  // namespace
