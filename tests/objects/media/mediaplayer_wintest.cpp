// Media through the real player and Wine's MCI drivers, on fixtures made at
// test time: an MS Video 1 AVI from ffmpeg's test pattern and a WAV from
// sox. The control bar's play button plays the video into its window and
// moves the bar's thumb; sequential play actions on the video, the sound and
// the CD hold their chains until the medium ends (the CD, without a drive,
// at once).
#include "playerrun.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "playerscreen.h"

namespace {

// A Windows path as the Unix path Wine maps it to.
std::string UnixPath(const std::string& windowsPath) {
  std::vector<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, w.data(), static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.data());
  if (!unix) return std::string();
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

// Runs a Unix program to its end; true when it exits with 0.
bool RunUnix(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    ;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const COLORREF kPageOne = RGB(0xE0, 0xE0, 0xE0);
const COLORREF kPageTwo = RGB(0x00, 0x00, 0xFF);
const COLORREF kPageThree = RGB(0x00, 0xFF, 0x00);
const COLORREF kPageFour = RGB(0xFF, 0x00, 0x00);
const COLORREF kGrey = RGB(0xC0, 0xC0, 0xC0);

// The media files and the project, made once per test program.
struct MediaProject {
  MediaProject() {
    const std::string avi = wintest::TempPath("tsl_clip.avi"), wav = wintest::TempPath("tsl_tone.wav");
    Made = RunUnix({"ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc=duration=2:size=160x120:rate=10",
                    "-an", "-c:v", "msvideo1", UnixPath(avi)}) &&
           RunUnix({"sox", "-n", "-r", "22050", "-c", "1", "-b", "16", UnixPath(wav), "synth", "1", "sine", "440"});
    Path = WriteProjectFile(
        TempFolder() + "tsl_media.crt",
        "size 400 300\ntitle \"Medien\"\npathmode 0\n"
        "page 1\n  background colour #E0E0E0\n"
        "  object video \"Film\" 20 20 180 140\n    media \"<CURRENTPROJECTDIR>tsl_clip.avi\"\n"
        "  object mcibar \"Leiste\" 20 160 220 200\n    mcibar target 1 buttons 0x3F\n"
        "  object sound \"Ton\" 250 20 290 60\n    media \"<CURRENTPROJECTDIR>tsl_tone.wav\"\n"
        "  object button \"Weiter\" 250 200 350 230\n    action code 0 target 1 wait\n    action next wait\n"
        "    button text caption \"Weiter\"\n"
        "  object button \"Ton\" 250 240 350 270\n    action code 0 target 3 wait\n    action goto 3 wait\n"
        "    button text caption \"Ton\"\n"
        "page 2\n  background colour #0000FF\n"
        "page 3\n  background colour #00FF00\n"
        "  object cdaudio \"CD\" 20 20 60 60 number 20\n    media tracks 1 2\n"
        "  object button \"CD\" 250 240 350 270 number 21\n    action code 0 target 20 wait\n    action next wait\n"
        "    button text caption \"CD\"\n"
        "page 4\n  background colour #FF0000\n");
  }
  bool Made = false;
  std::string Path;
};
const MediaProject& Project() {
  static MediaProject p;
  return p;
}

// The ALSA configuration folder of the player's run (XDG_CONFIG_HOME; Wine
// keeps the Unix HOME whatever the Windows environment says): with
// `nullSound` a default device that takes every sample and plays nothing, so
// a WAV plays to its end; without it there is no sound device at all.
std::string SoundConfig(bool nullSound) {
  const std::string dir = wintest::TempPath(nullSound ? "tsl_xdg_null" : "tsl_xdg_none");
  ::CreateDirectoryA(dir.c_str(), nullptr);
  ::CreateDirectoryA((dir + "\\alsa").c_str(), nullptr);
  const std::string rc = dir + "\\alsa\\asoundrc";
  if (nullSound) {
    HANDLE f = ::CreateFileA(rc.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char text[] = "pcm.!default { type null }\n";
    DWORD written = 0;
    ::WriteFile(f, text, sizeof text - 1, &written, nullptr);
    ::CloseHandle(f);
  } else {
    ::DeleteFileA(rc.c_str());
  }
  return UnixPath(dir);
}

class Player {
public:
  explicit Player(bool nullSound) {
    ::SetEnvironmentVariableA("XDG_CONFIG_HOME", SoundConfig(nullSound).c_str());
    Run = std::make_unique<TPlayerRun>("\"" + Project().Path + "\"");
    Frame = Run->WaitForFrame();
  }
  ~Player() {
    if (Frame) ::PostMessageA(Frame, WM_CLOSE, 0, 0);
    if (Run) Run->WaitForExit(10000);
  }
  ClientShot Shot() const { return ShootClient(Frame); }
  // Waits until the page's corner shows `colour`.
  bool WaitForPage(COLORREF colour, DWORD ms) const {
    for (DWORD waited = 0; waited < ms; waited += 50) {
      const ClientShot s = Shot();
      if (s.Width > 10 && s.At(395, 5) == colour) return true;
      ::Sleep(50);
    }
    return false;
  }
  bool Click(int x, int y) const {
    POINT p{x, y};
    ::ClientToScreen(Frame, &p);
    // A synchronous move to where the pointer already is waits for a motion
    // that never comes: step beside the point first.
    XdoToolArgs({"mousemove", std::to_string(p.x + 3), std::to_string(p.y + 3)});
    return ClickAt(p);
  }

  std::unique_ptr<TPlayerRun> Run;
  HWND Frame = nullptr;
};

// Different colours inside the rectangle: the test pattern rather than a
// flat fill.
int Colours(const ClientShot& s, int left, int top, int right, int bottom) {
  std::vector<COLORREF> seen;
  for (int y = top; y < bottom; y += 4)
    for (int x = left; x < right; x += 4) {
      const COLORREF c = s.At(x, y);
      bool known = false;
      for (COLORREF k : seen) known = known || k == c;
      if (!known) seen.push_back(c);
    }
  return static_cast<int>(seen.size());
}

}  // namespace

TEST(MediaPlayer, TheBarPlaysTheVideoAndAWaitingActionShowsTheNextPage) {
  ASSERT_TRUE(Project().Made) << "ffmpeg and sox made the fixtures";
  Player p(true);
  ASSERT_NE(p.Frame, nullptr);
  ASSERT_TRUE(p.WaitForPage(kPageOne, 10000));
  ::Sleep(300);
  const ClientShot before = p.Shot();
  // The play button: the green glyph of the first cel below the bar.
  int playX = -1, playY = -1;
  for (int y = 160; y < 200 && playX < 0; ++y)
    for (int x = 20; x < 60 && playX < 0; ++x)
      if (before.At(x, y) == RGB(0, 0xC0, 0)) playX = x, playY = y;
  ASSERT_GE(playX, 0) << "the bar shows its play button";
  ASSERT_TRUE(p.Click(playX, playY));
  bool pattern = false, moved = false;
  ClientShot first = p.Shot();
  for (int i = 0; i < 60 && !(pattern && moved); ++i) {
    ::Sleep(100);
    const ClientShot s = p.Shot();
    pattern = pattern || Colours(s, 20, 20, 180, 140) >= 6;
    for (int y = 160; y < playY - 4 && !moved; ++y)
      for (int x = 20; x < 220 && !moved; ++x) moved = s.At(x, y) != first.At(x, y);
  }
  EXPECT_TRUE(pattern) << "the video window shows the test pattern";
  EXPECT_TRUE(moved) << "the bar's thumb follows the video";
  ::Sleep(2500);  // the first play ends
  ASSERT_TRUE(p.Click(300, 215));
  ::Sleep(700);
  EXPECT_EQ(p.Shot().At(395, 5), kPageOne) << "the next page waits for the end of the video";
  EXPECT_TRUE(p.WaitForPage(kPageTwo, 15000)) << "and comes after it";
}

TEST(MediaPlayer, SoundAndCdChainsGoOn) {
  ASSERT_TRUE(Project().Made);
  for (bool nullSound : {true, false}) {
    SCOPED_TRACE(nullSound ? "with the null sound device" : "without a sound device");
    Player p(nullSound);
    ASSERT_NE(p.Frame, nullptr);
    ASSERT_TRUE(p.WaitForPage(kPageOne, 10000));
    ASSERT_TRUE(p.Click(300, 255));
    EXPECT_TRUE(p.WaitForPage(kPageThree, 15000)) << "the sound's chain went on";
    ASSERT_TRUE(p.Click(300, 255));
    EXPECT_TRUE(p.WaitForPage(kPageFour, 15000)) << "the CD's chain went on";
  }
}
