// The installer through the real player: a page with buttons for codes 42
// to 45, the option dialogs answered as a user would, the progress window
// beside the closing box, and what lands in the prefix; then the
// prerequisite check at start-up.
#include "playerscreen.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "actions/core/sysconditions.h"
#include "tools/core/desc/setupdesc.h"

namespace {

const std::string kRoot = "C:\\tslinstp\\";

struct TFound {
  DWORD Pid;
  std::string Caption;
  std::string PlayerText;
  HWND Window = nullptr;
};

BOOL CALLBACK MatchDialog(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<TFound*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[32] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid != f->Pid || lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(w)) return TRUE;
  if (!f->Caption.empty() && WindowText(w) != f->Caption) return TRUE;
  if (!f->PlayerText.empty() && MessageBoxText(w) != f->PlayerText) return TRUE;
  f->Window = w;
  return FALSE;
}

// A visible dialog of the player with that caption or box text. The wait
// pumps: the player's DDE client broadcasts to every top-level window,
// this program's included, and waits for each to answer.
HWND FindDialog(const TPlayerRun& p, const std::string& caption, const std::string& text) {
  TFound f{p.Info.dwProcessId, caption, text};
  ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&f));
  return f.Window;
}
HWND WaitForDialog(const TPlayerRun& p, const std::string& caption, const std::string& text, DWORD ms = 30000) {
  HWND found = nullptr;
  wintest::PumpUntil([&] { return (found = FindDialog(p, caption, text)) != nullptr; }, ms);
  return found;
}

BOOL CALLBACK ListDialog(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<TFound*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[32] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid == f->Pid && ::IsWindowVisible(w))
    f->PlayerText += std::string(cls) + " \"" + WindowText(w) + "\" \"" + MessageBoxText(w) + "\"; ";
  return TRUE;
}

// What the player shows, for failure messages.
std::string Shown(const TPlayerRun& p) {
  TFound f{p.Info.dwProcessId, "", ""};
  ::EnumWindows(ListDialog, reinterpret_cast<LPARAM>(&f));
  return f.PlayerText;
}

BOOL CALLBACK MatchPage(HWND w, LPARAM l) {
  char cls[128] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls).find("TObjectWindow") == std::string::npos) return TRUE;
  *reinterpret_cast<HWND*>(l) = w;
  return FALSE;
}

