// The export code (56) through the real player: a page bound to a
// table-format database that keeps its rows in memory, the save dialog
// answered with a .dbf and then an .rtf name; python3-dbfread reads the
// table and its memo file, a rich-edit control reads the RTF back as text.
// A page whose descriptor reads rows from the store writes nothing.
#include "playerscreen.h"

#include <richedit.h>

#include <cstdio>
#include <string>
#include <vector>

#include "database/core/dbtable.h"

namespace {

std::string Shell(const std::string& cmd) {
  std::string out;
  std::FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

std::string UnixName(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Convert>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unix = convert ? convert(wide.c_str()) : nullptr;
  std::string out = unix ? unix : "";
  if (unix) ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct TFound {
  DWORD Pid;
  HWND Window = nullptr;
};
// The save dialog: a dialog with a file name field.
BOOL CALLBACK MatchSaveDialog(HWND w, LPARAM l) {
  auto* f = reinterpret_cast<TFound*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  char cls[32] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (pid != f->Pid || lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(w)) return TRUE;
  if (!::GetDlgItem(w, cmb13) && !::GetDlgItem(w, edt1)) return TRUE;
  f->Window = w;
  return FALSE;
}
HWND WaitForSaveDialog(const TPlayerRun& p) {
  TFound f{p.Info.dwProcessId};
  wintest::PumpUntil([&] {
    ::EnumWindows(MatchSaveDialog, reinterpret_cast<LPARAM>(&f));
    return f.Window != nullptr;
  }, 30000);
  return f.Window;
}

BOOL CALLBACK MatchPage(HWND w, LPARAM l) {
  char cls[128] = {};
  ::GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls).find("TObjectWindow") == std::string::npos) return TRUE;
  *reinterpret_cast<HWND*>(l) = w;
  return FALSE;
}

// The RTF as a rich-edit control shows it, as plain text.
DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  auto* rest = reinterpret_cast<std::string*>(cookie);
  const size_t n = std::min(rest->size(), static_cast<size_t>(size));
  std::memcpy(buffer, rest->data(), n);
  rest->erase(0, n);
  *done = static_cast<LONG>(n);
  return 0;
}
std::string RichEditText(std::string rtf) {
  ::LoadLibraryA("riched20.dll");
  HWND edit = ::CreateWindowExA(0, "RichEdit20A", "", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  if (!edit) return "<no rich edit>";
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
  es.pfnCallback = StreamIn;
  ::SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  char text[4096] = {};
  ::GetWindowTextA(edit, text, sizeof text);
  ::DestroyWindow(edit);
  return text;
}

std::string Text(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

const std::string kMemo(300, 'm');

class ExportPlayer : public ::testing::Test {
protected:
  void SetUp() override {
    Folder = TempFolder() + "tsl_export\\";
    ::CreateDirectoryA(Folder.c_str(), nullptr);
    // Goethe comes first in key order: the catalogue's current entry.
    TTableWriter w(10);
    TdbfMemoryKey goethe, schiller;
    const char* g[] = {"Autoren", "Deutsch", "Goethe", "1749", "", "Frankfurt {Main}", "", "", "", "", "",
                       kMemo.c_str(), "Faust\tTeil 1\nC:\\Werke"};
    for (size_t i = 0; i < sizeof g / sizeof *g; ++i) goethe.Columns[i] = string(g[i]);
    const char* s[] = {"Autoren", "Deutsch", "Schiller", "1759"};
    for (size_t i = 0; i < sizeof s / sizeof *s; ++i) schiller.Columns[i] = string(s[i]);
    w.Add("Autoren", "Deutsch", "Goethe", &goethe);
    w.Add("Autoren", "Deutsch", "Schiller", &schiller);
    ASSERT_TRUE(wintest::WriteFileBytes(Folder + "autoren.dbd", w.Store()));
    ASSERT_TRUE(wintest::WriteFileBytes(Folder + "autoren.dbx", w.Catalogue()));
  }
  void TearDown() override {
    if (Frame) ::PostMessageA(Frame, WM_CLOSE, 0, 0);
    if (Player) {
      EXPECT_EQ(Player->WaitForExit(), 0u);
    }
    Player.reset();
    Shell("rm -rf '" + UnixName(Folder) + "'");
  }

  // Plays a page bound with `flags`, with the export button.
  void Start(const std::string& database, int flags) {
    const std::string project = WriteProjectFile(
        Folder + "export.crt", "title \"Exportprobe\"\nsize 400 300\nflags caption sysmenu\npage 1 \"Export\"\n"
                               "  database \"" + database + "\" flags " + std::to_string(flags) +
                               "\n  object button \"Export\" 20 20 180 60\n    action code 56\n"
                               "    button text caption \"Exportieren\"\n");
    Player = std::make_unique<TPlayerRun>("\"" + project + "\"");
    Frame = Player->WaitForFrame();
    ASSERT_NE(Frame, nullptr);
    ASSERT_TRUE(wintest::PumpUntil([&] {
      Page = nullptr;
      ::EnumChildWindows(Frame, MatchPage, reinterpret_cast<LPARAM>(&Page));
      return Page != nullptr;
    }));
    ::Sleep(300);
  }
  // Clicks the button and saves under `name`.
  void Export(const std::string& name) {
    POINT at{100, 40};
    ::ClientToScreen(Page, &at);
    EXPECT_TRUE(ClickAt(at));
    HWND dlg = WaitForSaveDialog(*Player);
    ASSERT_NE(dlg, nullptr) << "no save dialog";
    HWND field = ::GetDlgItem(dlg, cmb13);
    if (!field) field = ::GetDlgItem(dlg, edt1);
    ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PressButton(dlg, IDOK);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(dlg) || !::IsWindowVisible(dlg); }));
  }

  std::string Folder;
  std::unique_ptr<TPlayerRun> Player;
  HWND Frame = nullptr, Page = nullptr;
};

