// The eleven border styles (and style 11) as the player shows them: a
// generated page of text objects with borders 0 to 11, scrolled away from
// its origin, read back from the X screen.
#include "pagefixture.h"
#include "playerrun.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/owl/geometry.h"

namespace {

constexpr COLORREF kPage = RGB(0x30, 0x70, 0xB0);
constexpr int kObjects = 12;  // border styles 0 to 11

TRect ObjectRect(int style) {
  const int left = 60 + (style % 4) * 90, top = 60 + (style / 4) * 70;
  return TRect(left, top, left + 50, top + 30);
}

std::string Description() {
  std::string d =
      "size 900 700\nflags caption sysmenu hscroll vscroll\n"
      "page 1\n  background colour #3070B0\n";
  for (int s = 0; s < kObjects; ++s) {
    const TRect r = ObjectRect(s);
    d += "  object text \"b" + std::to_string(s) + "\" " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right) + " " + std::to_string(r.bottom) + "\n    border " + std::to_string(s) +
         "\n    fill #FFFFFF\n    text \"\"\n";
  }
  return d;
}

BOOL CALLBACK MatchPageWindow(HWND w, LPARAM l) {
  char name[256] = {};
  ::GetClassNameA(w, name, sizeof name);
  if (std::string(name).find("TObjectWindow") == std::string::npos) return TRUE;
  *reinterpret_cast<HWND*>(l) = w;
  return FALSE;
}

// A child window of the frame whose class is the page window's.
HWND FindPageWindow(HWND frame) {
  HWND found = nullptr;
  ::EnumChildWindows(frame, &MatchPageWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The X screen's pixels of a rectangle, as ImageMagick reads them.
struct Shot {
  int W = 0, H = 0;
  std::vector<uint8_t> Rgb;
  bool Take(const TRect& screen, const char* keep) {
    W = screen.Width();
    H = screen.Height();
    const std::string raw = "/tmp/tsl_borderpage_" + std::to_string(::GetCurrentProcessId()) + ".rgb";
    const std::string crop = std::to_string(W) + "x" + std::to_string(H) + "+" + std::to_string(screen.left) + "+" +
                             std::to_string(screen.top);
    if (std::system(("import -window root -crop " + crop + " +repage -depth 8 rgb:" + raw).c_str()) != 0) return false;
    if (keep) std::system(("convert -size " + std::to_string(W) + "x" + std::to_string(H) + " -depth 8 rgb:" + raw + " '" +
                           keep + "'").c_str());
    std::FILE* f = std::fopen(raw.c_str(), "rb");
    if (!f) return false;
    Rgb.assign(size_t(W) * H * 3, 0);
    const bool ok = std::fread(Rgb.data(), 1, Rgb.size(), f) == Rgb.size();
    std::fclose(f);
    std::remove(raw.c_str());
    return ok;
  }
  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= W || y >= H) return CLR_INVALID;
    const uint8_t* p = &Rgb[3 * (size_t(y) * W + x)];
    return RGB(p[0], p[1], p[2]);
  }
};

// The ring of pixels `d` outside `r`; corners left out unless asked.
std::vector<POINT> Ring(const TRect& r, int d, bool corners) {
  std::vector<POINT> v;
  const int l = r.left - d, t = r.top - d, rt = r.right - 1 + d, b = r.bottom - 1 + d;
  const int c = corners ? 0 : 1;
  for (int x = l + c; x <= rt - c; ++x) v.push_back({x, t}), v.push_back({x, b});
  for (int y = t + 1; y <= b - 1; ++y) v.push_back({l, y}), v.push_back({rt, y});
  return v;
}

}  // namespace

