// TOwnerDrawPushbutton: a dialog's push button that shows a bitmap of the
// program's resources in a raised frame instead of its caption, pressed,
// disabled and focused looks included. It takes over the dialog's control
// by id; the button is the bitmap's size + 4.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/button.h"

// The browse buttons' folder picture (20 x 20, 16 colours).
constexpr int kBrowseBitmapId = 24332;

class TOwnerDrawPushbutton : public TButton {
public:
  TOwnerDrawPushbutton(TWindow* parent, int id, int bitmapId);
  void SetupWindow() override;
  void ODADrawEntire(DRAWITEMSTRUCT& info) override;
  void ODAFocus(DRAWITEMSTRUCT& info) override;
  void ODASelect(DRAWITEMSTRUCT& info) override;

  // A double click counts as a second press.
  virtual void Press();
  virtual void DrawUp(DRAWITEMSTRUCT& info) { PaintButton(info); }
  virtual void DrawDown(DRAWITEMSTRUCT& info) { PaintButton(info); }
  virtual void DrawFocus(DRAWITEMSTRUCT& info) { PaintButton(info); }
  void EvLButtonDblClk(uint modKeys, TPoint& point);

  uint8_t Pressed = 0;
  uint32_t BitmapId;

private:
  void PaintButton(DRAWITEMSTRUCT& info);
  HBITMAP LoadPicture() const;
  DECLARE_RESPONSE_TABLE(TOwnerDrawPushbutton);
};

// Every second pixel from the first, both ends included where the step
// reaches them.
void DrawDottedHLine(HDC dc, int x1, int x2, int y, COLORREF colour);
void DrawDottedVLine(HDC dc, int y1, int y2, int x, COLORREF colour);
void DrawDottedRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour);
