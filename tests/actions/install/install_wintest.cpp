// The installer under Wine: a description and SETUP.DAT written at test
// time, the run into the prefix (files with their member dates, the
// associations, the Start menu through Wine's program manager, the
// uninstall record), its failures and retries, the option dialogs, the
// program-manager client against a recording DDE server, and the
// prerequisite check.
#include "playerrun.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "actions/conditiondlg.h"
#include "actions/core/installrun.h"
#include "actions/install.h"
#include "actions/ownerdrawbutton.h"
#include "actions/progman.h"
#include "actions/progressdlg.h"
#include "actions/sysconditions.h"
#include "engine/core/format/bookoptions.h"
#include "foundation/resstring.h"
#include "platform/owl/uiscript.h"
#include "tools/core/desc/setupdesc.h"

namespace {

std::string Text(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

// Writes the description and SETUP.DAT of `text` into `folder`.
std::string WriteFixture(const std::string& folder, const std::string& text) {
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

std::string RegValue(HKEY root, const std::string& key) {
  char value[512] = {};
  LONG size = sizeof value;
  if (::RegQueryValueA(root, key.c_str(), value, &size) != ERROR_SUCCESS) return "<missing>";
  return value;
}

std::string ShortPath(const std::string& p) {
  char s[MAX_PATH] = {};
  ::GetShortPathNameA(p.c_str(), s, MAX_PATH);
  return s;
}

std::string LocalWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  FILETIME local;
  SYSTEMTIME st;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return "<missing>";
  ::FileTimeToLocalFileTime(&d.ftLastWriteTime, &local);
  ::FileTimeToSystemTime(&local, &st);
  char t[64];
  wsprintfA(t, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  return t;
}

void RemoveTree(const std::string& dir) {
  std::vector<char> from(dir.begin(), dir.end());
  from.push_back(0);
  from.push_back(0);
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.data();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationA(&op);
}

std::vector<std::string> Texts(const TScriptedUiService& ui) {
  std::vector<std::string> t;
  for (const TUiRequest& r : ui.Requests()) t.push_back(r.Text);
  return t;
}

class Install : public ::testing::Test {
protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    RemoveTree(root_);
    ::CreateDirectoryA(root_.c_str(), nullptr);
  }
  void TearDown() override {
    RemoveTree(root_);
    InstallDescriptionList().Clear();
    SetProgramManagerService(nullptr);
    ::CoUninitialize();
  }
  const std::string root_ = "C:\\tslinst\\";
  const std::string source_ = root_ + "quelle\\";
};

// Starts the recording DDE server and points the client at it; the log
// file appears once the service is registered.
class TRecordingServer {
public:
  explicit TRecordingServer(const std::string& log)
      : Log(Fresh(log)), Process("\"" + ProgramFolder() + "ddelog.exe.so\" TSLTESTPROGMAN \"" + log + "\" 60000") {
    Ready = wintest::PumpUntil([&] { return ::GetFileAttributesA(Log.c_str()) != INVALID_FILE_ATTRIBUTES; });
    SetProgramManagerService("TSLTESTPROGMAN");
  }
  ~TRecordingServer() {
    SetProgramManagerService(nullptr);
    ::DeleteFileA(Log.c_str());
  }
  std::string Commands() const { return Text(wintest::ReadFileBytes(Log)); }
  static std::string Fresh(const std::string& path) {
    ::DeleteFileA(path.c_str());
    return path;
  }
  std::string Log;
  TChildProcess Process;
  bool Ready = false;
};

TEST_F(Install, RunUnpacksRegistersMakesTheGroupAndRecordsIt) {
  TRecordingServer server(wintest::TempPath("ddelog_run.txt"));
  ASSERT_TRUE(server.Ready);
  const std::string desc = WriteFixture(source_,
      "target \"  C:\\\\tslinst\\\\Ziel Ordner\\\\\\\\  \"\n"
      "group \"TslTestGruppe\"\n"
      "flags 0x19\n"
      "association \"tslx\" \"viewer.exe\" \"TSL-Testdatei\"\n"
      "association \"tsly\" \"FEHLT.EXE\" \"Fehlt\"\n"
      "item \"VIEWER.EXE\" \"Betrachter\"\n"
      "folder \"\"\n"
      "file \"viewer.exe\" size 70000 date 2024-05-06 07:08:10\n"
      "file \"Uninstall.exe\" size 10 date 2024-05-06 07:08:12\n"
      "folder \" \\\\Daten\\\\ \"\n"
      "file \"liesmich.txt\" text \"Hallo\" date 2023-12-24 00:05:06\n");
  LoadInstallDescription(desc.c_str(), "Demo");
  ASSERT_NE(InstallDescriptionList().Get("DEMO"), nullptr);
  const std::string target = root_ + "Ziel Ordner\\";
  const std::string viewer = target + "viewer.exe", readme = target + "Daten\\liesmich.txt";

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run == 0 ? "first run" : "second run");
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    RunInstallation("demo");
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{"Fehler bei Verkn\xFCpfung der Dateiendung:\ntsly mit:\nFEHLT.EXE",
                                                   "Die Installation wurde abgeschlossen."}));
    ASSERT_EQ(ui.Requests().size(), 2u);
    EXPECT_EQ(ui.Requests()[1].Type, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(ui.Requests()[1].Owner, nullptr);
    EXPECT_EQ(ReportProgressDialog(), nullptr);
    EXPECT_EQ(LocalWriteTime(viewer), "2024-05-06 07:08:10");
    EXPECT_EQ(LocalWriteTime(readme), "2023-12-24 00:05:06");
    EXPECT_EQ(Text(wintest::ReadFileBytes(readme)), "Hallo");
    EXPECT_EQ(wintest::ReadFileBytes(viewer).size(), 70000u);
  }
  EXPECT_EQ(RegValue(HKEY_CLASSES_ROOT, ".tslx"), "tslx_auto_file");
  EXPECT_EQ(RegValue(HKEY_CLASSES_ROOT, "tslx_auto_file"), "TSL-Testdatei");
  // The path holds a blank: the association gets its short form.
  const std::string shortViewer = ShortPath("C:\\TSLINST\\ZIEL ORDNER\\VIEWER.EXE");
  EXPECT_NE(shortViewer.find('~'), std::string::npos) << shortViewer;
  EXPECT_EQ(RegValue(HKEY_CLASSES_ROOT, "tslx_auto_file\\shell\\open\\command"), shortViewer + " %1");
  EXPECT_EQ(RegValue(HKEY_CLASSES_ROOT, ".tsly"), "<missing>");

  // The items' paths hold a blank: they go in double quotes, and the
  // uninstaller's item follows the program's.
  const std::string item = "[AddItem(\"C:\\TSLINST\\ZIEL ORDNER\\VIEWER.EXE\",Betrachter)]"
                           "[AddItem(\"C:\\tslinst\\Ziel Ordner\\Uninstall.exe\",TslTestGruppe Deinstallation)]";
  const std::string once = "[CreateGroup(TslTestGruppe)]" + item + "\r\n[ShowGroup(TslTestGruppe,1)]\r\n";
  EXPECT_EQ(server.Commands(), once + once);

  EXPECT_EQ(Text(wintest::ReadFileBytes(target + "Uninstall.ini")),
            "[DELMODE]\r\nMODE=1\r\n\r\n"
            "[TARGET]\r\nPATH=C:\\tslinst\\Ziel Ordner\\\r\n\r\n"
            "[FILES]\r\nNUMFILES=3\r\n"
            "FILE0=C:\\TSLINST\\ZIEL ORDNER\\VIEWER.EXE\r\nFILEDATE0=May 6, 2024 7:08:10am\r\n"
            "FILE1=C:\\TSLINST\\ZIEL ORDNER\\UNINSTALL.EXE\r\nFILEDATE1=May 6, 2024 7:08:12am\r\n"
            "FILE2=C:\\TSLINST\\ZIEL ORDNER\\DATEN\\LIESMICH.TXT\r\nFILEDATE2=December 24, 2023 0:05:06am\r\n\r\n"
            "[DIRS]\r\nNUMDIRS=2\r\nDIR0=C:\\tslinst\\Ziel Ordner\\\r\nDIR1=C:\\tslinst\\Ziel Ordner\\Daten\\\r\n\r\n"
            "[GROUPNAME]\r\nNAME=TslTestGruppe\r\n\r\n"
            "[EXT]\r\nNUMEXT=2\r\nEXT0=tslx\r\nEXT1=tsly\r\n");
  // The uninstaller reads it as an ini file.
  char v[64] = {};
  ::GetPrivateProfileStringA("FILES", "FILEDATE2", "", v, sizeof v, (target + "Uninstall.ini").c_str());
  EXPECT_STREQ(v, "December 24, 2023 0:05:06am");

  UnregisterFileAssociation("tslx");
}

