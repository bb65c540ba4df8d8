#include "foundation/core/streamenc.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/core/dibfile.h"

using tsl::MemoryStream;

namespace {
std::vector<uint8_t> Bytes(std::initializer_list<int> v) { return std::vector<uint8_t>(v.begin(), v.end()); }

struct Rect { int32_t left = -1, top = -1, right = -1, bottom = -1; };
struct Size { int32_t cx = -1, cy = -1; };
struct Point { int32_t x = -1, y = -1; };

// A packed DIB block: header, `colors` palette entries, `bits` bytes.
std::vector<uint8_t> MakeDib(uint16_t bpp, uint32_t colors, uint32_t bits, uint32_t compression = 0) {
  std::vector<uint8_t> b(40 + (compression == 3 ? 12 : 0) + 4 * colors + bits, 0xAB);
  const uint32_t hs = 40, w = 10, h = 10, clrUsed = 0;
  std::memcpy(&b[0], &hs, 4);
  std::memcpy(&b[4], &w, 4);
  std::memcpy(&b[8], &h, 4);
  const uint16_t planes = 1;
  std::memcpy(&b[12], &planes, 2);
  std::memcpy(&b[14], &bpp, 2);
  std::memcpy(&b[16], &compression, 4);
  std::memcpy(&b[32], &clrUsed, 4);
  return b;
}
}  // namespace

TEST(StreamEncodings, StringsWriteLengthThenCharacters) {
  MemoryStream m;
  WriteShortString(string("abc"), m);
  WriteShortString(string(), m);
  WriteShortString(static_cast<const char*>(nullptr), m);
  WriteLongString(string(), m);
  WriteLongString(string("xy"), m);
  EXPECT_EQ(m.Data(), Bytes({3, 0, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 'x', 'y'}));

  m.Seek(0);
  string a("preset"), b("preset"), c("preset"), d("preset"), e("preset"), past("preset");
  ReadShortString(a, m);
  ReadShortString(b, m);
  ReadShortString(c, m);
  ReadLongString(d, m);
  ReadLongString(e, m);
  ReadShortString(past, m);  // nothing left: the preset stays
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(b, "");
  EXPECT_EQ(c, "");
  EXPECT_EQ(d, "");
  EXPECT_EQ(e, "xy");
  EXPECT_EQ(past, "preset");
}

TEST(StreamEncodings, TruncatedValuesGiveZeroOrEmpty) {
  {  // ends inside a length
    MemoryStream m(Bytes({5}));
    string s("preset");
    ReadShortString(s, m);
    EXPECT_EQ(s, "");
  }
  {  // ends inside the characters
    MemoryStream m(Bytes({5, 0, 'a', 'b'}));
    string s("preset");
    ReadShortString(s, m);
    EXPECT_EQ(s, "");
    int32_t after = 77;
    ReadLong(after, m);  // nothing is read from the rest of a broken string
    EXPECT_EQ(after, 77);
  }
  {  // ends inside a 32-bit value and inside a rectangle
    MemoryStream m(Bytes({1, 2}));
    int32_t v = 77;
    ReadLong(v, m);
    EXPECT_EQ(v, 0);
    MemoryStream r(Bytes({1, 0, 0, 0, 2, 0}));
    Rect rc;
    ReadRect(rc, r);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.bottom, 0);
  }
  {  // nothing left: presets stay
    MemoryStream m;
    int32_t v = 77;
    Rect rc;
    Size sz;
    Point pt;
    ReadLong(v, m);
    ReadRect(rc, m);
    ReadSize(sz, m);
    ReadPoint(pt, m);
    EXPECT_EQ(v, 77);
    EXPECT_EQ(rc.left, -1);
    EXPECT_EQ(sz.cx, -1);
    EXPECT_EQ(pt.y, -1);
  }
}

// A stream that claims huge data but cannot say how long it is: the reader
// must not allocate the stored length up front.
class EndlessUnknownLength : public tsl::ByteStream {
public:
  explicit EndlessUnknownLength(std::vector<uint8_t> head) : head_(std::move(head)) {}
  uint32_t Read(void* buf, uint32_t n) override {
    const uint32_t k = std::min<uint32_t>(n, static_cast<uint32_t>(head_.size() - pos_));
    std::memcpy(buf, head_.data() + pos_, k);
    pos_ += k;
    requested_ = std::max<uint64_t>(requested_, n);
    return k;
  }
  uint32_t Write(const void*, uint32_t) override { return 0; }
  int64_t Position() const override { return -1; }
  int64_t Length() const override { return -1; }
  int64_t Seek(int64_t, seek_dir) override { return -1; }
  uint64_t requested_ = 0;

private:
  std::vector<uint8_t> head_;
  size_t pos_ = 0;
};

