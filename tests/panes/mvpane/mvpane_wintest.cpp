// The movie pane's exports over a fake movie layer: handles, ids, sizes,
// times, the controller's flags and the end message, without media files.
// Runs the library's objects linked in (namespace mvpane), since the fake
// layer must be the one they see.
#include "playerscreen.h"

#include <functional>
#include <map>

#include "panes/mvpane/moviewnd.h"
#include "platform/qtml/movielayer.h"

namespace {

using namespace qtml;

struct TFakeState {
  SIZE size{320, 240};
  long duration = 1200;
  long time = 0;
  bool running = false;
  RECT placed{0, 0, 0, 0};
};

class TFakeMovie : public TMovieSource {
 public:
  explicit TFakeMovie(TFakeState& s) : s_(s) {}
  SIZE NaturalSize() const override { return s_.size; }
  long Duration() const override { return s_.duration; }
  long Time() override { return s_.time; }
  void SetTime(long t) override { s_.time = t; }
  void Start() override { s_.running = true; }
  void Stop() override { s_.running = false; }
  bool Running() const override { return s_.running; }
  void Place(const RECT& box) override { s_.placed = box; }
  void Update() override {}
  void Idle() override {}

 private:
  TFakeState& s_;
};

class TFakeLayer : public TMovieLayer {
 public:
  long Start() override { return startResult; }
  void Stop() override {}
  bool Present() override { return present; }
  std::unique_ptr<TMovieSource> Open(const std::string& path, HWND, long* error) override {
    const auto it = movies.find(path);
    if (it == movies.end()) {
      *error = -1;
      return nullptr;
    }
    return std::make_unique<TFakeMovie>(it->second);
  }

  long startResult = 0;
  bool present = true;
  std::map<std::string, TFakeState> movies;
};

constexpr UINT kEndMessage = WM_USER + 1;
int g_endMessages = 0;
WPARAM g_lastEndParam = 99;

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

constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

class MvpaneFake : public ::testing::Test {
 protected:
  void SetUp() override {
    movie_ = wintest::TempPath("mvpane_fake.mov");
    ASSERT_TRUE(wintest::WriteFileBytes(movie_, {'x'}));
    layer_.movies[movie_] = TFakeState{};
    host_ = MakeWindow("MvpaneFakeHost", ::DefWindowProcA, WS_POPUP | WS_VISIBLE, 40, 40, 400, 300);
    g_endMessages = 0;
  }
  void TearDown() override {
    for (void* p : panes_) mvpane::DeleteMvpane(p);
    ::DestroyWindow(host_);
    ::DeleteFileA(movie_.c_str());
  }
  void* NewPane(int id = -1) {
    void* p = mvpane::CreateMvpane(host_, 0, 0, 320, 256, kPaneStyle, id);
    if (p) panes_.push_back(p);
    return p;
  }
  MovieController ControllerOf(void* h) { return mvpane::FindPane(h)->Movie()->GetController(); }
  Rect DetachedBar(void* h) {
    MovieController mc = ControllerOf(h);
    MCSetControllerAttached(mc, false);
    Rect r;
    MCGetControllerBoundsRect(mc, &r);
    MCSetControllerAttached(mc, true);
    return r;
  }

