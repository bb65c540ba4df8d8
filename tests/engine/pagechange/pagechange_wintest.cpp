// The open project on the main road, in process: page changes, history,
// automatic advance, leave actions and menus.
#include "presentation.h"

#include "engine/core/actionqueue.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

const char* const kThreePages =
    "size 200 150\n"
    "page 1\n  background colour #FF0000\n"
    "page 2\n  background colour #00FF00\n"
    "page 3\n  background colour #0000FF\n";

}  // namespace

TEST(MainRoad, OpensTheProjectAndShowsItsFirstPageWithOneHistoryStep) {
  Presentation p(kThreePages);
  ASSERT_TRUE(p.Book);
  EXPECT_EQ(p.Book->LoadStatus, 1);
  EXPECT_TRUE(p.Shows(0, kRed));
  EXPECT_EQ(p.Book->BackStepIndex(), 0) << "the first page made one back step";
  EXPECT_EQ(p.Book->ForwardStepIndex(), -1);
  EXPECT_EQ(PaintEnabled, 1);
}

TEST(MainRoad, GotoPageAndHistoryBackAndForward) {
  Presentation p(kThreePages);
  ASSERT_TRUE(p.Shows(0, kRed));
  EXPECT_FALSE(p.Book->GotoPage(-1, 1, -1, 1));
  EXPECT_FALSE(p.Book->GotoPage(3, 1, -1, 1)) << "the page count is outside";
  ASSERT_TRUE(p.Book->GotoPage(1, 1, -1, 1));
  EXPECT_TRUE(p.Shows(1, kGreen));
  ASSERT_TRUE(p.Book->GotoPage(2, 1, -1, 1));
  EXPECT_TRUE(p.Shows(2, kBlue));
  p.Book->HistoryBack();
  EXPECT_TRUE(p.Shows(1, kGreen));
  p.Book->HistoryBack();
  EXPECT_TRUE(p.Shows(0, kRed));
  EXPECT_EQ(p.Book->ForwardStepIndex(), 1);
  p.Book->HistoryForward();
  EXPECT_TRUE(p.Shows(1, kGreen));
  p.Book->GotoPage(2, 1, -1, 1);
  EXPECT_TRUE(p.Shows(2, kBlue));
  p.Book->HistoryForward();
  EXPECT_TRUE(p.Shows(2, kBlue)) << "the forward step for page 3 stayed";
  EXPECT_EQ(p.Book->ForwardStepIndex(), -1);
}

TEST(MainRoad, AutomaticAdvanceFollowsThePageSequenceAndStartsItAgain) {
  // Pages 5, 2, 9 in the file; the sequence 9, 5 is followed and begun again.
  Presentation p(
      "size 200 150\nadvance sequence\nsequence 9 5\n"
      "page 5\n  background colour #FF0000\n  timing 1 0 0 0\n"
      "page 2\n  background colour #00FF00\n  timing 1 0 0 0\n"
      "page 9\n  background colour #0000FF\n  timing 1 0 0 0\n");
  ASSERT_TRUE(p.Book);
  EXPECT_TRUE(p.Shows(2, kBlue)) << "first the sequence's first number";
  EXPECT_TRUE(p.Shows(0, kRed));
  EXPECT_TRUE(p.Shows(2, kBlue)) << "the sequence starts again";
  EXPECT_NE(p.Book->PreviousPage, 1) << "page 2 is not in the sequence";
}

TEST(MainRoad, AutomaticAdvanceInFileOrderQuitsAfterTheLastPage) {
  Presentation p(
      "size 200 150\nadvance\n"
      "page 1\n  background colour #FF0000\n  timing 1 0 0 0\n"
      "page 2\n  background colour #00FF00\n  timing 1 0 0 0\n");
  ASSERT_TRUE(p.Book);
  EXPECT_TRUE(p.Shows(1, kGreen));
  bool quit = false;
  EXPECT_TRUE(wintest::PumpUntil([] { return false; }, 20000, &quit));
  EXPECT_TRUE(quit) << "after the last page the presentation ends";
}