HWND PageOf(HWND frame) {
  HWND found = nullptr;
  ::EnumChildWindows(frame, MatchPage, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool ClickPage(HWND page, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(page, &p);
  return ClickAt(p);
}

BOOL CALLBACK CloseExplorer(HWND w, LPARAM found) {
  char cls[64] = {}, title[64] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  ::GetWindowTextA(w, title, sizeof title);
  // Wine names the group's window after the group, whatever its class.
  if (!lstrcmpA(cls, "CabinetWClass") || !lstrcmpA(cls, "ExploreWClass") || !lstrcmpA(title, "TslSpielerGruppe")) {
    ::PostMessageA(w, WM_CLOSE, 0, 0);
    if (found) ++*reinterpret_cast<int*>(found);
  }
  return TRUE;
}

void CloseExplorerWindows() {
  ::Sleep(1500);
  ::EnumWindows(CloseExplorer, 0);
}

// The explorer windows the program manager opens come late and outlive the
// player; the later tests of a run read pixels where they would stand. At
// the end they are closed until none has come for two seconds.
class CloseExplorersAtTheEnd : public ::testing::Environment {
public:
  void TearDown() override {
    const DWORD start = ::GetTickCount();
    DWORD lastSeen = start;
    while (::GetTickCount() - lastSeen < 2000 && ::GetTickCount() - start < 20000) {
      int found = 0;
      ::EnumWindows(CloseExplorer, reinterpret_cast<LPARAM>(&found));
      if (found) lastSeen = ::GetTickCount();
      wintest::PumpFor(200);
    }
  }
};
::testing::Environment* const kCloseExplorers = ::testing::AddGlobalTestEnvironment(new CloseExplorersAtTheEnd);

std::string PlayerText(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

std::string PlayerRegValue(HKEY root, const std::string& key) {
  char value[512] = {};
  LONG size = sizeof value;
  if (::RegQueryValueA(root, key.c_str(), value, &size) != ERROR_SUCCESS) return "<missing>";
  return value;
}

std::string LinkTarget(const std::string& lnk) {
  IShellLinkA* link = nullptr;
  std::string target = "<no link>";
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t w[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, w, MAX_PATH);
    char path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(w, STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
    file->Release();
  }
  link->Release();
  return target;
}

void PlayerRemoveTree(const std::string& dir) {
  std::vector<char> from(dir.begin(), dir.end());
  from.push_back(0);
  from.push_back(0);
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.data();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationA(&op);
}

std::string WriteInstallFiles(const std::string& folder, const std::string& text) {
  TInstallFixture f;
  std::string error;
  EXPECT_TRUE(ParseInstallFixture(text, ".", f, error)) << error;
  tsl::MemoryStream desc, setup;
  EXPECT_TRUE(WriteInstallFixture(f, desc, setup));
  ::CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_TRUE(wintest::WriteFileBytes(folder + "demo.ins", desc.Data()));
  EXPECT_TRUE(wintest::WriteFileBytes(folder + "SETUP.DAT", setup.Data()));
  return folder + "demo.ins";
}

// The page's buttons, 60 pixels high, one below the other.
constexpr int kButtonX = 100, kButtonTop = 20, kButtonStep = 70;
int ButtonY(int i) { return kButtonTop + i * kButtonStep + 30; }

std::string Project(const std::string& description) {
  std::string d = "title \"Installationstest\"\nsize 400 320\nflags caption sysmenu\npage 1 \"Installation\"\n";
  const struct {
    int code;
    const char* caption;
  } buttons[] = {{42, "Laden"}, {43, "Gruppe"}, {44, "Ziel"}, {45, "Installieren"}};
  for (int i = 0; i < 4; ++i) {
    const int top = kButtonTop + i * kButtonStep;
    std::string esc;
    for (char c : description) esc += c == '\\' ? std::string("\\\\") : std::string(1, c);
    d += "  object button \"" + std::string(buttons[i].caption) + "\" 20 " + std::to_string(top) + " 180 " +
         std::to_string(top + 60) + "\n    action code " + std::to_string(buttons[i].code) +
         (i == 0 ? " text1 \"" + esc + "\"" : std::string()) + " text2 \"Demo\"\n    button text caption \"" +
         buttons[i].caption + "\"\n";
  }
  return d;
}

TEST(InstallThroughThePlayer, FourButtonsInstallIntoThePrefixTwice) {
  PlayerRemoveTree(kRoot.substr(0, kRoot.size() - 1));
  ::CreateDirectoryA(kRoot.c_str(), nullptr);
  const std::string desc = WriteInstallFiles(kRoot + "quelle\\",
      "target \"C:\\\\tslinstp\\\\vorgabe\"\n"
      "group \"Vorgabe\"\n"
      "association \"tslp\" \"ANZEIGE.EXE\" \"TSL-Spielerdatei\"\n"
      "item \"ANZEIGE.EXE\" \"Anzeige\"\n"
      "folder \"\"\n"
      "file \"anzeige.exe\" size 600000 date 2025-02-03 14:15:16\n"
      "file \"Uninstall.exe\" size 10 date 2025-02-03 14:15:18\n"
      "folder \"Daten\"\n"
      "file \"werte.txt\" text \"1;2;3\" date 2025-02-03 00:01:02\n");
  const std::string project = WriteProjectFile(TempFolder() + "tslinstall.crt", Project(desc));
  TPlayerRun player("\"" + project + "\"");
  const HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = nullptr;
  ASSERT_TRUE(wintest::PumpUntil([&] { return (page = PageOf(frame)) != nullptr; }));
  ::Sleep(300);

  ASSERT_TRUE(ClickPage(page, kButtonX, ButtonY(0)));
  ASSERT_TRUE(ClickPage(page, kButtonX, ButtonY(1)));
  HWND group = player.WaitForMessageBox();
  ASSERT_NE(group, nullptr);
  char shown[300] = {};
  ::GetDlgItemTextA(group, 100, shown, sizeof shown);
  EXPECT_STREQ(shown, "Vorgabe") << "42 loaded the description before 43 ran";
  ::SetDlgItemTextA(group, 100, "TslSpielerGruppe");
  PressButton(group, IDOK);
  ASSERT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(group); }));

  ASSERT_TRUE(ClickPage(page, kButtonX, ButtonY(2)));
  HWND target = player.WaitForMessageBox();
  ASSERT_NE(target, nullptr);
  ::SetDlgItemTextA(target, 100, "");
  ASSERT_TRUE(ClickWindow(::GetDlgItem(target, 100)));
  TypeText("C:\\tslinstp\\ZielSpieler\\\\");
  EXPECT_TRUE(wintest::PumpUntil([&] {
    char typed[300] = {};
    ::GetDlgItemTextA(target, 100, typed, sizeof typed);
    return std::string(typed) == "C:\\tslinstp\\ZielSpieler\\\\";
  }, 5000)) << "typed into the edit";
  PressButton(target, IDOK);
  ASSERT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(target); }));

  const std::string done = "Die Installation wurde abgeschlossen.";
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run ? "second run" : "first run");
    ASSERT_TRUE(ClickPage(page, kButtonX, ButtonY(3)));
    HWND box = WaitForDialog(player, "", done, 60000);
    ASSERT_NE(box, nullptr) << Shown(player);
    // The progress window stays until the closing box is answered.
    EXPECT_NE(WaitForDialog(player, "Fortschritt der Installation", "", 1000), nullptr);
    PressButton(box, IDOK);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(box); }));
    // Wine's program manager shows each group it makes in an explorer
    // window of its own, which would take the next click.
    CloseExplorerWindows();
    ::SetForegroundWindow(frame);
    ::Sleep(300);
  }

  const std::string dir = kRoot + "ZielSpieler\\";
  EXPECT_EQ(wintest::ReadFileBytes(dir + "anzeige.exe").size(), 600000u);
  EXPECT_EQ(PlayerText(wintest::ReadFileBytes(dir + "Daten\\werte.txt")), "1;2;3");
  // A name longer than 8.3 makes the short form differ: the association
  // gets it.
  char shortPath[MAX_PATH] = {};
  ::GetShortPathNameA((dir + "anzeige.exe").c_str(), shortPath, MAX_PATH);
  EXPECT_NE(std::string(shortPath).find('~'), std::string::npos) << shortPath;
  EXPECT_EQ(PlayerRegValue(HKEY_CLASSES_ROOT, ".tslp"), "tslp_auto_file");
  EXPECT_EQ(PlayerRegValue(HKEY_CLASSES_ROOT, "tslp_auto_file\\shell\\open\\command"), std::string(shortPath) + " %1");
  ::CoInitialize(nullptr);
  char programs[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
  const std::string groupDir = std::string(programs) + "\\TslSpielerGruppe\\";
  EXPECT_STRCASEEQ(LinkTarget(groupDir + "Anzeige.lnk").c_str(), (dir + "anzeige.exe").c_str());
  EXPECT_STRCASEEQ(LinkTarget(groupDir + "TslSpielerGruppe Deinstallation.lnk").c_str(),
                   (dir + "Uninstall.exe").c_str());
  EXPECT_EQ(PlayerText(wintest::ReadFileBytes(dir + "Uninstall.ini")),
            "[DELMODE]\r\nMODE=1\r\n\r\n"
            "[TARGET]\r\nPATH=C:\\tslinstp\\ZielSpieler\\\r\n\r\n"
            "[FILES]\r\nNUMFILES=3\r\n"
            "FILE0=C:\\TSLINSTP\\ZIELSPIELER\\ANZEIGE.EXE\r\nFILEDATE0=February 3, 2025 2:15:16pm\r\n"
            "FILE1=C:\\TSLINSTP\\ZIELSPIELER\\UNINSTALL.EXE\r\nFILEDATE1=February 3, 2025 2:15:18pm\r\n"
            "FILE2=C:\\TSLINSTP\\ZIELSPIELER\\DATEN\\WERTE.TXT\r\nFILEDATE2=February 3, 2025 0:01:02am\r\n\r\n"
            "[DIRS]\r\nNUMDIRS=2\r\nDIR0=C:\\tslinstp\\ZielSpieler\\\r\nDIR1=C:\\tslinstp\\ZielSpieler\\Daten\\\r\n\r\n"
            "[GROUPNAME]\r\nNAME=TslSpielerGruppe\r\n\r\n"
            "[EXT]\r\nNUMEXT=1\r\nEXT0=tslp\r\n");

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tslp");
  PlayerRemoveTree(groupDir.substr(0, groupDir.size() - 1));
  PlayerRemoveTree(kRoot.substr(0, kRoot.size() - 1));
  ::DeleteFileA(project.c_str());
  ::CoUninitialize();
}

