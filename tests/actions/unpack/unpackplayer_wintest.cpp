// The demo's page "Dateien" end to end: the real player unpacks the archives
// tools/demofiles.sh writes (the copy-folder dialog answered by typing the
// target, the result box read, the tree compared with Debian's unzip of the
// same archive, the start file opened by the recording program), refuses
// unsafe and unsupported archives without writing, and copies a read-only
// file and a folder through the shell.
#include "playerscreen.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string PlayerShell(const std::string& cmd, int* status = nullptr) {
  std::string out;
  std::FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int s = pclose(p);
  if (status) *status = s;
  return out;
}

std::string UnixName(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Convert>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
  std::wstring wide(windowsPath.size(), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.data(), static_cast<int>(windowsPath.size()), &wide[0],
                        static_cast<int>(wide.size()));
  char* unix = convert ? convert(wide.c_str()) : nullptr;
  std::string out = unix ? unix : "";
  if (unix) ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// Names, sizes, modification times and contents of a tree, one line each.
std::string PlayerListing(const std::string& unixDir) {
  return PlayerShell("cd " + Quoted(unixDir) + " && find . -type f -printf '%P %s %T@\\n' | sort && "
               "find . -type f | sort | xargs -r -d '\\n' md5sum");
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool ReadOnly(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}
std::string FileText(const std::string& path) {
  const std::vector<uint8_t> b = wintest::ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

// The demo's page "Dateien" as a project of its own.
std::string DateienPage() {
  const std::vector<uint8_t> bytes = wintest::ReadFileBytes(ProgramFolder() + "..\\..\\..\\examples\\demo\\demo.tsd");
  const std::string demo(bytes.begin(), bytes.end());
  const size_t start = demo.find("\npage 8 \"Dateien\"");
  if (start == std::string::npos) return {};
  const size_t end = demo.find("\npage ", start + 1);
  std::string page = demo.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
  page.replace(0, 6, "page 1");
  return "title \"Dateiprobe\"\nsize 640 480\nflags caption sysmenu\n" + page;
}

// The page's buttons (their centres, from the demo's page).
const POINT kUnpack{140, 160}, kUmlauts{140, 210}, kCopyFile{360, 160}, kCopyFolder{360, 210}, kCopyFlat{360, 260};

struct TFound {
  DWORD Pid;
  std::function<bool(HWND)> Wanted;
  HWND Window = nullptr;
};
BOOL CALLBACK MatchDialog(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<TFound*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[32] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid != f->Pid || lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(w) || !f->Wanted(w)) return TRUE;
  f->Window = w;
  return FALSE;
}
// A visible dialog of the player that `wanted` accepts, or null.
HWND WaitForDialog(const TPlayerRun& p, const std::function<bool(HWND)>& wanted, DWORD ms = 30000) {
  TFound f{p.Info.dwProcessId, wanted};
  wintest::PumpUntil([&] {
    ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&f));
    return f.Window != nullptr;
  }, ms);
  return f.Window;
}
// A message box: neither the copy-folder nor the progress dialog.
HWND WaitForBox(const TPlayerRun& p, DWORD ms = 30000) {
  return WaitForDialog(p, [](HWND w) {
    return !::GetDlgItem(w, 102) && WindowText(w) != "Fortschritt des Entpackens" && !MessageBoxText(w).empty();
  }, ms);
}
bool Gone(HWND w) { return wintest::PumpUntil([&] { return !::IsWindow(w) || !::IsWindowVisible(w); }); }

std::string DialogItemText(HWND dialog, int id) {
  char text[1024] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

BOOL CALLBACK MatchPage(HWND w, LPARAM l) {
  char cls[128] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls).find("TObjectWindow") == std::string::npos) return TRUE;
  *reinterpret_cast<HWND*>(l) = w;
  return FALSE;
}

class DateienPlayer : public ::testing::Test {
protected:
  void SetUp() override {
    Folder = TempFolder() + "tsl_dateien\\";
    ::CreateDirectoryA(Folder.c_str(), nullptr);
    UnixFolder = UnixName(Folder);
    ASSERT_FALSE(UnixFolder.empty());
    int s = -1;
    const std::string script = UnixName(ProgramFolder() + "..\\..\\..\\tools\\demofiles.sh");
    const std::string out = PlayerShell("sh " + Quoted(script) + " " + Quoted(UnixFolder), &s);
    ASSERT_EQ(s, 0) << out;
    const std::string description = DateienPage();
    ASSERT_FALSE(description.empty()) << "the demo has no page \"Dateien\"";
    Project = WriteProjectFile(Folder + "dateien.crt", description);
  }
  void TearDown() override {
    if (Frame) ::PostMessageA(Frame, WM_CLOSE, 0, 0);
    if (Player) {
      EXPECT_EQ(Player->WaitForExit(), 0u);
    }
    Player.reset();
    PlayerShell("chmod -R u+w " + Quoted(UnixFolder) + " && rm -rf " + Quoted(UnixFolder));
  }