  TFakeLayer layer_;
  TMovieLayerScope scope_{layer_};
  std::string movie_;
  HWND host_ = nullptr;
  std::vector<void*> panes_;
};

// First in this file: the library's counter starts at 0 with the program.
TEST_F(MvpaneFake, ControlIdsCountFromOneAndAnExplicitIdLeavesTheCounter) {
  void* first = NewPane();
  void* named = NewPane(77);
  void* second = NewPane();
  ASSERT_TRUE(first && named && second);
  EXPECT_EQ(::GetDlgCtrlID(mvpane::GetMvpane(first)), 1);
  EXPECT_EQ(::GetDlgCtrlID(mvpane::GetMvpane(named)), 77);
  EXPECT_EQ(::GetDlgCtrlID(mvpane::GetMvpane(second)), 2);
  EXPECT_EQ(::GetParent(mvpane::GetMvpane(first)), host_);
}

TEST_F(MvpaneFake, StartAndPresenceFollowTheLayer) {
  EXPECT_EQ(mvpane::InitQT(), 0);
  EXPECT_EQ(mvpane::IsQTInstalled(), TRUE);
  mvpane::ExitQT();
  layer_.startResult = -2093;
  layer_.present = false;
  EXPECT_EQ(mvpane::InitQT(), -2093);
  EXPECT_EQ(mvpane::IsQTInstalled(), FALSE);
  mvpane::ExitQT();
}

TEST_F(MvpaneFake, AWindowThatCannotBeMadeGivesNoHandle) {
  // A child window needs a parent.
  EXPECT_EQ(mvpane::CreateMvpane(nullptr, 0, 0, 10, 10, kPaneStyle, -1), nullptr);
  EXPECT_EQ(mvpane::CreateMvpane(reinterpret_cast<HWND>(0x7654321), 0, 0, 10, 10, kPaneStyle, 5), nullptr);
}

TEST_F(MvpaneFake, MovieRectIsTheNaturalBoxAndZerosWithoutMovie) {
  RECT r{1, 2, 3, 4};
  EXPECT_EQ(mvpane::GetQTMovieRect(nullptr, &r), FALSE);
  EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);
  void* pane = NewPane();
  r = RECT{1, 2, 3, 4};
  EXPECT_EQ(mvpane::GetQTMovieRect(pane, &r), TRUE);
  EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);
  EXPECT_EQ(mvpane::GetQTMovieRect(pane, nullptr), FALSE);
  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  EXPECT_EQ(mvpane::GetQTMovieRect(pane, &r), TRUE);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 320);
  EXPECT_EQ(r.bottom, 240);
  EXPECT_EQ(mvpane::GetQTControllerBarHeight(pane), 16);
}

TEST_F(MvpaneFake, SizingWithTheBarSplitsThePaneBetweenMovieAndBar) {
  void* pane = NewPane();
  const HWND w = mvpane::GetMvpane(pane);
  // Without a movie it only moves the window.
  EXPECT_EQ(mvpane::SizeMvpane(pane, 10, 20, 110, 70, TRUE), FALSE);
  RECT placed{};
  ::GetWindowRect(w, &placed);
  ::MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right, 110);
  EXPECT_EQ(placed.bottom, 70);

  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  EXPECT_EQ(mvpane::SizeMvpane(pane, 0, 0, 320, 256, TRUE), TRUE);
  RECT client{};
  ::GetClientRect(w, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 256);
  const TFakeState& s = layer_.movies[movie_];
  EXPECT_EQ(s.placed.left, 0);
  EXPECT_EQ(s.placed.top, 0);
  EXPECT_EQ(s.placed.right, 320);
  EXPECT_EQ(s.placed.bottom, 240);
  const Rect bar = DetachedBar(pane);
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.top, 240);
  EXPECT_EQ(bar.right, 320);
  EXPECT_EQ(bar.bottom, 256);
  EXPECT_EQ(MCGetVisible(ControllerOf(pane)), 1);

  // Without the bar the movie takes the whole pane and the bar hides.
  EXPECT_EQ(mvpane::SizeMvpane(pane, 0, 0, 400, 300, FALSE), TRUE);
  EXPECT_EQ(s.placed.right, 400);
  EXPECT_EQ(s.placed.bottom, 300);
  EXPECT_EQ(MCGetVisible(ControllerOf(pane)), 0);
}

TEST_F(MvpaneFake, PlaybackModesAndTimes) {
  void* pane = NewPane();
  TFakeState& s = layer_.movies[movie_];
  // Without a movie the modes do nothing and still report 1.
  EXPECT_EQ(mvpane::PlayBackQTMovie(pane, 0), TRUE);
  EXPECT_EQ(mvpane::GetQTMovieDuration(pane, FALSE), 0);
  EXPECT_EQ(mvpane::SetQTMovieCurTimePos(pane, 5), FALSE);
  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  s.time = 300;
  const struct {
    const char* what;
    int mode;
    bool running;
    long time;
  } modes[] = {
      {"0 starts", 0, true, 300},   {"1 stops", 1, false, 300}, {"3 goes to the end", 3, false, 1200},
      {"2 goes to the beginning", 2, false, 0}, {"4 does nothing", 4, false, 0},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(m.what);
    EXPECT_EQ(mvpane::PlayBackQTMovie(pane, m.mode), TRUE);
    EXPECT_EQ(s.running, m.running);
    EXPECT_EQ(mvpane::GetQTMovieCurTimePos(pane), m.time);
  }
  EXPECT_EQ(mvpane::SetQTMovieCurTimePos(pane, 450), TRUE);
  EXPECT_EQ(s.time, 450);
  const struct {
    long duration, units, seconds;
  } durations[] = {{1200, 1200, 2}, {1799, 1799, 2}, {599, 599, 0}, {0, 0, 0}};
  for (const auto& d : durations) {
    SCOPED_TRACE(d.duration);
    s.duration = d.duration;
    EXPECT_EQ(mvpane::GetQTMovieDuration(pane, FALSE), d.units);
    EXPECT_EQ(mvpane::GetQTMovieDuration(pane, TRUE), d.seconds);
  }
}