// Failures through the player: a damaged member names its file and leaves
// the one that was there; a missing SETUP.DAT says so; the run after a
// fixed SETUP.DAT succeeds.
TEST(InstallThroughThePlayer, FailuresSayWhatAndTheNextRunSucceeds) {
  PlayerRemoveTree(kRoot.substr(0, kRoot.size() - 1));
  ::CreateDirectoryA(kRoot.c_str(), nullptr);
  ::CreateDirectoryA((kRoot + "ziel").c_str(), nullptr);
  ASSERT_TRUE(wintest::WriteFileBytes(kRoot + "ziel\\b.txt", {'a', 'l', 't'}));
  const std::string fixture = "target \"C:\\\\tslinstp\\\\ziel\"\ngroup \"x\" off\nfolder \"\"\nfile \"a.txt\" text \"neu\"\n";
  const std::string desc = WriteInstallFiles(kRoot + "quelle\\", fixture + "file \"b.txt\" size 5000 damaged\n");
  const std::string project = WriteProjectFile(TempFolder() + "tslinstfail.crt", Project(desc));
  TPlayerRun player("\"" + project + "\"");
  const HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  HWND page = nullptr;
  ASSERT_TRUE(wintest::PumpUntil([&] { return (page = PageOf(frame)) != nullptr; }));
  ::Sleep(300);
  ASSERT_TRUE(ClickPage(page, kButtonX, ButtonY(0)));
  const struct {
    const char* what;
    const char* setup;  // null: no SETUP.DAT
    std::string box;
    const char* b;
  } steps[] = {
      {"damaged member", "file \"b.txt\" size 5000 damaged\n", "Fehler beim Schreiben der Datei:\nC:\\tslinstp\\ziel\\b.txt", "alt"},
      {"missing SETUP.DAT", nullptr, "Kann Datei SETUP.DAT nicht finden!", "alt"},
      {"fixed", "file \"b.txt\" text \"bbb\"\n", "Die Installation wurde abgeschlossen.", "bbb"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    // The run closes SETUP.DAT just after its progress window.
    const std::string setup = kRoot + "quelle\\SETUP.DAT";
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return ::DeleteFileA(setup.c_str()) != 0 || ::GetLastError() == ERROR_FILE_NOT_FOUND; }, 5000))
        << "error " << ::GetLastError();
    if (step.setup) WriteInstallFiles(kRoot + "quelle\\", fixture + step.setup);
    ASSERT_TRUE(ClickPage(page, kButtonX, ButtonY(3)));
    HWND box = WaitForDialog(player, "", step.box);
    ASSERT_NE(box, nullptr) << Shown(player);
    PressButton(box, IDOK);
    // The run ends (progress window closed, SETUP.DAT released) after
    // its box.
    ASSERT_TRUE(wintest::PumpUntil([&] {
      return !::IsWindow(box) && !FindDialog(player, "Fortschritt der Installation", "");
    }));
    EXPECT_EQ(PlayerText(wintest::ReadFileBytes(kRoot + "ziel\\b.txt")), step.b);
  }
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  PlayerRemoveTree(kRoot.substr(0, kRoot.size() - 1));
  ::DeleteFileA(project.c_str());
}

