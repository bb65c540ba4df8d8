// The page's cursors: the move handle of a selection frame shows the
// program's own cursor (resource 100), which the program carries.
#include "engine/pagepaint.h"
#include "resources/ids_engine.h"
#include "running.h"

TEST(PageCursor, TheMoveHandleShowsTheProgramsOwnCursor) {
  RunningProject p("size 200 150\npage 1\n  background colour #FF0000\n", 200, 150);
  ASSERT_TRUE(p.Book);
  ASSERT_TRUE(p.Shows(0));
  const HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_PROGRAM_CURSOR));
  ASSERT_NE(own, nullptr);
  POINT inside{100, 75};
  ::ClientToScreen(p.Page->HWindow, &inside);
  ::SetCursorPos(inside.x, inside.y);
  p.Idle(50);

  struct Case {
    int code, result;
    HCURSOR cursor;
  };
  const Case cases[] = {
      {4, 1, own},
      {0, 2, ::LoadCursorA(nullptr, IDC_SIZENWSE)},
      {-1, 0, ::LoadCursorA(nullptr, IDC_ARROW)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(TPagePainter::SetSizingCursor(p.Book->ObjectManager.get(), c.code), c.result);
    EXPECT_EQ(::GetCursor(), c.cursor);
  }
}
