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

private:
  TBookStruct* Book;
};
