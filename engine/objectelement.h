// TObjectElement: the base of every object on a page. It owns the object's
// description and its kind's data record, knows the page window that shows
// it, and carries the 33 virtual operations through which the page and the
// actions drive every kind. The base operations do nothing or what all
// kinds share: showing and hiding, the border, the tooltip, the file-name
// rule and the queuing of the object's actions. A kind with a window of its
// own adds a framework window class beside this one.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "engine/core/format/objectrecords.h"
#include "foundation/core/timer/timequeue.h"
#include "platform/owl/geometry.h"

class TBitmap;
class TDC;
class TObjectWindow;
struct TPaintInfo;

// The trigger record an action carries and an event is matched against: the
// message, four bytes that take no part in matching, and two more values
// that must match too.
struct TActionTrigger {
  uint16_t Message = 0;
  uint32_t Ext1 = 0;
  uint8_t Ext2 = 0;
  uint16_t Ext3 = 0;
};

// Media commands of TObjectElement::MediaControl.
enum : int {
  kMediaPlay = 0,
  kMediaStop = 1,
  kMediaPause = 2,
  kMediaToStart = 3,
  kMediaToEnd = 4,
  kMediaEject = 5,  // the device's own command (a CD's eject)
  kMediaResume = 6,
  kMediaGoTo = 7,   // to the position or frame given as argument
};

class TObjectElement {
public:
  // Takes the data record over (null: none; the kinds make their own).
  TObjectElement(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  TObjectElement(const TObjectElement&) = delete;
  TObjectElement& operator=(const TObjectElement&) = delete;

  // ---- the virtual operations, in their order ----
  // The object's own window; 0 for a windowless object.
  virtual HWND GetHandle();
  virtual const char* GetKindName();
  // Null resets the own record to its kind's defaults; otherwise the own
  // record is deleted and the given one taken over.
  virtual void SetData(TData* data);
  virtual void AssignData(TData* data);
  virtual ~TObjectElement();
  virtual void Show(bool update, bool force);
  virtual void Hide(bool erase, bool update);
  virtual void Refresh(bool erase);
  virtual HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType);
  virtual void LButtonDown(uint32_t modKeys, const TPoint& point);
  virtual void LButtonUp(uint32_t modKeys, const TPoint& point);
  virtual void LButtonDblClk(uint32_t modKeys, const TPoint& point);
  virtual void MouseMove(uint32_t modKeys, const TPoint& point);
  virtual void MouseLeave(uint32_t modKeys, const TPoint& point);
  virtual void KeyDown(uint key, uint repeatCount, uint flags);
  virtual bool SysKeyDown(uint key, uint repeatCount, uint flags);
  virtual void KeyUp(uint key, uint repeatCount, uint flags);
  virtual void Char(uint key, uint repeatCount, uint flags);
  virtual void Paint(TPaintInfo& paint);
  virtual void Timer(uint timerId);
  virtual void KillFocus();
  virtual void MediaControl(int command, uint32_t argument);
  virtual uint32_t GetMediaLength();
  virtual uint32_t GetMediaPosition();
  virtual void AnimationStep(const TSysTimeManagerMsg& msg);
  virtual void SetFileName(string& name);
  virtual void SelectEntry(int32_t entry);
  // Queues the enabled actions whose trigger matches the event (with `all`
  // every enabled action) as pending actions; true when one was queued.
  virtual bool RunActions(const TActionTrigger& event, bool all);
  virtual int32_t GetFileCount();
  // The resolved path of the object's file `index` and the data flag 0x1000.
  virtual bool GetFile(int index, bool& flag, string& path);
  virtual bool ExchangeText(string& text, int32_t& first, int32_t& second);
  // True when Show must repaint the object through the page window.
  virtual bool RepaintsThroughPage();
  virtual void SpareOperation();

  // ---- shared operations ----
  // The display name of a kind ("Text-Objekt" ...; "Unbekannt" for others).
  static void KindName(int kind, string& out);
  // The destructor's body shared by all kinds.
  void DestroyElement();
  // The page window's scroll position in pixels; false and (0, 0) without
  // a scroller.
  bool GetScrollOffset(TPoint& out) const;
  // The stored rectangle grown by the border.
  void GetRect(TRect& out) const;
  // The stored rectangle as it is.
  TRect GetStoredRect() const;
  // Half-open: the right and bottom edges are outside.
  bool ContainsPoint(const TPoint& point) const;
  // Inside `rect` (edges may coincide) or overlapping it.
  bool IntersectsRect(const TRect& rect) const;
  void ClientToPage(TPoint& point) const;
  // Stores the flag; a change registers or removes the tooltip.
  void SetVisible(bool visible);
  // Outside edit mode, for a visible object with a focus frame: a light grey
  // frame one pixel outside the object, drawn inverting (twice erases).
  void DrawFocusFrame(TDC& dc, bool onlyWhenFocused);
  // Stores the mark; in the editing mode the handles show it.
  void SetSelected(bool selected);
  // The editing mode's marks, nothing outside it: the grab handles around
  // the object, the cross over it (not with flag 0x20; twice erases it).
  void DrawSelectionHandles(TDC& dc);
  void DrawFrame(TPaintInfo& paint);
  // Places the object at `rect`; with `check`, refused (false) as a resize
  // without flag 0x80 or as a move without flag 0x100.
  bool MoveTo(const TRect& rect, bool check);

  uint32_t GetNumber() const { return Info.Target.Number; }
  int16_t GetKind() const { return Info.Target.Kind; }
  bool IsVisible() const { return Visible != 0; }
  // Page objects are the same object when their numbers are.
  bool operator==(const TObjectElement& o) const { return Info.Target.Number == o.Info.Target.Number; }

  // ---- fields ----
  uint8_t Visible = 1;
  TObjectWindow* Owner;  // the page window; not owned
  std::unique_ptr<TData> Data;
  std::unique_ptr<TBitmap> Picture;  // a bitmap a kind may keep
  uint8_t Selected = 0;
  TObjectInfo Info;
  uint8_t Reserved7[7] = {};
  string KindLabel;  // from KindName
  int32_t ReservedRect[4] = {};
  int32_t SelectedEntry = -1;
  int32_t State = -1;
  // Set by the page loading: the rectangle as stored (before a page scale)
  // and where the data record began in the file (-1: none stored).
  TObjectRect DesignRect;
  int32_t DataOffset = -1;
  uint32_t DataState = 0;
  uint8_t Started = 0;  // played once (StartMediaObject)
  uint8_t Mark = 0;     // the editing mark
};

// A kind's paint operation holds one: the editing mode's cross goes over
// what the kind painted, whichever way the paint ends.
struct TEditCross {
  TObjectElement& Object;
  TPaintInfo& Paint;
  ~TEditCross() { Object.DrawFrame(Paint); }
};

// The object under the held mouse button and the object with the keyboard
// focus; null when none. A destroyed object clears them.
extern TObjectElement* PressedObject;
extern TObjectElement* FocusedObject;
// The editing mode's switch; 0 in the player.
extern uint8_t EditMode;
// Set by the page build once the current page is built and shown.
extern uint8_t PageBuilt;
