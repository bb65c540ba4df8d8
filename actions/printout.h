// The picture and text printouts of the printing codes: TBasePrintOut lays
// the page out in printer's points (actions/core/printlayout.h) and prints
// title and page number, TBmpPrintOut one picture on one page, and
// TTextPrintOut a text over as many pages as it needs.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>
#include <vector>

#include "actions/core/printlayout.h"
#include "engine/core/format/printinfo.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/printer.h"

// A font of the print settings: the font choice's LOGFONT with its height
// replaced by the point size in whole points.
LOGFONTA PrintFontLogFont(const tsl::FontRecord& choice);

// The DC's default font for body text, as a Windows printer DC starts:
// the system font. Wine's PostScript driver starts with a font of 100
// units, which on the printouts' point scale is 100-point text.
void SelectBodyFont(HDC dc);

// The settings' two font objects, made anew from their font choices.
class TPrintInfoFonts {
public:
  void Make(const TBasePrintOutInfo& settings);
  const TFont* Title() const { return TitleFont.get(); }
  const TFont* PageNumber() const { return PageNumberFont.get(); }

private:
  std::unique_ptr<TFont> TitleFont, PageNumberFont;
};

class TBasePrintOut : public TPrintout {
public:
  explicit TBasePrintOut(const char* title);

  void SetPrintParams(TPrintDC* dc, TSize pageSize) override;
  // No page range in the print dialog.
  void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
  void BeginPrinting() override;
  bool HasPage(int) override { return !Done; }
  void PrintPage(int page, TRect& rect, uint flags) override;

  // The page set-up, copied in by the caller.
  TBasePrintOutInfo Settings;

  const TPageLayout& Layout() const { return Page; }
  int PageNumber() const { return PageNo; }
  bool IsDone() const { return Done; }

protected:
  // The page's coordinate system with its origin at (x, y) points.
  void SetPageOrigin(double x, double y);
  // Only the origin moves.
  void MoveOrigin(double x, double y);
  // Coordinate system at the paper's corner, title and page number, next
  // page number.
  void BeginPage();
  void PrintTitleAndPageNumber();

  TPageLayout Page;
  uint16_t PageNo = 1;
  bool Done = false;
  bool TabsAsBlanks = true;
  int TabStops[3] = {14, 28, 42};  // 5, 10 and 15 mm
  int TabStopCount = 3;
  TPrintInfoFonts Fonts;
};

class TBmpPrintOut : public TBasePrintOut {
public:
  // `dib`: a packed DIB in global memory, printed but not taken over;
  // null prints the title and page number alone.
  TBmpPrintOut(const char* title, HGLOBAL dib);
  void PrintPage(int page, TRect& rect, uint flags) override;

  // Where the picture went on the last page printed, in points from the
  // margins' corner.
  TPictureBox LastBox;

private:
  std::unique_ptr<TDib> Picture;
};

class TTextPrintOut : public TBasePrintOut {
public:
  TTextPrintOut(const char* title, const std::string& text);
  void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
  void PrintPage(int page, TRect& rect, uint flags) override;

  // The wrapped lines (empty before the first page).
  const std::vector<std::string>& Lines() const { return Wrapped; }

private:
  std::string Text;
  std::vector<std::string> Wrapped;
  bool WrappedYet = false;
  size_t NextLine = 0;
};
