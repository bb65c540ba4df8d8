// Code 15 through the real player: a button unpacks an archive written by
// Debian's zip into the folder typed into the copy-folder dialog, which
// matches Debian's unzip of the same archive; Cancel unpacks and shows
// nothing.
#include "playerscreen.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Run(const std::string& cmd, int* status = nullptr) {
  std::string out;
  std::FILE* p = popen((cmd + " 2>/dev/null").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int s = pclose(p);
  if (status) *status = s;
  return out;
}

std::string ZPath(const std::string& unixPath) {
  std::string w = "Z:" + unixPath;
  for (char& c : w)
    if (c == '/') c = '\\';
  return w;
}

std::string Tree(const std::string& dir) {
  return Run("cd '" + dir + "' && find . -type f -printf '%P %s %T@\\n' | sort && find . -type f | sort | xargs -r md5sum");
}

BOOL CALLBACK FindPage(HWND w, LPARAM l) {
  char cls[128] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls).find("TObjectWindow") == std::string::npos) return TRUE;
  *reinterpret_cast<HWND*>(l) = w;
  return FALSE;
}

TEST(UnpackThroughThePlayer, TypedTargetGetsWhatUnzipGets) {
  char t[] = "/tmp/unpackplayerXXXXXX";
  ASSERT_NE(mkdtemp(t), nullptr);
  const std::string dir = t;
  int s = -1;
  Run("cd '" + dir + "' && mkdir -p src/docs/setup && printf 'hallo' > src/a.txt && "
      "head -c 200000 /dev/urandom > src/docs/gross.bin && printf 'start' > src/docs/setup/Setup.txt && "
      "touch -d '2019-07-08 09:10:12' src/a.txt src/docs/gross.bin src/docs/setup/Setup.txt && "
      "cd src && zip -qr ../a.zip . && cd .. && mkdir ref && unzip -q -d ref a.zip",
      &s);
  ASSERT_EQ(s, 0) << "zip/unzip missing";
  std::string archive;
  for (char c : ZPath(dir + "/a.zip")) archive += c == '\\' ? std::string("\\\\") : std::string(1, c);
  const std::string project = WriteProjectFile(
      TempFolder() + "tslunpack.crt",
      "title \"Entpacktest\"\nsize 300 200\nflags caption sysmenu\npage 1\n"
      "  object button \"Entpacken\" 20 20 220 80\n"
      "    action code 15 text1 \"" + archive + "\" text2 \"C:\\\\vorgabe\" flags 4\n"
      "    button text caption \"Entpacken\"\n");
  TPlayerRun player("\"" + project + "\"");
  const HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = nullptr;
  ASSERT_TRUE(wintest::PumpUntil([&] {
    ::EnumChildWindows(frame, FindPage, reinterpret_cast<LPARAM>(&page));
    return page != nullptr;
  }));
  ::Sleep(300);
  const std::string out = dir + "/out";
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancelled" : "unpacked");
    POINT p{120, 50};
    ::ClientToScreen(page, &p);
    ASSERT_TRUE(ClickAt(p));
    HWND dlg = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] {
      dlg = player.FindWindowOf("#32770");
      return dlg && ::GetDlgItem(dlg, 102);
    }));
    RECT browse{};
    ::GetClientRect(::GetDlgItem(dlg, 101), &browse);
    EXPECT_EQ(browse.right, 24);
    EXPECT_EQ(browse.bottom, 24) << "the browse button is its bitmap's size + 4";
    if (cancel) {
      PressButton(dlg, IDCANCEL);
      ASSERT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(dlg); }));
      wintest::PumpFor(500);
      EXPECT_EQ(player.FindWindowOf("#32770"), nullptr) << "no message after Cancel";
      EXPECT_EQ(::GetFileAttributesA(ZPath(out).c_str()), INVALID_FILE_ATTRIBUTES);
      continue;
    }
    ::SetDlgItemTextA(dlg, 102, "");
    ASSERT_TRUE(ClickWindow(::GetDlgItem(dlg, 102)));
    TypeText(ZPath(out));
    EXPECT_TRUE(wintest::PumpUntil([&] {
      char typed[300] = {};
      ::GetDlgItemTextA(dlg, 102, typed, sizeof typed);
      return std::string(typed) == ZPath(out);
    }, 5000));
    PressButton(dlg, IDOK);
    HWND box = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] {
      box = player.FindWindowOf("#32770");
      return box && box != dlg && MessageBoxText(box) == "Der Entpackvorgang wurde ordnungsgem\xE4\xDF beendet!";
    }, 30000));
    PressButton(box, IDOK);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(box); }));
  }
  EXPECT_EQ(Tree(out), Tree(dir + "/ref"));
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  ::DeleteFileA(project.c_str());
  Run("rm -rf '" + dir + "'");
}

}  // namespace
