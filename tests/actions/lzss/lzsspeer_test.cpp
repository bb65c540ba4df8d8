// Peer check against Debian's mscompress/msexpand (SZDD): our members,
// converted to SZDD, expand with msexpand to the original bytes; the files
// mscompress writes, converted to members, decode with ours to the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "actions/core/lzss.h"
#include "tools/core/szdd.h"

namespace {

using Vec = std::vector<uint8_t>;

Vec Shell(const std::string& cmd, int* status = nullptr) {
  Vec out;
  std::FILE* p = popen((cmd + " 2>/dev/null").c_str(), "r");
  if (!p) return out;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.insert(out.end(), buf, buf + n);
  const int s = pclose(p);
  if (status) *status = s;
  return out;
}

bool Have(const char* tool) {
  int s = -1;
  Shell(std::string("command -v ") + tool, &s);
  return s == 0;
}

void WriteFile(const std::string& path, const Vec& v) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size()));
}

Vec ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Vec((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

struct Input {
  const char* what;
  Vec data;
};

std::vector<Input> Inputs() {
  Vec text;
  for (int i = 0; i < 2000; ++i) {
    const std::string line = "Eintrag " + std::to_string(i * 31 % 97) + " im Ordner Dateien\n";
    text.insert(text.end(), line.begin(), line.end());
  }
  Vec noise(30000);
  uint32_t seed = 3;
  for (auto& c : noise) c = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
  Vec mixed = noise;
  mixed.insert(mixed.end(), 9000, ' ');
  mixed.insert(mixed.end(), text.begin(), text.end());
  return {{"short", {'a', 'b', 'a', 'b', 'a', 'b', 'a'}},
          {"text", text},
          {"noise", noise},
          {"blanks then text", mixed},
          {"zero run", Vec(50000, 0)}};
}

class LzssPeer : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Have("msexpand") || !Have("mscompress")) GTEST_SKIP() << "msexpand/mscompress are not on PATH (package mscompress)";
    char tmpl[] = "/tmp/lzsspeerXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    if (!dir_.empty()) Shell("rm -rf '" + dir_ + "'");
  }
  std::string dir_;
};

TEST_F(LzssPeer, OurMembersExpandWithMsexpand) {
  for (const Input& in : Inputs()) {
    SCOPED_TRACE(in.what);
    TLzssCore z;
    tsl::MemoryStream src(in.data), member;
    ASSERT_EQ(z.Encode(&src, &member), 1);
    const std::string path = dir_ + "/ours.sz";
    WriteFile(path, szdd::FromMember(member.Data()));
    EXPECT_EQ(Shell("msexpand < '" + path + "'"), in.data);
  }
}

TEST_F(LzssPeer, MscompressFilesDecodeWithOursAndAreNoSmaller) {
  int n = 0;
  for (const Input& in : Inputs()) {
    SCOPED_TRACE(in.what);
    // mscompress writes a broken file for an input shorter than its
    // look-ahead (its own msexpand expands it to blanks).
    if (in.data.size() < kLzssLookAhead) continue;
    const std::string path = dir_ + "/theirs" + std::to_string(n++) + ".bin";
    WriteFile(path, in.data);
    int s = -1;
    Shell("mscompress '" + path + "'", &s);
    ASSERT_EQ(s, 0);
    const Vec theirs = ReadFile(path + "_");
    const Vec member = szdd::ToMember(theirs);
    ASSERT_FALSE(member.empty()) << "mscompress wrote no SZDD file";
    TLzssCore z;
    tsl::MemoryStream m(member), out;
    EXPECT_TRUE(z.Decode(&m, &out));
    EXPECT_EQ(out.Data(), in.data);
    TLzssCore ours;
    tsl::MemoryStream src(in.data), packed;
    ASSERT_EQ(ours.Encode(&src, &packed), 1);
    EXPECT_LE(ours.PackedLength(), theirs.size() - szdd::kHeaderSize) << "packed larger than mscompress's";
  }
}

}  // namespace
