// The dspane and mppane stand-ins through their exports on movies ffmpeg
// makes at test time, played by Wine's quartz under Xvfb: what they show,
// their times in seconds, their end message and mppane's controller bar.
#include "moviefixture.h"
#include "playerscreen.h"

#include "platform/dspane/dspane.h"
#include "platform/mppane/mppane.h"

namespace {

using namespace moviefixture;

constexpr UINT kEndMessage = WM_USER + 1;
constexpr int kTolerance = 48;

int g_endMessages = 0;
WPARAM g_lastEndParam = 0;

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kEndMessage) {
    ++g_endMessages;
    g_lastEndParam = wp;
    return 0;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

HWND MakeHost(int w, int h) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = "DspanesTestHost";
  ::RegisterClassA(&wc);
  return ::CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, w,
                           h, nullptr, nullptr, wc.hInstance, nullptr);
}

std::string MoviePath(TMovieKind kind) { return wintest::TempPath(std::string("dspanes_test") + Extension(kind)); }

bool Shows(HWND window, const std::vector<uint8_t>& frame, const std::vector<POINT>& points, std::string* why) {
  const ClientShot shot = ShootClient(window);
  if (frame.empty() || shot.Width < kWidth || shot.Height < kHeight) {
    if (why) *why = "no frame or a window smaller than the movie";
    return false;
  }
  for (const POINT& p : points) {
    if (!Near(shot.At(p.x, p.y), FramePixel(frame, p.x, p.y), kTolerance)) {
      if (why) {
        char text[96];
        std::snprintf(text, sizeof text, "at (%ld, %ld) screen %06lX, frame %06lX", static_cast<long>(p.x), static_cast<long>(p.y),
                      static_cast<unsigned long>(shot.At(p.x, p.y)),
                      static_cast<unsigned long>(FramePixel(frame, p.x, p.y)));
        *why = text;
      }
      return false;
    }
  }
  return true;
}

::testing::AssertionResult WaitForFrame(HWND window, const std::vector<uint8_t>& frame,
                                        const std::vector<POINT>& points) {
  if (wintest::PumpUntil([&] { return Shows(window, frame, points, nullptr); }, 8000)) {
    return ::testing::AssertionSuccess();
  }
  std::string why;
  Shows(window, frame, points, &why);
  return ::testing::AssertionFailure() << "the picture does not show the frame: " << why;
}

class DirectShowPanes : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(InitMP(), TRUE);
    for (TMovieKind kind : {TMovieKind::MjpegMov, TMovieKind::MsVideoAvi}) {
      ASSERT_TRUE(MakeTestMovie(kind, MoviePath(kind))) << "ffmpeg could not write " << MoviePath(kind);
    }
  }
  static void TearDownTestSuite() {
    ExitMP();
    for (TMovieKind kind : {TMovieKind::MjpegMov, TMovieKind::MsVideoAvi}) ::DeleteFileA(MoviePath(kind).c_str());
  }
  void SetUp() override {
    host_ = MakeHost(400, 300);
    ASSERT_NE(host_, nullptr);
    g_endMessages = 0;
    g_lastEndParam = 0;
  }
  void TearDown() override { ::DestroyWindow(host_); }

  HWND host_ = nullptr;
};

TEST_F(DirectShowPanes, ElementIdsAreNeverGivenTwiceAndUnknownIdsFindNothing) {
  const int a = DSP_AddEle(host_);
  const int b = DSP_AddEle(host_);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(DSP_DeleteEle(a), TRUE);
  const int c = DSP_AddEle(host_);
  EXPECT_NE(c, a);
  const RECT r{0, 0, 10, 10};
  int w = 7, h = 7;
  for (int id : {-1, a, 1 << 30}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(DSP_DeleteEle(id), FALSE);
    EXPECT_EQ(DSP_Load(id, MoviePath(TMovieKind::MsVideoAvi).c_str(), host_, TRUE), FALSE);
    EXPECT_EQ(DSP_GetVideoSize(id, &w, &h), FALSE);
    EXPECT_EQ(DSP_ShowEle(id, TRUE), FALSE);
    EXPECT_EQ(DSP_SetEleRect(id, &r), FALSE);
    EXPECT_EQ(DSP_StartEle(id), FALSE);
    EXPECT_EQ(DSP_Seek(id, 1.0), FALSE);
    EXPECT_EQ(DSP_GetPlayTime(id), 0.0);
    EXPECT_EQ(DSP_GetCurPos(id), 0.0);
  }
  EXPECT_EQ(w, 7);
  // An element with nothing loaded answers like an unknown one, but exists.
  EXPECT_EQ(DSP_StartEle(b), FALSE);
  EXPECT_EQ(DSP_GetVideoSize(b, &w, &h), FALSE);
  EXPECT_EQ(DSP_DeleteEle(b), TRUE);
  EXPECT_EQ(DSP_DeleteEle(c), TRUE);
}

