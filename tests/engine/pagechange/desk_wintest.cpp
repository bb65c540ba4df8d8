// The desk frame through the player: a project with flag "desk" hides the
// desktop behind a full-screen window painted with the project's
// background, the main frame stands inside it, and a quit key pressed while
// the desk frame has the keyboard ends the presentation.
#include "wintest.h"

#include <string>

#include "playerscreen.h"

namespace {

struct TopLevel {
  DWORD pid;
  HWND found;
};

// A visible top-level window of the process that covers the screen.
BOOL CALLBACK MatchScreenWide(HWND w, LPARAM l) {
  auto* q = reinterpret_cast<TopLevel*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  RECT r;
  if (pid != q->pid || !::IsWindowVisible(w) || !::GetWindowRect(w, &r)) return TRUE;
  if (r.left <= 0 && r.top <= 0 && r.right >= ::GetSystemMetrics(SM_CXSCREEN) &&
      r.bottom >= ::GetSystemMetrics(SM_CYSCREEN)) {
    q->found = w;
    return FALSE;
  }
  return TRUE;
}

bool ScreenShows(int x, int y, COLORREF colour) {
  for (int i = 0; i < 200; ++i) {
    if (wintest::ScreenPixel(x, y) == colour) return true;
    ::Sleep(50);
  }
  return false;
}

}  // namespace

TEST(DeskFrame, HidesTheDesktopBehindTheFrameAndTakesTheQuitKey) {
  const std::string project =
      WriteProjectFile(TempFolder() + "tsl_desk.crt",
                       "size 300 200\ntitle \"Pult\"\nflags desk\nquitkeys 2\nbackground colour #FF00FF\n"
                       "page 1\n  background colour #00FF00\n");
  TPlayerRun c("\"" + project + "\"");
  ASSERT_TRUE(c.Started);
  TopLevel q{c.Info.dwProcessId, nullptr};
  for (int i = 0; i < 600 && !q.found; ++i) {
    ::EnumWindows(&MatchScreenWide, reinterpret_cast<LPARAM>(&q));
    if (!q.found && ::WaitForSingleObject(c.Info.hProcess, 50) == WAIT_OBJECT_0) break;
  }
  HWND desk = q.found;
  ASSERT_NE(desk, nullptr) << "a window over the whole screen";
  HWND frame = nullptr;
  for (int i = 0; i < 200 && !frame; ++i) {
    frame = ::FindWindowExA(desk, nullptr, "TSLPLAY32Frame", nullptr);
    if (!frame) ::Sleep(50);
  }
  ASSERT_NE(frame, nullptr) << "the main frame inside the desk frame";
  EXPECT_EQ(::GetWindowLongA(desk, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0) << "borderless";
  RECT r;
  ::GetWindowRect(frame, &r);
  EXPECT_TRUE(ScreenShows(5, 5, RGB(255, 0, 255))) << "the project's background around the frame";
  EXPECT_TRUE(ScreenShows((r.left + r.right) / 2, (r.top + r.bottom) / 2, RGB(0, 255, 0))) << "page 1 in the frame";
  ::PostMessageA(desk, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(c.WaitForExit(), 0u) << "Esc, a quit key of the project, ends the player";
  ::DeleteFileA(project.c_str());
}
