// Page input: the page window's mouse, key, timer and focus messages, in
// page coordinates, decide which object gets them — hit testing for the
// mouse, the focused object for keys, every object for timer ticks, the
// focus order for Tab — and carry two page-wide behaviours: the project's
// quit keys and dragging the whole window by an empty spot. The message
// pump's routing of left-button messages to the clicked object's actions is
// here too.
//
// These are operations of the page manager; they take it as their first
// argument and do nothing while its page is not loaded.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/dc.h"
#include "platform/owl/geometry.h"

class TObjectElement;
class TObjectManager;

// The window drag in progress (program-wide; zero at start).
struct TWindowDrag {
  bool Active = false;
  TPoint Start;
  TRect Last;  // the frame rectangle last drawn, screen coordinates
};
extern TWindowDrag WindowDrag;

class TPageInput {
public:
  // A client DC of the page window whose origin is moved by minus the
  // scroll offset, so page coordinates can be drawn; restored and released
  // when it goes.
  class PaintDevice : public TDC {
  public:
    explicit PaintDevice(TObjectManager* manager);
    ~PaintDevice() override;

  private:
    HWND Wnd = nullptr;
    TPoint OldOrigin;
  };

  static void EvMouseMove(TObjectManager* manager, uint32_t modKeys, const TPoint& point);
  static void EvLButtonDown(TObjectManager* manager, uint32_t modKeys, const TPoint& point);
  static void EvLButtonUp(TObjectManager* manager, uint32_t modKeys, const TPoint& point);
  static void EvLButtonDblClk(TObjectManager* manager, uint32_t modKeys, const TPoint& point);
  static void EvKeyDown(TObjectManager* manager, uint key, uint repeatCount, uint flags);
  static void EvSysKeyDown(TObjectManager* manager, uint key, uint repeatCount, uint flags);
  static void EvKeyUp(TObjectManager* manager, uint key, uint repeatCount, uint flags);
  static void EvChar(TObjectManager* manager, uint key, uint repeatCount, uint flags);
  static void EvTimer(TObjectManager* manager, uint timerId);
  static void EvKillFocus(TObjectManager* manager);
  // A project menu command: the first item with the id runs its own
  // actions, or the actions of the object it names as for a click; an item
  // of a check group then checks itself and unchecks the rest of its group.
  static void RunMenuCommand(TObjectManager* manager, int commandId);
  // The next object of the focus order (back with Shift), skipping hidden
  // ones; null with fewer than two entries or a number without an object.
  static TObjectElement* NextFocusObject(TObjectManager* manager);
  // A left-button message taken by the message pump, before it is
  // dispatched: offered, in page order, to the visible objects under its
  // point until one queues actions for it. Only messages of the focus
  // window, when that is the page window or a visible object's window.
  // True when actions were queued.
  static bool RouteMouseMessage(TObjectManager* manager, const MSG& msg);

  // Whether a click may drag the window: on no object or a text or picture
  // object, with the options flag 0x80000.
  static bool MayDragWindow(TObjectManager* manager, const TObjectElement* hit);
  // The window a drag moves: the page window's frame (the page window
  // itself when it has no parent).
  static HWND DragTarget(TObjectManager* manager);
};
