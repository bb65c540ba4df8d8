// The packed project archive over the in-memory host: layout, look-up,
// folder listings, unpacking and starting, and damaged archives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/core/index/memhost.h"
#include "foundation/core/index/packfile.h"

namespace {

const char kArchive[] = "C:\\OUT\\PROJ.PAK";

uint32_t PackU32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void PutPackU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::string Read(TPackFile& pack, const char* name, uint32_t* kind = nullptr) {
  std::unique_ptr<char[]> data;
  uint32_t size = 0, k = 0;
  if (!pack.GetEntry(name, &data, &size, &k, true)) return "<fail>";
  if (kind) *kind = k;
  return data ? std::string(data.get(), size) : "<none>";
}

class PackFile : public ::testing::Test {
protected:
  void SetUp() override {
    host.AddFolder("C:\\OUT");
    host.PutFile("C:\\SRC\\Readme.TXT", "hello world", 0x11112222);
  }
  tsl::TMemPackHost host;
};

TEST_F(PackFile, ClassifiesByName) {
  struct Case {
    const char* name;
    uint32_t kind;
  } cases[] = {{"a.rtf", 4},      {"a.TXT", 2},     {"a.rtf.txt", 4}, {"page.html", 3},
               {"page.htm", 3},   {"x.asp", 3},     {"p.BMP", 5},     {"p.jpg", 5},
               {"p.gif", 5},      {"p.bmp.x", 0},   {"m.abp", 7},     {"m.flx", 7},
               {"a.gif.x", 7},    {"data.bin", 0},  {"noext", 0},     {"c.pcd", 5}};
  for (const Case& c : cases) EXPECT_EQ(TPackFile::Classify(c.name), c.kind) << c.name;
}

TEST_F(PackFile, OneTextFileLayout) {
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\Readme.TXT"));
  pack.Title = "start.exe";
  ASSERT_TRUE(pack.WriteDirectory());
  EXPECT_FALSE(pack.IsOpen());
  const std::vector<uint8_t>& b = *host.File(kArchive);
  const uint32_t n = 11;
  EXPECT_EQ(PackU32(b, 0), 2u);
  EXPECT_EQ(PackU32(b, 4), n);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 8 + n), "hello world");
  EXPECT_EQ(PackU32(b, n + 8), 666999u);
  EXPECT_EQ(b[n + 12], 9);  // the title's length
  EXPECT_EQ(PackU32(b, n + 12 + 2 + 9), 0u);      // no names to unpack
  EXPECT_EQ(PackU32(b, n + 12 + 2 + 9 + 4), 1u);  // one entry
  const size_t entry = n + 12 + 2 + 9 + 8;
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[entry]), "c:\\src\\readme.txt");
  EXPECT_EQ(PackU32(b, entry + 260), 0u);
  EXPECT_EQ(PackU32(b, entry + 264), n + 8);
  EXPECT_EQ(PackU32(b, entry + 268), 0x11112222u);
  ASSERT_EQ(b.size(), entry + 272 + 4);
  EXPECT_EQ(PackU32(b, b.size() - 4), n + 8);
}

TEST_F(PackFile, ReadsEntriesByNameWithoutCase) {
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\Readme.TXT"));
  ASSERT_TRUE(pack.WriteDirectory());
  ASSERT_TRUE(pack.Open(false, kArchive));
  std::unique_ptr<char[]> data;
  uint32_t size = 0, kind = 0;
  ASSERT_TRUE(pack.GetEntry("c:\\SRC\\README.txt", &data, &size, &kind, true));
  EXPECT_EQ(kind, 2u);
  EXPECT_EQ(size, 11u);
  EXPECT_EQ(std::strlen(data.get()), 11u);  // text comes NUL-terminated
  EXPECT_EQ(pack.LastTimeStamp(), 0x11112222u);
  EXPECT_TRUE(pack.Contains("C:\\src\\readme.txt"));
  EXPECT_FALSE(pack.Contains("C:\\src\\other.txt"));
  EXPECT_FALSE(pack.Contains(""));
  pack.Close();
  EXPECT_FALSE(pack.Contains("C:\\src\\readme.txt"));
}

