#include "actions/core/tslprintlayout.h"

#include "foundation/core/units.h"

// The block is byte-packed: its fields are copied, never bound to references.
TTslTextArea ComputeTslTextArea(const TPrinterMetrics& m, TTSLPrintSettings& s) {
  TTslTextArea a;
  a.DotsPerPointX = DotsPerPoint(m.LogPixelsX);
  a.DotsPerPointY = DotsPerPoint(m.LogPixelsY);
  a.OffsetX = m.OffsetX / a.DotsPerPointX;
  a.OffsetY = m.OffsetY / a.DotsPerPointY;
  a.PageWidth = MillimetresToPoints(m.WidthMm);
  a.PageHeight = MillimetresToPoints(m.HeightMm);
  if (s.MarginTop < a.OffsetY) s.MarginTop = a.OffsetY;
  if (s.MarginBottom < a.OffsetY) s.MarginBottom = a.OffsetY;
  if (s.MarginLeft < a.OffsetX) s.MarginLeft = a.OffsetX;
  if (s.MarginRight < a.OffsetX) s.MarginRight = a.OffsetX;
  RecomputeTslTextArea(a, s);
  return a;
}

void RecomputeTslTextArea(TTslTextArea& a, const TTSLPrintSettings& s) {
  a.Height = static_cast<int>(static_cast<int>(a.PageHeight) - s.MarginBottom - s.MarginTop);
  a.Width = static_cast<int>(static_cast<int>(a.PageWidth) - s.MarginLeft - s.MarginRight);
  a.Left = static_cast<int>(s.MarginLeft);
  a.Right = a.Left + a.Width;
  a.Top = static_cast<int>(s.MarginTop);
  a.Bottom = a.Top + a.Height;
}

int TslAlignedX(int32_t align, const TTSLPrintSettings& s, double pageWidth, TTslAnchor& anchor) {
  if (align == kTslAlignLeft) {
    anchor = TTslAnchor::Left;
    return static_cast<int>(s.MarginLeft);
  }
  if (align == kTslAlignRight) {
    anchor = TTslAnchor::Right;
    return static_cast<int>(pageWidth - s.MarginRight);
  }
  anchor = TTslAnchor::Centre;
  return static_cast<int>(pageWidth * 0.5);
}

int TslPageNumberY(double pageHeight) { return static_cast<int>(pageHeight - 5); }