TEST_F(Install, FailuresLoseNothingSayWhatAndAllowARetry) {
  const std::string fixture =
      "target \"C:\\\\tslinst\\\\ziel\"\n"
      "group \"x\" off\n"
      "folder \"\"\n"
      "file \"a.txt\" text \"neu\"\n";
  const std::string desc = WriteFixture(source_, fixture + "file \"b.txt\" text \"bbb\" damaged\n");
  ::CreateDirectoryA((root_ + "ziel").c_str(), nullptr);
  ASSERT_TRUE(wintest::WriteFileBytes(root_ + "ziel\\b.txt", {'a', 'l', 't'}));
  LoadInstallDescription(desc.c_str(), "Demo");
  {
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    RunInstallation("Demo");
    EXPECT_EQ(Texts(ui), std::vector<std::string>{"Fehler beim Schreiben der Datei:\nC:\\tslinst\\ziel\\b.txt"});
    EXPECT_EQ(Text(wintest::ReadFileBytes(root_ + "ziel\\b.txt")), "alt");
    EXPECT_EQ(ReportProgressDialog(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((root_ + "ziel\\*.tmp").c_str(), &fd);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a temporary file was left: " << fd.cFileName;
    if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
  }
  {
    ::DeleteFileA((source_ + "SETUP.DAT").c_str());
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    RunInstallation("Demo");
    EXPECT_EQ(Texts(ui), std::vector<std::string>{"Kann Datei SETUP.DAT nicht finden!"});
  }
  {
    WriteFixture(source_, fixture + "folder \"..\\\\raus\"\nfile \"c.txt\" text \"c\"\n");
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    RunInstallation("Demo");
    EXPECT_EQ(Texts(ui), std::vector<std::string>{"Fehler beim Schreiben der Datei:\nC:\\tslinst\\ziel\\..\\raus\\"});
    EXPECT_EQ(::GetFileAttributesA((root_ + "raus").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  {
    WriteFixture(source_, fixture + "file \"b.txt\" text \"bbb\"\n");
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    RunInstallation("Demo");
    EXPECT_EQ(Texts(ui), std::vector<std::string>{"Die Installation wurde abgeschlossen."});
    EXPECT_EQ(Text(wintest::ReadFileBytes(root_ + "ziel\\b.txt")), "bbb");
    const std::string ini = Text(wintest::ReadFileBytes(root_ + "ziel\\Uninstall.ini"));
    EXPECT_NE(ini.find("NUMFILES=2\r\n"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("GROUPNAME"), std::string::npos) << ini;
  }
  // A name never loaded does nothing.
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  RunInstallation("Unbekannt");
  RunProgramGroupDialog("Unbekannt");
  RunTargetDirectoryDialog("Unbekannt");
  EXPECT_TRUE(ui.Requests().empty());
}

// Answers the next dialog that has control 100: sets its text, the check
// box 101 as asked, and presses the button.
struct TDialogAnswer {
  std::string Text;
  int Check = -1;
  int Button = IDOK;
  std::string Seen;
};
TDialogAnswer Answer;

// The thread's visible dialog that has control `id`.
struct TDialogQuery {
  int Id;
  HWND Found;
};
BOOL CALLBACK MatchThreadDialog(HWND w, LPARAM l) {
  auto* q = reinterpret_cast<TDialogQuery*>(l);
  if (!::IsWindowVisible(w) || !::GetDlgItem(w, q->Id)) return TRUE;
  q->Found = w;
  return FALSE;
}
HWND ThreadDialogWith(int id) {
  TDialogQuery q{id, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), MatchThreadDialog, reinterpret_cast<LPARAM>(&q));
  return q.Found;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dlg = ThreadDialogWith(kOptionEditId);
  if (!dlg) return;
  ::KillTimer(nullptr, id);
  char seen[300] = {};
  ::GetDlgItemTextA(dlg, kOptionEditId, seen, sizeof seen);
  Answer.Seen = seen;
  ::SetDlgItemTextA(dlg, kOptionEditId, Answer.Text.c_str());
  if (Answer.Check >= 0) ::CheckDlgButton(dlg, kOptionButtonId, Answer.Check);
  ::PostMessageA(dlg, WM_COMMAND, Answer.Button, 0);
}

TEST_F(Install, OptionDialogsChangeTheLoadedDescriptionOnlyWithOk) {
  const std::string desc = WriteFixture(source_, "target \"C:\\\\alt\"\ngroup \"Alte Gruppe\"\n");
  LoadInstallDescription(desc.c_str(), "Demo");
  TInstallOptionen& o = InstallDescriptionList().Get("Demo")->Options;
  const struct {
    const char* what;
    bool group;
    TDialogAnswer answer;
    const char* seen;
    const char* stored;
    uint16_t create;
  } cases[] = {
      {"group renamed and switched off", true, {"Neue Gruppe", BST_UNCHECKED}, "Alte Gruppe", "Neue Gruppe", 0},
      {"group dialog cancelled", true, {"Verworfen", BST_CHECKED, IDCANCEL}, "Neue Gruppe", "Neue Gruppe", 0},
      {"target keeps one backslash", false, {"C:\\neu\\\\\\"}, "C:\\alt", "C:\\neu\\", 0},
      {"target dialog cancelled", false, {"D:\\nein", -1, IDCANCEL}, "C:\\neu\\", "C:\\neu\\", 0},
      {"empty target", false, {""}, "C:\\neu\\", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Answer = c.answer;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerDialog);
    if (c.group)
      RunProgramGroupDialog("demo");
    else
      RunTargetDirectoryDialog("demo");
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(Answer.Seen, c.seen);
    EXPECT_EQ((c.group ? o.GroupName : o.TargetFolder).str(), c.stored);
    EXPECT_EQ(o.CreateGroup, c.create);
  }
}

// --- The program manager client --------------------------------------

TEST(ProgramManager, RecordingServerGetsTheCommandsAfterTheWait) {
  const std::string log = wintest::TempPath("ddelog.txt");
  ::DeleteFileA(log.c_str());
  TChildProcess server("\"" + ProgramFolder() + "ddelog.exe.so\" TSLTESTPROGMAN \"" + log + "\" 30000");
  ASSERT_TRUE(wintest::PumpUntil([&] { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  SetProgramManagerService("TSLTESTPROGMAN");
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  {
    const DWORD start = ::GetTickCount();
    TProgrammManager pm("Titel");
    EXPECT_GE(::GetTickCount() - start, 2000u);
    EXPECT_EQ(pm.Usable, 1u);
    EXPECT_EQ(CurrentProgramManager(), &pm);
    pm.GroupName = "Demo";
    pm.Items.push_back({"D:\\DEMO\\DEMO.EXE", "Demo", ""});
    pm.Items.push_back({"D:\\DEMO\\Uninstall.exe", "Demo Deinstallation", ""});
    pm.CreateGroupAndItems();
  }
  SetProgramManagerService(nullptr);
  EXPECT_EQ(CurrentProgramManager(), nullptr);
  EXPECT_TRUE(ui.Requests().empty()) << ui.Requests()[0].Text;
  EXPECT_EQ(Text(wintest::ReadFileBytes(log)),
            "[CreateGroup(Demo)][AddItem(D:\\DEMO\\DEMO.EXE,Demo)][AddItem(D:\\DEMO\\Uninstall.exe,Demo "
            "Deinstallation)]\r\n[ShowGroup(Demo,1)]\r\n");
  ::DeleteFileA(log.c_str());
}

TEST(ProgramManager, WithoutAServerEveryStepSaysSo) {
  SetProgramManagerService("TSLNOSUCHSERVICE");
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  {
    const DWORD start = ::GetTickCount();
    TProgrammManager pm("Titel");
    EXPECT_LT(::GetTickCount() - start, 2000u) << "no wait without a conversation";
    EXPECT_EQ(pm.Usable, 0u);
    pm.CreateGroupAndItems();
  }
  SetProgramManagerService(nullptr);
  ASSERT_EQ(ui.Requests().size(), 3u);
  EXPECT_EQ(ui.Requests()[0].Text,
            "Konnte Konversation nicht starten. Stellen Sie sicher, dassder Programmanager verf\xFCgbar ist.");
  EXPECT_EQ(ui.Requests()[0].Type, UINT(MB_ICONHAND));
  // Wine's DDEML keeps the failed connection's code for the first report
  // and clears it on reading, so the second transaction finds none.
  EXPECT_EQ(ui.Requests()[1].Text, "Fehler: DMLERR_NO_CONV_ESTABLISHED");
  EXPECT_EQ(ui.Requests()[2].Text, "Unbekannter DDE-Fehler");
  for (int i = 1; i < 3; ++i) {
    EXPECT_EQ(ui.Requests()[i].Caption, "Titel");
    EXPECT_EQ(ui.Requests()[i].Type, UINT(MB_ICONINFORMATION));
  }
  TProgrammManager::ReportDdeError(0);
  ASSERT_EQ(ui.Requests().size(), 4u);
  EXPECT_EQ(ui.Requests()[3].Caption, "DDEML");
}

// --- The prerequisite check ------------------------------------------

class Conditions : public ::testing::Test {
protected:
  void TearDown() override {
    ::DeleteFileA(SystemConditionsPath().c_str());
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tslcnd");
  }
  static void Write(const std::vector<TSystemConditionChecker>& list, size_t cut = 0) {
    tsl::MemoryStream s;
    ::WriteConditions(s, list);
    std::vector<uint8_t> b = s.Data();
    b.resize(b.size() - cut);
    ASSERT_TRUE(wintest::WriteFileBytes(SystemConditionsPath(), b));
  }
};

TEST_F(Conditions, MissingExtensionAsksStartsAndWaits) {
  TSystemConditionChecker c;
  c.Name = "Test";
  c.Extensions = "tslcnd";
  c.Message = "Fehlt. Installieren?";
  c.Installer = "C:\\tslinst\\fehlt.exe";
  c.CriteriaFlags = kCondExtensions | kCondAsk;
  Write({c});
  TBookStructOptions info;
  {
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    ui.AnswerMessage(IDYES);
    ui.AnswerMessage(IDOK);
    CheckSystemConditions(info);
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{"Fehlt. Installieren?",
                                                   "Bitte dr\xFC" "cken Sie nach beendeter Installation die "
                                                   "Eingabetaste..."}));
    if (ui.Requests().size() == 2) {
      EXPECT_EQ(ui.Requests()[0].Type, UINT(MB_YESNO | MB_ICONQUESTION));
      EXPECT_EQ(ui.Requests()[1].Type, UINT(MB_ICONINFORMATION));
    }
  }
  // Present: nothing; the key's value need not fit the check's buffer.
  HKEY key;
  ASSERT_EQ(::RegCreateKeyA(HKEY_CLASSES_ROOT, ".tslcnd", &key), ERROR_SUCCESS);
  const std::string longValue(400, 'v');
  ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(longValue.c_str()),
                   static_cast<DWORD>(longValue.size() + 1));
  ::RegCloseKey(key);
  {
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    CheckSystemConditions(info);
    EXPECT_TRUE(ui.Requests().empty());
  }
  // A record cut short starts nothing; the whole one before it still asks,
  // and No ends it.
  ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tslcnd");
  for (size_t records : {1, 2}) {
    SCOPED_TRACE(records);
    Write(std::vector<TSystemConditionChecker>(records, c), 5);
    TScriptedUiService ui;
    TUiServiceScope scope(ui);
    ui.AnswerMessage(IDNO);
    CheckSystemConditions(info);
    EXPECT_EQ(SystemConditions().size(), records - 1);
    EXPECT_EQ(ui.Requests().size(), records - 1);
  }
}

// The editor: what it shows of a record, what it stores back, renaming,
// and the browse button's size.
std::string EditorLog;
void CALLBACK DriveEditor(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dlg = ThreadDialogWith(kCondList);
  if (!dlg) return;
  ::KillTimer(nullptr, id);
  auto text = [dlg](int item) {
    char t[300] = {};
    ::GetDlgItemTextA(dlg, item, t, sizeof t);
    return std::string(t);
  };
  auto boxes = [dlg] {
    std::string b;
    for (int i = 0; i < 6; ++i) b += ::IsDlgButtonChecked(dlg, kCondSystemFirst + i) ? '1' : '0';
    return b;
  };
  auto select = [dlg](int item, int index) {
    ::SendDlgItemMessageA(dlg, item, CB_SETCURSEL, index, 0);
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(item, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, item)));
  };
  RECT r;
  ::GetClientRect(::GetDlgItem(dlg, kCondBrowse), &r);
  EditorLog = std::to_string(r.right) + "x" + std::to_string(r.bottom) + "|";
  EditorLog += std::to_string(::SendDlgItemMessageA(dlg, kCondList, CB_GETCOUNT, 0, 0)) + "|" + text(kCondNameEdit) +
               "|" + text(kCondValue) + "|" + boxes() + "|" + (::IsDlgButtonChecked(dlg, kCondAskRadio) ? "ask" : "inform") +
               "|" + text(kCondHint).substr(0, 20) + "|";
  for (int i = 0; i < 6; ++i) ::CheckDlgButton(dlg, kCondSystemFirst + i, BST_CHECKED);
  select(kCondList, 1);
  EditorLog += text(kCondValue) + "|" + boxes() + "|" + std::to_string(::SendDlgItemMessageA(dlg, kCondCriterion, CB_GETCURSEL, 0, 0)) + "|";
  ::SetDlgItemTextA(dlg, kCondNameEdit, "Umbenannt");
  ::SendMessageA(dlg, WM_COMMAND, kCondRename, 0);
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

TEST_F(Conditions, EditorShowsStoresAndSaves) {
  TSystemConditionChecker a, b;
  a.Name = "Film";
  a.Extensions = "mov;qt";
  a.CriteriaFlags = kCondExtensions | kCondAsk;
  a.SystemFlags = kSysWin98 | kSysWinXP;
  b.Name = "Flash";
  b.RegistryKey = "HKEY_X\\y";
  b.CriteriaFlags = kCondRegistryKey;
  Write({a, b});
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveEditor);
  EXPECT_EQ(TSystemConditionCheckerDialog(nullptr).Execute(), IDOK);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(EditorLog, "24x24|2|Film|mov;qt|010001|ask|Geben Sie Semikolon-|HKEY_X\\y|111111|2|");
  std::vector<TSystemConditionChecker> saved;
  tsl::MemoryStream s(wintest::ReadFileBytes(SystemConditionsPath()));
  ::ReadConditions(s, saved);
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].SystemFlags, 0u) << "all six boxes mean every system";
  EXPECT_EQ(saved[0].CriteriaFlags, kCondExtensions | kCondAsk);
  EXPECT_EQ(saved[1].Name.str(), "Umbenannt");
  EXPECT_EQ(saved[1].RegistryKey.str(), "HKEY_X\\y");
}

TEST(OwnerDrawButton, DottedLinesSetEverySecondPixelFromTheCorner) {
  const HDC screen = ::GetDC(nullptr);
  const HDC dc = ::CreateCompatibleDC(screen);
  const HBITMAP bmp = ::CreateCompatibleBitmap(screen, 12, 12);
  ::ReleaseDC(nullptr, screen);
  const HGDIOBJ old = ::SelectObject(dc, bmp);
  const RECT all = {0, 0, 12, 12};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  DrawDottedRect(dc, 1, 2, 6, 9, RGB(0, 0, 0));  // 6 pixels across, 8 down: both even
  std::string rows;
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 8; ++x) rows += ::GetPixel(dc, x, y) == RGB(0, 0, 0) ? 'x' : '.';
    rows += '\n';
  }
  EXPECT_EQ(rows,
            "........\n"
            "........\n"
            ".x.x.xx.\n"
            "........\n"
            ".x....x.\n"
            "........\n"
            ".x....x.\n"
            "........\n"
            ".x....x.\n"
            ".x.x.x..\n"
            "........\n");
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
}

}  // namespace
