// The page transition: the worker blacks out the old page on the screen
// while the main thread waits, and only when the project and the page ask.
#include "pagefixture.h"

#include <string>

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/transitionthread.h"

namespace {

struct Presentation : wintest::FramedPage {
  explicit Presentation(const std::string& description)
      : FramedPage(description, {"tsl_transition.crt", "transition", 10, 10, 200, 150}) {
    wintest::PumpFor(300);
  }
};

}  // namespace

TEST(Transition, WantedOnlyWithTheProjectSwitchAndAPageKind) {
  struct Case {
    const char* flags;
    const char* transition;
    bool runLeave, wanted;
  };
  const Case cases[] = {
      {"flags transitions\n", "  transition 2\n", true, true},
      {"flags transitions\n", "  transition 2\n", false, false},
      {"", "  transition 2\n", true, false},
      {"flags transitions\n", "", true, false},
  };
  for (const Case& c : cases) {
    Presentation p(std::string("size 200 150\n") + c.flags + "page 1\n  background colour #FF0000\n" + c.transition +
                   "page 2\n  background colour #00FF00\n");
    ASSERT_TRUE(p.Book);
    EXPECT_EQ(TransitionThread::Wanted(*p.Book, c.runLeave), c.wanted) << c.flags << c.transition << c.runLeave;
  }
}

TEST(Transition, TheWorkerBlacksOutTheOldPageAndLeavesNoEffectBehind) {
  Presentation p(
      "size 200 150\nflags transitions\n"
      "page 1\n  background colour #FF0000\n  transition 2\n  timing 0 0 0 2\n"
      "page 2\n  background colour #00FF00\n");
  ASSERT_TRUE(p.Book);
  ASSERT_EQ(p.PixelAt(100, 75), RGB(255, 0, 0));
  {
    TransitionThread thread(p.Book);
    ASSERT_NE(p.Book->Transition, nullptr);
    ASSERT_NE(thread.Start(), nullptr);
    EXPECT_EQ(thread.WaitForExit(INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  }
  EXPECT_EQ(p.Book->Transition, nullptr);
  // Nothing has repainted yet: the whole old page is black.
  for (POINT pt : {POINT{1, 1}, POINT{100, 75}, POINT{198, 148}})
    EXPECT_EQ(p.PixelAt(pt.x, pt.y), RGB(0, 0, 0)) << pt.x << "," << pt.y;

  // A page change with the transition ends on the new page.
  ASSERT_TRUE(p.Book->GotoPage(1, 1, -1, 1));
  EXPECT_EQ(p.Book->Transition, nullptr);
  wintest::PumpFor(500);
  EXPECT_EQ(p.PixelAt(100, 75), RGB(0, 255, 0));
}
