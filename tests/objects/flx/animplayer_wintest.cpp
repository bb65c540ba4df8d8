// The demo's page "Animationen" through the real player, scrolled to the
// end of both bars: the FLC started with the page steps through its
// frames, the ABP's transparent frames show the page's pattern, the
// container symbol opens the overview on a double click, and the GIF's end
// after its two passes releases the chained page change.
#include "demoplayer.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The page's objects (page coordinates, from the demo's description).
const RECT kFlc{40, 100, 200, 220}, kGif{240, 100, 340, 160}, kAbp{380, 100, 500, 160};
// The front slide of the container symbol at (540, 100): its picture.
const POINT kSymbolPicture{560, 110};
const COLORREF kSymbolOrange = RGB(0xE0, 0xA0, 0x40);
const COLORREF kAbpMagenta = RGB(255, 0, 255);

// The screen of the page window, read in page coordinates at a scroll offset.
struct TPageShot {
  ClientShot Shot;
  POINT Offset;
  COLORREF At(int x, int y) const { return Shot.At(x - Offset.x, y - Offset.y); }
  // The colour most of a page rectangle shows, and how many of its pixels.
  std::pair<COLORREF, int> Majority(const RECT& r) const {
    std::map<COLORREF, int> count;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ++count[At(x, y)];
    auto best = std::max_element(count.begin(), count.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return *best;
  }
};

// A double click at a point of the screen, as one gesture of xdotool.
bool DoubleClickAt(POINT screen) {
  return XdoToolArgs({"mousemove", std::to_string(screen.x + 1), std::to_string(screen.y + 1), "mousemove", "--sync",
                      std::to_string(screen.x), std::to_string(screen.y), "click", "--repeat", "2", "--delay", "80",
                      "1"});
}

TEST(AnimationPlayer, DemoAnimationenPageScrolled) {
  const DWORD started = ::GetTickCount();
  TDemoRun demo("Animationen");
  ASSERT_TRUE(demo.Player.Started);
  ASSERT_NE(demo.Frame, nullptr) << "no demo at " << DemoFolder() << " (make demo writes it)";
  ASSERT_NE(demo.Page, nullptr);
  HWND page = demo.Page;
  // The page shows: the symbol where the page puts it.
  ASSERT_TRUE(WaitFor([&] { return ShootClient(page).At(kSymbolPicture.x, kSymbolPicture.y) == kSymbolOrange; }))
      << "the page did not show";

  // Both bars to their ends: the page is the frame's size, so the window's
  // edges and the bars leave it that much larger than the client area.
  ::PostMessageA(page, WM_HSCROLL, SB_RIGHT, 0);
  ::PostMessageA(page, WM_VSCROLL, SB_BOTTOM, 0);
  RECT client{};
  ::GetClientRect(page, &client);
  const POINT offset{640 - client.right, 480 - client.bottom};
  ASSERT_GT(offset.x, 0);
  ASSERT_GT(offset.y, 0);
  auto shoot = [&] { return TPageShot{ShootClient(page), offset}; };
  ASSERT_TRUE(WaitFor([&] { return shoot().At(kSymbolPicture.x, kSymbolPicture.y) == kSymbolOrange; }))
      << "not scrolled by " << offset.x << ", " << offset.y;

  // The pattern's colours, from a stretch of page that no object covers.
  const TPageShot first = shoot();
  std::set<COLORREF> pattern;
  for (int y = 260; y < 300; ++y)
    for (int x = 60; x < 300; ++x) pattern.insert(first.At(x, y));
  ASSERT_GE(pattern.size(), 2u) << "the page shows no pattern";

  // The FLC: each frame one colour over most of the object, the page just
  // beside it; it moves on to other frames. Its first frame may stand a
  // while (seen: 600 ms) before the object's clock runs, so the later look
  // waits for the change instead of taking a fixed interval.
  const auto flcA = first.Majority(kFlc);
  EXPECT_GT(flcA.second, 160 * 120 * 8 / 10);
  EXPECT_EQ(pattern.count(flcA.first), 0u);
  EXPECT_EQ(pattern.count(first.At(kFlc.left - 1, 150)), 1u) << "left of the FLC";
  std::pair<COLORREF, int> flcB;
  EXPECT_TRUE(WaitFor([&] { return (flcB = shoot().Majority(kFlc)).first != flcA.first; }, 3000))
      << "the FLC did not move on";
  EXPECT_GT(flcB.second, 160 * 120 * 8 / 10);

  // The ABP: its square moves over the page's pattern, never over the
  // transparent colour; the band above the square is the page.
  std::set<COLORREF> squares;
  int magenta = 0, bandNotPage = 0;
  for (int look = 0; look < 6; ++look) {
    const TPageShot s = shoot();
    for (int y = kAbp.top; y < kAbp.bottom; ++y)
      for (int x = kAbp.left; x < kAbp.right; ++x) {
        const COLORREF c = s.At(x, y);
        magenta += c == kAbpMagenta;
        if (y < kAbp.top + 15) bandNotPage += pattern.count(c) == 0;
        else if (pattern.count(c) == 0) squares.insert(c);
      }
    ::Sleep(150);
  }
  EXPECT_EQ(magenta, 0) << "the transparent colour shows";
  EXPECT_EQ(bandNotPage, 0) << "the page does not show through";
  EXPECT_GE(squares.size(), 2u) << "the square did not move on";

  // The GIF (red, lime, blue) in its place.
  const TPageShot gif = shoot();
  const COLORREF g = gif.At((kGif.left + kGif.right) / 2, (kGif.top + kGif.bottom) / 2);
  EXPECT_TRUE(g == RGB(255, 0, 0) || g == RGB(0, 255, 0) || g == RGB(0, 0, 255)) << std::hex << g;
  EXPECT_GE(gif.Majority(kGif).second, 100 * 60 * 95 / 100);
  EXPECT_EQ(pattern.count(gif.At(kGif.left - 1, 130)), 1u) << "left of the GIF";

  // A double click on the symbol opens the overview of the container.
  ASSERT_TRUE(shoot().At(kSymbolPicture.x, kSymbolPicture.y) == kSymbolOrange) << "the page changed too early";
  ASSERT_TRUE(DoubleClickAt(OnScreen(page, kSymbolPicture.x - offset.x, kSymbolPicture.y - offset.y)));
  HWND overview = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    overview = demo.Player.FindWindowOf("TSLOVERVIEWFRAME");
    if (!overview) overview = ::FindWindowExA(page, nullptr, "TSLOVERVIEWFRAME", nullptr);
    return overview && ::IsWindowVisible(overview);
  })) << "no overview";
  EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(overview) != FALSE; }, 5000));
  ::PostMessageA(overview, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(overview); }));

  // Two passes of three frames a second each, then the sequential action
  // waiting for the GIF goes to the first page (its gradient's top).
  ASSERT_TRUE(WaitFor([&] { return demo.FirstPageShows(); }, 30000)) << "the first page did not come";
  EXPECT_GE(::GetTickCount() - started, 6000u) << "the page changed before the GIF's two passes";
  EXPECT_EQ(demo.Close(), 0u);
}

}  // namespace
