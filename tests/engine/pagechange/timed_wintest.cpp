// The open project's timed messages through the real timer and the real
// handler: the page's periodic tick, object timing (kinds 4, 5 and 15), the
// end of a medium (10) and the timed page changes (8 and 14).
#include "presentation.h"

#include <algorithm>
#include <vector>

#include "engine/core/actionqueue.h"
#include "engine/objectmanager.h"

namespace {

const COLORREF kTimedRed = RGB(255, 0, 0), kTimedGreen = RGB(0, 255, 0), kTimedBlue = RGB(0, 0, 255),
               kTimedWhite = RGB(255, 255, 255);

// Objects 5 and 6 start hidden by the page's list, 7 shows; each is a blue
// square in the top row, clear of the point Shows() reads.
const char kObjects[] =
    "size 200 150\n"
    "page 1\n  background colour #FF0000\n  hidden 5 6\n  leave code 9 delay 100000\n"
    "  object picture \"A\" 10 10 40 40 number 5\n    border 1\n    fill #0000FF\n"
    "  object picture \"B\" 50 10 80 40 number 6\n    border 1\n    fill #0000FF\n"
    "  object picture \"C\" 90 10 120 40 number 7\n    border 1\n    fill #0000FF\n"
    "page 2\n  background colour #00FF00\n"
    "page 3\n  background colour #FFFFFF\n";

void Post(TBookStruct* book, int32_t kind, uintptr_t param1 = 0, uintptr_t owner = 0) {
  TSysTimeManagerMsg m;
  m.Receiver = book;
  m.Kind = kind;
  m.Param1 = param1;
  m.OwnerId = owner;
  book->GetTimeManager()->PostMsg(m);
}

struct ObjectCase {
  const char* what;
  int32_t kind;
  uint32_t number;
  int x;  // inside the object's square
  bool shownAfter;
};

}  // namespace

TEST(TimedMessages, ThePageTickComesEvery125Milliseconds) {
  Presentation p("size 200 150\npage 1\n  background colour #FF0000\n");
  ASSERT_TRUE(p.Shows(0, kTimedRed));
  TSysTimeManager* m = p.Book->GetTimeManager();
  ASSERT_NE(m, nullptr);
  // Each delivery posts the next tick: their post times are the ticks.
  std::vector<uint32_t> ticks;
  wintest::PumpUntil(
      [&] {
        int start = 0;
        TSysTimeManagerMsg tick;
        while (m->FindByKind(0, start, tick))
          if (ticks.empty() || static_cast<int32_t>(tick.PostTime - ticks.back()) > 0) ticks.push_back(tick.PostTime);
        return ticks.size() >= 14;
      }, 8000);
  ASSERT_GE(ticks.size(), 8u) << "ticks seen in eight seconds";
  std::vector<uint32_t> gaps;
  for (size_t i = 1; i < ticks.size(); ++i) gaps.push_back(ticks[i] - ticks[i - 1]);
  std::sort(gaps.begin(), gaps.end());
  const uint32_t median = gaps[gaps.size() / 2];
  EXPECT_GE(gaps.front(), 125u) << "never before its period";
  // The 10 ms timer delivers a tick on the first pass after it is due; a busy
  // machine may delay a pass, hardly most of them.
  EXPECT_LE(median, 180u) << "median of " << gaps.size() << " gaps, longest " << gaps.back();
}

// The first page is built before the timer exists: what it posts is
// stamped on the clock the ticks later age it by, or it waits the clocks'
// difference on top of its delay (seen: 200 ms, in which a click's hide
// was undone by the page's own show message).
TEST(TimedMessages, TheFirstPagesMessagesAreStampedOnTheTicksClock) {
  const DWORD before = ::timeGetTime();
  Presentation p("size 200 150\npage 1\n  background colour #FF0000\n"
                 "  object picture \"Late\" 10 10 40 40 number 9\n    timing 80 0 0 0 flags 0\n    fill #0000FF\n");
  const DWORD after = ::timeGetTime();
  ASSERT_TRUE(p.Book);
  TSysTimeManager* q = p.Book->GetTimeManager();
  q->Dispatch();  // what waits in the incoming queue joins the others
  int start = 0;
  TSysTimeManagerMsg show;
  ASSERT_TRUE(q->FindByKind(kShowAndStartMsg, start, show)) << "the late object's show";
  EXPECT_EQ(show.Param1, 9u);
  EXPECT_GE(static_cast<int32_t>(show.PostTime - before), 0) << "stamped behind the ticks' clock";
  EXPECT_LE(static_cast<int32_t>(show.PostTime - after), 0) << "stamped ahead of the ticks' clock";
}

