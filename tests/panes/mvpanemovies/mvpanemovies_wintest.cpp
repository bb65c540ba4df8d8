// mvpane through its exports on movies ffmpeg makes at test time, played by
// Wine's quartz under Xvfb: what the pane shows, its times, its end message
// and its controller bar.
#include "moviefixture.h"
#include "playerscreen.h"

#include "panes/mvpane/mvpane.h"

namespace {

using namespace moviefixture;

constexpr UINT kEndMessage = WM_USER + 1;
constexpr COLORREF kEmptyGrey = RGB(0x78, 0x78, 0x78);
constexpr int kBar = 16;
constexpr int kTolerance = 48;

int g_endMessages = 0;
WPARAM g_lastEndParam = 0;

LRESULT CALLBACK EndCounter(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kEndMessage) {
    ++g_endMessages;
    g_lastEndParam = wp;
    return 0;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

HWND MakeWindow(const char* cls, WNDPROC proc, DWORD style, int x, int y, int w, int h) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = cls;
  ::RegisterClassA(&wc);
  return ::CreateWindowExA(WS_EX_TOPMOST, cls, "", style, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
}

std::string MoviePath(TMovieKind kind) { return wintest::TempPath(std::string("mvpane_test") + Extension(kind)); }

class MvpaneMovies : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(InitQT(), 0);
    for (TMovieKind kind : {TMovieKind::MjpegMov, TMovieKind::H264Mp4, TMovieKind::MsVideoAvi}) {
      ASSERT_TRUE(MakeTestMovie(kind, MoviePath(kind))) << "ffmpeg could not write " << MoviePath(kind);
    }
  }
  static void TearDownTestSuite() {
    for (TMovieKind kind : {TMovieKind::MjpegMov, TMovieKind::H264Mp4, TMovieKind::MsVideoAvi}) {
      ::DeleteFileA(MoviePath(kind).c_str());
    }
    ExitQT();
  }

  void SetUp() override {
    host_ = MakeWindow("MvpaneTestHost", ::DefWindowProcA, WS_POPUP | WS_VISIBLE, 40, 40, 400, 300);
    messages_ = MakeWindow("MvpaneTestEnd", EndCounter, WS_POPUP, 0, 0, 10, 10);
    g_endMessages = 0;
    pane_ = CreateMvpane(host_, 0, 0, 320, 256, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, -1);
    ASSERT_NE(pane_, nullptr);
  }
  void TearDown() override {
    if (pane_) DeleteMvpane(pane_);
    ::DestroyWindow(messages_);
    ::DestroyWindow(host_);
  }

  // Opens the movie, sizes the pane to it with the bar, and waits for the
  // first frame.
  void OpenSized(TMovieKind kind) {
    ASSERT_EQ(OpenQTMovie(pane_, MoviePath(kind).c_str()), TRUE);
    ASSERT_EQ(SizeMvpane(pane_, 0, 0, kWidth, kHeight + kBar, TRUE), TRUE);
    ASSERT_TRUE(WaitForFrame(ReferenceFrame(MoviePath(kind), 0), BarPoints()));
  }

  // What the pane's picture shows at `points`, against a reference frame.
  bool Shows(const std::vector<uint8_t>& frame, const std::vector<POINT>& points, std::string* why = nullptr) {
    const ClientShot shot = ShootClient(GetMvpane(pane_));
    if (frame.empty() || shot.Width < kWidth || shot.Height < kHeight) return false;
    for (const POINT& p : points) {
      if (!Near(shot.At(p.x, p.y), FramePixel(frame, p.x, p.y), kTolerance)) {
        if (why) {
          char text[96];
          std::snprintf(text, sizeof text, "at (%ld, %ld) screen %06lX, frame %06lX", p.x, p.y,
                        static_cast<unsigned long>(shot.At(p.x, p.y)),
                        static_cast<unsigned long>(FramePixel(frame, p.x, p.y)));
          *why = text;
        }
        return false;
      }
    }
    return true;
  }
  bool WaitForFrame(const std::vector<uint8_t>& frame, const std::vector<POINT>& points) {
    if (wintest::PumpUntil([&] { return Shows(frame, points); }, 8000)) return true;
    std::string why;
    Shows(frame, points, &why);
    ADD_FAILURE() << "the pane does not show the frame: " << why;
    return false;
  }

  POINT ScreenPoint(int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(GetMvpane(pane_), &p);
    return p;
  }

  HWND host_ = nullptr;
  HWND messages_ = nullptr;
  HMVPANE pane_ = nullptr;
};

TEST_F(MvpaneMovies, OpensEachKindAtItsSizeAndShowsItsFirstFrameAboveTheBar) {
  const struct {
    const char* what;
    TMovieKind kind;
  } cases[] = {
      {"MJPEG with PCM sound in a .mov", TMovieKind::MjpegMov},
      {"H.264 in a .mp4", TMovieKind::H264Mp4},
      {"MS Video 1 with PCM sound in an .avi", TMovieKind::MsVideoAvi},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(OpenQTMovie(pane_, MoviePath(c.kind).c_str()), TRUE);
    RECT box{-1, -1, -1, -1};
    EXPECT_EQ(GetQTMovieRect(pane_, &box), TRUE);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, kWidth);
    EXPECT_EQ(box.bottom, kHeight);
    EXPECT_EQ(GetQTMovieDuration(pane_, FALSE), 1200);
    EXPECT_EQ(GetQTMovieDuration(pane_, TRUE), 2);
    EXPECT_EQ(GetQTControllerBarHeight(pane_), kBar);
    EXPECT_EQ(SizeMvpane(pane_, 0, 0, kWidth, kHeight + kBar, TRUE), TRUE);
    RECT client{};
    ::GetClientRect(GetMvpane(pane_), &client);
    EXPECT_EQ(client.right, kWidth);
    EXPECT_EQ(client.bottom, kHeight + kBar);
    const std::vector<uint8_t> first = ReferenceFrame(MoviePath(c.kind), 0);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(WaitForFrame(first, BarPoints()));
    EXPECT_TRUE(WaitForFrame(first, GradientPoints()));
    // The bar: neither the picture nor the empty pane's grey.
    const ClientShot shot = ShootClient(GetMvpane(pane_));
    const COLORREF bar = shot.At(kWidth / 2 + 40, kHeight + 2);
    EXPECT_TRUE(Near(bar, RGB(0xC8, 0xC8, 0xC8), 8)) << std::hex << bar;
  }
}

