// The text-file printout's layout: its settings block, the text area from
// the printer's metrics, where header and page number go, the file's lines
// (a long line in pieces) and where each line lands on which page.
// Portable: numbers and text only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/core/printlayout.h"

// Alignment of the text-file printout: here 1 is right and 2 centred.
constexpr int32_t kTslAlignLeft = 0;
constexpr int32_t kTslAlignRight = 1;
constexpr int32_t kTslAlignCentre = 2;

// 20 mm in points.
constexpr double kTslDefaultMargin = 56.98;

#pragma pack(push, 1)
// Copied in and out as a whole.
struct TTSLPrintSettings {
  double MarginTop = kTslDefaultMargin;
  double MarginBottom = kTslDefaultMargin;
  double MarginLeft = kTslDefaultMargin;
  double MarginRight = kTslDefaultMargin;
  int32_t HeaderAlign = kTslAlignCentre;
  int32_t PageNumberAlign = kTslAlignCentre;
  uint8_t ShowHeader = 0;
  uint8_t ShowPageNumber = 0;
  char HeaderText[80] = {};
  char FontFace[32] = "Courier New";
  int32_t FontHeight = 12;  // points
};
#pragma pack(pop)
static_assert(sizeof(TTSLPrintSettings) == 158, "the settings block is byte-packed");

// The page in whole points, from the paper's edge.
struct TTslTextArea {
  double DotsPerPointX = 1.0, DotsPerPointY = 1.0;
  double OffsetX = 0.0, OffsetY = 0.0;
  double PageWidth = 0.0, PageHeight = 0.0;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width = 0, Height = 0;
};

// Raises the settings' margins to at least the printer's unprintable border
// and works out the text area.
TTslTextArea ComputeTslTextArea(const TPrinterMetrics& metrics, TTSLPrintSettings& settings);

// Only the text area within the settings' margins changes.
void RecomputeTslTextArea(TTslTextArea& area, const TTSLPrintSettings& settings);

// x of the header or page number and whether it is drawn to the left of
// it (right aligned), centred on it, or to its right (left aligned).
enum class TTslAnchor { Left, Centre, Right };
int TslAlignedX(int32_t align, const TTSLPrintSettings& settings, double pageWidth, TTslAnchor& anchor);
// The page number's baseline: 5 points above the paper's bottom edge.
int TslPageNumberY(double pageHeight);

// The file's lines: lines end at line feeds (not kept), carriage returns
// are dropped, and a line longer than the read buffer comes in pieces of
// `kTslLinePiece` characters, each printed as a line of its own.
constexpr size_t kTslLinePiece = 1023;
class TTslLineSplitter {
public:
  // Feeds the next part of the file; `line` is called for each line or
  // piece completed.
  template <class F>
  void Feed(const char* data, size_t size, F&& line) {
    for (size_t i = 0; i < size; ++i) {
      const char c = data[i];
      if (c == '\n') {
        // A line that filled the last piece exactly has been printed.
        if (!(PieceEnded && Current.empty())) line(Current);
        Current.clear();
        PieceEnded = false;
        continue;
      }
      if (c == '\r') continue;
      Current += c;
      if (Current.size() == kTslLinePiece) {
        line(Current);
        Current.clear();
        PieceEnded = true;
        continue;
      }
      PieceEnded = false;
    }
  }
  // The end of the file: a last line without its line feed.
  template <class F>
  void Finish(F&& line) {
    if (!Current.empty()) line(Current);
    Current.clear();
  }

private:
  std::string Current;
  bool PieceEnded = false;
};

// Where the file's lines go: each line moves down by the line height, and
// a line that would reach the text area's bottom starts a new page first.
class TTslLineFlow {
public:
  TTslLineFlow(int areaHeight, int lineHeight) : AreaHeight(areaHeight), LineHeight(lineHeight) {}
  // Places the next line; true when a new page has to be started for it.
  bool Next() {
    bool newPage = false;
    if (Y + LineHeight >= AreaHeight) {
      newPage = true;
      Y = 0;
    }
    Y += LineHeight;
    return newPage;
  }
  // The line's top, relative to the text area.
  int LineY() const { return Y; }

private:
  int AreaHeight;
  int LineHeight;
  int Y = 0;
};
