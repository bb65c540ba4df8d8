// ZIP extraction over a memory host: archives written at test time by
// python3's zipfile and one laid down byte by byte from the format's table;
// the name checks, the paths, the result codes and the progress protocol.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "actions/core/zipextract.h"
#include "engine/format/bytes.h"

namespace {

using Vec = std::vector<uint8_t>;
const std::string kArchive = "C:\\in\\a.zip";
const std::string kTarget = "C:\\out";

// Runs a python3 zipfile script whose `z` is a ZipFile writing the archive;
// the archive's bytes, empty when python3 is missing.
Vec PyZip(const std::string& body) {
  char dir[] = "/tmp/ziptestXXXXXX";
  if (!mkdtemp(dir)) return {};
  const std::string d = dir, script = d + "/make.py", out = d + "/a.zip";
  {
    std::ofstream f(script);
    f << "import zipfile\nz = zipfile.ZipFile('" << out << "', 'w', zipfile.ZIP_DEFLATED)\n"
      << "def add(name, data, date=(2021, 3, 4, 5, 6, 8), method=zipfile.ZIP_DEFLATED):\n"
      << "    i = zipfile.ZipInfo(name, date)\n    i.compress_type = method\n    z.writestr(i, data)\n"
      << body << "\nz.close()\n";
  }
  Vec v;
  if (std::system(("python3 '" + script + "' 2>/dev/null").c_str()) == 0) {
    std::ifstream f(out, std::ios::binary);
    v.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  std::system(("rm -rf '" + d + "'").c_str());
  return v;
}

Vec Str(const std::string& s) { return Vec(s.begin(), s.end()); }

// 2021-03-04 05:06:08 as a DOS date (high) and time (low).
constexpr uint32_t kDos = (uint32_t((2021 - 1980) << 9 | 3 << 5 | 4) << 16) | (5 << 11 | 6 << 5 | 4);

struct TRun {
  int32_t result;
  TMemoryZipHost host;
  std::string refused;
};

void Extract(TRun& run, const Vec& zip, int keep = 1, int overwrite = 1, const char* target = kTarget.c_str()) {
  run.host.Files[kArchive] = zip;
  run.result = ExtractZipArchive(run.host, kArchive.c_str(), target, keep, overwrite, &run.refused);
}

class ZipExtract : public ::testing::Test {
protected:
  void SetUp() override {
    if (PyZip("").empty()) GTEST_SKIP() << "python3 is not on PATH";
  }
};

TEST(ZipNames, UnsafeNamesAreRefused) {
  struct Case {
    const char* what;
    std::string name;
    TZipNameFault fault;
  } cases[] = {
      {"plain", "docs/a/readme.txt", TZipNameFault::None},
      {"backslashes", "docs\\readme.txt", TZipNameFault::None},
      {"dots inside a name", "a..b/..c/d..", TZipNameFault::None},
      {"one dot", "./x", TZipNameFault::None},
      {"folder entry", "docs/", TZipNameFault::None},
      {"slash first", "/x", TZipNameFault::Absolute},
      {"backslash first", "\\x", TZipNameFault::Absolute},
      {"drive", "C:x", TZipNameFault::Drive},
      {"colon (stream)", "a.txt:evil", TZipNameFault::Drive},
      {"parent first", "../x", TZipNameFault::ParentFolder},
      {"parent between backslashes", "a\\..\\..\\x", TZipNameFault::ParentFolder},
      {"parent last", "a/..", TZipNameFault::ParentFolder},
      {"parent with trailing dot and blank", "a/... /x", TZipNameFault::ParentFolder},
      {"259 bytes", std::string(259, 'n'), TZipNameFault::None},
      {"260 bytes", std::string(260, 'n'), TZipNameFault::TooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_STREQ(ZipNameFaultText(CheckZipEntryName(c.name)), ZipNameFaultText(c.fault));
  }
}

TEST(ZipNames, OutputPaths) {
  struct Case {
    const char* what;
    const char* target;
    const char* name;
    bool keep;
    const char* want;
  } cases[] = {
      {"keep folders", "C:\\out", "docs/a/readme.txt", true, "C:\\out\\docs\\a\\readme.txt"},
      {"flattened", "C:\\out", "docs/a/readme.txt", false, "C:\\out\\readme.txt"},
      {"one trailing backslash", "C:\\out\\", "docs/a.txt", true, "C:\\out\\docs\\a.txt"},
      {"several trailing backslashes", "C:\\out\\\\\\", "docs/a.txt", true, "C:\\out\\docs\\a.txt"},
      {"flattened backslash name", "C:\\out", "x\\y\\z.txt", false, "C:\\out\\z.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ZipOutputPath(c.target, c.name, c.keep), c.want);
  }
  EXPECT_EQ(ZipLastComponent("docs/a/"), "");
  EXPECT_EQ(ZipFolderOf("C:\\in\\a.zip"), "C:\\in\\");
}

TEST(ZipNames, FoldersAreMadePastTheDriveRootAndTheShare) {
  TMemoryZipHost host;
  EXPECT_TRUE(CreatePathDirectories(host, "C:\\a\\b\\c.txt"));
  EXPECT_EQ(host.Folders, (std::set<std::string>{"C:\\a", "C:\\a\\b"}));
  TMemoryZipHost unc;
  EXPECT_TRUE(CreatePathDirectories(unc, "\\\\server\\share\\d\\e.txt"));
  EXPECT_EQ(unc.Folders, (std::set<std::string>{"\\\\server\\share\\d"}));
}

// One stored entry laid down from the format's table: local header, data,
// central directory record, end record.
Vec HandZip(const std::string& name, const std::string& data, uint16_t method = 0) {
  const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
  const uint16_t time = 5 << 11 | 6 << 5 | 4, date = (2021 - 1980) << 9 | 3 << 5 | 4;
  Bytes b;
  b.u32(0x04034b50).u16(10).u16(0).u16(method).u16(time).u16(date).u32(crc);
  b.u32(uint32_t(data.size())).u32(uint32_t(data.size())).u16(uint16_t(name.size())).u16(0);
  b.raw(name.data(), name.size()).raw(data.data(), data.size());
  const uint32_t cd = uint32_t(b.size());
  b.u32(0x02014b50).u16(20).u16(10).u16(0).u16(method).u16(time).u16(date).u32(crc);
  b.u32(uint32_t(data.size())).u32(uint32_t(data.size())).u16(uint16_t(name.size())).u16(0).u16(0);
  b.u16(0).u16(0).u32(0).u32(0).raw(name.data(), name.size());
  const uint32_t cdSize = uint32_t(b.size()) - cd;
  b.u32(0x06054b50).u16(0).u16(0).u16(1).u16(1).u32(cdSize).u32(cd).u16(0);
  return b.data();
}

TEST(ZipHandLaid, StoredEntryWithFolderAndDate) {
  TRun run;
  Extract(run, HandZip("sub/hallo.txt", "hallo welt"));
  ASSERT_EQ(run.result, kZipOk);
  EXPECT_EQ(run.host.Files["C:\\out\\sub\\hallo.txt"], Str("hallo welt"));
  EXPECT_EQ(run.host.Times["C:\\out\\sub\\hallo.txt"], kDos);
  EXPECT_TRUE(run.host.Folders.count("C:\\out\\sub"));
}

TEST(ZipHandLaid, DamageGivesMinizipsCodes) {
  Vec flipped = HandZip("a.txt", "hallo welt");
  flipped[30 + 5] ^= 0x20;  // a data byte behind the local header and name
  Vec method = HandZip("a.txt", "hallo welt", 12);
  Vec cut = HandZip("a.txt", "hallo welt");
  cut.resize(cut.size() - 5);
  struct Case {
    const char* what;
    Vec zip;
    int32_t result;
    bool written;
  } cases[] = {
      {"flipped data byte: CRC mismatch, the file stays", flipped, -105, true},
      {"method 12 (bzip2)", method, kZipBadMethod, false},
      {"end record cut", cut, kZipFileError, false},
      {"no archive at all", Str("not a zip"), kZipFileError, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TRun run;
    Extract(run, c.zip);
    EXPECT_EQ(run.result, c.result);
    EXPECT_EQ(run.host.Files.count("C:\\out\\a.txt"), c.written ? 1u : 0u);
  }
}

TEST_F(ZipExtract, KeepsOrFlattensFoldersWithDatesAndProgress) {
  const Vec zip = PyZip(
      "add('docs/', b'')\nadd('docs/a/readme.txt', b'r' * 20000)\nadd('top.txt', b'oben')\n"
      "add('empty.txt', b'')\n");
  {
    TRun run;
    Extract(run, zip, 1);
    ASSERT_EQ(run.result, kZipOk);
    EXPECT_EQ(run.host.Files["C:\\out\\docs\\a\\readme.txt"], Vec(20000, 'r'));
    EXPECT_EQ(run.host.Files["C:\\out\\top.txt"], Str("oben"));
    EXPECT_TRUE(run.host.Files.count("C:\\out\\empty.txt"));
    EXPECT_TRUE(run.host.Files["C:\\out\\empty.txt"].empty());
    EXPECT_EQ(run.host.Folders, (std::set<std::string>{"C:\\out", "C:\\out\\docs", "C:\\out\\docs\\a"}));
    EXPECT_EQ(run.host.Times["C:\\out\\docs\\a\\readme.txt"], kDos);
    // Begin, three blocks of the 20000 bytes, one of "oben", none for the
    // empty file, end.
    const auto& calls = run.host.Calls;
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls.front().total, -1);
    EXPECT_EQ(calls.front().bytes, -1);
    EXPECT_EQ(calls[1].name, "C:\\out\\docs\\a\\readme.txt");
    EXPECT_EQ(calls[1].total, 20004);
    EXPECT_EQ(calls[1].bytes, 8192);
    EXPECT_EQ(calls[3].bytes, 20000 - 2 * 8192);
    EXPECT_EQ(calls[4].bytes, 4);
    EXPECT_EQ(calls.back().total, -2);
    EXPECT_EQ(calls.back().bytes, -2);
  }
  {
    TRun run;
    Extract(run, zip, 0, 1, "C:\\out\\\\");
    ASSERT_EQ(run.result, kZipOk);
    EXPECT_EQ(run.host.Files["C:\\out\\readme.txt"], Vec(20000, 'r'));
    EXPECT_EQ(run.host.Folders, (std::set<std::string>{"C:\\out"}));
  }
  {
    // No target: the archive's own folder.
    TRun run;
    Extract(run, zip, 0, 1, nullptr);
    ASSERT_EQ(run.result, kZipOk);
    EXPECT_TRUE(run.host.Files.count("C:\\in\\top.txt"));
  }
}

TEST_F(ZipExtract, FolderOnlyArchiveMakesNothing) {
  TRun run;
  Extract(run, PyZip("add('leer/', b'')\nadd('leer/unter/', b'')"));
  EXPECT_EQ(run.result, kZipOk);
  EXPECT_TRUE(run.host.Folders.empty());
  EXPECT_EQ(run.host.Files.size(), 1u);
}

TEST_F(ZipExtract, OverwriteOffKeepsBytesAndDateAndGoesOn) {
  TRun run;
  run.host.Files["C:\\out\\a.txt"] = Str("alt");
  run.host.Times["C:\\out\\a.txt"] = 1234;
  Extract(run, PyZip("add('a.txt', b'neu')\nadd('b.txt', b'zwei')"), 1, 0);
  EXPECT_EQ(run.result, kZipOk);
  EXPECT_EQ(run.host.Files["C:\\out\\a.txt"], Str("alt"));
  EXPECT_EQ(run.host.Times["C:\\out\\a.txt"], 1234u);
  EXPECT_EQ(run.host.Files["C:\\out\\b.txt"], Str("zwei"));
  TRun over;
  over.host.Files["C:\\out\\a.txt"] = Str("alt");
  Extract(over, PyZip("add('a.txt', b'neu')"), 1, 1);
  EXPECT_EQ(over.host.Files["C:\\out\\a.txt"], Str("neu"));
}

TEST_F(ZipExtract, UnsafeNamesRefuseTheArchiveBeforeAnythingIsWritten) {
  struct Case {
    const char* what;
    const char* name;
  } cases[] = {
      {"parent", "../x"},
      {"absolute", "/x"},
      {"drive", "C:x"},
      {"parent between backslashes", "a\\\\..\\\\..\\\\x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TRun run;
    // A safe entry first: it must not be written either.
    Extract(run, PyZip(std::string("add('ok.txt', b'gut')\nadd('") + c.name + "', b'boese')"));
    EXPECT_EQ(run.result, kZipUnsafeEntry);
    std::string want = c.name;
    for (size_t p; (p = want.find("\\\\")) != std::string::npos;) want.erase(p, 1);
    EXPECT_EQ(run.refused, want);
    EXPECT_EQ(run.host.Files.size(), 1u) << "something was written";
    EXPECT_TRUE(run.host.Folders.empty());
  }
  TRun longName;
  Extract(longName, PyZip("add('" + std::string(260, 'n') + "', b'x')"));
  EXPECT_EQ(longName.result, kZipUnsafeEntry);
}

TEST_F(ZipExtract, PathLimits) {
  const Vec zip = PyZip("add('a.txt', b'x')");
  {
    // Archive paths: 260 characters are accepted, 261 refused.
    const std::string p260 = "C:\\" + std::string(260 - 3 - 4, 'p') + ".zip";
    ASSERT_EQ(p260.size(), 260u);
    TMemoryZipHost host;
    host.Files[p260] = zip;
    EXPECT_EQ(ExtractZipArchive(host, p260.c_str(), "C:\\o", 1, 1), kZipOk);
    const std::string p261 = "C:\\" + std::string(261 - 3 - 4, 'p') + ".zip";
    host.Files[p261] = zip;
    EXPECT_EQ(ExtractZipArchive(host, p261.c_str(), "C:\\o", 1, 1), kZipFileError);
    EXPECT_EQ(ExtractZipArchive(host, nullptr, "C:\\o", 1, 1), kZipFileError);
  }
  {
    // Output paths: 259 characters written, 260 refused before anything.
    const std::string t254 = "C:\\" + std::string(251, 't');  // + "\a.txt" = 260
    TRun run;
    Extract(run, zip, 1, 1, t254.c_str());
    EXPECT_EQ(run.result, kZipFileError);
    EXPECT_EQ(run.host.Files.size(), 1u);
    EXPECT_TRUE(run.host.Folders.empty());
    TRun ok;
    const std::string t253 = t254.substr(0, 253);
    Extract(ok, zip, 1, 1, t253.c_str());
    EXPECT_EQ(ok.result, kZipOk);
    EXPECT_TRUE(ok.host.Files.count(t253 + "\\a.txt"));
  }
}

TEST_F(ZipExtract, FailuresThroughTheSeams) {
  const Vec zip = PyZip("add('a.txt', b'a' * 20000)\nadd('b.txt', b'b')");
  {
    TRun run;
    run.host.EscapeAfter = 1;  // down at the second block
    Extract(run, zip);
    EXPECT_EQ(run.result, kZipEscape);
    EXPECT_EQ(run.host.Files["C:\\out\\a.txt"].size(), 2u * 8192) << "the cut file stays as far as written";
    EXPECT_FALSE(run.host.Files.count("C:\\out\\b.txt"));
    EXPECT_EQ(run.host.Calls.back().total, -2) << "the end call comes whatever the result";
  }
  {
    TRun run;
    run.host.WriteLimit = 100;
    Extract(run, zip);
    EXPECT_EQ(run.result, kZipShortWrite);
  }
  {
    TRun run;
    Extract(run, PyZip("add('a.txt', b'a')\nadd('b.txt', b'b' * 100, method=zipfile.ZIP_BZIP2)"));
    EXPECT_EQ(run.result, kZipBadMethod);
    EXPECT_TRUE(run.host.Files.count("C:\\out\\a.txt"));
  }
}

TEST_F(ZipExtract, Utf8FlaggedNamesBecomeAnsi) {
  TRun run;
  Extract(run, PyZip("add('Gr\\u00fc\\u00dfe/\\u00c4rger.txt', b'x')\nadd('plain.txt', b'y')"));
  ASSERT_EQ(run.result, kZipOk);
  EXPECT_TRUE(run.host.Files.count("C:\\out\\Gr\xFC\xDF" "e\\\xC4rger.txt"));
  EXPECT_TRUE(run.host.Files.count("C:\\out\\plain.txt"));
}

TEST(ZipCreate, WritesAndReadsBackOrRemovesAHalfWrittenArchive) {
  TMemoryZipHost host;
  host.Files["s\\eins.txt"] = Vec(50000, 'e');
  host.Times["s\\eins.txt"] = kDos;
  host.Files["s\\zwei.txt"] = Str("zwei");
  ASSERT_TRUE(CreateZipArchive(host, "C:\\z.zip", {"s\\eins.txt", "s\\zwei.txt"}, 0));
  EXPECT_LT(host.Files["C:\\z.zip"].size(), 1000u);
  TMemoryZipHost back;
  back.Files["C:\\z.zip"] = host.Files["C:\\z.zip"];
  EXPECT_EQ(ExtractZipArchive(back, "C:\\z.zip", "C:\\x", 0, 1), kZipOk);
  EXPECT_EQ(back.Files["C:\\x\\eins.txt"], Vec(50000, 'e'));
  EXPECT_EQ(back.Times["C:\\x\\eins.txt"], kDos);
  EXPECT_EQ(back.Files["C:\\x\\zwei.txt"], Str("zwei"));
  EXPECT_FALSE(CreateZipArchive(host, "C:\\y.zip", {"s\\eins.txt", "s\\fehlt.txt"}, 0));
  EXPECT_FALSE(host.Files.count("C:\\y.zip"));
}

}  // namespace