TEST(BorderPage, ThePlayerDrawsEveryStyleAtItsWidth) {
  const std::string path = TempFolder() + "tsl_borderpage.crt";
  ASSERT_TRUE(wintest::WriteDescribedProject(Description(), path));
  TPlayerRun c("\"" + path + "\"");
  ASSERT_TRUE(c.Started);
  HWND frame = c.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = nullptr;
  for (int i = 0; i < 100 && !page; ++i, ::Sleep(50)) page = FindPageWindow(frame);
  ASSERT_NE(page, nullptr);

  RECT client;
  ::GetClientRect(page, &client);
  POINT org{0, 0};
  ::ClientToScreen(page, &org);
  TRect screen(org.x, org.y, org.x + client.right, org.y + client.bottom);
  Shot shot;
  // The page shows unscrolled first.
  bool shown = false;
  for (int i = 0; i < 100 && !shown; ++i, ::Sleep(100)) {
    ASSERT_TRUE(shot.Take(screen, nullptr));
    const TRect first = ObjectRect(1);
    shown = shot.At(first.left + 3, first.top + 3) == RGB(255, 255, 255) && shot.At(2, 2) == kPage;
  }
  ASSERT_TRUE(shown) << "the page never showed";

  // The frame takes the page's size; made smaller, the page window scrolls.
  ::SetWindowPos(frame, nullptr, 0, 0, 440, 340, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < 100; ++i, ::Sleep(50)) {
    ::GetClientRect(page, &client);
    if (client.right < 440 && client.bottom < 340) break;
  }
  ASSERT_LT(client.right, 440);

  // Two lines down and one to the right: a tenth of the client per line.
  ::SendMessageA(page, WM_VSCROLL, SB_LINEDOWN, 0);
  ::SendMessageA(page, WM_VSCROLL, SB_LINEDOWN, 0);
  ::SendMessageA(page, WM_HSCROLL, SB_LINEDOWN, 0);
  ::GetClientRect(page, &client);
  const int ox = client.right / 10, oy = 2 * (client.bottom / 10);
  ASSERT_GT(ox, 0);
  ASSERT_GT(oy, 0);
  org = POINT{0, 0};
  ::ClientToScreen(page, &org);
  screen = TRect(org.x, org.y, org.x + client.right, org.y + client.bottom);

  // Objects in client coordinates.
  auto placed = [&](int style) { return ObjectRect(style).OffsetBy(-ox, -oy); };
  const char* dir = std::getenv("TSL_SCREENSHOT_DIR");
  const std::string keep = dir ? std::string(dir) + "/borderpage.png" : std::string();
  // Scrolled once the plain frame stands at its new place.
  bool painted = false;
  for (int i = 0; i < 100 && !painted; ++i, ::Sleep(100)) {
    ASSERT_TRUE(shot.Take(screen, nullptr));
    const TRect first = placed(1);
    painted = shot.At(first.left + 3, first.top + 3) == RGB(255, 255, 255) &&
              shot.At(first.left - 1, first.top - 1) == RGB(0, 0, 0);
  }
  if (!painted && dir) shot.Take(screen, keep.c_str());
  ASSERT_TRUE(painted) << "the page never showed at the scroll offset " << ox << ", " << oy << " of a client "
                       << client.right << " x " << client.bottom;
  ASSERT_TRUE(shot.Take(screen, dir ? keep.c_str() : nullptr));

  const int reach[kObjects] = {0, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2};
  for (int s = 0; s < kObjects; ++s) {
    SCOPED_TRACE("border style " + std::to_string(s));
    const TRect r = placed(s);
    int ink = 0, outside = 0;
    const std::vector<POINT> ring = Ring(r, reach[s], s == 1);
    for (const POINT& p : ring) {
      const COLORREF px = shot.At(p.x, p.y);
      if (s == 1)
        EXPECT_EQ(px, RGB(0, 0, 0)) << p.x << "," << p.y;
      else if (s > 1)
        ink += px != kPage;
    }
    if (s > 1) {
      EXPECT_EQ(ink, int(ring.size())) << "the outermost ring is the border's";
    }
    for (const POINT& p : Ring(r, reach[s] + 1, true)) outside += shot.At(p.x, p.y) != kPage;
    EXPECT_EQ(outside, 0) << "nothing beyond the border";
  }
  // Style 11 is drawn as style 9.
  for (int d = 0; d <= 2; ++d)
    for (const POINT& p : Ring(TRect(0, 0, 50, 30), d, true)) {
      const TRect r9 = placed(9), r11 = placed(11);
      ASSERT_EQ(shot.At(r11.left + p.x, r11.top + p.y), shot.At(r9.left + p.x, r9.top + p.y)) << p.x << "," << p.y;
    }
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(c.WaitForExit(), 0u);
  ::DeleteFileA(path.c_str());
}
