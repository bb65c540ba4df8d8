#include "actions/documentcodes.h"

#include "platform/owl/defs.h"
#include <shellapi.h>

#include "actions/execservices.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/resstring.h"
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
