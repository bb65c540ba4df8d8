// TDeskFrameWindow: the borderless window behind the main frame that hides
// the desktop when the project asks for it. It paints the project's
// background and hands keys to the page, so the presentation keeps the
// keyboard while the desk frame has the focus.
#pragma once
#include "platform/owl/defs.h"
#include <vfw.h>

#include "platform/owl/framewin.h"

class TBackground;

class TDeskFrameWindow : public TFrameWindow {
public:
  TDeskFrameWindow();
  ~TDeskFrameWindow() override;

  void SetupWindow() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  virtual void PaintBackground(TDC& dc);
  void EvKeyDown(uint key, uint repeatCount, uint flags);
  void EvChar(uint key, uint repeatCount, uint flags);

  HDRAWDIB DrawDib = nullptr;

  DECLARE_RESPONSE_TABLE(TDeskFrameWindow);
};

// The desk frame while it exists.
extern TDeskFrameWindow* DeskFrame;
// The background it paints (start-up's copy of the info record, then the
// open project's or a page's); null paints nothing.
extern TBackground* DeskBackground;
