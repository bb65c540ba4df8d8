// The unpacking front end under Wine: archives written by Debian's zip and
// python3's zipfile, extracted through the Win32 host and compared with
// Debian's unzip of the same archive (names, bytes, times); unsafe names,
// Esc, the progress dialog, and the copy-folder dialog answered by a timer.
#include "wintest.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "actions/copydlg.h"
#include "actions/lzss.h"
#include "actions/progressdlg.h"
#include "actions/unzip.h"

namespace {

std::string Shell(const std::string& cmd, int* status = nullptr) {
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

std::string WinPath(const std::string& unixPath) {
  std::string w = "Z:" + unixPath;
  for (char& c : w)
    if (c == '/') c = '\\';
  return w;
}

// Names, sizes, contents and modification times of a tree, one line each.
std::string Listing(const std::string& dir) {
  return Shell("cd '" + dir + "' && find . -type f -printf '%P %s %T@\\n' | sort && "
               "find . -type f | sort | xargs -r md5sum");
}

class Unpack : public ::testing::Test {
protected:
  void SetUp() override {
    char t[] = "/tmp/unpackwtXXXXXX";
    ASSERT_NE(mkdtemp(t), nullptr);
    dir_ = t;
  }
  void TearDown() override {
    ZipKeyStateProc = ::GetKeyState;
    Shell("rm -rf '" + dir_ + "'");
  }
  std::string dir_;
};

SHORT WINAPI EscDown(int) { return SHORT(0x8000); }

TEST_F(Unpack, DebianZipArchiveMatchesUnzip) {
  // Even seconds only: unzip takes the exact time of zip's extra field, the
  // player the entry's DOS time, which has two-second steps.
  int s = -1;
  Shell("cd '" + dir_ + "' && mkdir -p src/docs/setup/bin src/leer && printf 'hallo' > src/a.txt && "
        "head -c 300000 /dev/urandom > src/docs/gross.bin && printf 'start' > src/docs/setup/bin/Setup.exe && "
        "touch -d '2019-07-08 09:10:12' src/a.txt && touch -d '2001-02-03 04:05:06' src/docs/gross.bin && "
        "touch -d '2024-12-24 18:00:00' src/docs/setup/bin/Setup.exe && "
        "cd src && zip -qr ../a.zip . && cd .. && mkdir ref && unzip -q -d ref a.zip",
        &s);
  ASSERT_EQ(s, 0) << "zip/unzip missing";
  const std::string out = dir_ + "/out";
  EXPECT_EQ(ExtractZipArchive(WinPath(dir_ + "/a.zip").c_str(), WinPath(out).c_str(), 1, 1), kZipOk);
  EXPECT_EQ(Listing(out), Listing(dir_ + "/ref"));
  EXPECT_EQ(ZipProgressDialog(), nullptr) << "the end call closes the progress dialog";
  // The start file two levels down, found whatever its case.
  std::string start = WinPath(out) + "\\SETUP.EXE";
  ASSERT_TRUE(FindFileInFolderTree(start));
  EXPECT_EQ(start, WinPath(out) + "\\docs\\setup\\bin\\Setup.exe");
}

TEST_F(Unpack, Utf8NamesBecomeAnsi) {
  int s = -1;
  Shell("cd '" + dir_ + "' && python3 -c \"import zipfile; z = zipfile.ZipFile('u.zip', 'w'); "
        "z.writestr('Gr\\u00fc\\u00dfe.txt', 'x'); z.close()\"",
        &s);
  ASSERT_EQ(s, 0);
  EXPECT_EQ(ExtractZipArchive(WinPath(dir_ + "/u.zip").c_str(), WinPath(dir_).c_str(), 1, 1), kZipOk);
  // Wine's ANSI code page here is 1252; the host sees the name in UTF-8.
  EXPECT_EQ(::GetFileAttributesA((WinPath(dir_) + "\\Gr\xFC\xDF" "e.txt").c_str()) != INVALID_FILE_ATTRIBUTES, true);
}

TEST_F(Unpack, UnsafeNamesWriteNothing) {
  // Python expressions of the names: the backslashes pass the shell as chr(92).
  for (const char* name : {"'../x'", "'/x'", "'C:x'", "'a' + chr(92) + '..' + chr(92) + '..' + chr(92) + 'x'"}) {
    SCOPED_TRACE(name);
    int s = -1;
    Shell("cd '" + dir_ + "' && rm -rf out s.zip && python3 -c \"import zipfile; z = zipfile.ZipFile('s.zip', 'w'); "
          "z.writestr('ok.txt', 'gut'); z.writestr(" + std::string(name) + ", 'boese'); z.close()\"",
          &s);
    ASSERT_EQ(s, 0);
    std::string refused;
    EXPECT_EQ(ExtractZipArchive(WinPath(dir_ + "/s.zip").c_str(), WinPath(dir_ + "/out").c_str(), 1, 1, &refused),
              kZipUnsafeEntry);
    EXPECT_FALSE(refused.empty());
    EXPECT_EQ(Shell("ls -A '" + dir_ + "'"), "s.zip\n");
  }
}

TEST_F(Unpack, EscapeHeldDownStopsAfterABlock) {
  int s = -1;
  Shell("cd '" + dir_ + "' && head -c 100000 /dev/zero > big && zip -q e.zip big", &s);
  ASSERT_EQ(s, 0);
  ZipKeyStateProc = EscDown;
  EXPECT_EQ(ExtractZipArchive(WinPath(dir_ + "/e.zip").c_str(), WinPath(dir_ + "/out").c_str(), 1, 1), kZipEscape);
  EXPECT_EQ(ZipProgressDialog(), nullptr);
}

// Answers the copy-folder dialog: types the target and presses OK.
std::string TypedTarget;
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dlg = ::GetActiveWindow();
  if (!dlg || !::GetDlgItem(dlg, kCopyTargetId)) return;
  ::KillTimer(nullptr, id);
  ::SetDlgItemTextA(dlg, kCopyTargetId, TypedTarget.c_str());
  ::SendDlgItemMessageA(dlg, kCopyStartId, BM_SETCHECK, BST_UNCHECKED, 0);
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

TEST_F(Unpack, CopyFolderDialogReturnsTheTypedTargetAndTheCheckBox) {
  char target[kCopyTargetSize + 1] = "C:\\vorgabe";
  TypedTarget = "C:\\ziel\\ordner";
  StartAfterUnpacking = 1;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerDialog);
  TCopyFolderDialog dlg(nullptr, "Titel", "ZIP-Archiv entpacken nach:", "setup.exe", "", target, kCopyTargetSize);
  EXPECT_EQ(dlg.Execute(), IDOK);
  ::KillTimer(nullptr, timer);
  EXPECT_STREQ(target, "C:\\ziel\\ordner");
  EXPECT_EQ(StartAfterUnpacking, 0);
  StartAfterUnpacking = 1;
}

TEST_F(Unpack, LzssMemberCarriesTheFileDate) {
  int s = -1;
  Shell("cd '" + dir_ + "' && head -c 70000 /dev/urandom > in.bin && cat in.bin in.bin > src.bin && "
        "touch -d '2003-04-05 06:07:08' src.bin", &s);
  ASSERT_EQ(s, 0);
  const std::string w = WinPath(dir_);
  TLZSS pack;
  ASSERT_TRUE(pack.OpenInput((w + "\\src.bin").c_str()));
  ASSERT_TRUE(pack.OpenOutput((w + "\\SETUP.DAT").c_str()));
  EXPECT_EQ(pack.Encode(pack.Input(), pack.Output()), 1);
  pack.CloseOutput();
  TLZSS unpack;
  ASSERT_TRUE(unpack.OpenInput((w + "\\SETUP.DAT").c_str()));
  ASSERT_TRUE(unpack.OpenOutput((w + "\\out.bin").c_str()));
  EXPECT_TRUE(unpack.Decode(unpack.Input(), unpack.Output()));
  unpack.CloseOutput();
  EXPECT_EQ(Shell("cd '" + dir_ + "' && cmp src.bin out.bin && stat -c %Y out.bin"),
            Shell("cd '" + dir_ + "' && stat -c %Y src.bin"));
}

}  // namespace
