// Flash objects on pages the player runs: swfpane steps the movie's frames
// at its rate in a grey pane where the object stands, with the frame shown
// as "n / N"; the media codes reach it.
#include "pagefixture.h"

#include <string>
#include <vector>

#include "actions/core/actioncodes.h"
#include "actions/dispatcher.h"
#include "engine/core/format/objectkinds.h"
#include "engine/objectmanager.h"
#include "objects/flashplayer.h"
#include "platform/swfpane/swfpane.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kPaneGrey = RGB(0x80, 0x80, 0x80);

// A movie laid down from the SWF header: "FWS", version 6, its length, an
// empty stage, `fps` as 8.8 fixed point, `frames`, then the end tag.
std::vector<uint8_t> SwfMovie(uint8_t fps, uint16_t frames) {
  return {'F', 'W', 'S', 6, 15, 0, 0, 0, 0x00, 0x00, fps, static_cast<uint8_t>(frames),
          static_cast<uint8_t>(frames >> 8), 0, 0};
}

std::string WindowText(HWND w) {
  char text[64] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

class FlashPages : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(wintest::WriteFileBytes(wintest::TempPath("flash_test.swf"), SwfMovie(12, 12)));
    const std::string html = "<html></html>";
    ASSERT_TRUE(wintest::WriteFileBytes(wintest::TempPath("flash_test.htm"),
                                        std::vector<uint8_t>(html.begin(), html.end())));
  }
  static void TearDownTestSuite() {
    ::DeleteFileA(wintest::TempPath("flash_test.swf").c_str());
    ::DeleteFileA(wintest::TempPath("flash_test.htm").c_str());
  }
  static TFlashPlayer* Find(wintest::FramedPage& page, uint32_t number) {
    TFlashPlayer* o = nullptr;
    wintest::PumpUntil(
        [&] {
          TObjectManager* m = page.Book ? page.Book->ObjectManager.get() : nullptr;
          o = m ? dynamic_cast<TFlashPlayer*>(m->FindObjectById(number)) : nullptr;
          return o && ::IsWindowVisible(o->GetHandle());
        },
        5000);
    return o;
  }
  static HWND PaneOf(TFlashPlayer* o) { return ::FindWindowExA(o->GetHandle(), nullptr, SWFPANE_CLASS, nullptr); }
  static void Run(TBookStruct* book, TActionCode code, uint32_t target) {
    TActionStruct a;
    a.Code = StoredActionCode(code);
    a.Target = target;
    ExecuteActionCode(book, a, -1);
  }
};

TEST_F(FlashPages, TheKindReportsNoEndOfMedia) { EXPECT_FALSE(ObjectKindHas(21, kReportsEndOfMedia)); }

TEST_F(FlashPages, TheMovieStepsItsFramesAndTheMediaCodesReachIt) {
  wintest::FramedPage page(
      "size 400 300\npathmode 0\n"
      "page 1\n  background colour #FF0000\n"
      "  object flash \"Film\" 40 30 240 180 number 4\n"
      "    flash \"<CURRENTPROJECTDIR>flash_test.swf\"\n",
      {"tsl_flash.crt", "flash", 0, 0, 400, 300});
  ASSERT_TRUE(page.Book);
  TFlashPlayer* flash = Find(page, 4);
  ASSERT_TRUE(flash);
  HWND pane = PaneOf(flash);
  ASSERT_TRUE(pane) << "swfpane's window is in the object's window";
  EXPECT_EQ(flash->GetMediaLength(), 12u);
  // The grey pane stands where the object stands, the page around it.
  EXPECT_TRUE(wintest::PumpUntil([&] { return page.PixelAt(50, 40) == kPaneGrey; }, 5000))
      << "pixel " << std::hex << page.PixelAt(50, 40);
  EXPECT_EQ(page.PixelAt(30, 20), kRed);
  // An opened movie runs: 12 frames at 12 fps end at the last one in a second.
  EXPECT_TRUE(wintest::PumpUntil([&] { return WindowText(pane) == "11 / 12"; }, 5000)) << WindowText(pane);
  wintest::PumpFor(300);
  EXPECT_EQ(WindowText(pane), "11 / 12") << "a movie without loop stays at its last frame";
  EXPECT_EQ(flash->GetMediaPosition(), 11u);

  Run(page.Book, TActionCode::MediaToStart, 4);
  EXPECT_EQ(WindowText(pane), "0 / 12");
  wintest::PumpFor(300);
  EXPECT_EQ(WindowText(pane), "0 / 12") << "going to the first frame does not start the movie";

  Run(page.Book, TActionCode::PlayMedia, 4);
  EXPECT_TRUE(wintest::PumpUntil([&] { return flash->GetMediaPosition() >= 3; }, 3000));
  Run(page.Book, TActionCode::StopMedia, 4);
  const uint32_t stopped = flash->GetMediaPosition();
  wintest::PumpFor(300);
  EXPECT_EQ(flash->GetMediaPosition(), stopped) << "a stopped movie keeps its frame";
  Run(page.Book, TActionCode::MediaToEnd, 4);
  EXPECT_EQ(WindowText(pane), "11 / 12");
}

TEST_F(FlashPages, AFileThatIsNoMovieHasNoFramesAndASmallObjectGrows) {
  wintest::FramedPage page(
      "size 400 300\npathmode 0\n"
      "page 1\n  background colour #FF0000\n"
      "  object flash \"Film\" 40 30 45 35 number 2\n"
      "    flash \"<CURRENTPROJECTDIR>flash_test.htm\" loop\n",
      {"tsl_flash2.crt", "flash", 0, 0, 400, 300});
  ASSERT_TRUE(page.Book);
  TFlashPlayer* flash = Find(page, 2);
  ASSERT_TRUE(flash);
  EXPECT_EQ(flash->Info.Rect.Right - flash->Info.Rect.Left, 20);
  EXPECT_EQ(flash->Info.Rect.Bottom - flash->Info.Rect.Top, 20);
  HWND pane = PaneOf(flash);
  ASSERT_TRUE(pane);
  EXPECT_EQ(WindowText(pane), "0 / 0");
  EXPECT_EQ(flash->GetMediaLength(), 0u);
  Run(page.Book, TActionCode::MediaToEnd, 2);
  EXPECT_EQ(WindowText(pane), "0 / 0") << "to the last frame of no frames is frame 0";
  Run(page.Book, TActionCode::PlayMedia, 2);
  wintest::PumpFor(200);
  EXPECT_EQ(flash->GetMediaPosition(), 0u);
}

}  // namespace
