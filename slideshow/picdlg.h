// TPicDlg: the picture viewer. Shows one picture at its natural size in a
// borderless popup, modally: centred on the screen and no larger than the
// picture (scroll bars where the picture is larger than the screen), or in
// full-screen mode over the whole screen in a background colour with the
// picture centred. A click, Enter or Escape closes it; with a delay it also
// closes by itself.
#pragma once
#include "platform/owl/defs.h"
#include <vfw.h>

#include <cstdint>
#include <memory>

#include "platform/owl/color.h"
#include "platform/owl/dialog.h"
#include "platform/owl/gdiobjec.h"
#include "resources/ids_slideshow.h"

class TDib;

// Scroll steps in pixels.
constexpr int kPicDlgScrollUnit = 20;

class TPicDlg : public TDialog {
public:
  // The picture stays the caller's.
  TPicDlg(TWindow* parent, TDib* picture, bool fullScreen, TColor background);
  // The picture file `fileName` in the program's folder, owned by the
  // dialog; it closes itself `delay` ms after it opened (0: never).
  TPicDlg(TWindow* parent, const char* fileName, uint32_t delay);
  ~TPicDlg() override;

  void SetupWindow() override;
  virtual void EvPaint();
  virtual void EvLButtonDown(uint modKeys, TPoint& point);
  virtual void EvTimer(uint timerId);
  virtual HBRUSH EvCtlColor(HDC dc, HWND child, uint ctlType);

  // Where the picture's top-left corner lies in the scrolled client area.
  TPoint PictureOrigin() const;

  TDib* Picture = nullptr;
  HDRAWDIB DrawDib = nullptr;
  uint8_t OwnsPicture = 0;
  uint32_t Delay = 0;       // ms; 0 none
  uint32_t StartTime = 0;   // tick count when the delay began
  uint8_t FullScreen = 0;
  TColor Background;
  std::unique_ptr<TBrush> BackgroundBrush;

private:
  void CreateScroller();

  DECLARE_RESPONSE_TABLE(TPicDlg);
};