TEST_F(PackFile, AddingTwiceOrMissingFiles) {
  TPackFile pack(host, false);
  EXPECT_FALSE(pack.AddFile("C:\\SRC\\Readme.TXT"));  // not open
  ASSERT_TRUE(pack.Create(kArchive));
  EXPECT_TRUE(pack.AddFile(""));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\Readme.TXT"));
  const size_t size = host.File(kArchive)->size();
  EXPECT_TRUE(pack.AddFile("c:\\src\\README.TXT"));
  EXPECT_EQ(host.File(kArchive)->size(), size);
  EXPECT_FALSE(pack.AddFile("C:\\SRC\\gone.txt"));
  EXPECT_EQ(pack.MessageText(), "Kann Datei C:\\SRC\\gone.txt nicht finden!\n");
  EXPECT_EQ(pack.Index().Count(), 1u);
}

TEST_F(PackFile, FolderListings) {
  host.PutFile("C:\\PICS\\x", "1");
  host.PutFile("C:\\PICS\\yz", "22");
  host.PutFile("C:\\SHOW\\b.GIF", "GIF89a");
  host.PutFile("C:\\SHOW\\notes.txt", "n");
  host.PutFile("C:\\SHOW\\a.bmp", "BM");
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\PICS", 9));
  ASSERT_TRUE(pack.AddFile("C:\\SHOW", 10));
  ASSERT_TRUE(pack.AddFile("C:\\SHOW\\", 12));
  ASSERT_TRUE(pack.WriteDirectory());
  ASSERT_TRUE(pack.Open(false, kArchive));
  uint32_t kind = 0;
  EXPECT_EQ(Read(pack, "C:\\PICS", &kind), std::string("C:\\PICS\\x\0C:\\PICS\\yz\0", 21));
  EXPECT_EQ(kind, 9u);
  EXPECT_EQ(Read(pack, "C:\\PICS\\x", &kind), "1");
  EXPECT_EQ(kind, 5u);
  EXPECT_EQ(Read(pack, "C:\\PICS\\yz"), "22");
  // Pictures only, pattern by pattern (".BMP" before ".GIF"), or sorted.
  EXPECT_EQ(Read(pack, "C:\\SHOW"), std::string("C:\\SHOW\\a.bmp\0C:\\SHOW\\b.GIF\0", 28));
  EXPECT_EQ(Read(pack, "C:\\SHOW\\"), std::string("C:\\SHOW\\a.bmp\0C:\\SHOW\\b.GIF\0", 28));
  EXPECT_FALSE(pack.Contains("C:\\SHOW\\notes.txt"));
}

TEST_F(PackFile, RoundTripOfManyKinds) {
  std::vector<std::pair<std::string, std::string>> files = {
      {"C:\\P\\a.rtf", "{\\rtf1 x}"},       {"C:\\P\\b.html", "<html></html>"},
      {"C:\\P\\c.bmp", std::string("BM\0\0\x01\x02", 6)}, {"C:\\P\\d.flx", std::string(3000, '\x7F')},
      {"C:\\P\\e.dat", ""},                 {"C:\\P\\\xC4rger.txt", "umlaut"},
  };
  for (size_t i = 0; i < files.size(); ++i) host.PutFile(files[i].first, files[i].second, 1000 + i);
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  for (const auto& f : files) ASSERT_TRUE(pack.AddFile(f.first.c_str(), f.first == "C:\\P\\e.dat" ? 13 : -1));
  ASSERT_TRUE(pack.WriteDirectory());

  TPackFile back(host, false);
  ASSERT_TRUE(back.Open(false, kArchive));
  ASSERT_EQ(back.Index().Count(), files.size());
  std::string previous;
  for (int32_t i = 0; i < static_cast<int32_t>(files.size()); ++i) {
    TPackEntry e;
    ASSERT_TRUE(back.Index().GetAt(i, e));
    if (i) {
      EXPECT_LT(tsl::AnsiWordCompare(previous.c_str(), e.Name), 0);
    }
    previous = e.Name;
  }
  for (const auto& f : files) EXPECT_EQ(Read(back, f.first.c_str()), f.second) << f.first;
  EXPECT_EQ(back.LastTimeStamp(), 1005u);
}

