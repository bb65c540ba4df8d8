// The document and mail codes: opening a document (in the browser, the
// presentation waiting minimised if asked), opening or printing a document
// through its registered program, and writing a mail.
// Portable: what the codes need of the system comes through TDocumentHost
// (the player's over the shell, the tests' fakes).
#pragma once
#include <string>

#include "actions/core/dispatch.h"

// Options of the document code: open in the web browser; and wait for it
// with the presentation minimised.
constexpr uint32_t kOpenInBrowser = 0x800000;
constexpr uint32_t kOpenInBrowserAndWait = 0x400000;

// Options of the program code: take the program from the document's
// extension; and offer the registered installer when there is none.
constexpr uint32_t kProgramFromDocument = 0x80000;
constexpr uint32_t kOfferInstaller = 0x2000000;

// The mail code's address: "mailto:" + address + "?subject=" + subject +
// "&body=" + body, joined as they stand; empty with fewer than three
// strings.
std::string MailAddress(const TUSStrings& strings);

class TDocumentHost {
public:
  virtual ~TDocumentHost() = default;
  // The shell's open (or print) of `file`; the shell's result (32 or less:
  // failed).
  virtual intptr_t ShellOpen(const char* verb, const std::string& file, int show) = 0;
  // The action's file name resolved with its path kind and data folder.
  virtual std::string ResolveFileName(const TActionStruct& action) = 0;
  // The program registered for ".htm"; empty when there is none.
  virtual std::string BrowserProgram() = 0;
  // Starts `program` on `document`; with `wait` the presentation waits for
  // it minimised.
  virtual void RunBrowser(const std::string& program, const std::string& document, bool wait) = 0;
  // The action's second file name with its own path kind and data folder.
  virtual std::string ResolveFileName2(const TActionStruct& action) = 0;
  // A name resolved with no path kind and no data folder.
  virtual std::string ResolvePlain(const std::string& name) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The program registered for the extension (".txt"); empty when none.
  virtual std::string AssociatedProgram(const std::string& extension) = 0;
  // The Windows ini's [Extensions] entry and the player ini's
  // [INSTALLATION] entry for the extension without its dot.
  virtual std::string ExtensionsEntry(const std::string& key) = 0;
  virtual std::string InstallationEntry(const std::string& key) = 0;
  // A string of the program's table (2012 to 2015).
  virtual std::string Text(int id) = 0;
  // The question in a Yes/No box on the page window; true for Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
  virtual void SetCurrentFolder(const std::string& folder) = 0;
  // WinExec, shown normally; its result (below 32: failed).
  virtual unsigned Execute(const std::string& commandLine) = 0;
  // The command line that failed in a stop box on the active window.
  virtual void StopBox(const std::string& commandLine) = 0;
  // Text 2012 (no program for the document) in an information box on the
  // page window.
  virtual void NoProgramBox() = 0;
};

// Runs one code of the family on the dispatcher's copy of the action.
void RunDocumentCode(TActionRun& run, TDocumentHost& host);
