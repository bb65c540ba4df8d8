// TTSLPrintOut: a plain text file printed line by line, with an optional
// bold header line and page number, the whole file in one page-printing
// call that starts its own new pages (layout: actions/core/tslprintlayout.h).
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "actions/core/tslprintlayout.h"
#include "platform/owl/printer.h"

class TBookStruct;

class TTSLPrintOut : public TPrintout {
public:
  // `source` 0 prints the file; no other value prints anything.
  TTSLPrintOut(const char* title, TBookStruct* book, int source, const char* fileName);

  void GetSettings(TTSLPrintSettings& settings) const { settings = Settings; }
  void SetSettings(const TTSLPrintSettings& settings);
  // At most 79 characters.
  void SetHeaderText(const char* text);
  void SetPageNumber(int number);
  // Prints `text` at (x, y) in points in `font`, each line cut at
  // `maxLineWidth`, within `available` points of this page and, with
  // `newPage`, `availableNext` of each following one. With `advance` the
  // position after the block is handed back and a full page goes on to the
  // next; without, the block stops at the bottom and x, y stay.
  void PrintTextBlock(double& x, double& y, HFONT font, const char* text, int maxLineWidth, double available,
                      double availableNext, bool advance, bool newPage);

  void SetPrintParams(TPrintDC* dc, TSize pageSize) override;
  void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
  void BeginPrinting() override;
  bool HasPage(int) override { return !Done; }
  void PrintPage(int page, TRect& rect, uint flags) override;

  const TTslTextArea& Area() const { return TextArea; }
  int PageNumber() const { return PageNo; }
  // What the last job drew, for the tests: body lines and characters, and
  // the x of the last header and page number.
  int LinesDrawn = 0;
  size_t CharactersDrawn = 0;
  int HeaderX = -1, PageNumberX = -1;

private:
  void SetPageOrigin(double x, double y);
  void PrintHeaderAndPageNumber();
  void NewPage();

  TTSLPrintSettings Settings;
  TBookStruct* Book;
  int Source;
  TTslTextArea TextArea;
  int PageNo = 1;
  std::string PageNumberText;
  bool Done = false;
  std::string FileName;
};
