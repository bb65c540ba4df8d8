// TDiaShowWindow: one slide show presented over the whole screen, modally:
// the pictures one after another on the show's background with header and
// footer captions, a blackout transition between them, the automatic page
// change, background music or a sound per picture, and the five configured
// inputs. Its course is TDiaShowNavigator's; this window draws and plays.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "platform/owl/dialog.h"
#include "slideshow/core/play.h"
#include "slideshow/core/shownav.h"

class TDib;

class TDiaShowWindow : public TDialog, private TShowHost {
public:
  // The show stays the caller's and must outlive the window.
  TDiaShowWindow(TWindow* parent, TDiaOption* options);
  ~TDiaShowWindow() override;

  void SetupWindow() override;

  virtual void EvTimer(uint timerId);
  virtual void EvPaint();
  virtual void EvLButtonDown(uint modKeys, TPoint& point);
  virtual void EvRButtonDown(uint modKeys, TPoint& point);
  virtual void EvKeyDown(uint key, uint repeatCount, uint flags);
  // Every key reaches EvKeyDown, Tab and the function keys too, and
  // Escape and Enter arrive there once rather than also as commands.
  virtual uint EvGetDlgCode(MSG* msg);
  virtual void EvClose();
  void CmOk() override;
  void CmCancel() override;
  virtual TResult EvMciNotify(TParam1 flag, TParam2 device);

  TDiaOption* Options;
  std::unique_ptr<TDib> Picture;
  std::unique_ptr<TPlay> Player;
  TDiaShowNavigator Navigator;

  DECLARE_RESPONSE_TABLE(TDiaShowWindow);

private:
  // TShowHost
  void LoadPicture(int index) override;
  void Transition() override;
  void Invalidate() override;
  void PostClose() override;
  void CloseNow() override;
  uint32_t Now() override;

  bool MusicOn() const;
  void DrawCaption(TDC& dc, bool header, int width, int height);
};

// The timer of the automatic page change.
constexpr uint kShowTimer = 1;
constexpr uint kShowTimerPeriod = 100;  // ms
// How long the blacked-out screen stays after a transition.
constexpr uint32_t kShowAfterTransition = 151;  // ms
