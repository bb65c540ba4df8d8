// Writes the seed corpora of the index fuzz targets when TSL_INDEX_CORPUS
// names the fuzz/corpus folder (by hand: TSL_INDEX_CORPUS=fuzz/corpus
// core_foundation_index_tests --gtest_filter=FuzzSeeds.*); otherwise skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/core/index/fbase.h"
#include "foundation/core/index/keycat.h"
#include "foundation/core/index/memhost.h"
#include "foundation/core/index/mtree.h"
#include "foundation/core/index/packfile.h"

namespace {

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(f.good()) << path;
}

std::vector<uint8_t> IndexFile(int entries, int16_t growth) {
  tsl::TMemPackHost host;
  host.AddFolder("C:\\IDX");
  MTREE<TKeyEntry, BT_FBASE> t(nullptr, 1u << 20, growth, false, host);
  EXPECT_TRUE(t.Open("C:\\IDX\\S.IDX", 2));
  for (int i = 0; i < entries; ++i) {
    TKeyEntry e(("Eintrag-" + std::to_string(i * 13 % entries)).c_str());
    e.Value = static_cast<uint32_t>(i);
    t.Insert(e, 1);
  }
  for (int i = 0; i < entries / 10; ++i) t.RemoveAt(i * 3);  // some free nodes
  t.Close();
  return *host.File("C:\\IDX\\S.IDX");
}

TEST(FuzzSeeds, Write) {
  const char* dir = std::getenv("TSL_INDEX_CORPUS");
  if (!dir) GTEST_SKIP() << "TSL_INDEX_CORPUS not set";
  const std::string base(dir);
  struct Seed {
    uint8_t ops;
    int entries;
    int16_t growth;
  } seeds[] = {{0x00, 5, 1}, {0x0F, 100, 1}, {0x36, 150, 4}, {0x81, 70, 1}};
  int n = 0;
  for (const Seed& s : seeds) {
    std::vector<uint8_t> bytes{s.ops};
    const std::vector<uint8_t> file = IndexFile(s.entries, s.growth);
    bytes.insert(bytes.end(), file.begin(), file.end());
    Save(base + "/indexfile_fuzz/tree" + std::to_string(n++), bytes);
  }
  SetKeyEntryUniqueCounter(1);
  TKeyEntryArrayManager m;
  m.AddDefaultEntry();
  m.AddEntry("Ort", "Stadt", TKeyEntry("Berlin"));
  m.AddEntry("Ort", "Stadt", TKeyEntry("Bonn"));
  tsl::MemoryStream cat;
  m.Write(cat);
  std::vector<uint8_t> bytes{0x00};
  bytes.insert(bytes.end(), cat.Data().begin(), cat.Data().end());
  Save(base + "/indexfile_fuzz/catalogue", bytes);

  tsl::TMemPackHost host;
  host.AddFolder("C:\\OUT");
  host.PutFile("C:\\SRC\\liesmich.txt", "Hallo");
  host.PutFile("C:\\SRC\\seite.htm", "<html></html>");
  host.PutFile("C:\\SRC\\bild.bmp", std::string("BM\0\0", 4));
  host.PutFile("C:\\SRC\\setup.exe", "MZ");
  host.PutFile("C:\\SRC\\Dias\\a.gif", "GIF89a");
  TPackFile pack(host, false);
  ASSERT_TRUE(pack.Create("C:\\OUT\\S.PAK"));
  for (const char* f : {"C:\\SRC\\liesmich.txt", "C:\\SRC\\seite.htm", "C:\\SRC\\bild.bmp"}) pack.AddFile(f);
  pack.AddFile("C:\\SRC\\setup.exe", 1);
  pack.AddFile("C:\\SRC\\Dias", 9);
  pack.Title = "setup.exe";
  ASSERT_TRUE(pack.WriteDirectory());
  Save(base + "/packfile_fuzz/archive", *host.File("C:\\OUT\\S.PAK"));
}

}  // namespace