TEST(TimedMessages, ObjectTimingShowsAndHidesThroughTheHandler) {
  const ObjectCase cases[] = {
      {"kind 15 shows", 15, 5, 25, true},
      {"kind 4 shows and starts", 4, 6, 65, true},
      {"kind 5 stops and hides", 5, 7, 105, false},
  };
  Presentation p(kObjects);
  ASSERT_TRUE(p.Shows(0, kTimedRed));
  TObjectManager* page = p.Book->ObjectManager.get();
  ASSERT_NE(page, nullptr);
  for (const ObjectCase& c : cases) {
    SCOPED_TRACE(c.what);
    TObjectElement* o = page->FindObjectById(c.number);
    ASSERT_NE(o, nullptr);
    const COLORREF before = c.shownAfter ? kTimedRed : kTimedBlue;
    ASSERT_TRUE(wintest::PumpUntil([&] { return p.PixelAt(c.x, 35) == before; }, 5000))
        << "before: " << std::hex << p.PixelAt(c.x, 35) << " visible " << o->IsVisible();
    EXPECT_EQ(o->IsVisible(), !c.shownAfter);
    Post(p.Book, c.kind, c.number);
    const COLORREF after = c.shownAfter ? kTimedBlue : kTimedRed;
    EXPECT_TRUE(wintest::PumpUntil([&] { return o->IsVisible() == c.shownAfter && p.PixelAt(c.x, 35) == after; }, 5000))
        << "after: " << std::hex << p.PixelAt(c.x, 35) << " visible " << o->IsVisible();
  }
  // A number that is not on the page changes nothing.
  Post(p.Book, 5, 99);
  Post(p.Book, 15, 99);
  wintest::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(p.PixelAt(25, 35), kTimedBlue);
  EXPECT_EQ(p.PixelAt(105, 35), kTimedRed);
}

TEST(TimedMessages, TheEndOfAMediumDropsTheActionWaitingForIt) {
  Presentation p(kObjects);
  ASSERT_TRUE(p.Shows(0, kTimedRed));
  ASSERT_NE(PendingActions(), nullptr);
  auto waitFor = [](uint32_t target, uint16_t code, int32_t serial) {
    auto a = std::make_unique<TActionStruct>();
    a->Code = code;
    a->Target = target;
    AddPendingAction(std::make_unique<TActionKeyStruct>(std::move(a), serial, kNoSerial, kNoSerial));
  };
  waitFor(7, 0, 9001);
  waitFor(6, 0, 9002);
  waitFor(7, 11, 9003);  // not a waiting action
  TSysTimeManagerMsg end;
  end.Receiver = p.Book;
  end.Kind = 10;
  end.Sender = 7;
  p.Book->GetTimeManager()->PostMsg(end);
  EXPECT_TRUE(wintest::PumpUntil([] { return FindPendingAction(nullptr, 9001) == nullptr; }, 5000));
  EXPECT_NE(FindPendingAction(nullptr, 9002), nullptr) << "another object's wait stays";
  EXPECT_NE(FindPendingAction(nullptr, 9003), nullptr) << "an action of another code stays";
  FlushPendingActions();
}

TEST(TimedMessages, TimedPageChanges) {
  Presentation p(kObjects);
  ASSERT_TRUE(p.Shows(0, kTimedRed));
  const int steps = p.Book->BackStepIndex();

  // Kind 8 to the current page does nothing.
  Post(p.Book, 8, 0, 0);
  wintest::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(p.Book->CurrentPage, 0);
  EXPECT_EQ(p.Book->BackStepIndex(), steps);
  EXPECT_EQ(PendingActions()->GetItemsInContainer(), 0);

  // Kind 8 changes the page as an action would: the leave action is queued
  // and the history gains a step.
  Post(p.Book, 8, 0, 1);
  ASSERT_TRUE(p.Shows(1, kTimedGreen));
  EXPECT_EQ(p.Book->BackStepIndex(), steps + 1);
  EXPECT_EQ(PendingActions()->GetItemsInContainer(), 1) << "page 1's leave action";

  // Kind 14 (a history step with a database record) runs no leave action,
  // drops every other timed message but the tick, and records the record
  // only when asked to.
  for (uintptr_t record : {uintptr_t{0}, uintptr_t{1}}) {
    SCOPED_TRACE(record ? "with its own step" : "without a step");
    ASSERT_TRUE(p.Book->GotoPage(0, 0, -1, 0));
    ASSERT_TRUE(p.Shows(0, kTimedRed));
    FlushPendingActions();
    const int before = p.Book->BackStepIndex();
    TSysTimeManagerMsg later;
    later.Receiver = p.Book;
    later.Kind = 15;
    later.Param1 = 5;
    later.Delay = 100000;
    p.Book->GetTimeManager()->PostMsg(later);
    TSysTimeManagerMsg change;
    change.Receiver = p.Book;
    change.Kind = 14;
    change.OwnerId = 2;
    change.Param3 = record;
    change.Param4 = 42;
    p.Book->GetTimeManager()->PostMsg(change);
    ASSERT_TRUE(p.Shows(2, kTimedWhite));
    EXPECT_EQ(PendingActions()->GetItemsInContainer(), 0) << "no leave action";
    EXPECT_EQ(p.Book->BackStepIndex(), before + static_cast<int>(record));
    if (record) {
      TUndoStep* step = p.Book->CurrentBackStep();
      ASSERT_NE(step, nullptr);
      ASSERT_EQ(step->GetItemsInContainer(), 1);
      EXPECT_EQ((*step)[0]->Kind, kUndoPageRecord);
      EXPECT_EQ((*step)[0]->Page, 0);
      EXPECT_EQ((*step)[0]->Record, 42);
    }
    int start = 0;
    TSysTimeManagerMsg found;
    EXPECT_FALSE(p.Book->GetTimeManager()->FindByKind(15, start, found)) << "the delayed message is gone";
    start = 0;
    EXPECT_TRUE(p.Book->GetTimeManager()->FindByKind(0, start, found)) << "the tick stays";
  }
}