  void Start() {
    Player = std::make_unique<TPlayerRun>("\"" + Project + "\"");
    Frame = Player->WaitForFrame();
    ASSERT_NE(Frame, nullptr);
    ASSERT_TRUE(wintest::PumpUntil([&] {
      Page = nullptr;
      ::EnumChildWindows(Frame, MatchPage, reinterpret_cast<LPARAM>(&Page));
      return Page != nullptr;
    }));
    ::Sleep(300);
  }
  void Click(POINT at) {
    ::ClientToScreen(Page, &at);
    ASSERT_TRUE(ClickAt(at));
  }
  // The copy-folder dialog the click brings up.
  HWND CopyDialog() {
    HWND dlg = WaitForDialog(*Player, [](HWND w) { return ::GetDlgItem(w, 102) != nullptr; });
    EXPECT_NE(dlg, nullptr) << "no copy-folder dialog";
    return dlg;
  }
  // Types the target into edit 102 as a user would and presses OK.
  void Answer(HWND dlg, const std::string& target) {
    ASSERT_NE(dlg, nullptr);
    ::SetDlgItemTextA(dlg, 102, "");
    ASSERT_TRUE(ClickWindow(::GetDlgItem(dlg, 102)));
    ASSERT_TRUE(TypeText(target));
    ASSERT_TRUE(wintest::PumpUntil([&] { return DialogItemText(dlg, 102) == target; }, 10000))
        << "typed: " << DialogItemText(dlg, 102);
    PressButton(dlg, IDOK);
    ASSERT_TRUE(Gone(dlg));
  }
  // The result box's text, answered with OK.
  std::string Result() {
    HWND box = WaitForBox(*Player);
    if (!box) return "<no box>";
    const std::string text = MessageBoxText(box);
    PressButton(box, IDOK);
    EXPECT_TRUE(Gone(box));
    return text;
  }

  std::string Folder, UnixFolder, Project;
  std::unique_ptr<TPlayerRun> Player;
  HWND Frame = nullptr, Page = nullptr;
};

const char kDone[] = "Der Entpackvorgang wurde ordnungsgem\xE4\xDF beendet!";
const char kFailed[] = "W\xE4hrend des Entpackvorgangs ist ein Fehler aufgetreten!";
const char kMethod[] = "Die zum Erstellen des Archivs genutzte ZIP-Kompressionsmethode wird nicht unterst\xFCtzt!";

// The prefix's own ".txt" association comes back after the test.
class TTxtHandler {
public:
  explicit TTxtHandler(const std::string& command) {
    LONG size = sizeof saved_;
    had_ = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".txt", saved_, &size) == ERROR_SUCCESS;
    ::RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "tsltest.txtfile", 15);
    ::RegSetValueA(HKEY_CLASSES_ROOT, "tsltest.txtfile\\shell\\open\\command", REG_SZ, command.c_str(),
                   static_cast<DWORD>(command.size()));
  }
  ~TTxtHandler() {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "tsltest.txtfile");
    if (had_) ::RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, saved_, static_cast<DWORD>(lstrlenA(saved_)));
    else ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt");
  }

private:
  char saved_[256] = {};
  bool had_ = false;
};

TEST_F(DateienPlayer, UnpacksLikeUnzipAndOpensTheStartFile) {
  const std::string log = Folder + "cmdlog.txt";
  ::SetEnvironmentVariableA("TSL_CMDLOG", log.c_str());
  const std::string cmdlog = ProgramFolder() + "cmdlog.exe.so";
  ASSERT_TRUE(Exists(cmdlog)) << cmdlog;
  TTxtHandler handler("\"" + cmdlog + "\" \"%1\"");
  int s = -1;
  PlayerShell("cd " + Quoted(UnixFolder) + " && mkdir ref ref-u && unzip -q -d ref dateien/demo.zip && "
        "unzip -q -d ref-u dateien/umlaute.zip", &s);
  ASSERT_EQ(s, 0);
  ASSERT_NO_FATAL_FAILURE(Start());

  // Names flagged UTF-8 become the ANSI names Wine shows the host in UTF-8.
  Click(kUmlauts);
  const std::string umlauts = Folder + "umlaute";
  ASSERT_NO_FATAL_FAILURE(Answer(CopyDialog(), umlauts));
  EXPECT_EQ(Result(), kDone);
  EXPECT_TRUE(Exists(umlauts + "\\\xDC" "bersicht\\\xC4pfel.txt"));
  EXPECT_EQ(PlayerListing(UnixName(umlauts)), PlayerListing(UnixFolder + "/ref-u"));

  // The program the start file opens comes last: nothing of it meets the
  // typing of another answer.
  Click(kUnpack);
  HWND dlg = CopyDialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(DialogItemText(dlg, 102), "C:\\TSL-Demo\\Dateien") << "the preset target";
  EXPECT_EQ(DialogItemText(dlg, 103), "ZIP-Archiv " + Folder + "dateien\\demo.zip entpacken nach:");
  EXPECT_EQ(DialogItemText(dlg, 104), "Nach dem Entpacken Datei liesmich.txt starten.");
  EXPECT_EQ(::IsDlgButtonChecked(dlg, 104), BST_CHECKED);
  EXPECT_NE(DialogItemText(dlg, 105).find("zwei Ebenen"), std::string::npos);
  const std::string target = Folder + "ziel";
  ASSERT_NO_FATAL_FAILURE(Answer(dlg, target));
  EXPECT_EQ(Result(), kDone);
  EXPECT_EQ(PlayerListing(UnixName(target)), PlayerListing(UnixFolder + "/ref"));
  // Found two levels down and handed to the program of its extension.
  EXPECT_TRUE(wintest::PumpUntil([&] { return FileText(log).find("\r\n") != std::string::npos; }));
  EXPECT_NE(FileText(log).find(target + "\\docs\\info\\liesmich.txt"), std::string::npos) << FileText(log);

  ::SetEnvironmentVariableA("TSL_CMDLOG", nullptr);
}

