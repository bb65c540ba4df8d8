#include "wintest.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "canvas.h"
#include "platform/owl/framewin.h"
#include "slideshow/overview.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

bool Near(COLORREF a, COLORREF b, int tolerance = 30) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
  char s[16];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

// A packed DIB of one colour.
std::vector<uint8_t> Block(int w, int h, COLORREF c) {
  auto dib = TrueColourDib(w, h, 24, [c](int, int) { return c; });
  const auto* p = static_cast<const uint8_t*>(::GlobalLock(dib->GetHandle()));
  std::vector<uint8_t> out(p, p + ::GlobalSize(dib->GetHandle()));
  ::GlobalUnlock(dib->GetHandle());
  return out;
}

class Host : public TWindow {
public:
  Host() : TWindow(nullptr, "overview host") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 200;
    Attr.H = 100;
  }
};

BOOL CALLBACK MatchFrame(HWND w, LPARAM l) {
  char cls[64] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) != "TSLOVERVIEWFRAME" || !::IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(l) = w;
  return FALSE;
}

HWND FindFrame() {
  HWND found = nullptr;
  ::EnumWindows(&MatchFrame, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(OverviewWindow, MaximisedGridSelectionAndClose) {
  Host host;
  ASSERT_TRUE(host.Create());
  auto contents = std::make_unique<TOverviewContents>();
  contents->Items.push_back({"C:\\Bilder\\quer.bmp", Block(90, 60, kRed)});
  contents->Items.push_back({"C:\\Bilder\\hoch.bmp", Block(60, 90, kBlue)});
  contents->Items.push_back({"C:\\Bilder\\ohne.bmp", {}});
  contents->Flags = kOverviewOpensPicture;  // no labels
  EXPECT_FALSE(OpenOverviewWindow(&host, std::make_unique<TOverviewContents>())) << "an empty container opens nothing";
  ASSERT_TRUE(OpenOverviewWindow(&host, std::move(contents)));
  HWND frame = nullptr;
  // The maximised state comes back from the X server: wait for it, then
  // for the paint of the whole grid.
  ASSERT_TRUE(wintest::PumpUntil([&] { return (frame = FindFrame()) && ::IsZoomed(frame); }, 5000));
  ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  wintest::PumpFor(300);
  RECT fr{};
  ::GetWindowRect(frame, &fr);
  EXPECT_TRUE(::IsZoomed(frame)) << std::hex << ::GetWindowLongA(frame, GWL_STYLE) << std::dec << " " << fr.left << ","
                                 << fr.top << "," << fr.right << "," << fr.bottom;
  EXPECT_EQ(0, ::GetWindowLongA(frame, GWL_STYLE) & WS_CAPTION & ~WS_BORDER);
  HWND client = ::GetWindow(frame, GW_CHILD);
  ASSERT_NE(nullptr, client);
  auto at = [&](int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(client, &p);
    return wintest::ScreenPixel(p.x, p.y);
  };
  // Landscape and portrait mounts with their pictures in the middle.
  EXPECT_TRUE(Near(at(60, 60), kRed)) << Hex(at(60, 60));
  EXPECT_TRUE(Near(at(125 + 60, 60), kBlue)) << Hex(at(125 + 60, 60));
  EXPECT_TRUE(Near(at(250 + 60, 60), RGB(0, 0, 0))) << "a mount without a picture shows its empty window: "
                                                    << Hex(at(250 + 60, 60));
  EXPECT_TRUE(Near(at(3 * 125 + 60, 60), RGB(192, 192, 192))) << "grey beyond the last slide";
  // A click selects the second slide: the yellow frame around its mount.
  ::SendMessageA(client, WM_LBUTTONDOWN, 0, MAKELPARAM(125 + 60, 60));
  wintest::PumpFor(200);
  EXPECT_EQ(RGB(255, 255, 0), at(125, 60)) << Hex(at(125, 60));
  EXPECT_EQ(RGB(255, 255, 0), at(125 + 1, 60));
  // A click beside the slides clears it.
  ::SendMessageA(client, WM_LBUTTONDOWN, 0, MAKELPARAM(1000, 60));
  wintest::PumpFor(200);
  EXPECT_NE(RGB(255, 255, 0), at(125, 60));
  ::SendMessageA(client, WM_KEYDOWN, VK_ESCAPE, 0);
  wintest::PumpFor(400);
  EXPECT_FALSE(::IsWindow(client));
  EXPECT_FALSE(::IsWindowVisible(frame) && ::IsWindow(frame)) << "the frame goes with its client";
}

}  // namespace
