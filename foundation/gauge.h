// TxGauge: the program's progress bar, a child window that shows a value of
// a range as a solid bar with a centred caption or as a row of LED-like
// segments. The progress dialogs create one and move its value.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/control.h"
#include "platform/owl/dc.h"

class TxGauge : public TControl {
public:
  // `title` is the caption format: a wsprintf format with the value as its
  // one integer argument (drawn as it is when it has no conversion). The
  // margin between border and bar is `marginFactor` border widths.
  TxGauge(TWindow* parent, const char* title, int id, int x, int y, int w, int h, bool isHorizontal = true,
          int marginFactor = 1, TModule* module = nullptr);

  // max not above min becomes min + 1.
  void SetRange(int min, int max);
  // Clamped to the range; a changed value repaints the whole gauge.
  void SetValue(int value);
  // Value units per segment (0: solid bar) and the lit part of a segment in
  // percent of its pitch.
  void SetLed(int spacing, int thickPercent);

  bool EvEraseBkgnd(HDC dc);
  void EvPaint();
  virtual void PaintBorder(TDC& dc);
  // What EvPaint draws, into any DC of the gauge's size.
  void PaintGauge(TDC& dc);

  // The text drawn for the caption format and value: the format applied
  // when it takes at most one integer argument, else the format itself.
  static void FormatCaption(const char* format, int value, char* out, int size);

  int32_t Min = 0;
  int32_t Max = 100;
  int32_t Value = 0;
  int32_t Margin;
  int32_t IsHorizontal;
  int32_t LedSpacing = 0;
  int32_t LedThick = 0;
  COLORREF BarColor = 0x00FF0000;

  DECLARE_RESPONSE_TABLE(TxGauge);
};