TEST(StreamEncodings, HugeLengthsAreRefusedWithoutLargeAllocation) {
  {
    MemoryStream m(Bytes({0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b'}));
    string s("preset");
    ReadLongString(s, m);
    EXPECT_EQ(s, "");
  }
  {
    EndlessUnknownLength e(Bytes({0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b'}));
    string s("preset");
    ReadLongString(s, e);
    EXPECT_EQ(s, "");
    EXPECT_LE(e.requested_, 64u * 1024u);
  }
  {
    MemoryStream m(Bytes({'B', 'M', 0xF0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 54, 0, 0, 0, 1, 2, 3}));
    std::vector<uint8_t> block;
    EXPECT_FALSE(tsl::ReadEmbeddedDib(block, m));
    EXPECT_TRUE(block.empty());
  }
}

TEST(StreamEncodings, StringsStopAtAnEmbeddedZero) {
  MemoryStream m(Bytes({4, 0, 'a', 0, 'b', 'c', 9, 0, 0, 0}));
  string s;
  ReadShortString(s, m);
  EXPECT_EQ(s, "a");
  int32_t next = 0;
  ReadLong(next, m);
  EXPECT_EQ(next, 9);  // all four characters were consumed
}

TEST(StreamEncodings, FontRecordIsAlways82BytesAndTerminated) {
  for (const char* face : {"", "Arial", "A face name that is far longer than thirty-two bytes"}) {
    tsl::FontRecord r;
    r.Flags = 0x41;
    r.lfHeight = -13;
    r.lfWeight = 700;
    r.lfItalic = 1;
    r.lfPitchAndFamily = 34;
    std::memcpy(r.lfFaceName, face, std::min(sizeof r.lfFaceName, std::strlen(face)));
    r.PointSize = 100;
    r.Color = 0x00FF00;
    r.FontType = 0x2000;
    r.SizeMin = 8;
    r.SizeMax = 72;
    MemoryStream m;
    tsl::WriteFontRecord(r, m);
    ASSERT_EQ(m.Data().size(), 82u) << face;
    m.Seek(0);
    tsl::FontRecord back;
    tsl::ReadFontRecord(back, m);
    EXPECT_EQ(back.lfHeight, -13);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfPitchAndFamily, 34);
    EXPECT_EQ(back.PointSize, 100);
    EXPECT_EQ(back.Color, 0x00FF00u);
    EXPECT_EQ(back.FontType, 0x2000);
    EXPECT_EQ(back.SizeMax, 72);
    EXPECT_EQ(back.lfFaceName[31], '\0');
    EXPECT_EQ(std::string(back.lfFaceName), std::string(face).substr(0, 31));
  }
  // Field order on disk: flags, height, ..., colour at 68, font type at 72.
  tsl::FontRecord r;
  r.Color = 0x11223344;
  r.FontType = 0x5566;
  MemoryStream m;
  tsl::WriteFontRecord(r, m);
  EXPECT_EQ(m.Data()[68], 0x44);
  EXPECT_EQ(m.Data()[72], 0x66);
}

TEST(StreamEncodings, EmbeddedPictureHeaderAndRoundTrip) {
  struct Case { uint16_t bpp; uint32_t colors, bits, compression, offset; };
  const Case cases[] = {
      {8, 256, 4000, 0, 1078},  // 5064-byte block: size 5104, offset 54 + 1024
      {4, 16, 100, 0, 118},
      {1, 2, 40, 0, 62},
      {24, 0, 300, 0, 54},
      {16, 0, 200, 3, 66},  // bit-field masks follow the header
  };
  for (const Case& c : cases) {
    const auto dib = MakeDib(c.bpp, c.colors, c.bits, c.compression);
    MemoryStream m;
    ASSERT_EQ(tsl::WriteEmbeddedDibImage(m, dib.data(), dib.size()), tsl::kDibWriteOk);
    const auto& d = m.Data();
    uint32_t size, offset;
    std::memcpy(&size, &d[2], 4);
    std::memcpy(&offset, &d[10], 4);
    EXPECT_EQ(d[0], 'B');
    EXPECT_EQ(d[1], 'M');
    EXPECT_EQ(size, dib.size() + 40);
    EXPECT_EQ(offset, c.offset) << c.bpp;
    m.Seek(0);
    std::vector<uint8_t> back;
    ASSERT_TRUE(tsl::ReadEmbeddedDib(back, m));
    EXPECT_EQ(back, dib);
  }
  EXPECT_EQ(MakeDib(8, 256, 4000).size(), 5064u);
  MemoryStream none;
  EXPECT_EQ(tsl::WriteEmbeddedDibImage(none, nullptr, 0), tsl::kDibWriteNoDib);
  EXPECT_TRUE(none.Data().empty());
}

TEST(StreamEncodings, EmbeddedPictureRejections) {
  {  // "BA": 0 after the 14 header bytes
    std::vector<uint8_t> d = Bytes({'B', 'A', 100, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});
    d.resize(200, 1);
    MemoryStream m(d);
    std::vector<uint8_t> block;
    EXPECT_FALSE(tsl::ReadEmbeddedDib(block, m));
    EXPECT_EQ(m.Position(), 14);
  }
  {  // size below 80
    std::vector<uint8_t> d = Bytes({'B', 'M', 79, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});
    d.resize(200, 1);
    MemoryStream m(d);
    std::vector<uint8_t> block;
    EXPECT_FALSE(tsl::ReadEmbeddedDib(block, m));
  }
  {  // shorter than its header
    MemoryStream m(Bytes({'B', 'M', 80}));
    std::vector<uint8_t> block;
    EXPECT_FALSE(tsl::ReadEmbeddedDib(block, m));
  }
}

TEST(StreamEncodings, StdioShortString) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(FWriteShortString(string("Grafik"), f));
  EXPECT_TRUE(FWriteShortString(string(), f));
  EXPECT_FALSE(FWriteShortString(string("x"), nullptr));
  std::rewind(f);
  string a, b, c("preset");
  FReadShortString(a, f);
  FReadShortString(b, f);
  FReadShortString(c, f);
  EXPECT_EQ(a, "Grafik");
  EXPECT_EQ(b, "");
  EXPECT_EQ(c, "preset");
  std::fclose(f);
}
