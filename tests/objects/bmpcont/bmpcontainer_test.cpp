// The bitmap container file: laid down byte by byte from its table, read,
// written back, and its damaged forms.
#include "objects/core/bmpcontainer.h"

#include <gtest/gtest.h>

#include "../../engine/format/bytes.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

const std::vector<uint8_t>& Dib() {
  static const std::vector<uint8_t> d = MakeCheckerDib(6, 4, 0xFF0000, 0x00FF00, 2);
  return d;
}

::Bytes& Head(::Bytes& b, uint16_t version, uint16_t count) {
  return b.u16(version).u32(0x11223344).u32(0x55667788).u16(0x99AA).u16(count);
}
::Bytes& Item(::Bytes& b, const char* name, bool picture, uint32_t magic = kBmpItemMagic) {
  b.str(name).u32(magic).u16(picture ? 1 : 0);
  if (picture) b.u8('B').u8('M').u32(uint32_t(Dib().size() + 40)).u32(0).u32(0).append(Dib());
  return b;
}

std::vector<std::string> Names(const TBmpContainer& c) {
  std::vector<std::string> n;
  for (const auto& i : c.Items) n.push_back(std::string(i->Name.c_str()) + (i->Picture.empty() ? "" : "+"));
  return n;
}

TEST(BmpContainer, Files) {
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    bool read;
    std::vector<std::string> items;  // "+": with a picture
  } cases[] = {
      {"two items, one without picture", [] { ::Bytes b; Head(b, 1, 2); Item(b, "eins.bmp", true); Item(b, "zwei", false); return b.data(); }(), true, {"eins.bmp+", "zwei"}},
      {"version 2 reads nothing", [] { ::Bytes b; Head(b, 2, 1); Item(b, "eins", true); return b.data(); }(), false, {}},
      {"a wrong magic first: no items", [] { ::Bytes b; Head(b, 1, 2); Item(b, "eins", true, 0x006874C6); Item(b, "zwei", false); return b.data(); }(), true, {}},
      {"a wrong magic later keeps the items before", [] { ::Bytes b; Head(b, 1, 3); Item(b, "eins", false); Item(b, "zwei", true, 0); Item(b, "drei", false); return b.data(); }(), true, {"eins"}},
      {"a count beyond the file stops at its end", [] { ::Bytes b; Head(b, 1, 60000); Item(b, "eins", false); Item(b, "zwei", true); return b.data(); }(), true, {"eins", "zwei+"}},
      {"a picture cut short leaves its item without one", [] { ::Bytes b; Head(b, 1, 1); b.str("x").u32(kBmpItemMagic).u16(1).u8('B').u8('M').u32(5000).zeros(8); return b.data(); }(), true, {"x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TBmpContainer box;
    box.AddItem("alt", {});
    MemoryStream m(c.file);
    EXPECT_EQ(box.Read(m), c.read);
    EXPECT_EQ(Names(box), c.items);
  }
}

TEST(BmpContainer, WriteReadWrite) {
  ::Bytes laid;
  Head(laid, 1, 2);
  Item(laid, "eins.bmp", true);
  Item(laid, "zwei", false);
  TBmpContainer box;
  MemoryStream in(laid.data());
  ASSERT_TRUE(box.Read(in));
  EXPECT_EQ(box.FirstLong, 0x11223344u);
  EXPECT_EQ(box.SecondLong, 0x55667788u);
  EXPECT_EQ(box.HeaderWord, 0x99AA);
  EXPECT_EQ(box.Items[0]->Picture, Dib());
  MemoryStream out;
  ASSERT_TRUE(box.Write(out));
  // The "BM" header's two last fields are the writer's; the rest is the same.
  ASSERT_EQ(out.Data().size(), laid.size());
  EXPECT_EQ(std::vector<uint8_t>(out.Data().begin(), out.Data().begin() + 32), std::vector<uint8_t>(laid.data().begin(), laid.data().begin() + 32));
  TBmpContainer again;
  out.Seek(0);
  ASSERT_TRUE(again.Read(out, [](const string& n) { return string("C:\\P\\") + n; }));
  EXPECT_EQ(Names(again), (std::vector<std::string>{"C:\\P\\eins.bmp+", "C:\\P\\zwei"}));

  // The header alone, written over an existing file.
  TBmpContainer h;
  h.FirstLong = 1;
  h.HeaderWord = 7;
  MemoryStream file(laid.data());
  ASSERT_TRUE(h.WriteHeader(file));
  file.Seek(0);
  TBmpContainer read;
  ASSERT_TRUE(read.ReadHeader(file));
  EXPECT_EQ(read.FirstLong, 1u);
  EXPECT_EQ(read.SecondLong, 0u);
  EXPECT_EQ(read.HeaderWord, 7);
  file.Seek(0);
  ASSERT_TRUE(read.Read(file));
  EXPECT_EQ(read.Items.size(), 2u);
}

TEST(BmpContainer, Rgb555Palette) {
  std::vector<uint8_t> info(40 + 1024, 0x5A);
  uint32_t colours[256] = {};
  colours[0] = 0x7FFF;
  colours[1] = 0x0000;
  colours[2] = (1 << 10) | (2 << 5) | 3;
  ConvertRgb555Palette(info.data(), colours);
  const uint8_t* q = info.data() + 40;
  EXPECT_EQ(std::vector<uint8_t>(q, q + 12), (std::vector<uint8_t>{248, 248, 248, 0x5A, 0, 0, 0, 0x5A, 24, 16, 8, 0x5A}));
}

}  // namespace
