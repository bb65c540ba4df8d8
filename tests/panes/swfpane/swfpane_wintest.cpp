// swfpane's exports as the Flash object and the media dialog's preview
// call them: the pane over a movie file, its frame counter on the timer,
// status and frame calls, and what an unknown handle gets.
#include "wintest.h"

#include <string>
#include <vector>

#include "platform/swfpane/swfpane.h"

namespace {

// A movie laid down from the SWF header: "FWS", version 6, its length, an
// empty stage, `fps` as 8.8 fixed point, `frames`, then the end tag.
std::vector<uint8_t> SwfMovie(uint8_t fps, uint16_t frames) {
  return {'F', 'W', 'S', 6, 15, 0, 0, 0, 0x00, 0x00, fps, static_cast<uint8_t>(frames),
          static_cast<uint8_t>(frames >> 8), 0, 0};
}

std::string Text(HWND w) {
  char text[64] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

class SwfPane : public ::testing::Test {
protected:
  void SetUp() override {
    Parent = ::CreateWindowExA(0, "STATIC", "swf", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 300,
                               240, nullptr, nullptr, nullptr, nullptr);
    Movie = wintest::TempPath("swfpane_test.swf");
    ASSERT_TRUE(wintest::WriteFileBytes(Movie, SwfMovie(20, 10)));
    Pane = CreateSwfpane(Parent, 10, 10, 210, 160, 0x54000000, -1);
    ASSERT_TRUE(Pane);
    Window = ::FindWindowExA(Parent, nullptr, SWFPANE_CLASS, nullptr);
  }
  void TearDown() override {
    DeleteSwfpane(Pane);
    ::DestroyWindow(Parent);
    ::DeleteFileA(Movie.c_str());
  }
  HWND Parent = nullptr;
  HSWFPANE Pane = nullptr;
  HWND Window = nullptr;
  std::string Movie;
};

TEST_F(SwfPane, TheMovieRunsAtItsRateInAGreyPane) {
  ASSERT_TRUE(Window);
  EXPECT_EQ(::GetDlgCtrlID(Window), -1);
  ASSERT_TRUE(OpenFlashMovie(Pane, Movie.c_str()));
  EXPECT_EQ(GetFlashMovieNumFrames(Pane), 10);
  const DWORD start = ::GetTickCount();
  ASSERT_TRUE(wintest::PumpUntil([&] { return GetFlashMovieCurFrame(Pane) == 9; }, 5000));
  const DWORD took = ::GetTickCount() - start;
  EXPECT_GE(took, 300u) << "9 frames at 20 fps take 450 ms";
  EXPECT_EQ(Text(Window), "9 / 10");
  wintest::PumpFor(200);
  EXPECT_EQ(GetFlashMovieCurFrame(Pane), 9) << "without loop the movie stays at its last frame";
  RECT r{};
  ::GetWindowRect(Window, &r);
  EXPECT_EQ(wintest::ScreenPixel(r.left + 3, r.top + 3), RGB(0x80, 0x80, 0x80));
}

TEST_F(SwfPane, StatusFrameAndLoopCalls) {
  ASSERT_TRUE(OpenFlashMovie(Pane, Movie.c_str()));
  ASSERT_TRUE(SetFlashPlayStatus(Pane, 2));
  ASSERT_TRUE(SetFlashMovieCurFrame(Pane, 4));
  wintest::PumpFor(200);
  EXPECT_EQ(GetFlashMovieCurFrame(Pane), 4) << "stopped";
  EXPECT_EQ(Text(Window), "4 / 10");
  ASSERT_TRUE(SetFlashPlayStatus(Pane, 5));
  EXPECT_EQ(GetFlashMovieCurFrame(Pane), 0) << "status 5 goes to the first frame";
  ASSERT_TRUE(SetFlashLoop(Pane, TRUE));
  ASSERT_TRUE(SetFlashPlayStatus(Pane, 1));
  // Looping: the frame comes back to the start after the last one.
  int last = 0;
  bool wrapped = false;
  wintest::PumpUntil(
      [&] {
        const int f = GetFlashMovieCurFrame(Pane);
        wrapped = wrapped || f < last;
        last = f;
        return wrapped;
      },
      5000);
  EXPECT_TRUE(wrapped);
  EXPECT_TRUE(SetFlashQuality(Pane, 3));
  EXPECT_TRUE(SetFlashScaleMode(Pane, 2));
  EXPECT_TRUE(SetSwfpaneTransparency(Pane, FALSE));
}

TEST_F(SwfPane, AFileThatIsNoMovieHasNoFrames) {
  const std::string text = wintest::TempPath("swfpane_test.txt");
  ASSERT_TRUE(wintest::WriteFileBytes(text, {'k', 'e', 'i', 'n', ' ', 'F', 'i', 'l', 'm'}));
  EXPECT_TRUE(OpenFlashMovie(Pane, text.c_str()));
  EXPECT_EQ(GetFlashMovieNumFrames(Pane), 0);
  SetFlashMovieCurFrame(Pane, GetFlashMovieNumFrames(Pane) - 1);
  EXPECT_EQ(GetFlashMovieCurFrame(Pane), 0);
  EXPECT_EQ(Text(Window), "0 / 0");
  ::DeleteFileA(text.c_str());
  EXPECT_FALSE(OpenFlashMovie(Pane, wintest::TempPath("swfpane_missing.swf").c_str()));
  EXPECT_EQ(GetFlashMovieNumFrames(Pane), 0);
}

TEST_F(SwfPane, AnUnknownHandleGetsNothing) {
  HSWFPANE stranger = reinterpret_cast<HSWFPANE>(static_cast<uintptr_t>(0x1234));
  EXPECT_FALSE(OpenFlashMovie(stranger, Movie.c_str()));
  EXPECT_FALSE(SetFlashPlayStatus(stranger, 1));
  EXPECT_EQ(GetFlashMovieNumFrames(stranger), 0);
  EXPECT_EQ(GetFlashMovieCurFrame(stranger), 0);
  EXPECT_FALSE(DeleteSwfpane(stranger));
  EXPECT_EQ(CreateSwfpane(nullptr, 0, 0, 10, 10, 0x54000000, -1), nullptr) << "no pane without a parent";
  HSWFPANE second = CreateSwfpane(Parent, 0, 0, 10, 10, 0x54000000, -1);
  ASSERT_TRUE(DeleteSwfpane(second));
  EXPECT_FALSE(DeleteSwfpane(second)) << "a deleted pane is unknown";
}

}  // namespace
