// Thousands of damaged project files, each loaded page by page, ended,
// saved and loaded again: nothing may crash (the sanitizers watch), no
// object of a kind outside 0-21 may be made, and the page's objects must
// stand in layer order whatever the file said.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/core/format/projectimage.h"
#include "pagefixture.h"

namespace {

const char kRich[] = R"(
title "Mutanten"
size 400 300
flags caption drag fit
sequence 3 1 2
background stretch gradient 4 4 #FF0000 #0000FF
object button "Knopf" 10 250 90 290 number 1
  layer 2
  tooltip "Weiter zur nächsten Seite"
  action next delay 100 string "a" numbers 1 2 print
  action goto 2 on dblclick
  data flags 0x1001004 i16 0 colour #C0C0C0 str "Weiter" font "Arial" 17 bold
object sound "Ton" 0 0 1 1 dataless number 2
page 1 "Eins"
  background tile checker 8 8 #000000 #FFFFFF 2
  keys 10 11 12
  hidden 11
  enter goto 2 delay 1000
  leave info
  database "daten.dbd" flags 4
  object text "A" 10 10 110 60 number 10
    border 3
    fill #808080
    data flags 0x3 str "Hallo" zeros 8
  object picture "B" 20 20 120 70 number 11
    layer 1
    scale
    data flags 0x4 dib gradient 6 6 #00FF00 #000000
  object text "C" 30 30 130 80 number 12
    layer 1
  data-for 2 flags 0x1000 str "ton.wav"
  menu "Seiten"
    item "Zwei" goto 2
    separator
    check 3 "X" code 12
    item "Knopf" object 1
page 2 "Zwei"
  ownoptions title "Eigen" size 200 100 flags caption fit
  object html "W" 0 0 100 100 number 20
  data-for 2 str "zwei.wav"
page 3
  timing 0 0 0 8
)";

uint32_t Pick(std::mt19937& rng, uint32_t n) { return n ? static_cast<uint32_t>(rng() % n) : 0; }

void Put(std::vector<uint8_t>& b, size_t at, const void* v, size_t n) {
  if (at + n <= b.size()) std::memcpy(&b[at], v, n);
}

void Mutate(std::vector<uint8_t>& b, std::mt19937& rng) {
  const uint16_t shorts[] = {0, 0xFFFF, 0x8000, 0x7FFF, 22, 32767, 1, 0xFFFE};
  const int edits = 1 + static_cast<int>(Pick(rng, 4));
  for (int e = 0; e < edits && !b.empty(); ++e) {
    const uint32_t size = static_cast<uint32_t>(b.size());
    const uint32_t words[] = {0, 1, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, size, size - 4, size + 4, 0xFFFF, 48, 22};
    switch (Pick(rng, 6)) {
      case 0:  // flip bits
        b[Pick(rng, size)] ^= static_cast<uint8_t>(1u << Pick(rng, 8));
        break;
      case 1: {  // a telling 32-bit value
        const uint32_t v = words[Pick(rng, sizeof words / sizeof *words)];
        Put(b, Pick(rng, size), &v, 4);
        break;
      }
      case 2: {  // a telling 16-bit value (counts, kinds)
        const uint16_t v = shorts[Pick(rng, sizeof shorts / sizeof *shorts)];
        Put(b, Pick(rng, size), &v, 2);
        break;
      }
      case 3:  // cut
        b.resize(Pick(rng, size));
        break;
      case 4: {  // insert garbage, moving everything behind it
        const size_t at = Pick(rng, size);
        std::vector<uint8_t> junk(1 + Pick(rng, 16));
        for (uint8_t& j : junk) j = static_cast<uint8_t>(rng());
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), junk.begin(), junk.end());
        break;
      }
      default: {  // a random byte
        b[Pick(rng, size)] = static_cast<uint8_t>(rng());
        break;
      }
    }
  }
}

void ExpectSound(const TPageModel& m, int n) {
  uint16_t layer = 0;
  for (const auto& o : m.Objects) {
    ASSERT_GE(o->Info.Target.Kind, 0) << "file " << n;
    ASSERT_LE(o->Info.Target.Kind, kLastObjectKind) << "file " << n;
    ASSERT_NE(o->Data, nullptr) << "file " << n;
    ASSERT_GE(o->Info.Rect.Layer, layer) << "file " << n;
    layer = o->Info.Rect.Layer;
  }
}

}  // namespace

TEST(Mutation, DamagedProjectsLoadWithoutHarm) {
  const std::vector<uint8_t> base = BuildProject(kRich);
  {
    TLoadedProject whole(base);
    ASSERT_TRUE(whole.ok);
    for (int i = 0; i < whole.directory.Count(); ++i) ASSERT_TRUE(whole.ReadPage(i)) << "page " << i;
  }
  std::mt19937 rng(0x7D5EED);
  int loaded = 0, saved = 0;
  for (int n = 0; n < 3000; ++n) {
    std::vector<uint8_t> bytes = base;
    Mutate(bytes, rng);
    {
      TLoadedProject p(bytes);
      if (!p.ok) continue;
      ++loaded;
      ExpectSound(p.model, n);
      const int pages = std::min(p.directory.Count(), 6);
      for (int i = 0; i < pages; ++i) {
        p.ReadPage(i);
        ExpectSound(p.model, n);
      }
      p.model.EndPageObjects();
      tsl::MemoryStream out;
      if (SaveProjectStream(p.stream, out, p.header, p.info, {}, p.directory, p.model)) {
        ++saved;
        TLoadedProject again(out.Data());
        for (int i = 0; i < std::min(again.directory.Count(), 6); ++i) again.ReadPage(i);
        ExpectSound(again.model, n);
      }
    }
    tsl::MemoryStream m(bytes);
    TProjectImage image;
    image.Read(m);
  }
  EXPECT_GT(loaded, 1000) << "most damage leaves a file that opens";
  EXPECT_GT(saved, 100);
}
