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
  // Text 2012 (no program for the document) in an information box on the
  // page window.
  virtual void NoProgramBox() = 0;
};

// Runs one code of the family on the dispatcher's copy of the action.
void RunDocumentCode(TActionRun& run, TDocumentHost& host);
