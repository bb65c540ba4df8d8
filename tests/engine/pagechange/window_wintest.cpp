// The page build restyles the frame for a page with its own window options
// and gives the project's window back on the page after it: size and place,
// caption and buttons, topmost, contour, and the desk frame behind it.
#include "presentation.h"

#include <vector>

#include "engine/deskframe.h"
#include "platform/owl/file.h"

namespace {

const COLORREF kWindowRed = RGB(255, 0, 0), kWindowGreen = RGB(0, 255, 0), kWindowBlue = RGB(0, 0, 255),
               kWindowWhite = RGB(255, 255, 255), kYellow = RGB(255, 255, 0), kDesk = RGB(255, 0, 255);

constexpr DWORD kFrameStyles = WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU | WS_THICKFRAME;

// A triangle over the top-left half of a 300 x 200 window.
std::string WriteContour() {
  const std::string path = wintest::TempPath("tsl_window_kontur.bin");
  std::vector<uint8_t> b{'K', 'O', 'N', 'T', 'U', 'R', 0, 0, 0, 0};
  auto i32 = [&](int32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k)));
  };
  i32(3);
  for (int32_t v : {0, 0, 300, 0, 0, 200}) i32(v);
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  f.Write(b.data(), static_cast<uint32_t>(b.size()));
  return path;
}

// Whether `a` comes before `b` in the order of the top-level windows.
bool Above(HWND a, HWND b) {
  for (HWND h = ::GetWindow(a, GW_HWNDNEXT); h; h = ::GetWindow(h, GW_HWNDNEXT))
    if (h == b) return true;
  return false;
}

struct Look {
  const char* what;
  int page;
  COLORREF colour;
  int width, height;
  DWORD styles;  // of kFrameStyles
  const char* caption;
  bool topmost;  // made topmost by the page
  bool desk;
};

}  // namespace

TEST(PageWindow, PagesWithTheirOwnOptionsRestyleTheFrame) {
  const std::string contour = WriteContour();
  std::string quoted;  // backslashes are escapes in a description
  for (char ch : contour) quoted += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
  Presentation p("size 200 150\ntitle \"Projekt\"\n"
                 "page 1\n  background colour #FF0000\n"
                 "page 2\n  background colour #00FF00\n"
                 "  ownoptions title \"Eigen\" size 320 240 flags caption minbox sysmenu topmost\n"
                 "page 3\n  background colour #0000FF\n"
                 "  ownoptions title \"Kontur\" size 300 200 contour \"" + quoted + "\" flags contour sizing\n"
                 "page 4\n  background colour #FFFFFF\n"
                 "  ownoptions title \"Pult\" size 240 180 background colour #FF00FF flags desk topmost\n"
                 "page 5\n  background colour #FFFF00\n");
  ASSERT_TRUE(p.Shows(0, kWindowRed));
  HWND frame = p.Frame->HWindow;
  HWND other = ::CreateWindowExA(0, "STATIC", "anderes", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  const Look looks[] = {
      {"own options", 1, kWindowGreen, 320, 240, WS_CAPTION | WS_MINIMIZEBOX | WS_SYSMENU, "Eigen", true, false},
      {"the project's window again", 0, kWindowRed, 200, 150, 0, "Projekt", false, false},
      {"a contour", 2, kWindowBlue, 300, 200, WS_THICKFRAME, "Kontur", false, false},
      {"a desk frame", 3, kWindowWhite, 240, 180, 0, "Pult", false, true},
      {"the project's window after the desk", 4, kYellow, 200, 150, 0, "Projekt", false, false},
  };
  for (const Look& l : looks) {
    SCOPED_TRACE(l.what);
    // Another window in front of the frame: a topmost page puts the frame
    // before it again.
    ::SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_TRUE(p.Book->GotoPage(l.page, 1, -1, 1));
    ASSERT_TRUE(p.Shows(l.page, l.colour));
    RECT r;
    ::GetWindowRect(frame, &r);
    EXPECT_EQ(r.right - r.left, l.width);
    EXPECT_EQ(r.bottom - r.top, l.height);
    if (!l.desk) {
      // Centred on the screen; inside the desk frame the same numbers are
      // client coordinates of the desk, which covers the screen.
      EXPECT_EQ(r.left, (cx - l.width) / 2);
      EXPECT_EQ(r.top, (cy - l.height) / 2);
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(frame, GWL_STYLE));
    EXPECT_EQ(style & kFrameStyles, l.styles) << std::hex << style;
    EXPECT_TRUE(style & WS_VISIBLE);
    char caption[64] = {};
    ::GetWindowTextA(frame, caption, sizeof caption);
    EXPECT_STREQ(caption, l.caption);
    if (l.topmost) {
      // Under Wine a window that owns a topmost popup (the page's tooltip
      // control) is placed just below it instead of being flagged topmost;
      // Windows flags it too.
      EXPECT_TRUE(Above(frame, other)) << "the frame stands before the other window";
    }

    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool shaped = ::GetWindowRgn(frame, region) != ERROR;
    EXPECT_EQ(shaped, l.page == 2);
    if (shaped) {
      EXPECT_TRUE(::PtInRegion(region, 20, 20));
      EXPECT_FALSE(::PtInRegion(region, 280, 180));
    }
    ::DeleteObject(region);

    EXPECT_EQ(DeskFrame != nullptr, l.desk);
    if (l.desk && DeskFrame) {
      HWND desk = DeskFrame->HWindow;
      EXPECT_TRUE(::IsWindowVisible(desk));
      EXPECT_EQ(::GetAncestor(frame, GA_PARENT), desk) << "the frame stands in the desk frame";
      RECT d;
      ::GetWindowRect(desk, &d);
      EXPECT_EQ(d.right - d.left, cx);
      EXPECT_EQ(d.bottom - d.top, cy);
      EXPECT_TRUE(::GetWindowLongA(desk, GWL_EXSTYLE) & WS_EX_TOPMOST) << "the desk frame takes the topmost flag";
      // The desk paints the page's own background around the frame.
      EXPECT_TRUE(wintest::PumpUntil(
          [&] {
            HDC dc = ::GetDC(nullptr);
            const COLORREF c = ::GetPixel(dc, 5, 5);
            ::ReleaseDC(nullptr, dc);
            return c == kDesk;
          }, 5000))
          << "the desk's background";
    } else {
      EXPECT_EQ(::GetAncestor(frame, GA_PARENT), ::GetDesktopWindow()) << "a top-level window";
    }
  }
  ::DestroyWindow(other);
  ::DeleteFileA(contour.c_str());
}
