// A UI service for tests: answers message boxes and common dialogs from a
// script, without windows, and records every request. Answers are used in
// order by the next request of their kind; a request without an answer is
// cancelled (a message box then answers IDCANCEL).
//
//   TScriptedUiService ui;
//   TUiServiceScope scope(ui);
//   ui.AnswerMessage(IDOK);
//   ui.AnswerFile("C:\\demo\\demo.crt");
//   ... code under test ...
//   EXPECT_EQ(ui.Requests()[0].Text, "Kann Datei nicht laden!");
#pragma once
#include "platform/owl/defs.h"

#include <string>
#include <vector>

#include "platform/owl/uiservice.h"

struct TUiRequest {
  enum TKind { MessageBox, OpenFile, SaveFile, ColorChoice, FontChoice, PrintSetup, FolderChoice };
  explicit TUiRequest(TKind kind) : Kind(kind) {}
  TKind Kind;
  HWND Owner = nullptr;
  // Message boxes: the text, caption and MB_ flags; dialogs: the title.
  std::string Text;
  std::string Caption;
  uint Type = 0;
  // File dialogs: the filter with its parts joined by bars (as written in
  // the program: "CRT-Dateien (*.crt)|*.crt|"), the initial name, folder
  // and default extension, and the flags.
  std::string Filter;
  std::string InitialName;
  std::string InitialDir;
  std::string DefExt;
  uint32_t Flags = 0;
  uint32_t MaxPath = 0;
  // Colour and font dialogs: the initial colour and font; folder browser:
  // its prompt is in Text.
  COLORREF Color = 0;
  LOGFONTA Font{};
};

class TScriptedUiService : public TUiService {
public:
  void AnswerMessage(int result) { Messages.push_back(result); }
  // A chosen file (the whole buffer for a multiple selection: folder and
  // names separated by zeros, see AnswerFiles).
  void AnswerFile(const std::string& path, int filterIndex = 1);
  // A multiple selection in `folder`.
  void AnswerFiles(const std::string& folder, const std::vector<std::string>& names);
  void AnswerColor(COLORREF color);
  void AnswerFont(const LOGFONTA& font, COLORREF color, int pointSize);
  void AnswerFolder(const std::string& path);
  void AnswerPrint(int fromPage = 1, int toPage = 1, int copies = 1);
  // Print answers then hand back the system's default printer (its
  // DEVNAMES and DEVMODE, and a DC when asked for one), as the print dialog
  // does, so a test prints for real; a request for the default printer
  // alone is answered without a scripted answer.
  void UseDefaultPrinter() { DefaultPrinter = true; }
  // The next file, colour, font, print or folder request is cancelled.
  void CancelNext(TUiRequest::TKind kind);
  // The next common dialog fails with this extended error (after a cancel).
  void FailNext(DWORD error) { PendingError = error; }

  const std::vector<TUiRequest>& Requests() const { return Log; }
  size_t Count(TUiRequest::TKind kind) const;
  void Clear();

  int Message(HWND owner, const char* text, const char* caption, uint type) override;
  bool OpenFileDialog(OPENFILENAMEA& ofn) override;
  bool SaveFileDialog(OPENFILENAMEA& ofn) override;
  bool ColorDialog(CHOOSECOLORA& cc) override;
  bool FontDialog(CHOOSEFONTA& cf) override;
  bool PrintDialog(PRINTDLGA& pd) override;
  bool FolderDialog(BROWSEINFOA& bi, char* path) override;
  DWORD DialogError() override { return LastError; }

private:
  struct TAnswer {
    explicit TAnswer(TUiRequest::TKind kind = TUiRequest::MessageBox) : Kind(kind) {}
    TUiRequest::TKind Kind;
    bool Cancel = false;
    std::string Text;  // file buffer or folder
    int Index = 0;     // filter index, from page
    int Index2 = 0;    // to page
    int Index3 = 0;    // copies
    COLORREF Color = 0;
    LOGFONTA Font{};
  };
  bool Take(TUiRequest::TKind kind, TAnswer& answer);
  bool FillDefaultPrinter(PRINTDLGA& pd);
  bool FileDialog(TUiRequest::TKind kind, OPENFILENAMEA& ofn);

  std::vector<int> Messages;
  std::vector<TAnswer> Answers;
  std::vector<TUiRequest> Log;
  DWORD PendingError = 0;
  DWORD LastError = 0;
  bool DefaultPrinter = false;
};
