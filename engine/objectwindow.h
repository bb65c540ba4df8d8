// TObjectWindow: the page window, the client of the main frame in which the
// pages are shown. It owns the open project it creates and draws nothing of
// its own: it paints through the current page manager, hands it the mouse,
// key, timer, focus and menu-command messages in page coordinates (the
// scroll offset added), keeps the scroll bars in step with the page size
// and relays its messages to its tooltip control. Page objects with windows
// of their own are its children.
#pragma once
#include "platform/owl/defs.h"
#include <vfw.h>

#include <cstdint>
#include <cstring>

#include "platform/owl/tooltip.h"
#include "platform/owl/window.h"

class TObjectManager;

class TObjectWindow : public TWindow {
public:
  // The window for a project file (null: a new, empty project); it owns the
  // open project it creates.
  explicit TObjectWindow(TWindow* parent, const char* projectPath = nullptr);
  // A page window without a path; it owns a project only with the flag.
  TObjectWindow(bool ownsProject, TWindow* parent);
  // Deletes the open project it owns and closes the DrawDib handle.
  ~TObjectWindow() override;

  bool PreProcessMsg(MSG& msg) override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void GetWindowClass(WNDCLASSA& wc) override;
  void SetupWindow() override;
  void CleanupWindow() override;
  // After a load of the open project failed (at set-up or by a reload):
  // message 1011, the project deleted, and this window closes itself.
  void CloseAfterFailedLoad();

  // The current page's background over the client area.
  virtual void PaintBackground(TDC& dc);
  // The editing mode's grid; the player draws none.
  virtual void DrawGrid(TDC& dc);
  // The editing mode's canvas: 10,000 x 10,000 pixels with both bars when
  // the editor's scroller is on, else no range and no bars.
  void SetupEditScroller();
  virtual void EvSize(uint sizeType, TSize& size);
  virtual void EvLButtonDown(uint modKeys, TPoint& point);
  virtual void EvLButtonUp(uint modKeys, TPoint& point);
  virtual void EvMouseMove(uint modKeys, TPoint& point);
  virtual void EvKeyDown(uint key, uint repeatCount, uint flags);
  virtual void EvSysKeyDown(uint key, uint repeatCount, uint flags);
  virtual void EvChar(uint key, uint repeatCount, uint flags);
  virtual void EvKeyUp(uint key, uint repeatCount, uint flags);
  virtual void EvLButtonDblClk(uint modKeys, TPoint& point);
  virtual void EvTimer(uint timerId);

  void EvKillFocus(HWND hWndGetFocus);
  HBRUSH EvCtlColor(HDC dc, HWND child, uint ctlType);
  void EvMeasureItem(uint ctrlId, MEASUREITEMSTRUCT& info);
  bool EvEraseBkgnd(HDC dc);
  // A project menu command (ids 100 to 221).
  void EvMenuCommand(uint id);

  // Scroll ranges and bars from the page size and the client size.
  void AdjustScrollbars();
  // The scroll position in pixels; (0, 0) without a scroller.
  TPoint GetScrollOffset() const;
  // The current page's manager, or null while no project is open.
  TObjectManager* GetPageManager() const;

  TTooltip* Tooltip = nullptr;  // a child window; owned as such
  HDRAWDIB DrawDib = nullptr;
  uint8_t OwnsProject = 1;
  char ProjectPath[MAX_PATH] = {};

private:
  void Init();

  DECLARE_RESPONSE_TABLE(TObjectWindow);
};

// The first and last id of the project menu's commands.
constexpr uint kFirstMenuCommand = 100;
constexpr uint kLastMenuCommand = 221;