TEST_F(MvpaneMovies, PlaysToItsEndAndTheEndMessageRepeatsThere) {
  OpenSized(TMovieKind::MjpegMov);
  ASSERT_EQ(SetQTMsgWindow(pane_, messages_, kEndMessage), TRUE);
  EXPECT_EQ(GetQTMovieCurTimePos(pane_), 0);
  ASSERT_EQ(PlayBackQTMovie(pane_, 0), TRUE);
  ASSERT_TRUE(wintest::PumpUntil([&] { return GetQTMovieCurTimePos(pane_) > 0; }, 3000));
  const long early = GetQTMovieCurTimePos(pane_);
  wintest::PumpFor(300);
  const long later = GetQTMovieCurTimePos(pane_);
  EXPECT_GT(later, early);
  // The bars stay while it plays.
  EXPECT_TRUE(Shows(ReferenceFrame(MoviePath(TMovieKind::MjpegMov), 0), BarPoints()));
  EXPECT_EQ(g_endMessages, 0);
  ASSERT_TRUE(wintest::PumpUntil([] { return g_endMessages >= 3; }, 8000)) << g_endMessages << " end messages";
  EXPECT_EQ(g_lastEndParam, 0u);
  EXPECT_EQ(GetQTMovieCurTimePos(pane_), 1200);
  // To the beginning: the messages stop.
  ASSERT_EQ(PlayBackQTMovie(pane_, 2), TRUE);
  EXPECT_EQ(GetQTMovieCurTimePos(pane_), 0);
  wintest::PumpFor(150);
  const int settled = g_endMessages;
  wintest::PumpFor(400);
  EXPECT_EQ(g_endMessages, settled);
}

TEST_F(MvpaneMovies, SettingTheTimeChangesThePicture) {
  OpenSized(TMovieKind::MjpegMov);
  const std::vector<uint8_t> first = ReferenceFrame(MoviePath(TMovieKind::MjpegMov), 0);
  const std::vector<uint8_t> second = ReferenceFrame(MoviePath(TMovieKind::MjpegMov), 1.0);
  ASSERT_FALSE(Shows(second, GradientPoints()) && Shows(first, GradientPoints()));
  ASSERT_TRUE(WaitForFrame(first, GradientPoints()));
  EXPECT_EQ(SetQTMovieCurTimePos(pane_, 600), TRUE);
  EXPECT_EQ(GetQTMovieCurTimePos(pane_), 600);
  EXPECT_TRUE(WaitForFrame(second, GradientPoints()));
  EXPECT_EQ(PlayBackQTMovie(pane_, 3), TRUE);
  EXPECT_EQ(GetQTMovieCurTimePos(pane_), 1200);
}

TEST_F(MvpaneMovies, AClickOnThePictureLeavesItStoppedTheBarsButtonStartsIt) {
  OpenSized(TMovieKind::MjpegMov);
  ASSERT_TRUE(ClickAt(ScreenPoint(kWidth / 2, kHeight / 2)));
  wintest::PumpFor(600);
  EXPECT_EQ(GetQTMovieCurTimePos(pane_), 0);
  ASSERT_TRUE(ClickAt(ScreenPoint(kBar / 2, kHeight + kBar / 2)));
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetQTMovieCurTimePos(pane_) > 0; }, 3000));
}

TEST_F(MvpaneMovies, ATextFileNamedMovDoesNotOpenAndNoWindowOutlivesThePane) {
  const std::string text = wintest::TempPath("mvpane_text.mov");
  ASSERT_TRUE(wintest::WriteFileBytes(text, {'n', 'o', ' ', 'm', 'o', 'v', 'i', 'e', '\n'}));
  EXPECT_EQ(OpenQTMovie(pane_, text.c_str()), FALSE);
  RECT box{-1, -1, -1, -1};
  EXPECT_EQ(GetQTMovieRect(pane_, &box), TRUE);
  EXPECT_EQ(box.right, 0);
  EXPECT_EQ(box.bottom, 0);
  EXPECT_TRUE(wintest::PumpUntil([&] { return ShootClient(GetMvpane(pane_)).At(100, 100) == kEmptyGrey; }, 3000));
  ::DeleteFileA(text.c_str());

  // A movie opened over the grey shows its picture again.
  OpenSized(TMovieKind::MjpegMov);

  // A pane with a playing movie goes with all its windows.
  PlayBackQTMovie(pane_, 0);
  wintest::PumpFor(200);
  const HWND window = GetMvpane(pane_);
  EXPECT_EQ(DeleteMvpane(pane_), TRUE);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(::GetWindow(host_, GW_CHILD), nullptr);
  EXPECT_EQ(GetMvpane(pane_), nullptr);
  pane_ = nullptr;
}

}  // namespace
