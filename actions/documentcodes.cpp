#include "actions/documentcodes.h"

#include "platform/owl/defs.h"
#include <shellapi.h>

#include "actions/execservices.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/core/pathstr.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_actions.h"

void ProgramDocumentFamily(TActionRun& run) {
  TShellDocumentHost host(run.Book);
  RunDocumentCode(run, host);
}

intptr_t TShellDocumentHost::ShellOpen(const char* verb, const std::string& file, int show) {
  // The shell hands the file to its program and returns: nothing here waits.
  return reinterpret_cast<intptr_t>(::ShellExecuteA(nullptr, verb, file.c_str(), nullptr, nullptr, show));
}

std::string TShellDocumentHost::ResolveFileName(const TActionStruct& a) {
  string path = a.Text1;  // FileName, with PathKind and DataFolder
  if (Book) Book->ResolvePath(path, &a.Short1, &a.Text3);
  return path.c_str();
}

std::string TShellDocumentHost::BrowserProgram() {
  string program;
  return GetAssociatedProgram(".htm", program) ? std::string(program.c_str()) : std::string();
}

void TShellDocumentHost::RunBrowser(const std::string& program, const std::string& document, bool wait) {
  TWindow* top = wait ? GetPresentationWindow(Book) : nullptr;
  if (top && top->HWindow) ::ShowWindow(top->HWindow, SW_SHOWMINIMIZED);
  RunProgramAndWait(program.c_str(), document.c_str(), wait, false);
  if (top && top->HWindow) ::ShowWindow(top->HWindow, SW_SHOWNORMAL);
}

void TShellDocumentHost::NoProgramBox() {
  if (Book && Book->PageWindow)
    Book->PageWindow->MessageBox(LoadResString(IDS_NO_DOCUMENT_PROGRAM), ProgramTitle(), MB_ICONINFORMATION);
}

std::string TShellDocumentHost::ResolveFileName2(const TActionStruct& a) {
  string path = a.Text2;  // FileName2, with PathKind2 and DataFolder2
  if (Book) Book->ResolvePath(path, &a.Short2, &a.Text4);
  return path.c_str();
}

std::string TShellDocumentHost::ResolvePlain(const std::string& name) {
  string path = name.c_str();
  const uint16_t noKind = 0;
  const string noFolder;
  if (Book) Book->ResolvePath(path, &noKind, &noFolder);
  return path.c_str();
}

bool TShellDocumentHost::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TShellDocumentHost::AssociatedProgram(const std::string& extension) {
  string program;
  return GetAssociatedProgram(extension.c_str(), program) ? std::string(program.c_str()) : std::string();
}

std::string TShellDocumentHost::ExtensionsEntry(const std::string& key) {
  char value[256] = {};
  ::GetProfileStringA("Extensions", key.c_str(), "", value, sizeof value);
  return value;
}

std::string TShellDocumentHost::InstallationEntry(const std::string& key) {
  string ini = SystemInfo().ProgramDirectory;
  AddTrailingBackslash(ini);
  const std::string path = std::string(ini.c_str()) + "TSLPLAY32.INI";
  char value[256] = {};
  ::GetPrivateProfileStringA("INSTALLATION", key.c_str(), "", value, sizeof value, path.c_str());
  return value;
}

std::string TShellDocumentHost::Text(int id) { return LoadResString(static_cast<UINT>(id)).c_str(); }

bool TShellDocumentHost::AskYesNo(const std::string& question) {
  if (!Book || !Book->PageWindow) return false;
  return Book->PageWindow->MessageBox(question.c_str(), ProgramTitle(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TShellDocumentHost::SetCurrentFolder(const std::string& folder) { ::SetCurrentDirectoryA(folder.c_str()); }

unsigned TShellDocumentHost::Execute(const std::string& commandLine) {
  return ::WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

void TShellDocumentHost::StopBox(const std::string& commandLine) {
  UiMessageBox(::GetActiveWindow(), commandLine.c_str(), ProgramTitle(), MB_ICONHAND);
}