TEST_F(MvpaneFake, ControllerButtonsKeepExplicitAndNormalFlags) {
  void* pane = NewPane();
  EXPECT_EQ(mvpane::ShowQTControllerButton(pane, FALSE, mcFlagSuppressPlayButton), FALSE);
  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  ASSERT_EQ(mvpane::SizeMvpane(pane, 0, 0, 320, 256, TRUE), TRUE);
  MovieController mc = ControllerOf(pane);
  auto flags = [&](bool explicitOnes) {
    long f = explicitOnes ? mcFlagExplicit : 0;
    MCDoAction(mc, mcActionGetFlags, &f);
    return f;
  };
  // The play glyph: dark marks in the button's square at the bar's left.
  auto glyphShown = [&] {
    wintest::PumpFor(150);
    const ClientShot shot = ShootClient(mvpane::GetMvpane(pane));
    for (int y = 241; y < 256; ++y)
      for (int x = 0; x < 15; ++x)
        if (shot.At(x, y) == RGB(0x20, 0x20, 0x20)) return true;
    return false;
  };
  EXPECT_EQ(flags(false), mcFlagsUseWindowPalette);
  EXPECT_EQ(flags(true), 0);
  EXPECT_TRUE(glyphShown());

  const struct {
    const char* what;
    BOOL show;
    long bits, normal, explicitOnes;
    bool glyph;
  } steps[] = {
      {"hide the position bar", FALSE, mcFlagSuppressPositionBar, mcFlagsUseWindowPalette | mcFlagSuppressPositionBar,
       mcFlagSuppressPositionBar, true},
      {"hide the play button too", FALSE, mcFlagSuppressPlayButton,
       mcFlagsUseWindowPalette | mcFlagSuppressPlayButton | mcFlagSuppressPositionBar,
       mcFlagSuppressPlayButton | mcFlagSuppressPositionBar, false},
      {"show the play button again", TRUE, mcFlagSuppressPlayButton,
       mcFlagsUseWindowPalette | mcFlagSuppressPositionBar, mcFlagSuppressPlayButton | mcFlagSuppressPositionBar,
       true},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(mvpane::ShowQTControllerButton(pane, s.show, static_cast<int>(s.bits)), TRUE);
    EXPECT_EQ(flags(false), s.normal);
    EXPECT_EQ(flags(true), s.explicitOnes);
    EXPECT_EQ(glyphShown(), s.glyph);
  }
}

TEST_F(MvpaneFake, TheEndMessageRepeatsOnIdleWhileTheMovieStandsAtItsEnd) {
  HWND messages = MakeWindow("MvpaneFakeEnd", EndCounter, WS_POPUP, 0, 0, 10, 10);
  void* pane = NewPane();
  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  ASSERT_EQ(mvpane::SetQTMsgWindow(pane, messages, kEndMessage), TRUE);
  TFakeState& s = layer_.movies[movie_];
  wintest::PumpFor(350);
  EXPECT_EQ(g_endMessages, 0);
  s.time = s.duration;
  EXPECT_TRUE(wintest::PumpUntil([] { return g_endMessages >= 3; }, 2000)) << g_endMessages;
  EXPECT_EQ(g_lastEndParam, 0u);
  // A stop through the controller at the end says so in wParam.
  MCDoAction(ControllerOf(pane), mcActionPlay, nullptr);
  wintest::PumpFor(20);
  EXPECT_EQ(g_lastEndParam, 1u);
  ::DestroyWindow(messages);
}

