#include "wintest.h"

#include <richedit.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "platform/owl/richrender.h"

namespace {

// Two fonts, a bigger line, red words and enough text to wrap.
std::string SampleRtf(int paragraphs) {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                    "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 ";
  for (int i = 0; i < paragraphs; ++i) {
    rtf += "Absatz " + std::to_string(i) + ": {\\cf1 rote W\\'f6rter} und {\\f1\\fs32 gr\\'f6\\'dfere} Schrift, die";
    rtf += " umbricht, wenn die Zeile zu schmal wird.\\par ";
  }
  return rtf + "}";
}

DWORD CALLBACK FromString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* got) {
  auto* s = reinterpret_cast<std::string*>(cookie);
  const LONG n = std::min<LONG>(count, static_cast<LONG>(s->size()));
  std::memcpy(buffer, s->data(), static_cast<size_t>(n));
  s->erase(0, static_cast<size_t>(n));
  *got = n;
  return 0;
}

struct Control {
  explicit Control(const std::string& rtf, int width) {
    ::LoadLibraryA("RICHED32.DLL");
    Window = ::CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | ES_MULTILINE | ES_READONLY, 0, 0, width, 400, nullptr,
                               nullptr, nullptr, nullptr);
    std::string source = rtf;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, FromString};
    ::SendMessageA(Window, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  }
  ~Control() { ::DestroyWindow(Window); }
  long FormatWidth() const {
    RECT r{};
    ::SendMessageA(Window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.right - r.left;
  }
  HWND Window;
};

long PixelsToTwips(long pixels) {
  HDC screen = ::GetDC(nullptr);
  const long twips = ::MulDiv(pixels, 1440, ::GetDeviceCaps(screen, LOGPIXELSX));
  ::ReleaseDC(nullptr, screen);
  return twips;
}

TEST(RichRender, LinesAgreeWithTheControlsLayout) {
  for (int width : {180, 260, 400}) {
    SCOPED_TRACE("control width " + std::to_string(width));
    Control c(SampleRtf(4), width);
    ASSERT_TRUE(c.Window);
    TRichRender render(c.Window);
    ASSERT_TRUE(render.IsOK());
    const long format = c.FormatWidth();
    const int lines = static_cast<int>(::SendMessageA(c.Window, EM_GETLINECOUNT, 0, 0));
    const std::vector<long> tops = render.LineTops(PixelsToTwips(format));
    ASSERT_EQ(static_cast<int>(tops.size()) - 1, lines);
    // The same line breaks; line heights within a pixel (the control's
    // version-1 paragraphs come out up to a pixel taller under Wine).
    const std::vector<long> lengths = render.LineLengths(PixelsToTwips(format));
    ASSERT_EQ(static_cast<int>(lengths.size()), lines);
    auto top = [&](int i) {
      const LRESULT at = ::SendMessageA(c.Window, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
      POINTL p{};
      ::SendMessageA(c.Window, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), at);
      return static_cast<long>(p.y);
    };
    for (int i = 0; i < lines; ++i) {
      const LRESULT at = ::SendMessageA(c.Window, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
      EXPECT_EQ(lengths[static_cast<size_t>(i)], ::SendMessageA(c.Window, EM_LINELENGTH, static_cast<WPARAM>(at), 0))
          << "line " << i;
      if (i + 1 < lines) {
        const long height = tops[static_cast<size_t>(i) + 1] - tops[static_cast<size_t>(i)];
        EXPECT_NEAR(height, top(i + 1) - top(i), 1) << "line " << i;
      }
    }
    EXPECT_GT(tops.back(), tops[tops.size() - 2]);
  }
}

TEST(RichRender, FitTestCountsWholeLines) {
  TRichRender render(SampleRtf(3));
  ASSERT_TRUE(render.IsOK());
  const long width = PixelsToTwips(200);
  const std::vector<long> tops = render.LineTops(width);
  const int lines = static_cast<int>(tops.size()) - 1;
  ASSERT_GT(lines, 6);
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  auto twipsY = [&](long px) { return static_cast<long>(::MulDiv(px, 1440, dpi)); };
  const struct {
    const char* what;
    int from;
    long height;
    int expected;
  } cases[] = {
      {"exactly three lines", 0, tops[3], 3},
      {"a pixel short of three lines", 0, tops[3] - 1, 2},
      {"from line 2, two lines", 2, tops[4] - tops[2], 4},
      {"the whole document fits", 0, tops.back(), lines},
      {"nothing fits", 0, 0, 0},
      {"from past the end", lines + 3, 10, lines},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(render.FirstLineNotFitted(c.from, width, twipsY(c.height)), c.expected);
  }
}

TEST(RichRender, DrawsColouredTextOverTheBackgroundAndClips) {
  TRichRender render(SampleRtf(6));
  ASSERT_TRUE(render.IsOK());
  const COLORREF pattern = RGB(10, 200, 30);
  Canvas canvas(300, 200, pattern);
  const RECT rect{20, 30, 220, 130};
  const int next = render.Draw(canvas.Dc_(), 2, rect);
  EXPECT_GT(next, 2);
  int red = 0, outside = 0, kept = 0, total = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const COLORREF c = canvas.At(x, y);
      const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
      if (!inside && c != pattern) ++outside;
      if (inside) {
        ++total;
        if (c == pattern) ++kept;
        if (GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60) ++red;
      }
    }
  EXPECT_EQ(outside, 0) << "drawing left its rectangle";
  EXPECT_GT(red, 20) << "no red words";
  // Transparent: most of the rectangle still shows the page.
  EXPECT_GT(kept, total / 2);
}

TEST(RichRender, DrawingFromALineStartsThatLineAtTheTop) {
  TRichRender render(SampleRtf(6));
  const RECT rect{0, 0, 200, 150};
  Canvas a(200, 150, RGB(255, 255, 255)), b(200, 150, RGB(255, 255, 255));
  render.Draw(a.Dc_(), 0, RECT{0, 0, 200, 1000});
  const std::vector<long> tops = render.LineTops(PixelsToTwips(200));
  render.Draw(b.Dc_(), 3, rect);
  // b's rows are a's rows moved up by line 3's top.
  int differ = 0;
  for (int y = 0; y + tops[3] < 150; ++y)
    for (int x = 0; x < 200; ++x)
      if (b.At(x, y) != a.At(x, static_cast<int>(y + tops[3]))) ++differ;
  EXPECT_EQ(differ, 0);
}

}  // namespace
