// The LZSS member: bytes laid down from the member table, our coder's own
// round trips, the hostile members and where the input is left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/core/lzss.h"
#include "engine/format/bytes.h"

namespace {

using Vec = std::vector<uint8_t>;

// Dates come from and go to the fake: the input's is fixed, the output's is
// recorded.
class TDatedLzss : public TLzssCore {
public:
  using TLzssCore::TLzssCore;
  TDosDateTime In{0x5A21, 0x6C5F};  // 2025-01-01 13:34:62
  TDosDateTime Out;
  int OutSet = 0;
  std::vector<std::pair<uint32_t, uint32_t>> Calls;
  void Progress(uint32_t produced, uint32_t total) override { Calls.emplace_back(produced, total); }

protected:
  bool InputDateTime(tsl::ByteStream&, TDosDateTime& dt) override {
    dt = In;
    return true;
  }
  void SetOutputDateTime(tsl::ByteStream&, const TDosDateTime& dt) override {
    Out = dt;
    ++OutSet;
  }
};

Vec Pack(const Vec& data, TLzssCore& z) {
  tsl::MemoryStream in(data), out;
  EXPECT_EQ(z.Encode(&in, &out), 1);
  return out.Data();
}

Vec Pack(const Vec& data) {
  TLzssCore z;
  return Pack(data, z);
}

uint32_t At32(const Vec& v, size_t at) { return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (uint32_t(v[at + 3]) << 24); }

// A member laid down from the table around hand-coded data.
Vec Member(uint32_t unpacked, const Vec& coded, uint32_t packed = UINT32_MAX) {
  Bytes b;
  b.u32(kLzssMagic).u32(3).u32(4).u32(5).u32(6).u32(7).u32(20);
  b.u32(unpacked).u32(packed == UINT32_MAX ? uint32_t(coded.size()) : packed).append(coded);
  return b.data();
}

struct Decoded {
  bool ok;
  Vec out;
  int64_t inputAt;
};

Decoded Unpack(const Vec& member, TLzssCore& z) {
  tsl::MemoryStream in(member), out;
  const bool ok = z.Decode(&in, &out);
  return {ok, out.Data(), in.Position()};
}

Decoded Unpack(const Vec& member) {
  TLzssCore z;
  return Unpack(member, z);
}

Vec Str(const std::string& s) { return Vec(s.begin(), s.end()); }

Vec Noise(size_t n, uint32_t seed) {
  Vec v(n);
  for (auto& c : v) {
    seed = seed * 1103515245u + 12345u;
    c = uint8_t(seed >> 16);
  }
  return v;
}

TEST(Lzss, EmptyInputIsAHeaderOnlyMemberAndUnpacksToNothing) {
  TDatedLzss z;
  const Vec m = Pack({}, z);
  ASSERT_EQ(m.size(), kLzssHeaderSize);
  EXPECT_EQ(At32(m, 0), kLzssMagic);
  EXPECT_EQ(At32(m, 28), 0u);
  EXPECT_EQ(At32(m, 32), 0u);
  const Decoded d = Unpack(m, z);
  EXPECT_TRUE(d.ok);
  EXPECT_TRUE(d.out.empty());
  EXPECT_EQ(z.OutSet, 0) << "an empty member leaves the output's date alone";
}

TEST(Lzss, HeaderCarriesTheDateFieldsAndTheUnpackedFileGetsThem) {
  TDatedLzss z;
  const Vec m = Pack(Str("abc"), z);
  const uint32_t want[6] = {0x6C5F & 0x1F, (0x6C5F >> 5) & 0x3F, 0x6C5F >> 11,
                            0x5A21 & 0x1F, (0x5A21 >> 5) & 0x0F, 0x5A21 >> 9};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(At32(m, 4 + 4 * i), want[i]) << "field " << i;
  EXPECT_EQ(At32(m, 28), 3u);
  TDatedLzss back;
  ASSERT_TRUE(Unpack(m, back).ok);
  EXPECT_EQ(back.OutSet, 1);
  EXPECT_EQ(back.Out.Date, 0x5A21);
  EXPECT_EQ(back.Out.Time, 0x6C5F);
}

TEST(Lzss, FlagBitsDescribeItemsFromTheLowestBitUp) {
  // Three literals: one group, flag bits 0 to 2 set.
  const Vec m = Pack(Str("abc"));
  ASSERT_EQ(m.size(), kLzssHeaderSize + 4);
  EXPECT_EQ(At32(m, 32), 4u);
  EXPECT_EQ(m[36], 0x07);
  EXPECT_EQ(Vec(m.begin() + 37, m.end()), Str("abc"));
  // Hand-coded: literal, literal, then a match at 4078 of 3 overlapping the
  // bytes it produces; flag bit 2 clear.
  const Vec coded = {0x03, 'a', 'b', uint8_t(4078 & 0xFF), uint8_t(((4078 >> 4) & 0xF0) | 0)};
  const Decoded d = Unpack(Member(5, coded));
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(d.out, Str("ababa"));
}

TEST(Lzss, RingStartsAsBlanksThenZeros) {
  struct Case {
    const char* what;
    int pos;
    Vec want;
  } cases[] = {
      {"blank area", 100, Vec(4, ' ')},
      {"zero area", 4090, Vec(4, 0)},
      {"wraps from the zeros into the blanks", 4094, {0, 0, ' ', ' '}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Vec coded = {0x00, uint8_t(c.pos), uint8_t(((c.pos >> 4) & 0xF0) | 1)};
    const Decoded d = Unpack(Member(4, coded));
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.out, c.want);
  }
}

TEST(Lzss, RoundTripsAndRunsUseOverlappingMatches) {
  Vec text;
  for (int i = 0; i < 300; ++i) {
    const std::string line = "Zeile " + std::to_string(i % 37) + ": Dateien kopieren und entpacken\r\n";
    text.insert(text.end(), line.begin(), line.end());
  }
  Vec mixed = Noise(5000, 7);
  mixed.insert(mixed.end(), 5000, 0);
  mixed.insert(mixed.end(), text.begin(), text.end());
  Vec all;
  for (int i = 0; i < 256 * 20; ++i) all.push_back(uint8_t(i * 7));
  struct Case {
    const char* what;
    Vec data;
  } cases[] = {
      {"one byte", {0x41}},
      {"two bytes", Str("xy")},
      {"exactly the look-ahead", Str("0123456789abcdefgh")},
      {"run of 1000 (longer than 18)", Vec(1000, 'q')},
      {"run of blanks (the ring's fill)", Vec(5000, ' ')},
      {"run of zeros", Vec(70000, 0)},
      {"text", text},
      {"noise", Noise(20000, 1)},
      {"mixed, ring wraps many times", mixed},
      {"every byte value", all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Vec m = Pack(c.data);
    EXPECT_EQ(At32(m, 28), c.data.size());
    EXPECT_EQ(At32(m, 32), m.size() - kLzssHeaderSize);
    const Decoded d = Unpack(m);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.out, c.data);
    EXPECT_EQ(d.inputAt, int64_t(m.size()));
  }
  // A run: the first item is a literal, the second an 18-byte match at the
  // literal's position, overlapping what it produces.
  const Vec run = Pack(Vec(1000, 'q'));
  EXPECT_EQ(run[36] & 0x03, 0x01);
  EXPECT_EQ(run[37], 'q');
  EXPECT_EQ(run[38] | ((run[39] & 0xF0) << 4), kLzssStart);
  EXPECT_EQ((run[39] & 0x0F) + 3, 18);
  EXPECT_LT(run.size(), 200u);
}

TEST(Lzss, DecodingLeavesTheInputAtTheMembersEnd) {
  // As in SETUP.DAT: a name, a member, a name, an empty member with packed
  // bytes, a name.
  const Vec first = Pack(Str("erste Datei, erste Datei"));
  Bytes b;
  b.raw("A", 1).append(first).raw("B", 1).append(Member(0, {0x01, 'z'})).raw("C", 1);
  tsl::MemoryStream in(b.data());
  uint8_t c = 0;
  ASSERT_EQ(in.Read(&c, 1), 1u);
  TLzssCore z;
  tsl::MemoryStream out1, out2;
  EXPECT_TRUE(z.Decode(&in, &out1));
  EXPECT_EQ(out1.Data(), Str("erste Datei, erste Datei"));
  ASSERT_EQ(in.Read(&c, 1), 1u);
  EXPECT_EQ(c, 'B');
  EXPECT_TRUE(z.Decode(&in, &out2)) << "unpacked length 0";
  EXPECT_TRUE(out2.Data().empty());
  ASSERT_EQ(in.Read(&c, 1), 1u);
  EXPECT_EQ(c, 'C') << "the empty member's packed bytes were not skipped";
}

TEST(Lzss, HostileMembersStopAtTheirBoundsAndFail) {
  const Vec good = Pack(Str("hallo hallo hallo hallo"));
  const Vec coded(good.begin() + kLzssHeaderSize, good.end());
  Vec wrongMagic = good;
  wrongMagic[0] ^= 1;
  Vec cut = good;
  cut.resize(good.size() - 3);
  struct Case {
    const char* what;
    Vec member;
    bool ok;
    Vec out;
    int64_t inputAt;
  } cases[] = {
      {"wrong magic writes nothing", wrongMagic, false, {}, -1},
      {"truncated inside the coded data", cut, false, {}, int64_t(cut.size())},
      {"packed length cuts the coded data", Member(23, coded, 5), false, {}, 36 + 5},
      {"unpacked length shorter than the coded data: bounded, rest skipped", Member(4, coded), true,
       Str("hall"), int64_t(good.size())},
      {"unpacked length longer than the coded data", Member(40, coded), false, {}, int64_t(good.size())},
      {"packed length beyond the input", Member(23, coded, 1000000), true, Str("hallo hallo hallo hallo"),
       int64_t(good.size())},
      {"header only, 4 bytes", Vec(good.begin(), good.begin() + 4), true, {}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Decoded d = Unpack(c.member);
    EXPECT_EQ(d.ok, c.ok);
    if (!c.out.empty()) { EXPECT_EQ(d.out, c.out); }
    if (!c.ok && c.inputAt < 0) { EXPECT_TRUE(d.out.empty()); }
    if (c.member.size() >= 32) { EXPECT_LE(d.out.size(), At32(c.member, 28)); }
    if (c.inputAt >= 0) { EXPECT_EQ(d.inputAt, c.inputAt); }
  }
}

TEST(Lzss, ProgressIsReportedPerByteOnlyWhenOn) {
  const Vec m = Pack(Str("abcabcabc"));
  TDatedLzss off(0);
  ASSERT_TRUE(Unpack(m, off).ok);
  EXPECT_TRUE(off.Calls.empty());
  EXPECT_EQ(off.BytesProduced(), 0u);
  TDatedLzss on(1);
  ASSERT_TRUE(Unpack(m, on).ok);
  ASSERT_EQ(on.Calls.size(), 9u);
  EXPECT_EQ(on.Calls.front(), std::make_pair(0u, 9u));
  EXPECT_EQ(on.Calls.back(), std::make_pair(8u, 9u));
  EXPECT_EQ(on.BytesProduced(), 9u);
}

TEST(Lzss, NullStreamsFail) {
  TLzssCore z;
  tsl::MemoryStream s;
  EXPECT_EQ(z.Encode(nullptr, &s), 0);
  EXPECT_EQ(z.Encode(&s, nullptr), 0);
  EXPECT_FALSE(z.Decode(nullptr, &s));
  EXPECT_FALSE(z.Decode(&s, nullptr));
  EXPECT_TRUE(s.Data().empty());
}

}  // namespace
