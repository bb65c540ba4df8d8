// A page that shows what it shows costs nothing while nobody touches it:
// once it is painted, the 10 ms timer passes repaint nothing; it paints
// again when it is uncovered.
#include <string>

#include "platform/owl/file.h"
#include "running.h"

namespace {

// The project's page directory claims more pages than any file could hold.
void DamageDirectoryCount(const std::string& path) {
  TFile f(path.c_str(), TFile::ReadWrite | TFile::OpenExisting);
  ASSERT_TRUE(f.IsOpen());
  uint32_t directory = 0;
  ASSERT_EQ(f.Read(&directory, 4), 4u);
  const uint32_t count = 0x20000001;
  f.Seek(directory + 4);
  ASSERT_EQ(f.Write(&count, 4), 4u);
}

}  // namespace

TEST(IdlePage, IsPaintedOnceAndThenLeftAlone) {
  struct Case {
    const char* what;
    std::string description;
    bool damageDirectory;
  };
  const std::string staticPage =
      "size 200 150\n"
      "page 1\n  background colour #FF0000\n"
      "  object text \"t\" 10 10 190 40\n"
      "    data flags 0x1 colour #000000 i32 2 i32 2 i16 0 u32 1\n"
      "    data font \"Arial\" 17 colour #FFFFFF str \"Ruhe\" zeros 16\n"
      "  object picture \"p\" 10 50 60 100\n    scale\n    tooltip \"Bild\"\n"
      "    data flags 0x4 str \"\" u8 0 colour #000000 colour #000000 u8 3 u8 2 zeros 5\n"
      "    data u8 1 dib gradient 16 16 #FF8000 #800040\n"
      "  object button \"b\" 80 50 180 90\n    button text caption \"&Weiter\"\n";
  const std::string advancing = "size 200 150\nadvance loop\n";
  const Case cases[] = {
      {"an empty page", "size 200 150\npage 1\n", false},
      {"a project without pages", "size 200 150\n", false},
      {"a page of texts, pictures and buttons", staticPage, false},
      {"a page directory whose count the file cannot hold", staticPage, true},
      {"automatic advance: one page without a duration", advancing + "page 1\n  timing 0 0 0 0\n", false},
      {"automatic advance: a project without pages", advancing, false},
      {"automatic advance: a page directory whose count the file cannot hold",
       advancing + "page 1\n  timing 0 0 0 0\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunningProject p(c.description, 200, 150,
                     c.damageDirectory ? DamageDirectoryCount : std::function<void(const std::string&)>());
    ASSERT_TRUE(p.Book);
    ASSERT_TRUE(p.Shows(0));
    p.Idle(300);
    p.Paints = 0;
    p.Idle(1000);
    EXPECT_EQ(p.Paints, 0) << "paints of an idle page in a second";
    ::InvalidateRect(p.Page->HWindow, nullptr, FALSE);
    p.Idle(100);
    EXPECT_EQ(p.Paints, 1) << "a page uncovered paints once";
  }
}