TEST_F(DirectShowPanes, AnElementShowsEachKindPlaysToOneEndMessageAndStartsAgainFromTheBeginning) {
  const struct {
    const char* what;
    TMovieKind kind;
  } cases[] = {
      {"MS Video 1 with PCM sound in an .avi", TMovieKind::MsVideoAvi},
      {"MJPEG with PCM sound in a .mov", TMovieKind::MjpegMov},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_endMessages = 0;
    const int id = DSP_AddEle(host_);
    ASSERT_GE(id, 0);
    ASSERT_EQ(DSP_Load(id, MoviePath(c.kind).c_str(), host_, TRUE), TRUE);
    int w = 0, h = 0;
    EXPECT_EQ(DSP_GetVideoSize(id, &w, &h), TRUE);
    EXPECT_EQ(w, kWidth);
    EXPECT_EQ(h, kHeight);
    EXPECT_NEAR(DSP_GetPlayTime(id), 2.0, 0.05);
    EXPECT_EQ(DSP_GetCurPos(id), 0.0);
    const RECT r{0, 0, kWidth, kHeight};
    ASSERT_EQ(DSP_SetEleRect(id, &r), TRUE);
    EXPECT_TRUE(WaitForFrame(host_, ReferenceFrame(MoviePath(c.kind), 0), BarPoints()));

    // A seek while paused shows the frame there and stays there.
    ASSERT_EQ(DSP_Seek(id, 1.0), TRUE);
    EXPECT_NEAR(DSP_GetCurPos(id), 1.0, 0.05);
    EXPECT_TRUE(WaitForFrame(host_, ReferenceFrame(MoviePath(c.kind), 1.0), GradientPoints()));
    wintest::PumpFor(300);
    EXPECT_NEAR(DSP_GetCurPos(id), 1.0, 0.05);

    ASSERT_EQ(DSP_StartEle(id), TRUE);
    ASSERT_TRUE(wintest::PumpUntil([] { return g_endMessages > 0; }, 8000)) << "no end message";
    EXPECT_EQ(g_lastEndParam, 1u);
    wintest::PumpFor(400);
    EXPECT_EQ(g_endMessages, 1) << "the end is told once";
    EXPECT_NEAR(DSP_GetCurPos(id), 2.0, 0.1);
    // Started at its end, it plays again from the beginning.
    ASSERT_EQ(DSP_StartEle(id), TRUE);
    EXPECT_LT(DSP_GetCurPos(id), 1.0);
    ASSERT_TRUE(wintest::PumpUntil([] { return g_endMessages > 1; }, 8000)) << "no second end message";
    ASSERT_EQ(DSP_SeekToBegin(id), TRUE);
    EXPECT_EQ(DSP_GetCurPos(id), 0.0);
    ASSERT_EQ(DSP_SeekToEnd(id), TRUE);
    EXPECT_NEAR(DSP_GetCurPos(id), 2.0, 0.05);
    // Hidden, the host shows its own black where the picture was.
    ASSERT_EQ(DSP_ShowEle(id, FALSE), TRUE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return ShootClient(host_).At(100, 40) == RGB(0, 0, 0); }, 3000));
    EXPECT_EQ(DSP_DeleteEle(id), TRUE);
  }
}

