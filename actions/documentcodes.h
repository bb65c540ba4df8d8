// The document and mail codes as the player runs them: the family routine
// over the shell (actions/core/documentcodes.h holds the codes themselves).
#pragma once
#include "actions/core/documentcodes.h"

class TBookStruct;

// The family's routine in the dispatcher's table.
void ProgramDocumentFamily(TActionRun& run);

class TShellDocumentHost : public TDocumentHost {
public:
  explicit TShellDocumentHost(TBookStruct* book) : Book(book) {}
  intptr_t ShellOpen(const char* verb, const std::string& file, int show) override;
  std::string ResolveFileName(const TActionStruct& action) override;
  std::string BrowserProgram() override;
  void RunBrowser(const std::string& program, const std::string& document, bool wait) override;
  void NoProgramBox() override;
  std::string ResolveFileName2(const TActionStruct& action) override;
  std::string ResolvePlain(const std::string& name) override;
  bool FileExists(const std::string& path) override;
  std::string AssociatedProgram(const std::string& extension) override;
  std::string ExtensionsEntry(const std::string& key) override;
  std::string InstallationEntry(const std::string& key) override;
  std::string Text(int id) override;
  bool AskYesNo(const std::string& question) override;
  void SetCurrentFolder(const std::string& folder) override;
  unsigned Execute(const std::string& commandLine) override;
  void StopBox(const std::string& commandLine) override;

private:
  TBookStruct* Book;
};
