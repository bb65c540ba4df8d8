// A shared text object that a page gives no record of its own is back at
// the defaults of a new text object, font included: through the player, the
// page after one that gave it a record shows "Text" in Arial 17, not in the
// device context's bold system font.
#include "wintest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "playerscreen.h"
#include "objects/core/textdata.h"
#include "objects/text.h"
#include "platform/owl/gdiobjec.h"

namespace {

const COLORREF kSharedWhite = RGB(255, 255, 255);
const COLORREF kSharedPageOne = RGB(255, 255, 192);

constexpr int kLeft = 20, kTop = 20, kWidth = 260, kHeight = 80;

// Where a picture is not `background`, and how many such pixels there are.
struct Ink {
  RECT Box{0, 0, 0, 0};
  int Count = 0;
  std::vector<uint8_t> Mask;  // 1 where inked, kWidth x kHeight
};

// Pixels inked in one picture and not in the other.
int Mismatch(const Ink& a, const Ink& b) {
  int n = 0;
  for (size_t i = 0; i < a.Mask.size() && i < b.Mask.size(); ++i) n += a.Mask[i] != b.Mask[i];
  return n;
}

template <typename At>
Ink FindInk(int width, int height, COLORREF background, At at) {
  Ink ink;
  ink.Box = {width, height, -1, -1};
  ink.Mask.assign(static_cast<size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (at(x, y) == background) continue;
      ink.Mask[static_cast<size_t>(y) * width + x] = 1;
      ++ink.Count;
      ink.Box.left = std::min<LONG>(ink.Box.left, x);
      ink.Box.top = std::min<LONG>(ink.Box.top, y);
      ink.Box.right = std::max<LONG>(ink.Box.right, x + 1);
      ink.Box.bottom = std::max<LONG>(ink.Box.bottom, y + 1);
    }
  return ink;
}

// "Text" as the text object draws it into its rectangle on white: in the
// font given, or without one in whatever the device context holds.
Ink Reference(HFONT font) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kWidth;
  bi.bmiHeader.biHeight = -kHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = ::SelectObject(dc, bmp);
  RECT all{0, 0, kWidth, kHeight};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  ::DrawTextA(dc, "Text", 4, &all, DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER | DT_WORDBREAK);
  if (oldFont) ::SelectObject(dc, oldFont);
  ::GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  const Ink ink = FindInk(kWidth, kHeight, RGB(255, 255, 255), [&](int x, int y) {
    const uint32_t v = p[y * kWidth + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  });
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
  return ink;
}

std::string Show(const Ink& i) {
  return "(" + std::to_string(i.Box.left) + "," + std::to_string(i.Box.top) + ")-(" + std::to_string(i.Box.right) +
         "," + std::to_string(i.Box.bottom) + ") " + std::to_string(i.Count) + " px";
}

}  // namespace

TEST(SharedText, APageWithoutARecordShowsTheDefaultTextInArial17) {
  // Page 1 gives the shared object a record of its own (red Times New Roman),
  // page 2 none.
  const std::string project = WriteProjectFile(
      TempFolder() + "tsl_sharedtext.crt",
      "size 300 200\ntitle \"Geteilt\"\n"
      "object text \"Geteilt\" 20 20 280 100 dataless number 1\n"
      "page 1\n  background colour #FFFFC0\n  enter goto 2 delay 300\n"
      "  data-for 1 flags 1 colour #808080 i32 2 i32 2 i16 0 u32 0 font \"Times New Roman\" 30 bold colour #FF0000 "
      "str \"Erste Seite\" zeros 16\n"
      "page 2\n  background colour #FFFFFF\n");

  TTextData fresh;
  TFont* arial = GetTextFont(fresh);
  ASSERT_NE(arial, nullptr);
  const Ink expected = Reference(*arial);
  const Ink system = Reference(nullptr);
  ASSERT_GT(expected.Count, 20);
  // Both draw "Text" about as large: their strokes tell them apart.
  const int apart = Mismatch(expected, system);
  ASSERT_GT(apart, expected.Count / 2) << "Arial 17 " << Show(expected) << " and the system font " << Show(system)
                                       << " cannot be told apart";

  TPlayerRun c("\"" + project + "\"");
  ASSERT_TRUE(c.Started);
  HWND frame = c.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  bool pageOne = false, pageTwo = false;
  Ink shown;
  // The page may be caught half painted: look until it shows Arial or time
  // runs out.
  for (int i = 0; i < 200 && !(pageTwo && Mismatch(shown, expected) <= apart / 10); ++i) {
    ::Sleep(50);
    const ClientShot shot = ShootClient(frame);
    if (shot.Width < kLeft + kWidth || shot.Height < kTop + kHeight) continue;
    if (shot.At(5, 5) == kSharedPageOne) pageOne = true;
    pageTwo = shot.At(5, 5) == kSharedWhite;
    if (!pageTwo) continue;
    shown = FindInk(kWidth, kHeight, kSharedWhite, [&](int x, int y) { return shot.At(kLeft + x, kTop + y); });
  }
  EXPECT_TRUE(pageOne) << "page 1 showed first";
  ASSERT_TRUE(pageTwo) << "page 2 showed";
  EXPECT_LE(Mismatch(shown, expected), apart / 10)
      << "shown " << Show(shown) << ": " << Mismatch(shown, expected) << " px off Arial 17 " << Show(expected)
      << ", " << Mismatch(shown, system) << " px off the system font " << Show(system);
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(c.WaitForExit(), 0u);
  ::DeleteFileA(project.c_str());
}
