// The seed corpora of the index fuzz targets: every seed is a file that the
// readers take in whole, so that fuzzing starts deep inside them. With
// TSL_INDEX_CORPUS naming the fuzz/corpus folder the seeds are also saved
// there (by hand: TSL_INDEX_CORPUS=fuzz/corpus
// core_foundation_index_tests --gtest_filter=FuzzSeeds.*).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
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

struct TreeSeed {
  uint8_t ops;
  int entries;
  int16_t growth;
};
const TreeSeed kTreeSeeds[] = {{0x00, 5, 1}, {0x0F, 100, 1}, {0x36, 150, 4}, {0x81, 70, 1}};

// The seeds by their file names under the corpus folder.
std::map<std::string, std::vector<uint8_t>> Seeds() {
  std::map<std::string, std::vector<uint8_t>> seeds;
  int n = 0;
  for (const TreeSeed& s : kTreeSeeds) {
    std::vector<uint8_t> bytes{s.ops};
    const std::vector<uint8_t> file = IndexFile(s.entries, s.growth);
    bytes.insert(bytes.end(), file.begin(), file.end());
    seeds["indexfile_fuzz/tree" + std::to_string(n++)] = bytes;
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
  seeds["indexfile_fuzz/catalogue"] = bytes;

  tsl::TMemPackHost host;
  host.AddFolder("C:\\OUT");
  host.PutFile("C:\\SRC\\liesmich.txt", "Hallo");
  host.PutFile("C:\\SRC\\seite.htm", "<html></html>");
  host.PutFile("C:\\SRC\\bild.bmp", std::string("BM\0\0", 4));
  host.PutFile("C:\\SRC\\setup.exe", "MZ");
  host.PutFile("C:\\SRC\\Dias\\a.gif", "GIF89a");
  TPackFile pack(host, false);
  EXPECT_TRUE(pack.Create("C:\\OUT\\S.PAK"));
  for (const char* f : {"C:\\SRC\\liesmich.txt", "C:\\SRC\\seite.htm", "C:\\SRC\\bild.bmp"}) pack.AddFile(f);
  pack.AddFile("C:\\SRC\\setup.exe", 1);
  pack.AddFile("C:\\SRC\\Dias", 9);
  pack.Title = "setup.exe";
  EXPECT_TRUE(pack.WriteDirectory());
  seeds["packfile_fuzz/archive"] = *host.File("C:\\OUT\\S.PAK");
  return seeds;
}

TEST(FuzzSeeds, EachSeedIsAFileTheReadersTakeInWhole) {
  const auto seeds = Seeds();
  int n = 0;
  for (const TreeSeed& s : kTreeSeeds) {
    const std::string name = "indexfile_fuzz/tree" + std::to_string(n++);
    SCOPED_TRACE(name);
    const std::vector<uint8_t>& seed = seeds.at(name);
    ASSERT_FALSE(seed.empty());
    EXPECT_EQ(seed[0], s.ops);
    tsl::TMemPackHost host;
    host.PutFile("C:\\IDX\\S.IDX", std::vector<uint8_t>(seed.begin() + 1, seed.end()));
    MTREE<TKeyEntry, BT_FBASE> t(nullptr, 1u << 20, s.growth, false, host);
    ASSERT_TRUE(t.Open("C:\\IDX\\S.IDX", 0));
    const uint32_t kept = static_cast<uint32_t>(s.entries - s.entries / 10);
    EXPECT_EQ(t.Count(), kept) << "the entries left after the removals";
    // Every entry reads back and is found by its key, in ascending order.
    std::string previous;
    for (int32_t i = 0; i < static_cast<int32_t>(kept); ++i) {
      TKeyEntry e;
      ASSERT_TRUE(t.GetAt(i, e)) << i;
      const std::string key = e.Key;
      EXPECT_EQ(key.rfind("Eintrag-", 0), 0u) << key;
      EXPECT_LT(previous, key);
      EXPECT_TRUE(t.Find(key.c_str())) << key;
      previous = key;
    }
    t.Close();
  }
  {
    SCOPED_TRACE("the catalogue");
    const std::vector<uint8_t>& seed = seeds.at("indexfile_fuzz/catalogue");
    const std::vector<uint8_t> file(seed.begin() + 1, seed.end());
    tsl::MemoryStream in(file);
    TKeyEntryArrayManager catalogue;
    ASSERT_TRUE(catalogue.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(file.size())) << "read to its end";
    tsl::MemoryStream out;
    catalogue.Write(out);
    EXPECT_EQ(out.Data(), file) << "written again as it was";
  }
  {
    SCOPED_TRACE("the archive");
    tsl::TMemPackHost host;
    host.PutFile("C:\\PAK\\S.PAK", seeds.at("packfile_fuzz/archive"));
    TPackFile pack(host, false);
    ASSERT_TRUE(pack.Open(false, "C:\\PAK\\S.PAK"));
    std::string names;
    for (int32_t i = 0; i < static_cast<int32_t>(pack.Index().Count()); ++i) {
      TPackEntry e;
      if (pack.Index().GetAt(i, e)) names += std::string(e.Name) + "; ";
    }
    for (const char* name : {"C:\\SRC\\liesmich.txt", "C:\\SRC\\seite.htm", "C:\\SRC\\bild.bmp",
                             "C:\\SRC\\setup.exe", "C:\\SRC\\Dias\\a.gif"})
      EXPECT_TRUE(pack.Contains(name)) << name << " among " << names;
    std::unique_ptr<char[]> data;
    uint32_t size = 0, kind = 0;
    ASSERT_TRUE(pack.GetEntry("C:\\SRC\\liesmich.txt", &data, &size, &kind, true));
    ASSERT_TRUE(data);
    EXPECT_EQ(std::string(data.get(), size), "Hallo");
    EXPECT_STREQ(pack.Title.c_str(), "setup.exe");
  }
  if (const char* dir = std::getenv("TSL_INDEX_CORPUS"))
    for (const auto& seed : seeds) Save(std::string(dir) + "/" + seed.first, seed.second);
}

}  // namespace
