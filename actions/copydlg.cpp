#include "actions/copydlg.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "actions/ownerdrawbutton.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/dirlist.h"
#include "foundation/resstring.h"
#include "foundation/winutil.h"
#include "resources/ids_actions.h"

uint8_t StartAfterUnpacking = 1;

DEFINE_RESPONSE_TABLE1(TCopyFolderDialog, TDialog)
  EV_COMMAND(kCopyBrowseId, CmBrowse),
END_RESPONSE_TABLE;

namespace {
// The OK and Cancel buttons move up less by this much while the start
// check box is shown.
constexpr int kStartBoxAllowance = 14;
constexpr size_t kMaxPath = 259;

std::string Format(UINT id, const char* arg) {
  char text[1024];
  ::wsprintfA(text, LoadResString(id), arg);
  return text;
}

TWindow* PageWindow(TBookStruct* book) { return book ? book->PageWindow : nullptr; }

void AddBackslash(std::string& s) {
  if (s.empty() || s[s.size() - 1] != '\\') s += "\\";
}

// The shell's lists end in two NULs.
std::vector<char> DoubleNul(const std::string& s) {
  std::vector<char> v(s.c_str(), s.c_str() + s.size());
  v.push_back('\0');
  v.push_back('\0');
  return v;
}

bool ShellCopy(TBookStruct* book, const std::string& from, const std::string& to, FILEOP_FLAGS flags) {
  std::vector<char> src = DoubleNul(from), dst = DoubleNul(to);
  SHFILEOPSTRUCTA op = {};
  TWindow* page = PageWindow(book);
  op.hwnd = page ? page->GetHandle() : nullptr;
  op.wFunc = FO_COPY;
  op.pFrom = src.data();
  op.pTo = dst.data();
  op.fFlags = flags;
  return ::SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

void ClearReadOnly(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
    ::SetFileAttributesA(path.c_str(), a & ~DWORD(FILE_ATTRIBUTE_READONLY));
}

// Runs the dialog; the target with OK, else false.
bool AskTarget(TBookStruct* book, const std::string& prompt, const char* preset, std::string& target) {
  char buffer[MAX_PATH + 1] = {};
  if (preset) ::lstrcpynA(buffer, preset, MAX_PATH);
  TCopyFolderDialog dlg(PageWindow(book), ProgramTitle(), prompt.c_str(), "", "", buffer, kCopyTargetSize);
  if (dlg.Execute() != IDOK) return false;
  target = buffer;
  return true;
}

void CollectPath(void* context, const char* path) { static_cast<std::vector<std::string>*>(context)->push_back(path); }

std::vector<std::string> FilesBelow(const std::string& folder, bool recursive) {
  std::vector<std::string> found;
  TDirList list;
  list.Patterns.Add("*.*");
  list.Recursive = recursive;
  list.Scan(folder.c_str(), false, &found, CollectPath);
  return found;
}
}  // namespace

TCopyFolderDialog::TCopyFolderDialog(TWindow* parent, const char* caption, const char* prompt, const char* startFile,
                                     const char* information, char* target, int targetSize)
    : TDialog(parent, "IDD_COPYFOLDER"),
      Caption(caption ? caption : ""),
      Prompt(prompt ? prompt : ""),
      StartFile(startFile ? startFile : ""),
      Information(information ? information : ""),
      Target(target),
      TargetSize(targetSize) {
  new TOwnerDrawPushbutton(this, kCopyBrowseId, kBrowseBitmapId);
}

void TCopyFolderDialog::SetupWindow() {
  TDialog::SetupWindow();
  CenterWindow(GetHandle(), nullptr);
  SetCaption(Caption.c_str());
  ::SetDlgItemTextA(GetHandle(), kCopyTargetId, Target ? Target : "");
  ::SetDlgItemTextA(GetHandle(), kCopyPromptId, Prompt.c_str());
  const HWND check = GetDlgItem(kCopyStartId);
  ::SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  ::ShowWindow(check, SW_HIDE);
  const bool withStart = !StartFile.empty();
  if (withStart) {
    ::SetWindowTextA(check, Format(IDS_UNPACK_START_FILE, StartFile.c_str()).c_str());
    ::ShowWindow(check, SW_SHOW);
  }
  const HWND info = GetDlgItem(kCopyInfoId), label = GetDlgItem(kCopyInfoLabelId);
  ::ShowWindow(info, SW_HIDE);
  if (!Information.empty()) {
    ::SetWindowTextA(info, Information.c_str());
    ::ShowWindow(info, SW_SHOW);
    ::ShowWindow(label, SW_SHOW);
    return;
  }
  ::ShowWindow(label, SW_HIDE);
  // Without information the dialog ends above the field.
  RECT infoRect, okRect, cancelRect, dlgRect;
  const HWND ok = GetDlgItem(IDOK), cancel = GetDlgItem(IDCANCEL);
  ::GetWindowRect(info, &infoRect);
  ::GetWindowRect(ok, &okRect);
  ::GetWindowRect(cancel, &cancelRect);
  ::GetWindowRect(GetHandle(), &dlgRect);
  const int shrink = okRect.bottom - infoRect.top;
  const int lift = withStart ? shrink - kStartBoxAllowance : shrink;
  ::SetWindowPos(GetHandle(), nullptr, 0, 0, dlgRect.right - dlgRect.left, dlgRect.bottom - dlgRect.top - shrink,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& [button, rect] : {std::make_pair(ok, okRect), std::make_pair(cancel, cancelRect)}) {
    POINT p = {rect.left, rect.top - lift};
    ::ScreenToClient(GetHandle(), &p);
    ::SetWindowPos(button, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCopyFolderDialog::CmOk() {
  if (Target && TargetSize > 0) ::GetDlgItemTextA(GetHandle(), kCopyTargetId, Target, TargetSize);
  StartAfterUnpacking = ::SendMessageA(GetDlgItem(kCopyStartId), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  TDialog::CmOk();
}

void TCopyFolderDialog::CmBrowse() {
  char path[MAX_PATH + 1] = {};
  ::GetDlgItemTextA(GetHandle(), kCopyTargetId, path, MAX_PATH);
  if (!SelectDirectory(this, path)) return;
  for (char* p = path; *p; ++p) *p = char(::tolower(static_cast<unsigned char>(*p)));
  ::SetDlgItemTextA(GetHandle(), kCopyTargetId, path);
}

bool CopyFileWithPrompt(TBookStruct* book, const char* source, const char* presetTarget) {
  if (!source || !*source) return false;
  std::string target;
  if (!AskTarget(book, Format(IDS_COPYFILE_PROMPT, source), presetTarget, target) || target.empty()) return false;
  AddBackslash(target);
  const std::string src = source;
  const size_t cut = src.find_last_of('\\');
  target += cut == std::string::npos ? src : src.substr(cut + 1);
  if (target.size() > kMaxPath || src.size() > kMaxPath) return false;
  if (!ShellCopy(book, src, target, FOF_ALLOWUNDO)) return false;
  ClearReadOnly(target);
  return true;
}

bool CopyFolderWithPrompt(TBookStruct* book, const char* source, const char* presetTarget, bool withSubfolders,
                          bool makeWritable) {
  if (!source || !*source) return false;
  std::string target;
  if (!AskTarget(book, Format(IDS_COPYFOLDER_PROMPT, source), presetTarget, target)) return false;
  if (TWindow* page = PageWindow(book))
    if (page->GetHandle()) ::UpdateWindow(page->GetHandle());
  const HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  bool ok = false;
  if (!target.empty()) {
    AddBackslash(target);
    std::string src = source;
    while (!src.empty() && src[src.size() - 1] == '\\') src.erase(src.size() - 1);
    src += "\\";
    const FILEOP_FLAGS flags = FOF_ALLOWUNDO | (withSubfolders ? 0 : FOF_FILESONLY);
    if (target.size() <= kMaxPath && src.size() + 3 <= kMaxPath && ShellCopy(book, src + "*.*", target, flags)) {
      ok = true;
      if (makeWritable)
        for (const std::string& f : FilesBelow(src, withSubfolders))
          if (f.size() > src.size() && f.compare(0, src.size(), src) == 0) ClearReadOnly(target + f.substr(src.size()));
    }
  }
  ::SetCursor(previous);
  return ok;
}

bool FindFileInFolderTree(std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  for (const std::string& f : FilesBelow(folder, true)) {
    const size_t c = f.find_last_of('\\');
    const std::string n = c == std::string::npos ? f : f.substr(c + 1);
    if (::lstrcmpiA(n.c_str(), name.c_str()) == 0) {
      path = f;
      return true;
    }
  }
  return false;
}