TEST_F(PackFile, KindsThatCannotBeRead) {
  host.PutFile("C:\\P\\a.bin", "zero");
  host.PutFile("C:\\P\\b.bin", "fourteen");
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\P\\a.bin"));
  ASSERT_TRUE(pack.AddFile("C:\\P\\b.bin", 14));
  ASSERT_TRUE(pack.WriteDirectory());
  ASSERT_TRUE(pack.Open(false, kArchive));
  EXPECT_EQ(Read(pack, "C:\\P\\a.bin"), "<fail>");
  EXPECT_EQ(Read(pack, "C:\\P\\b.bin"), "<fail>");
  uint32_t size = 0, kind = 0;
  EXPECT_TRUE(pack.GetEntry("C:\\P\\b.bin", nullptr, &size, &kind, false));
  EXPECT_EQ(kind, 14u);
  EXPECT_EQ(size, 8u);
}

TEST_F(PackFile, CallbackReadsAtTheFirstDataByte) {
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\Readme.TXT"));
  ASSERT_TRUE(pack.WriteDirectory());
  ASSERT_TRUE(pack.Open(false, kArchive));
  for (bool load : {false, true}) {
    std::string got;
    auto cb = [](tsl::ByteStream& f, uint32_t size, void* arg) {
      std::string& s = *static_cast<std::string*>(arg);
      s.resize(size);
      f.Read(&s[0], size);
    };
    std::unique_ptr<char[]> data;
    ASSERT_TRUE(pack.GetEntry("C:\\SRC\\Readme.TXT", &data, nullptr, nullptr, load, cb, &got));
    EXPECT_EQ(got, "hello world") << load;
  }
}

TEST_F(PackFile, PrivateFolderIsTheFirstFreeNumber) {
  host.AddFolder("C:\\TEMP\\tslplay_1");
  host.AddFolder("C:\\TEMP\\tslplay_2");
  TPackFile pack(host, true);
  EXPECT_EQ(pack.ExtractFolder().str(), "C:\\TEMP\\tslplay_3\\");
  EXPECT_EQ(host.File("C:\\TEMP\\tsl1.TMP"), nullptr);  // the temporary file is gone
  TPackFile plain(host, false);
  EXPECT_EQ(plain.ExtractFolder().str(), "C:\\PROG\\");
}

TEST_F(PackFile, UnpackAndStart) {
  host.PutFile("C:\\SRC\\setup.exe", "MZ program", 0x5A5A0101);
  host.PutFile("C:\\SRC\\lib.dll", "MZ library", 0x5A5A0202);
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\setup.exe", 1));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\lib.dll", 1));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\Readme.TXT"));
  pack.Title = "C:\\SRC\\setup.exe";
  ASSERT_TRUE(pack.WriteDirectory());

  TPackFile open(host, true);
  ASSERT_EQ(open.ExtractFolder().str(), "C:\\TEMP\\tslplay_1\\");
  // lib.dll is there already and stays as it is.
  host.PutFile("C:\\TEMP\\tslplay_1\\lib.dll", "mine", 7);
  ASSERT_TRUE(open.Open(true, kArchive));
  EXPECT_FALSE(open.IsOpen());
  const std::vector<uint8_t>* exe = host.File("C:\\TEMP\\tslplay_1\\setup.exe");
  ASSERT_NE(exe, nullptr);
  EXPECT_EQ(std::string(exe->begin(), exe->end()), "MZ program");
  uint32_t stamp = 0;
  ASSERT_TRUE(host.GetFileStamp("C:\\TEMP\\tslplay_1\\setup.exe", stamp));
  EXPECT_EQ(stamp, 0x5A5A0101u);
  const std::vector<uint8_t>* dll = host.File("C:\\TEMP\\tslplay_1\\lib.dll");
  EXPECT_EQ(std::string(dll->begin(), dll->end()), "mine");
  EXPECT_EQ(host.Shown, std::vector<std::string>{"C:\\SRC\\setup.exe"});
  ASSERT_EQ(host.Started.size(), 1u);
  EXPECT_EQ(host.Started[0].file, "C:\\TEMP\\tslplay_1\\setup.exe");
  EXPECT_EQ(host.Started[0].parameters, "-loadexternal_file=C:\\PROG\\tslplay32.exe");
  EXPECT_EQ(host.Started[0].folder, "C:\\TEMP\\tslplay_1\\");
  EXPECT_TRUE(open.RememberedPaths().IsEmpty());
  ASSERT_TRUE(open.ExtractFile("C:\\TEMP\\x\\y\\z.bin", "abc", 3, 9, true));
  EXPECT_EQ(open.RememberedPaths().GetItemsInContainer(), 1);
}