TEST_F(MvpaneFake, PathsThatCannotOpen) {
  void* pane = NewPane();
  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  const struct {
    const char* what;
    std::string path;
    bool keepsMovie;
  } cases[] = {
      {"an empty path leaves the movie", "", true},
      {"a missing file closes it", wintest::TempPath("mvpane_missing.mov"), false},
      {"a path of 255 characters closes it", "C:\\" + std::string(252, 'a'), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
    EXPECT_EQ(mvpane::OpenQTMovie(pane, c.path.c_str()), FALSE);
    RECT r{};
    mvpane::GetQTMovieRect(pane, &r);
    EXPECT_EQ(r.right, c.keepsMovie ? 320 : 0);
    EXPECT_EQ(mvpane::GetQTControllerBarHeight(pane), c.keepsMovie ? 16 : 0);
  }
  EXPECT_EQ(mvpane::OpenQTMovie(pane, nullptr), FALSE);
}

TEST_F(MvpaneFake, AnEmptyPaneIsGreyAndLetsTheMouseThroughWhenTransparent) {
  void* pane = NewPane();
  const HWND w = mvpane::GetMvpane(pane);
  wintest::PumpFor(100);
  EXPECT_EQ(ShootClient(w).At(160, 128), mvpane::kEmptyPaneColour);
  POINT centre{160, 128};
  ::ClientToScreen(w, &centre);
  const LPARAM at = MAKELPARAM(centre.x, centre.y);
  EXPECT_EQ(::SendMessageA(w, WM_NCHITTEST, 0, at), HTCLIENT);
  EXPECT_EQ(mvpane::SetMvpaneTransparency(pane, TRUE), TRUE);
  EXPECT_EQ(::SendMessageA(w, WM_NCHITTEST, 0, at), HTTRANSPARENT);
  EXPECT_EQ(mvpane::SetMvpaneTransparency(pane, FALSE), TRUE);
  EXPECT_EQ(::SendMessageA(w, WM_NCHITTEST, 0, at), HTCLIENT);
  EXPECT_EQ(mvpane::ShowMvpane(pane, FALSE), TRUE);
  EXPECT_FALSE(::IsWindowVisible(w));
}

TEST_F(MvpaneFake, EveryCallWithADeletedOrUnknownHandleGivesZero) {
  void* pane = NewPane();
  ASSERT_EQ(mvpane::OpenQTMovie(pane, movie_.c_str()), TRUE);
  const HWND w = mvpane::GetMvpane(pane);
  ASSERT_EQ(mvpane::DeleteMvpane(pane), TRUE);
  panes_.clear();
  EXPECT_FALSE(::IsWindow(w));
  int unknown = 0;
  for (void* h : {pane, static_cast<void*>(&unknown), static_cast<void*>(nullptr)}) {
    RECT r{1, 1, 1, 1};
    const RECT box{0, 0, 10, 10};
    const struct {
      const char* what;
      std::function<long long()> call;
    } calls[] = {
        {"DeleteMvpane", [&] { return mvpane::DeleteMvpane(h); }},
        {"ShowMvpane", [&] { return mvpane::ShowMvpane(h, TRUE); }},
        {"GetMvpane", [&] { return reinterpret_cast<long long>(mvpane::GetMvpane(h)); }},
        {"SetMvpaneParent", [&] { return mvpane::SetMvpaneParent(h, host_); }},
        {"SetMvpaneTransparency", [&] { return mvpane::SetMvpaneTransparency(h, TRUE); }},
        {"OpenQTMovie", [&] { return mvpane::OpenQTMovie(h, movie_.c_str()); }},
        {"PlayBackQTMovie", [&] { return mvpane::PlayBackQTMovie(h, 0); }},
        {"GetQTMovieRect", [&] { return mvpane::GetQTMovieRect(h, &r) + r.left + r.top + r.right + r.bottom; }},
        {"SetQTMovieRect", [&] { return mvpane::SetQTMovieRect(h, &box); }},
        {"GetQTControllerBarHeight", [&] { return mvpane::GetQTControllerBarHeight(h); }},
        {"ShowQTControllerBar", [&] { return mvpane::ShowQTControllerBar(h, TRUE); }},
        {"SetQTControllerRect", [&] { return mvpane::SetQTControllerRect(h, 0, 0, 10, 10); }},
        {"ShowQTControllerButton", [&] { return mvpane::ShowQTControllerButton(h, TRUE, 2); }},
        {"GetQTMovieDuration", [&] { return mvpane::GetQTMovieDuration(h, FALSE); }},
        {"GetQTMovieCurTimePos", [&] { return mvpane::GetQTMovieCurTimePos(h); }},
        {"SetQTMovieCurTimePos", [&] { return mvpane::SetQTMovieCurTimePos(h, 10); }},
        {"SetQTMsgWindow", [&] { return mvpane::SetQTMsgWindow(h, host_, kEndMessage); }},
        {"SizeMvpane", [&] { return mvpane::SizeMvpane(h, 0, 0, 10, 10, TRUE); }},
        {"RefreshQTWindow", [&] {
           mvpane::RefreshQTWindow(h);
           return 0LL;
         }},
    };
    for (const auto& c : calls) {
      SCOPED_TRACE(c.what);
      EXPECT_EQ(c.call(), 0);
    }
  }
}

}  // namespace
