// The page transition: the worker blacks out the old page on the screen
// while the main thread waits, and only when the project and the page ask.
#include "wintest.h"

#include <string>

#include "engine/bookstruct.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/transitionthread.h"
#include "platform/owl/file.h"
#include "platform/owl/framewin.h"

namespace {

struct Presentation {
  explicit Presentation(const std::string& description) : Path(wintest::TempPath("tsl_transition.crt")) {
    TProjectDescription project;
    TDescriptionError error;
    EXPECT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
    {
      TFile f(Path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
      WriteProjectDescription(project, f);
    }
    Page = new TObjectWindow(nullptr, Path.c_str());
    Frame = std::make_unique<TFrameWindow>(nullptr, "transition", Page);
    Frame->Attr.Style = WS_POPUP | WS_VISIBLE;
    Frame->Attr.X = 10;
    Frame->Attr.Y = 10;
    Frame->Attr.W = 200;
    Frame->Attr.H = 150;
    EXPECT_TRUE(Frame->Create());
    Book = GetOpenBook();
    wintest::PumpFor(300);
  }
  ~Presentation() {
    Frame.reset();
    ::DeleteFileA(Path.c_str());
  }
  COLORREF ScreenPixel(int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(Page->HWindow, &p);
    HDC dc = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(dc, p.x, p.y);
    ::ReleaseDC(nullptr, dc);
    return c;
  }
  std::string Path;
  TObjectWindow* Page = nullptr;
  std::unique_ptr<TFrameWindow> Frame;
  TBookStruct* Book = nullptr;
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
  ASSERT_EQ(p.ScreenPixel(100, 75), RGB(255, 0, 0));
  {
    TransitionThread thread(p.Book);
    ASSERT_NE(p.Book->Transition, nullptr);
    ASSERT_NE(thread.Start(), nullptr);
    EXPECT_EQ(thread.WaitForExit(INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  }
  EXPECT_EQ(p.Book->Transition, nullptr);
  // Nothing has repainted yet: the whole old page is black.
  for (POINT pt : {POINT{1, 1}, POINT{100, 75}, POINT{198, 148}})
    EXPECT_EQ(p.ScreenPixel(pt.x, pt.y), RGB(0, 0, 0)) << pt.x << "," << pt.y;

  // A page change with the transition ends on the new page.
  ASSERT_TRUE(p.Book->GotoPage(1, 1, -1, 1));
  EXPECT_EQ(p.Book->Transition, nullptr);
  wintest::PumpFor(500);
  EXPECT_EQ(p.ScreenPixel(100, 75), RGB(0, 255, 0));
}