// An entry to unpack that cannot be written stops everything before the
// start.
TEST_F(PackFile, FailedUnpackStartsNothing) {
  host.PutFile("C:\\SRC\\setup.exe", "MZ");
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\setup.exe", 1));
  pack.Title = "setup.exe";
  ASSERT_TRUE(pack.WriteDirectory());
  host.PutFile("C:\\TEMP\\tslplay_1", "a file where the folder should be");
  TPackFile open(host, false);
  TPackFile priv(host, true);
  ASSERT_EQ(priv.ExtractFolder().str(), "C:\\TEMP\\tslplay_2\\");
  host.PutFile("C:\\TEMP\\tslplay_2", "blocked too");
  EXPECT_FALSE(priv.Open(true, kArchive));
  EXPECT_TRUE(host.Started.empty());
  EXPECT_TRUE(host.Shown.empty());
}

// Damaged archives fail to open or to read; nothing reads past the file.
TEST_F(PackFile, DamagedArchives) {
  host.PutFile("C:\\SRC\\b.txt", "second");
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create(kArchive));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\Readme.TXT"));
  ASSERT_TRUE(pack.AddFile("C:\\SRC\\b.txt"));
  pack.AddUnpackName("C:\\SRC\\b.txt");
  ASSERT_TRUE(pack.WriteDirectory());
  const std::vector<uint8_t> good = *host.File(kArchive);
  const uint32_t dir = PackU32(good, good.size() - 4);
  const size_t names = dir + 4 + 2;          // empty title
  const size_t entries = names + 4 + 2 + 13 + 4;
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    bool opens;
  } cases[] = {
      {"directory offset past the end", good.size() - 4, static_cast<uint32_t>(good.size()), false},
      {"directory offset huge", good.size() - 4, 0xFFFFFFF0u, false},
      {"wrong marker", dir, 666998, false},
      {"name count beyond the file", names, 0x7FFFFFFF, false},
      {"entry count beyond the file", entries - 4, 3, false},
      {"entry offset beyond the directory", entries + 260, dir, false},
      {"entry length below its head", entries + 264, 7, false},
      {"entry length past the directory", entries + 264, 0xFFFFFFF8u, false},
      {"record size not the entry's", 4, 5, true},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    PutPackU32(bad, c.at, c.value);
    host.PutFile(kArchive, bad);
    TPackFile open(host, false);
    EXPECT_EQ(open.Open(false, kArchive), c.opens) << c.what;
    EXPECT_EQ(open.Index().Count(), c.opens ? 2u : 0u) << c.what;
    if (c.opens) {
      EXPECT_EQ(Read(open, "C:\\SRC\\Readme.TXT"), "<fail>") << c.what;
    } else {
      EXPECT_EQ(open.UnpackNames().GetItemsInContainer(), 0) << c.what;
    }
  }
  for (size_t cut : {size_t{0}, size_t{3}, size_t{7}, good.size() / 2, good.size() - 1}) {
    host.PutFile(kArchive, std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut)));
    TPackFile open(host, false);
    EXPECT_FALSE(open.Open(false, kArchive)) << cut;
  }
  host.PutFile(kArchive, good);
  TPackFile open(host, false);
  ASSERT_TRUE(open.Open(false, kArchive));
  EXPECT_EQ(Read(open, "c:\\src\\b.txt"), "second");
}

}  // namespace