TEST_F(DateienPlayer, RefusedArchivesWriteNothingAndCancelShowsNothing) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // Each archive takes the demo archive's place; Python expressions of the
  // names, the backslashes as chr(92).
  const struct {
    const char* name;
    const char* compression;
    std::string text;
  } cases[] = {
      {"'../x'", "ZIP_DEFLATED", std::string(kFailed) + "\n../x"},
      {"'/x'", "ZIP_DEFLATED", std::string(kFailed) + "\n/x"},
      {"'C:x'", "ZIP_DEFLATED", std::string(kFailed) + "\nC:x"},
      {"'a' + chr(92) + '..' + chr(92) + '..' + chr(92) + 'x'", "ZIP_DEFLATED", std::string(kFailed) + "\na\\..\\..\\x"},
      {"'gepackt.txt'", "ZIP_BZIP2", kMethod},
  };
  const std::string archive = UnixFolder + "/dateien/demo.zip";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int s = -1;
    const std::string py = "import zipfile; z = zipfile.ZipFile('" + archive + "', 'w', zipfile." + c.compression +
                           "); z.writestr(" + c.name + ", 'boese'); z.close()";
    PlayerShell("rm -f " + Quoted(archive) + " && python3 -c \"" + py + "\"", &s);
    ASSERT_EQ(s, 0);
    Click(kUnpack);
    const std::string target = Folder + "boese";
    ASSERT_NO_FATAL_FAILURE(Answer(CopyDialog(), target));
    EXPECT_EQ(Result(), c.text);
    EXPECT_EQ(PlayerShell("find " + Quoted(UnixFolder) + " -name x -o -name gepackt.txt"), "") << "nothing written";
  }
  // Cancel: no box; the next thing the player shows is the dialog of the
  // next click.
  Click(kUnpack);
  HWND dlg = CopyDialog();
  ASSERT_NE(dlg, nullptr);
  PressButton(dlg, IDCANCEL);
  ASSERT_TRUE(Gone(dlg));
  Click(kCopyFile);
  HWND next = WaitForDialog(*Player, [](HWND) { return true; });
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(DialogItemText(next, 103).rfind("Datei ", 0), 0u) << MessageBoxText(next);
  PressButton(next, IDCANCEL);
  ASSERT_TRUE(Gone(next));
}

TEST_F(DateienPlayer, CopyCodesThroughTheShell) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(ReadOnly(Folder + "dateien\\liesmich.txt")) << "the demo's files are read-only";
  const std::string file = Folder + "kopie", tree = Folder + "ordner", flat = Folder + "flach";

  Click(kCopyFile);
  HWND dlg = CopyDialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(DialogItemText(dlg, 103), "Datei " + Folder + "dateien\\liesmich.txt kopieren nach:");
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg, 104))) << "no start file";
  ASSERT_NO_FATAL_FAILURE(Answer(dlg, file));
  ASSERT_TRUE(wintest::PumpUntil([&] { return Exists(file + "\\liesmich.txt") && !ReadOnly(file + "\\liesmich.txt"); }));
  EXPECT_EQ(FileText(file + "\\liesmich.txt"), FileText(Folder + "dateien\\liesmich.txt"));

  // With subfolders, made writable.
  Click(kCopyFolder);
  dlg = CopyDialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(DialogItemText(dlg, 103), "Verzeichnis " + Folder + "dateien\\ordner kopieren nach:");
  ASSERT_NO_FATAL_FAILURE(Answer(dlg, tree));
  ASSERT_TRUE(wintest::PumpUntil([&] {
    return Exists(tree + "\\unter\\zwei.txt") && !ReadOnly(tree + "\\unter\\zwei.txt") && !ReadOnly(tree + "\\eins.txt");
  })) << "copied and writable";
  EXPECT_EQ(FileText(tree + "\\unter\\zwei.txt"), "zwei\r\n");

  // The files alone, as they are.
  Click(kCopyFlat);
  ASSERT_NO_FATAL_FAILURE(Answer(CopyDialog(), flat));
  ASSERT_TRUE(wintest::PumpUntil([&] { return Exists(flat + "\\eins.txt"); }));
  EXPECT_TRUE(ReadOnly(flat + "\\eins.txt")) << "without the writable flag the copy keeps its bit";
  EXPECT_FALSE(Exists(flat + "\\unter"));
}

}  // namespace