// "system.cnd" beside the player: a condition whose extension is missing
// asks, starts its installer (a command that leaves a file) and holds the
// start until Enter; then page 1 shows. A present extension or a cut file
// start nothing.
TEST(InstallThroughThePlayer, PrerequisiteCheckAtStartUp) {
  const std::string cnd = ProgramFolder() + "system.cnd";
  // The file beside the player must not outlive the test, failed or not.
  struct TRemove {
    std::string Path;
    ~TRemove() { ::DeleteFileA(Path.c_str()); }
  } remove{cnd};
  const std::string ran = wintest::TempPath("tslcnd_ran.txt");
  ::DeleteFileA(ran.c_str());
  TSystemConditionChecker c;
  c.Name = "Test";
  c.Extensions = "tslstart";
  c.Message = "Eine Komponente fehlt. Jetzt installieren?";
  char cmd[MAX_PATH] = {};
  ::GetSystemDirectoryA(cmd, MAX_PATH);
  c.Installer = std::string(cmd) + "\\cmd.exe /c echo x> \"" + ran + "\"";
  c.CriteriaFlags = kCondExtensions | kCondAsk;
  auto write = [&](size_t cut) {
    tsl::MemoryStream s;
    WriteConditions(s, {c});
    std::vector<uint8_t> b = s.Data();
    b.resize(b.size() - cut);
    ASSERT_TRUE(wintest::WriteFileBytes(cnd, b));
  };
  const std::string project = WriteProjectFile(TempFolder() + "tslcnd.crt",
                                               "title \"Pruefung\"\nsize 200 150\nflags caption sysmenu\npage 1\n");
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tslstart");
  write(0);
  {
    TPlayerRun player("\"" + project + "\"");
    // Before any window the program title is still the player's own.
    HWND ask = WaitForDialog(player, "", c.Message.str());
    ASSERT_NE(ask, nullptr) << Shown(player);
    PressButton(ask, IDYES);
    HWND wait = WaitForDialog(player, WindowText(ask),
                              "Bitte dr\xFC" "cken Sie nach beendeter Installation die Eingabetaste...");
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(player.FindWindowOf("TSLPLAY32Frame"), nullptr) << "the check runs before any window";
    EXPECT_TRUE(wintest::PumpUntil([&] { return ::GetFileAttributesA(ran.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << "the installer ran";
    ::SetForegroundWindow(wait);
    PressButton(wait, IDOK);
    const HWND frame = player.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.WaitForExit(), 0u);
  }
  const struct {
    const char* what;
    bool registered;
    size_t cut;
  } quiet[] = {{"extension present", true, 0}, {"file cut short", false, 3}};
  for (const auto& q : quiet) {
    SCOPED_TRACE(q.what);
    HKEY key;
    if (q.registered) {
      ASSERT_EQ(::RegCreateKeyA(HKEY_CLASSES_ROOT, ".tslstart", &key), ERROR_SUCCESS);
      ::RegCloseKey(key);
    }
    write(q.cut);
    TPlayerRun player("\"" + project + "\"");
    const HWND frame = player.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WaitForDialog(player, "", "", 300), nullptr) << "no box";
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.WaitForExit(), 0u);
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tslstart");
  }
  ::DeleteFileA(cnd.c_str());
  ::DeleteFileA(ran.c_str());
  ::DeleteFileA(project.c_str());
}

}  // namespace