TEST(MainRoad, LeaveActionsAreQueuedOnTheNextPageAndMenuItemsQueueTheirActions) {
  Presentation p(
      "size 200 150\n"
      "page 1\n  background colour #FF0000\n  leave code 9 delay 100000\n"
      "  menu \"Seiten\"\n    item \"Zwei\" code 9 delay 100000\n"
      "page 2\n  background colour #00FF00\n");
  ASSERT_TRUE(p.Shows(0, kRed));
  HWND frame = p.Frame->HWindow;
  HMENU bar = ::GetMenu(frame);
  ASSERT_NE(bar, nullptr) << "the page's menu bar";
  EXPECT_EQ(::GetMenuItemCount(bar), 1);
  ASSERT_TRUE(PendingActions());
  EXPECT_EQ(PendingActions()->GetItemsInContainer(), 0);
  ::SendMessageA(p.Page->HWindow, WM_COMMAND, 100, 0);
  ASSERT_EQ(PendingActions()->GetItemsInContainer(), 1) << "the menu item queued its action";
  p.Book->GotoPage(1, 1, -1, 1);
  EXPECT_TRUE(p.Shows(1, kGreen));
  ASSERT_EQ(PendingActions()->GetItemsInContainer(), 1) << "the change dropped the menu's action, queued the leave action";
  EXPECT_EQ(::GetMenu(frame), nullptr) << "a page without a menu has no menu bar";
}

TEST(MainRoad, ASequentialPlayOnAnObjectThatNeverReportsItsEndLetsTheChainGoOn) {
  // The video (kind 2) has no medium to play: its play ends at once, and
  // the chain behind "play, then continue" must not wait for more.
  Presentation p(
      "size 200 150\n"
      "page 1\n  background colour #FF0000\n"
      "  enter code 0 target 5 wait\n"
      "  enter goto 2 wait\n"
      "  object video \"Film\" 10 10 60 60 number 5\n"
      "page 2\n  background colour #00FF00\n");
  // The chain runs at the first timer pass, so the first page may never be
  // seen; only the chained page change can bring up the second.
  ASSERT_TRUE(p.Book);
  EXPECT_TRUE(p.Shows(1, kGreen)) << "the page change chained behind the play ran";
}

TEST(MainRoad, AProjectWithoutRunTimeFlagDoesNotLoad) {
  const std::string path = wintest::TempPath("tsl_pagechange_off.crt");
  ASSERT_TRUE(wintest::WriteDescribedProject("runtime off\npage 1\n", path));
  TObjectWindow window(false, nullptr);
  window.OwnsProject = 1;
  {
    TBookStruct book(&window, path.c_str());
    EXPECT_EQ(book.LoadStatus, 0);
    EXPECT_EQ(book.GetPageCount(), 0);
  }
  window.OwnsProject = 0;
  ::DeleteFileA(path.c_str());
}

namespace {

// A frame stand-in that counts its closes the way the player's frame takes
// them: put off while a page is built, taken afterwards.
struct CloseProbe {
  static inline TBookStruct* Book = nullptr;
  static inline bool Building = false;
  static inline int PutOff = 0, TakenDuringBuild = 0, TakenAfter = 0;
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_CLOSE) return ::DefWindowProcA(w, msg, wp, lp);
    if (Book && Book->DeferClose(w)) ++PutOff;
    else ++(Building ? TakenDuringBuild : TakenAfter);
    return 0;
  }
};

}  // namespace

TEST(MainRoad, ACloseDuringAPageBuildWaitsForTheBuildsEnd) {
  // The build pumps the queue: a close taken there would destroy the
  // windows the build goes on to use.
  Presentation p(kThreePages);
  ASSERT_TRUE(p.Shows(0, kRed));
  WNDCLASSA wc{};
  wc.lpfnWndProc = &CloseProbe::Proc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "TslCloseProbe";
  ::RegisterClassA(&wc);
  HWND probe = ::CreateWindowA("TslCloseProbe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(probe, nullptr);
  CloseProbe::Book = p.Book;
  ::PostMessageA(probe, WM_CLOSE, 0, 0);
  CloseProbe::Building = true;
  ASSERT_TRUE(p.Book->GotoPage(1, 1, -1, 1));
  CloseProbe::Building = false;
  EXPECT_EQ(CloseProbe::PutOff, 1) << "the build's pump met the close";
  EXPECT_EQ(CloseProbe::TakenDuringBuild, 0);
  wintest::PumpUntil([] { return CloseProbe::TakenAfter > 0; }, 2000);
  EXPECT_EQ(CloseProbe::TakenAfter, 1) << "posted again once the build ended";
  EXPECT_TRUE(p.Shows(1, kGreen));
  CloseProbe::Book = nullptr;
  ::DestroyWindow(probe);
}
