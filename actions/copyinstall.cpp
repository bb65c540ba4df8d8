#include "actions/copyinstall.h"

#include "platform/owl/defs.h"
#include <shellapi.h>

#include <string>

#include "actions/copydlg.h"
#include "actions/core/copyinstall.h"
#include "actions/core/execservices.h"
#include "actions/entryexport.h"
#include "actions/execservices.h"
#include "actions/install.h"
#include "actions/unzip.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/resstring.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_actions.h"

namespace {

std::string Resolved(TBookStruct* book, const TActionStruct& a) {
  string path = a.Text1;  // FileName, with PathKind and DataFolder
  if (book) book->ResolvePath(path, &a.Short1, &a.Text3);
  return path.c_str();
}

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

HWND PageHandle(TBookStruct* book) { return book && book->PageWindow ? book->PageWindow->GetHandle() : nullptr; }

void CopyFiles(TActionRun& run) {
  const TActionStruct& a = run.Action;
  string source = a.Text1, target = a.Text2;
  SplitCommandLine(source, target);
  std::string to = target.c_str();
  to.erase(0, to.find_first_not_of(' ') == std::string::npos ? to.size() : to.find_first_not_of(' '));
  if (run.Book) run.Book->ResolvePath(source, &a.Short1, &a.Text3);
  const std::string from = source.c_str();
  if (a.Flags & kCopyMirrorFolders) to = MirrorTargetFolder(from, to);
  CopyFolderWithPrompt(run.Book, from.c_str(), to.c_str(), (a.Flags & kCopyWithSubfolders) != 0,
                       (a.Flags & kCopyMakeWritable) != 0);
}

void UnpackZipArchive(TActionRun& run) {
  const TActionStruct& a = run.Action;
  const std::string archive = Resolved(run.Book, a);
  char target[MAX_PATH + 1] = {};
  ::lstrcpynA(target, a.Text2.c_str(), kCopyTargetSize);
  char prompt[1024];
  ::wsprintfA(prompt, LoadResString(IDS_UNPACK_PROMPT), archive.c_str());
  const std::string startFile = a.Text4.c_str();  // DataFolder2: the file to start
  TCopyFolderDialog dlg(run.Book ? run.Book->PageWindow : nullptr, ProgramTitle(), prompt, startFile.c_str(),
                        a.Text5.c_str(), target, kCopyTargetSize);
  if (dlg.Execute() != IDOK) return;
  std::string refused;
  const int32_t result = ExtractZipArchive(archive.c_str(), target, (a.Flags & kUnpackKeepFolders) ? 1 : 0,
                                           (a.Flags & kUnpackKeepExisting) ? 0 : 1, &refused);
  std::string text = LoadResString(UnpackResultTextId(result)).c_str();
  if (result == kZipUnsafeEntry) text += "\n" + refused;
  UiMessageBox(PageHandle(run.Book), text.c_str(), ProgramTitle(), MB_ICONINFORMATION);
  if (result != kZipOk) return;
  const std::string start = Trimmed(startFile);
  if (start.empty() || !StartAfterUnpacking) return;
  ::SetCurrentDirectoryA(target);
  std::string path = target;
  if (path.empty() || path.back() != '\\') path += '\\';
  path += start;
  if (FindFileInFolderTree(path))
    ::ShellExecuteA(PageHandle(run.Book), nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void CopyInstallFamily(TActionRun& run) {
  const TActionStruct& a = run.Action;
  switch (static_cast<TActionCode>(static_cast<int16_t>(a.Code))) {
    case TActionCode::CopyFolder:
      CopyFileWithPrompt(run.Book, Resolved(run.Book, a).c_str(), a.Text2.c_str());
      break;
    case TActionCode::CopyFiles:
      CopyFiles(run);
      break;
    case TActionCode::UnpackZipArchive:
      UnpackZipArchive(run);
      break;
    case TActionCode::FilesToClipboard:
      PutFileOnClipboard(Resolved(run.Book, a).c_str());
      break;
    case TActionCode::LoadInstallDescription:
      LoadInstallDescription(Resolved(run.Book, a).c_str(), a.Text2.c_str());
      break;
    case TActionCode::ProgramGroupDialog:
      RunProgramGroupDialog(a.Text2.c_str());
      break;
    case TActionCode::TargetDirectoryDialog:
      RunTargetDirectoryDialog(a.Text2.c_str());
      break;
    case TActionCode::RunInstallation:
      RunInstallation(a.Text2.c_str());
      break;
    case TActionCode::ExportDatabase:
      ExportCurrentEntry(run.Book);
      break;
    default:
      break;
  }
}