TEST_F(ExportPlayer, CurrentEntryAsDbaseTableAndRtf) {
  ASSERT_NO_FATAL_FAILURE(Start("autoren.dbd", 0x3));
  const std::string dbf = Folder + "eintrag.dbf", rtf = Folder + "eintrag.rtf";
  Export(dbf);
  ASSERT_TRUE(wintest::PumpUntil([&] { return Exists(Folder + "eintrag.DBT"); })) << "a memo file beside the table";
  // The last name is offered again: Wine's dialog opens in its folder (and
  // leaves its name field empty), so a bare name lands beside the table.
  Export("eintrag.rtf");
  ASSERT_TRUE(wintest::PumpUntil([&] { return Text(wintest::ReadFileBytes(rtf)).find("\\row") != std::string::npos; }));

  const std::string read = Shell(
      "/usr/bin/python3 -c \"import dbfread, sys; t = dbfread.DBF(sys.argv[1], encoding='cp1252'); "
      "print([(f.name, f.type, f.length) for f in t.fields]); r = list(t); print(len(r)); "
      "print([(k, v) for k, v in r[0].items()])\" '" + UnixName(dbf) + "'");
  EXPECT_EQ(read, "[('Feld01', 'C', 4), ('Feld03', 'C', 16), ('Memo01', 'M', 10), ('Memo02', 'C', 21)]\n1\n"
                  "[('Feld01', '1749'), ('Feld03', 'Frankfurt {Main}'), ('Memo01', '" + kMemo +
                  "'), ('Memo02', 'Faust\\tTeil 1\\nC:\\\\Werke')]\n");

  const std::string shown = RichEditText(Text(wintest::ReadFileBytes(rtf)));
  for (const char* part : {"Feld01", "Feld03", "Memo01", "Memo02", "1749", "Frankfurt {Main}", "Faust\tTeil 1",
                           "C:\\Werke", "mmmmmmmmmm"})
    EXPECT_NE(shown.find(part), std::string::npos) << part << " in " << shown;
}

TEST_F(ExportPlayer, RowsFromTheStoreWriteNothing) {
  // Without the in-memory flag the rows would come from the store, which
  // the player never opens.
  ASSERT_NO_FATAL_FAILURE(Start("autoren.dbd", 0x1));
  Export(Folder + "leer.dbf");
  Export(Folder + "leer.rtf");
  // The next export's dialog came, so the ones before have ended.
  Export(Folder + "nochmal.dbf");
  EXPECT_FALSE(Exists(Folder + "leer.dbf"));
  EXPECT_FALSE(Exists(Folder + "leer.rtf"));
}

}  // namespace