TEST_F(DirectShowPanes, AnMppaneTakesTheMovieSizeWithItsBarAndItsButtonPlaysToTheEnd) {
  HMPPANE pane = CreateMppane(host_, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, -1);
  ASSERT_NE(pane, nullptr);
  HWND window = GetMppane(pane);
  ASSERT_TRUE(::IsWindow(window));
  EXPECT_EQ(::GetParent(window), host_);
  ASSERT_EQ(SetMPAutoSize(pane, TRUE), TRUE);
  ASSERT_EQ(OpenMPMovie(pane, MoviePath(TMovieKind::MsVideoAvi).c_str()), TRUE);
  ASSERT_EQ(SetMPMsgWindow(pane, host_, kEndMessage), TRUE);
  RECT box{};
  ::GetWindowRect(window, &box);
  EXPECT_EQ(box.right - box.left, kWidth);
  EXPECT_EQ(box.bottom - box.top, kHeight);
  ASSERT_EQ(ShowMPControllerBar(pane, TRUE), TRUE);
  ::GetWindowRect(window, &box);
  EXPECT_EQ(box.bottom - box.top, kHeight + MPPANE_BAR_HEIGHT);
  RECT natural{-1, -1, -1, -1};
  EXPECT_EQ(GetMPMovieRect(pane, &natural), TRUE);
  EXPECT_EQ(natural.right, kWidth);
  EXPECT_EQ(natural.bottom, kHeight);
  EXPECT_NEAR(GetMPMovieDuration(pane), 2.0, 0.05);
  EXPECT_TRUE(WaitForFrame(window, ReferenceFrame(MoviePath(TMovieKind::MsVideoAvi), 0), BarPoints()));
  // The bar below the picture is its own grey.
  EXPECT_TRUE(Near(ShootClient(window).At(kWidth / 2, kHeight + 2), RGB(0xD4, 0xD0, 0xC8), 8));

  // Positions in seconds; to the end and back.
  ASSERT_EQ(SetMPMovieCurTimePos(pane, 1.0), TRUE);
  EXPECT_NEAR(GetMPMovieCurTimePos(pane), 1.0, 0.05);
  EXPECT_EQ(PlayBackMPMovie(pane, 3), TRUE);
  EXPECT_NEAR(GetMPMovieCurTimePos(pane), 2.0, 0.05);
  EXPECT_EQ(PlayBackMPMovie(pane, 2), TRUE);
  EXPECT_EQ(GetMPMovieCurTimePos(pane), 0.0);
  EXPECT_EQ(PlayBackMPMovie(pane, 9), FALSE);

  // The bar's button starts it; it plays to one end message.
  POINT button{MPPANE_BAR_HEIGHT / 2, kHeight + MPPANE_BAR_HEIGHT / 2};
  ::ClientToScreen(window, &button);
  ASSERT_TRUE(ClickAt(button));
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetMPMovieCurTimePos(pane) > 0; }, 3000));
  ASSERT_TRUE(wintest::PumpUntil([] { return g_endMessages > 0; }, 8000)) << "no end message";
  EXPECT_EQ(g_lastEndParam, 1u);
  wintest::PumpFor(400);
  EXPECT_EQ(g_endMessages, 1);

  // Hidden, then gone: the handle no longer answers.
  EXPECT_EQ(ShowMppane(pane, FALSE), TRUE);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(DeleteMppane(pane), TRUE);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(DeleteMppane(pane), FALSE);
  EXPECT_EQ(GetMppane(pane), nullptr);
  EXPECT_EQ(OpenMPMovie(pane, MoviePath(TMovieKind::MsVideoAvi).c_str()), FALSE);
  EXPECT_EQ(GetMPMovieDuration(pane), 0.0);
}

TEST_F(DirectShowPanes, AnMppaneKeepsItsFrameWithoutAutoSizeAndATextFileDoesNotOpen) {
  HMPPANE pane = CreateMppane(host_, 10, 10, 210, 160, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, -1);
  ASSERT_NE(pane, nullptr);
  const std::string text = wintest::TempPath("dspanes_text.avi");
  ASSERT_TRUE(wintest::WriteFileBytes(text, {'n', 'o', ' ', 'm', 'o', 'v', 'i', 'e'}));
  EXPECT_EQ(OpenMPMovie(pane, text.c_str()), FALSE);
  EXPECT_EQ(PlayBackMPMovie(pane, 0), FALSE);
  RECT natural{};
  EXPECT_EQ(GetMPMovieRect(pane, &natural), FALSE);
  ASSERT_EQ(OpenMPMovie(pane, MoviePath(TMovieKind::MjpegMov).c_str()), TRUE);
  ASSERT_EQ(ShowMPControllerBar(pane, TRUE), TRUE);
  RECT box{};
  ::GetWindowRect(GetMppane(pane), &box);
  EXPECT_EQ(box.right - box.left, 200);
  EXPECT_EQ(box.bottom - box.top, 150);
  EXPECT_EQ(DeleteMppane(pane), TRUE);
  ::DeleteFileA(text.c_str());
}

}  // namespace
