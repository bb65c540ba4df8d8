// Saving a project the authoring way: head, page records copied in page
// number order, directory, shared lists, object-list record. What is saved
// loads as it was, and saving what was loaded gives the same bytes.
#include <gtest/gtest.h>

#include <map>

#include "engine/core/format/projectimage.h"
#include "pagefixture.h"

namespace {

const char kShow[] = R"(
title "Sichern"
size 320 200
counter 77
object button "Eins" 0 160 50 190 number 1
  data u32 1
object button "Zwei" 60 160 110 190 number 2
  data u32 2
object text "Drei" 0 0 320 20 number 3
  layer 4
object sound "Ton" 0 0 1 1 dataless number 4
object sound "Ton2" 0 0 1 1 dataless number 5
page 5 "Fuenf"
  object text "a" 1 1 2 2 number 10
  object text "b" 1 1 2 2 number 11
  data-for 4 str "a.wav"
page 2 "Zwei"
  object picture "c" 3 3 4 4 number 12
    layer 2
page 9 "Neun"
  data-for 5 str "b.wav"
)";

// Pages of an image by number, as dumps.
std::map<uint32_t, std::string> PagesByNumber(const std::vector<uint8_t>& bytes) {
  tsl::MemoryStream m(bytes);
  TProjectImage image;
  EXPECT_TRUE(image.Read(m));
  std::map<uint32_t, std::string> pages;
  for (auto& p : image.Pages) {
    TProjectImage one;
    one.Pages.push_back(std::move(p));
    pages[one.Pages[0]->Number] = DumpProject(one);
  }
  return pages;
}

// A stream that remembers how much each write moved.
class TRecordingStream : public tsl::MemoryStream {
public:
  uint32_t Write(const void* b, uint32_t n) override {
    writes.push_back(n);
    return tsl::MemoryStream::Write(b, n);
  }
  std::vector<uint32_t> writes;
};

}  // namespace

TEST(ProjectSave, SavingWhatWasLoadedGivesTheSameBytes) {
  for (const char* options : {"", "relocate 333\n"}) {
    const std::vector<uint8_t> built = BuildProject(std::string(options) + kShow);
    TLoadedProject first(built);
    ASSERT_TRUE(first.ok);
    const std::vector<uint8_t> saved = first.Save();
    TLoadedProject second(saved);
    ASSERT_TRUE(second.ok);
    const std::vector<uint8_t> again = second.Save();
    EXPECT_EQ(saved, again) << options;

    // The pages are in page number order now and hold what they held.
    std::vector<uint32_t> order;
    for (const TPagePointer& p : second.directory.Pages) order.push_back(p.Number);
    EXPECT_EQ(order, (std::vector<uint32_t>{2, 5, 9}));
    EXPECT_EQ(PagesByNumber(built), PagesByNumber(saved)) << options;
    EXPECT_EQ(second.model.ProjectObjects.Values[0], 77u) << "the object counter is carried";
    EXPECT_EQ(second.Numbers(), first.Numbers()) << "the shared objects keep their order";
    TLoadedProject original(built);
    for (int page = 0; page < 3; ++page) {
      ASSERT_TRUE(original.ReadPage(page));
      ASSERT_TRUE(second.ReadPage(page));
    }
  }
}

TEST(ProjectSave, AGeneratedProjectIsWrittenAsTheSaveWritesIt) {
  // Pages already in number order: the builder's bytes are the save's.
  const std::vector<uint8_t> built = BuildProject(R"(
object text "Oben" 0 0 10 10 number 1
object text "Auch" 0 0 10 10 number 2
page 1
  object text 0 0 5 5 number 3
  object text 0 0 5 5 number 4
page 3
page 4
)");
  TLoadedProject p(built);
  EXPECT_EQ(p.Save(), built);
}

TEST(ProjectSave, CopyFileBytesMovesPiecesOfAtMost32766) {
  struct Case {
    int64_t count;
    std::vector<uint32_t> pieces;
  };
  const Case cases[] = {{70000, {32766, 32766, 4468}}, {32766, {32766}}, {5, {5}}, {0, {}}};
  for (const Case& c : cases) {
    tsl::MemoryStream from(std::vector<uint8_t>(80000, 0xAB));
    TRecordingStream to;
    EXPECT_TRUE(CopyFileBytes(from, to, c.count)) << c.count;
    EXPECT_EQ(to.writes, c.pieces) << c.count;
  }
  tsl::MemoryStream shortFrom(std::vector<uint8_t>(100, 1));
  tsl::MemoryStream to;
  EXPECT_FALSE(CopyFileBytes(shortFrom, to, 101));
  EXPECT_FALSE(CopyFileBytes(shortFrom, to, -1));
}

TEST(ProjectSave, PageRecordsMoveWithTheirHeaders) {
  const std::vector<uint8_t> built = BuildProject(kShow);
  TLoadedProject p(built);
  uint32_t offset;
  ASSERT_TRUE(p.directory.GetPageOffset(0, offset));
  tsl::MemoryStream to(std::vector<uint8_t>(12345, 0));
  uint32_t moved;
  TRecordHeader h;
  ASSERT_TRUE(CopyPageRecord(p.stream, offset, to, moved, &h));
  EXPECT_EQ(moved, 12345u);
  EXPECT_EQ(h.SelfOffset, 12345u);
  TRecordHeader stored;
  ASSERT_TRUE(ReadRecordHeader(p.stream, offset, stored));
  EXPECT_EQ(h.BackgroundOffset, stored.BackgroundOffset + (12345u - offset));
  EXPECT_EQ(h.ObjectListOffset, stored.ObjectListOffset + (12345u - offset));
  EXPECT_EQ(h.Length, stored.Length);

  // Damaged records are not copied.
  std::vector<uint8_t> bad = built;
  bad[offset] ^= 0xFF;
  tsl::MemoryStream badFrom(bad);
  EXPECT_FALSE(CopyPageRecord(badFrom, offset, to, moved));
  bad = built;
  bad[offset + 8] = 0xFF, bad[offset + 9] = 0xFF, bad[offset + 10] = 0xFF;  // length past the end
  tsl::MemoryStream longFrom(bad);
  EXPECT_FALSE(CopyPageRecord(longFrom, offset, to, moved));

  // A save that meets such a page leaves the directory as it was.
  TLoadedProject damaged(bad);
  const std::vector<TPagePointer> before(damaged.directory.Pages.begin(), damaged.directory.Pages.end());
  tsl::MemoryStream out;
  EXPECT_FALSE(SaveProjectStream(damaged.stream, out, damaged.header, damaged.info, {}, damaged.directory,
                                 damaged.model));
  EXPECT_EQ(std::vector<TPagePointer>(damaged.directory.Pages.begin(), damaged.directory.Pages.end()), before);
}
