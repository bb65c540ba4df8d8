// Flash and HTML objects through the real player, on fixtures made at test
// time: a 12-frame SWF movie at 12 fps written by python3, and python3's
// HTTP server on the loopback address, which logs the requests it gets.
// swfpane shows the movie's frame as "n / N" in its grey pane (and as the
// pane window's text); the browser element is white (no Wine Gecko).
#include "playerrun.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/swfpane/swfpane.h"
#include "playerscreen.h"

namespace {

std::string UnixPath(const std::string& windowsPath) {
  std::vector<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, w.data(), static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.data());
  if (!unix) return std::string();
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

pid_t Spawn(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

bool RunUnix(std::vector<std::string> args) {
  const pid_t pid = Spawn(std::move(args));
  if (pid < 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    ;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string FileText(const std::string& unixPath) {
  std::ifstream f(unixPath);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// The smallest movie: "FWS", version 6, its length, an empty stage, 12 fps
// (8.8 fixed point), 12 frames, the end tag.
const char kSwfScript[] =
    "import struct, sys\n"
    "body = bytes([0x00]) + struct.pack('<BBH', 0, 12, 12) + bytes([0, 0])\n"
    "open(sys.argv[1], 'wb').write(b'FWS' + bytes([6]) + struct.pack('<I', 8 + len(body)) + body)\n";

// Serves on a free loopback port, writes the port to argv[1] and every
// request line to argv[2].
const char kServerScript[] =
    "import http.server, sys\n"
    "class H(http.server.SimpleHTTPRequestHandler):\n"
    "    def log_message(self, fmt, *args):\n"
    "        with open(sys.argv[2], 'a') as f: f.write(self.requestline + '\\n')\n"
    "s = http.server.HTTPServer(('127.0.0.1', 0), H)\n"
    "open(sys.argv[1], 'w').write(str(s.server_address[1]))\n"
    "s.serve_forever()\n";

class TLoopbackHttp {
public:
  TLoopbackHttp() {
    PortFile = "/tmp/tsl_webmedia_port_" + std::to_string(::GetCurrentProcessId());
    Log = "/tmp/tsl_webmedia_log_" + std::to_string(::GetCurrentProcessId());
    std::remove(PortFile.c_str());
    std::remove(Log.c_str());
    Pid = Spawn({"python3", "-c", kServerScript, PortFile, Log});
    for (int i = 0; i < 100 && Port.empty(); ++i) {
      ::Sleep(50);
      Port = FileText(PortFile);
    }
  }
  ~TLoopbackHttp() {
    if (Pid > 0) {
      kill(Pid, SIGTERM);
      int status = 0;
      waitpid(Pid, &status, 0);
    }
    std::remove(PortFile.c_str());
    std::remove(Log.c_str());
  }
  std::string Requests() const { return FileText(Log); }
  pid_t Pid = -1;
  std::string Port, PortFile, Log;
};

const COLORREF kPage = RGB(0xE0, 0xE0, 0xE0);

// The Flash object with its code-5 button; with a port also the browser
// object with its code-63 button.
std::string ProjectText(const std::string& port = "") {
  std::string text =
      "size 400 300\ntitle \"Medien\"\npathmode 0\n"
      "page 1\n  background colour #E0E0E0\n"
      "  object flash \"Film\" 20 20 200 160 number 1\n    flash \"<CURRENTPROJECTDIR>tsl_movie.swf\"\n"
      "  object button \"Anfang\" 20 200 120 230 number 3\n    action code 5 target 1\n"
      "    button text caption \"Anfang\"\n";
  if (port.empty()) return text;
  return text +
         "  object html \"Web\" 220 20 380 160 number 2\n    browser \"\"\n"
         "  object button \"Laden\" 220 200 320 230 number 4\n"
         "    action code 63 target 2 text1 \"http://127.0.0.1:" + port + "/seite.html\"\n"
         "    button text caption \"Laden\"\n";
}

struct TClassSearch {
  const char* Class;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchClass(HWND w, LPARAM l) {
  auto* s = reinterpret_cast<TClassSearch*>(l);
  char name[64] = {};
  ::GetClassNameA(w, name, sizeof name);
  if (std::string(name) != s->Class) return TRUE;
  s->Found = w;
  return FALSE;
}

HWND FindDescendant(HWND parent, const char* className) {
  TClassSearch s{className};
  ::EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&s));
  return s.Found;
}

class Player {
public:
  explicit Player(const std::string& project, const std::string& folder = ProgramFolder()) {
    Run = std::make_unique<TPlayerRun>("\"" + project + "\"", folder);
    Frame = Run->WaitForFrame();
  }
  ~Player() {
    if (Frame) ::PostMessageA(Frame, WM_CLOSE, 0, 0);
    if (Run) Run->WaitForExit(10000);
  }
  bool WaitForPage(DWORD ms) const {
    for (DWORD waited = 0; waited < ms; waited += 50) {
      const ClientShot s = ShootClient(Frame);
      if (s.Width > 10 && s.At(395, 295) == kPage) return true;
      ::Sleep(50);
    }
    return false;
  }
  bool Click(int x, int y) const {
    POINT p{x, y};
    ::ClientToScreen(Frame, &p);
    XdoToolArgs({"mousemove", std::to_string(p.x + 3), std::to_string(p.y + 3)});
    return ClickAt(p);
  }
  std::unique_ptr<TPlayerRun> Run;
  HWND Frame = nullptr;
};

// The pane's frame number, from its "n / N" text; -1 without it.
int FrameOf(HWND pane) {
  const std::string t = WindowText(pane);
  const size_t slash = t.find(" / ");
  return slash == std::string::npos ? -1 : std::atoi(t.substr(0, slash).c_str());
}

class WebMediaPlayer : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RunUnix({"python3", "-c", kSwfScript, UnixPath(TempFolder() + "tsl_movie.swf")}));
  }
  static void TearDownTestSuite() { ::DeleteFileA((TempFolder() + "tsl_movie.swf").c_str()); }
};

TEST_F(WebMediaPlayer, TheFlashMovieRunsAndCode5ShowsItsFirstFrame) {
  const std::string project = WriteProjectFile(TempFolder() + "tsl_webmedia1.crt", ProjectText());
  Player p(project);
  ASSERT_NE(p.Frame, nullptr);
  ASSERT_TRUE(p.WaitForPage(10000));
  HWND pane = nullptr;
  for (int i = 0; i < 100 && !pane; ++i, ::Sleep(50)) pane = FindDescendant(p.Frame, SWFPANE_CLASS);
  ASSERT_TRUE(pane) << "swfpane's window on the page";
  // The frame number advances to the last frame, where the movie stops
  // (one second at its rate; a loaded machine delays the pane's timer).
  std::vector<int> seen;
  for (int i = 0; i < 300 && (seen.empty() || seen.back() != 11); ++i, ::Sleep(50)) {
    const int f = FrameOf(pane);
    if (seen.empty() || seen.back() != f) seen.push_back(f);
  }
  ASSERT_GE(seen.size(), 3u) << "the frames advance";
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GT(seen[i], seen[i - 1]);
  EXPECT_EQ(WindowText(pane), "11 / 12");
  const ClientShot shot = ShootClient(p.Frame);
  EXPECT_EQ(shot.At(25, 25), RGB(0x80, 0x80, 0x80)) << "the grey pane where the object stands";
  EXPECT_EQ(shot.At(10, 10), kPage);
  // Code 5 (to the start) on the Flash object.
  ASSERT_TRUE(p.Click(70, 215));
  bool first = false;
  for (int i = 0; i < 200 && !first; ++i, ::Sleep(50)) first = WindowText(pane) == "0 / 12";
  EXPECT_TRUE(first) << WindowText(pane);
}

TEST_F(WebMediaPlayer, TheHtmlElementIsWhiteAndCode63NavigatesToTheServer) {
  TLoopbackHttp server;
  ASSERT_FALSE(server.Port.empty()) << "python3's HTTP server started";
  const std::string project = WriteProjectFile(TempFolder() + "tsl_webmedia2.crt", ProjectText(server.Port));
  Player p(project);
  ASSERT_NE(p.Frame, nullptr);
  ASSERT_TRUE(p.WaitForPage(10000));
  bool white = false;
  for (int i = 0; i < 100 && !white; ++i, ::Sleep(50)) {
    const ClientShot s = ShootClient(p.Frame);
    white = s.At(230, 30) == RGB(255, 255, 255) && s.At(370, 150) == RGB(255, 255, 255);
  }
  EXPECT_TRUE(white) << "a white element at the object's rectangle";
  EXPECT_TRUE(FindDescendant(p.Frame, "TslWebpaneElement")) << "webpane's element";
  EXPECT_EQ(ShootClient(p.Frame).At(385, 90), kPage) << "and only there";
  ASSERT_TRUE(p.Click(270, 215));
  bool logged = false;
  for (int i = 0; i < 200 && !logged; ++i, ::Sleep(50)) logged = server.Requests().find("GET /seite.html") != std::string::npos;
  EXPECT_TRUE(logged) << "the server's log: " << server.Requests();
}

TEST_F(WebMediaPlayer, WithoutWebpaneTheHostStaysEmptyAndThePlayerRunsOn) {
  // The player and the libraries it imports, in a folder without webpane;
  // removed after the player ended.
  struct TCopy {
    std::string Folder = TempFolder() + "tsl_nowebpane\\";
    std::vector<std::string> Files{"tslplay32.exe.so", "mvpane.dll.so", "mppane.dll.so", "dspane.dll.so",
                                   "swfpane.dll.so"};
    bool Made = true;
    TCopy() {
      ::CreateDirectoryA(Folder.c_str(), nullptr);
      for (const std::string& f : Files)
        Made = ::CopyFileA((ProgramFolder() + f).c_str(), (Folder + f).c_str(), FALSE) && Made;
    }
    ~TCopy() {
      for (const std::string& f : Files) ::DeleteFileA((Folder + f).c_str());
      ::RemoveDirectoryA(Folder.c_str());
    }
  } copy;
  ASSERT_TRUE(copy.Made);
  const std::string project = WriteProjectFile(TempFolder() + "tsl_webmedia3.crt", ProjectText("1"));
  Player p(project, copy.Folder);
  ASSERT_NE(p.Frame, nullptr);
  ASSERT_TRUE(p.WaitForPage(10000));
  ::Sleep(500);
  EXPECT_EQ(FindDescendant(p.Frame, "TslWebpaneElement"), nullptr) << "no element";
  HWND host = FindDescendant(p.Frame, "TslIEHost");
  ASSERT_TRUE(host) << "the browser object's host";
  EXPECT_EQ(::GetWindow(host, GW_CHILD), nullptr) << "the host stays empty";
  ASSERT_TRUE(p.Click(270, 215));
  ::Sleep(300);
  EXPECT_TRUE(p.Run->Running()) << "the player runs on";
  EXPECT_TRUE(FindDescendant(p.Frame, SWFPANE_CLASS)) << "and shows its other objects";
}

}  // namespace
