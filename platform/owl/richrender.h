// TRichRender: measures and draws an RTF document laid out in lines, for
// what the rich-edit control's EM_FORMATRANGE would do: the first line
// that does not fit into a rectangle, and drawing from a line into a
// rectangle of any DC with the page left between the glyphs.
//
// Under Wine EM_FORMATRANGE answers 0 and draws nothing, so when a probe
// shows that, the renderer lays the document out in the same library's
// windowless text services, fed with the control's RTF, against a reference
// DC that it keeps from creation on (a printer's DC for printing: a layout
// made on the screen prints overlapping glyphs). Lines are the common
// currency: a line number of the control is the same line here as long as
// both are laid out at the same width with the same fonts.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>
#include <vector>

class TRichRender {
public:
  // A renderer for the document of `richEdit` (its RTF, streamed out), laid
  // out against `reference` (null: the screen), which must outlive it.
  TRichRender(HWND richEdit, HDC reference = nullptr);
  // A renderer for RTF source.
  TRichRender(const std::string& rtf, HDC reference = nullptr);
  ~TRichRender();
  TRichRender(const TRichRender&) = delete;
  TRichRender& operator=(const TRichRender&) = delete;

  bool IsOK() const;
  // Lines at `widthTwips` (the layout of the last call is kept).
  int LineCount(long widthTwips);
  // The first line from `fromLine` on that does not fit wholly into
  // widthTwips × heightTwips; LineCount when the rest fits.
  int FirstLineNotFitted(int fromLine, long widthTwips, long heightTwips);
  // Line tops in pixels of the reference DC, from the document top; the
  // entry behind the last line is the document's bottom.
  std::vector<long> LineTops(long widthTwips);
  // The line drawn `y` pixels below the top of `fromLine` in the last
  // layout; -1 above it or below the document.
  int LineAt(int fromLine, long y) const;
  // The line tops of the last layout (see LineTops).
  const std::vector<long>& LastLineTops() const { return Tops; }
  // The characters of each line, without its paragraph mark.
  std::vector<long> LineLengths(long widthTwips);
  // Draws from `fromLine` into `rect` (units of `dc`), lines wrapped at the
  // rectangle's width, transparent, clipped to `rect`; the DC's attributes
  // are left as they were; with `wholeLines` a line that does not fit
  // wholly is left out. Answers the first line not drawn wholly.
  int Draw(HDC dc, int fromLine, const RECT& rect, bool wholeLines = false);

  // The RTF of a rich-edit control, as EM_STREAMOUT gives it.
  static std::string StreamOutRtf(HWND richEdit);
  // Whether the system's EM_FORMATRANGE measures (a one-character probe).
  static bool FormatRangeWorks();

private:
  class TTextHost;
  long ToPixelsX(long twips) const;
  long ToPixelsY(long twips) const;
  void LayOut(long widthPixels);
  int FormatRangeFirstNotFitted(int fromLine, long widthTwips, long heightTwips);
  int FormatRangeDraw(HDC dc, int fromLine, const RECT& rect);
  void CreateServices(const std::string& rtf);

  HWND Control = nullptr;  // the EM_FORMATRANGE path draws from the control itself
  HDC Reference = nullptr;
  bool OwnsReference = false;
  TTextHost* Host = nullptr;  // owned through its COM reference
  IUnknown* Unknown = nullptr;
  struct ITextServices* Services = nullptr;
  long LaidOutWidth = -1;
  std::vector<long> Tops;  // of the current layout, with the bottom behind the last line
};
