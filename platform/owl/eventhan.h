// Response tables: each window class lists the messages, commands and
// notifications it handles and the member that handles each. Lookup starts at
// the most derived class's table and goes on to its bases' tables.
//
//   class TMyWindow : public TWindow {
//     ...
//     void EvSize(uint sizeType, TSize& size);
//     void CmAbout();
//     DECLARE_RESPONSE_TABLE(TMyWindow);
//   };
//   DEFINE_RESPONSE_TABLE1(TMyWindow, TWindow)
//     EV_WM_SIZE,
//     EV_COMMAND(CM_ABOUT, CmAbout),
//   END_RESPONSE_TABLE;
//
// Every EV_WM_xxx entry calls the member of the fixed name (EvSize for
// WM_SIZE) with the cracked message; the member may be virtual, and then the
// most derived override runs. DECLARE_RESPONSE_TABLE leaves the access at
// private: put it last in the class or follow it with an access specifier.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "platform/owl/defs.h"
#include "platform/owl/geometry.h"

class TCommandEnabler;

// The window-layer control-colour message: every WM_CTLCOLORxxx is looked up
// under it, and the handler gets the control type (CTLCOLOR_EDIT, ...).
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

enum class TEntryKind : uint8_t {
  Message,            // a window message
  Command,            // WM_COMMAND from a menu, an accelerator or a button click
  ChildNotify,        // a control's notification to its parent, by id and code
  ChildNotifyAllCodes,
  NotifyAtChild,      // a notification handled by the control object itself
  CommandEnable,      // asks whether a command is enabled
  Notify,             // WM_NOTIFY by id and code
  End,
};

struct TResponseTableEntry {
  TEntryKind Kind;
  uint Msg;
  uint Id;      // command or control id (first of a range)
  uint IdLast;  // last id of a range
  uint Code;    // notification code
  TResult (*Dispatcher)(void* object, TParam1, TParam2);
};

// What is looked up, and after a successful Find the entry and the object
// (of the class whose table holds the entry) it is dispatched to.
struct TEventInfo {
  explicit TEventInfo(uint msg, uint id = 0, uint code = 0, TEntryKind kind = TEntryKind::Message)
      : Kind(kind), Msg(msg), Id(id), Code(code) {}
  static TEventInfo Command(uint id) { return TEventInfo(WM_COMMAND, id, 0, TEntryKind::Command); }
  static TEventInfo ChildNotify(uint id, uint code) { return TEventInfo(WM_COMMAND, id, code, TEntryKind::ChildNotify); }
  static TEventInfo NotifyAtChild(uint code) { return TEventInfo(WM_COMMAND, 0, code, TEntryKind::NotifyAtChild); }
  static TEventInfo CommandEnable(uint id) { return TEventInfo(WM_COMMAND, id, 0, TEntryKind::CommandEnable); }
  static TEventInfo Notify(uint id, uint code) { return TEventInfo(WM_NOTIFY, id, code, TEntryKind::Notify); }

  TEntryKind Kind;
  uint Msg;
  uint Id;
  uint Code;
  void* Object = nullptr;
  const TResponseTableEntry* Entry = nullptr;
};

class TEventHandler {
public:
  virtual ~TEventHandler() = default;
  // The response-table lookup; classes with a table override it through
  // DECLARE_RESPONSE_TABLE. The base has no entries.
  virtual bool Find(TEventInfo& info) { return false; }
  // Calls the handler that Find found.
  static TResult Dispatch(const TEventInfo& info, TParam1 p1, TParam2 p2) {
    return info.Entry->Dispatcher(info.Object, p1, p2);
  }

protected:
  static bool SearchEntries(const TResponseTableEntry* entries, TEventInfo& info, void* object);
};

// ---- table declaration and definition ----

#define DECLARE_RESPONSE_TABLE(cls)                  \
 public:                                             \
  using TMyClass = cls;                              \
  bool Find(::TEventInfo& tslEventInfo) override;    \
                                                     \
 private:                                            \
  static const ::TResponseTableEntry tslResponseEntries_[]

#define TSL_RT_SEARCH_(cls) \
  ::TEventHandler::SearchEntries(cls::tslResponseEntries_, tslEventInfo, static_cast<void*>(this))

#define DEFINE_RESPONSE_TABLE(cls)                                                    \
  bool cls::Find(::TEventInfo& tslEventInfo) { return TSL_RT_SEARCH_(cls); }          \
  const ::TResponseTableEntry cls::tslResponseEntries_[] = {

#define DEFINE_RESPONSE_TABLE1(cls, base1)                                            \
  bool cls::Find(::TEventInfo& tslEventInfo) {                                        \
    return TSL_RT_SEARCH_(cls) || base1::Find(tslEventInfo);                          \
  }                                                                                   \
  const ::TResponseTableEntry cls::tslResponseEntries_[] = {

#define DEFINE_RESPONSE_TABLE2(cls, base1, base2)                                      \
  bool cls::Find(::TEventInfo& tslEventInfo) {                                        \
    return TSL_RT_SEARCH_(cls) || base1::Find(tslEventInfo) || base2::Find(tslEventInfo); \
  }                                                                                   \
  const ::TResponseTableEntry cls::tslResponseEntries_[] = {

#define DEFINE_RESPONSE_TABLE3(cls, base1, base2, base3)                              \
  bool cls::Find(::TEventInfo& tslEventInfo) {                                        \
    return TSL_RT_SEARCH_(cls) || base1::Find(tslEventInfo) || base2::Find(tslEventInfo) || \
           base3::Find(tslEventInfo);                                                 \
  }                                                                                   \
  const ::TResponseTableEntry cls::tslResponseEntries_[] = {

#define END_RESPONSE_TABLE \
  { ::TEntryKind::End, 0, 0, 0, 0, nullptr } }

// ---- dispatchers: crack the parameters and call the member ----

namespace owl_dispatch {

template <class T>
inline T* Obj(void* o) { return static_cast<T*>(o); }
inline TPoint PointOf(TParam2 p2) { return TPoint(static_cast<short>(LOWORD(p2)), static_cast<short>(HIWORD(p2))); }

// void ()
template <class T, auto F> TResult V(void* o, TParam1, TParam2) { (Obj<T>(o)->*F)(); return 0; }
// TResult (TParam1, TParam2)
template <class T, auto F> TResult Raw(void* o, TParam1 p1, TParam2 p2) { return (Obj<T>(o)->*F)(p1, p2); }
// void (uint key, uint repeatCount, uint flags)
template <class T, auto F> TResult Key(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(static_cast<uint>(p1), static_cast<uint>(LOWORD(p2)), static_cast<uint>(HIWORD(p2)));
  return 0;
}
// void (uint modKeys, TPoint& point)
template <class T, auto F> TResult Mouse(void* o, TParam1 p1, TParam2 p2) {
  TPoint p = PointOf(p2);
  (Obj<T>(o)->*F)(static_cast<uint>(p1), p);
  return 0;
}
// void (uint modKeys, int zDelta, TPoint& point)
template <class T, auto F> TResult Wheel(void* o, TParam1 p1, TParam2 p2) {
  TPoint p = PointOf(p2);
  (Obj<T>(o)->*F)(static_cast<uint>(LOWORD(p1)), static_cast<int>(static_cast<short>(HIWORD(p1))), p);
  return 0;
}
// bool (HDC)
template <class T, auto F> TResult EraseBkgnd(void* o, TParam1 p1, TParam2) {
  return (Obj<T>(o)->*F)(reinterpret_cast<HDC>(p1)) ? 1 : 0;
}
// void (uint sizeType, TSize& size)
template <class T, auto F> TResult Size(void* o, TParam1 p1, TParam2 p2) {
  TSize s(LOWORD(p2), HIWORD(p2));
  (Obj<T>(o)->*F)(static_cast<uint>(p1), s);
  return 0;
}
// void (TPoint& clientOrigin)
template <class T, auto F> TResult Move(void* o, TParam1, TParam2 p2) {
  TPoint p = PointOf(p2);
  (Obj<T>(o)->*F)(p);
  return 0;
}
// void (uint timerId)
template <class T, auto F> TResult Timer(void* o, TParam1 p1, TParam2) { (Obj<T>(o)->*F)(static_cast<uint>(p1)); return 0; }
// int (CREATESTRUCT&)
template <class T, auto F> TResult Create(void* o, TParam1, TParam2 p2) {
  return (Obj<T>(o)->*F)(*reinterpret_cast<CREATESTRUCTA*>(p2));
}
// bool (HWND hWndCursor, uint hitTest, uint mouseMsg)
template <class T, auto F> TResult SetCursor(void* o, TParam1 p1, TParam2 p2) {
  return (Obj<T>(o)->*F)(reinterpret_cast<HWND>(p1), static_cast<uint>(LOWORD(p2)), static_cast<uint>(HIWORD(p2))) ? 1 : 0;
}
// void (uint scrollCode, uint thumbPos, HWND hWndCtl)
template <class T, auto F> TResult Scroll(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(static_cast<uint>(LOWORD(p1)), static_cast<uint>(HIWORD(p1)), reinterpret_cast<HWND>(p2));
  return 0;
}
// void (uint active, bool minimized, HWND hWndOther)
template <class T, auto F> TResult Activate(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(static_cast<uint>(LOWORD(p1)), HIWORD(p1) != 0, reinterpret_cast<HWND>(p2));
  return 0;
}
// void (bool active, DWORD threadId)
template <class T, auto F> TResult ActivateApp(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(p1 != 0, static_cast<DWORD>(p2));
  return 0;
}
// void (HWND)
template <class T, auto F> TResult Hwnd1(void* o, TParam1 p1, TParam2) {
  (Obj<T>(o)->*F)(reinterpret_cast<HWND>(p1));
  return 0;
}
// void (HWND) from lParam
template <class T, auto F> TResult Hwnd2(void* o, TParam1, TParam2 p2) {
  (Obj<T>(o)->*F)(reinterpret_cast<HWND>(p2));
  return 0;
}
// void (X&) from lParam
template <class T, class X, auto F> TResult Ref2(void* o, TParam1, TParam2 p2) {
  (Obj<T>(o)->*F)(*reinterpret_cast<X*>(p2));
  return 0;
}
// bool ()
template <class T, auto F> TResult Bool0(void* o, TParam1, TParam2) { return (Obj<T>(o)->*F)() ? 1 : 0; }
// void (uint ctrlId, X&)
template <class T, class X, auto F> TResult IdRef(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(static_cast<uint>(p1), *reinterpret_cast<X*>(p2));
  return 0;
}
// int (uint ctrlId, COMPAREITEMSTRUCT&)
template <class T, auto F> TResult CompareItem(void* o, TParam1 p1, TParam2 p2) {
  return (Obj<T>(o)->*F)(static_cast<uint>(p1), *reinterpret_cast<COMPAREITEMSTRUCT*>(p2));
}
// void (bool show, uint status)
template <class T, auto F> TResult ShowWindow(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(p1 != 0, static_cast<uint>(p2));
  return 0;
}
// uint (TPoint& screenPoint)
template <class T, auto F> TResult NCHitTest(void* o, TParam1, TParam2 p2) {
  TPoint p = PointOf(p2);
  return static_cast<TResult>((Obj<T>(o)->*F)(p));
}
// uint (MSG* msg)
template <class T, auto F> TResult GetDlgCode(void* o, TParam1, TParam2 p2) {
  return static_cast<TResult>((Obj<T>(o)->*F)(reinterpret_cast<MSG*>(p2)));
}
// void (uint cmdType, TPoint& point)
template <class T, auto F> TResult SysCommand(void* o, TParam1 p1, TParam2 p2) {
  TPoint p = PointOf(p2);
  (Obj<T>(o)->*F)(static_cast<uint>(p1), p);
  return 0;
}
// void (HFONT, bool redraw)
template <class T, auto F> TResult SetFont(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(reinterpret_cast<HFONT>(p1), LOWORD(p2) != 0);
  return 0;
}
// HFONT ()
template <class T, auto F> TResult GetFont(void* o, TParam1, TParam2) {
  return reinterpret_cast<TResult>((Obj<T>(o)->*F)());
}
// void (HMENU popup, uint index, bool sysMenu)
template <class T, auto F> TResult InitMenuPopup(void* o, TParam1 p1, TParam2 p2) {
  (Obj<T>(o)->*F)(reinterpret_cast<HMENU>(p1), static_cast<uint>(LOWORD(p2)), HIWORD(p2) != 0);
  return 0;
}
// uint (HWND topLevel, uint hitCode, uint msg)
template <class T, auto F> TResult MouseActivate(void* o, TParam1 p1, TParam2 p2) {
  return static_cast<TResult>(
      (Obj<T>(o)->*F)(reinterpret_cast<HWND>(p1), static_cast<uint>(LOWORD(p2)), static_cast<uint>(HIWORD(p2))));
}
// void (bool)
template <class T, auto F> TResult Bool1(void* o, TParam1 p1, TParam2) { (Obj<T>(o)->*F)(p1 != 0); return 0; }

// Commands: p1/p2 are WM_COMMAND's parameters.
template <class T, auto F> TResult CmdId(void* o, TParam1 p1, TParam2) { (Obj<T>(o)->*F)(static_cast<uint>(LOWORD(p1))); return 0; }
template <class T, auto F> TResult CmdCode(void* o, TParam1 p1, TParam2) { (Obj<T>(o)->*F)(static_cast<uint>(HIWORD(p1))); return 0; }
// Command enabling: p2 is the enabler.
template <class T, auto F> TResult Enable(void* o, TParam1, TParam2 p2) {
  (Obj<T>(o)->*F)(*reinterpret_cast<TCommandEnabler*>(p2));
  return 0;
}
// WM_NOTIFY: p2 is the NMHDR.
template <class T, auto F> TResult NotifyV(void* o, TParam1, TParam2 p2) {
  (Obj<T>(o)->*F)(*reinterpret_cast<NMHDR*>(p2));
  return 0;
}
template <class T, auto F> TResult NotifyR(void* o, TParam1, TParam2 p2) {
  return (Obj<T>(o)->*F)(*reinterpret_cast<NMHDR*>(p2));
}

// HBRUSH (HDC, HWND child, uint ctlType). The window layer hands the three in
// a small record, since the control type is not among the message's
// parameters but comes from which WM_CTLCOLORxxx was sent.
struct TCtlColorArgs {
  HDC Dc;
  HWND Child;
  uint CtlType;
};
template <class T, auto F> TResult CtlColor(void* o, TParam1, TParam2 p2) {
  const auto* a = reinterpret_cast<const TCtlColorArgs*>(p2);
  return reinterpret_cast<TResult>((Obj<T>(o)->*F)(a->Dc, a->Child, a->CtlType));
}

}  // namespace owl_dispatch

// ---- entries ----

#define TSL_EV_MSG_(msg, disp) \
  { ::TEntryKind::Message, static_cast<uint>(msg), 0, 0, 0, disp }

// Any message: TResult member(TParam1, TParam2).
#define EV_MESSAGE(msg, member) TSL_EV_MSG_(msg, (&::owl_dispatch::Raw<TMyClass, &TMyClass::member>))

// Commands: void member(); _AND_ID and the range give the id.
#define EV_COMMAND(id, member) \
  { ::TEntryKind::Command, WM_COMMAND, static_cast<uint>(id), static_cast<uint>(id), 0, &::owl_dispatch::V<TMyClass, &TMyClass::member> }
#define EV_COMMAND_AND_ID(id, member) \
  { ::TEntryKind::Command, WM_COMMAND, static_cast<uint>(id), static_cast<uint>(id), 0, &::owl_dispatch::CmdId<TMyClass, &TMyClass::member> }
#define EV_COMMAND_RANGE(first, last, member) \
  { ::TEntryKind::Command, WM_COMMAND, static_cast<uint>(first), static_cast<uint>(last), 0, &::owl_dispatch::CmdId<TMyClass, &TMyClass::member> }
// void member(TCommandEnabler&)
#define EV_COMMAND_ENABLE(id, member) \
  { ::TEntryKind::CommandEnable, WM_COMMAND, static_cast<uint>(id), static_cast<uint>(id), 0, &::owl_dispatch::Enable<TMyClass, &TMyClass::member> }

// A control's notification, in the parent's table: void member(); the
// _AND_CODE and _ALL_CODES forms get the code.
#define EV_CHILD_NOTIFY(id, code, member) \
  { ::TEntryKind::ChildNotify, WM_COMMAND, static_cast<uint>(id), static_cast<uint>(id), static_cast<uint>(code), &::owl_dispatch::V<TMyClass, &TMyClass::member> }
#define EV_CHILD_NOTIFY_AND_CODE(id, code, member) \
  { ::TEntryKind::ChildNotify, WM_COMMAND, static_cast<uint>(id), static_cast<uint>(id), static_cast<uint>(code), &::owl_dispatch::CmdCode<TMyClass, &TMyClass::member> }
#define EV_CHILD_NOTIFY_ALL_CODES(id, member) \
  { ::TEntryKind::ChildNotifyAllCodes, WM_COMMAND, static_cast<uint>(id), static_cast<uint>(id), 0, &::owl_dispatch::CmdCode<TMyClass, &TMyClass::member> }
// A notification in the control's own table (the control handles what it
// tells its parent): void member().
#define EV_NOTIFY_AT_CHILD(code, member) \
  { ::TEntryKind::NotifyAtChild, WM_COMMAND, 0, 0, static_cast<uint>(code), &::owl_dispatch::V<TMyClass, &TMyClass::member> }

#define EV_BN_CLICKED(id, member) EV_CHILD_NOTIFY(id, BN_CLICKED, member)
#define EV_BN_DOUBLECLICKED(id, member) EV_CHILD_NOTIFY(id, BN_DOUBLECLICKED, member)
#define EV_LBN_SELCHANGE(id, member) EV_CHILD_NOTIFY(id, LBN_SELCHANGE, member)
#define EV_LBN_DBLCLK(id, member) EV_CHILD_NOTIFY(id, LBN_DBLCLK, member)
#define EV_LBN_SELCANCEL(id, member) EV_CHILD_NOTIFY(id, LBN_SELCANCEL, member)
#define EV_LBN_SETFOCUS(id, member) EV_CHILD_NOTIFY(id, LBN_SETFOCUS, member)
#define EV_LBN_KILLFOCUS(id, member) EV_CHILD_NOTIFY(id, LBN_KILLFOCUS, member)
#define EV_CBN_SELCHANGE(id, member) EV_CHILD_NOTIFY(id, CBN_SELCHANGE, member)
#define EV_CBN_DBLCLK(id, member) EV_CHILD_NOTIFY(id, CBN_DBLCLK, member)
#define EV_CBN_EDITCHANGE(id, member) EV_CHILD_NOTIFY(id, CBN_EDITCHANGE, member)
#define EV_CBN_EDITUPDATE(id, member) EV_CHILD_NOTIFY(id, CBN_EDITUPDATE, member)
#define EV_CBN_DROPDOWN(id, member) EV_CHILD_NOTIFY(id, CBN_DROPDOWN, member)
#define EV_CBN_CLOSEUP(id, member) EV_CHILD_NOTIFY(id, CBN_CLOSEUP, member)
#define EV_CBN_SELENDOK(id, member) EV_CHILD_NOTIFY(id, CBN_SELENDOK, member)
#define EV_CBN_SETFOCUS(id, member) EV_CHILD_NOTIFY(id, CBN_SETFOCUS, member)
#define EV_CBN_KILLFOCUS(id, member) EV_CHILD_NOTIFY(id, CBN_KILLFOCUS, member)
#define EV_EN_CHANGE(id, member) EV_CHILD_NOTIFY(id, EN_CHANGE, member)
#define EV_EN_UPDATE(id, member) EV_CHILD_NOTIFY(id, EN_UPDATE, member)
#define EV_EN_SETFOCUS(id, member) EV_CHILD_NOTIFY(id, EN_SETFOCUS, member)
#define EV_EN_KILLFOCUS(id, member) EV_CHILD_NOTIFY(id, EN_KILLFOCUS, member)
#define EV_EN_MAXTEXT(id, member) EV_CHILD_NOTIFY(id, EN_MAXTEXT, member)

// WM_NOTIFY by control id and code: void member(NMHDR&), or with a result
// TResult member(NMHDR&).
#define EV_NOTIFY(id, code, member) \
  { ::TEntryKind::Notify, WM_NOTIFY, static_cast<uint>(id), static_cast<uint>(id), static_cast<uint>(code), &::owl_dispatch::NotifyV<TMyClass, &TMyClass::member> }
#define EV_NOTIFY_RESULT(id, code, member) \
  { ::TEntryKind::Notify, WM_NOTIFY, static_cast<uint>(id), static_cast<uint>(id), static_cast<uint>(code), &::owl_dispatch::NotifyR<TMyClass, &TMyClass::member> }
#define EV_TCN_SELCHANGE(id, member) EV_NOTIFY(id, TCN_SELCHANGE, member)
#define EV_TTN_NEEDTEXT(id, member) EV_NOTIFY(id, TTN_NEEDTEXTA, member)

// Window messages, each to the member of the fixed name, with the signature
// in the comment.
#define EV_WM_ACTIVATE TSL_EV_MSG_(WM_ACTIVATE, (&::owl_dispatch::Activate<TMyClass, &TMyClass::EvActivate>))           // void (uint active, bool minimized, HWND other)
#define EV_WM_ACTIVATEAPP TSL_EV_MSG_(WM_ACTIVATEAPP, (&::owl_dispatch::ActivateApp<TMyClass, &TMyClass::EvActivateApp>))  // void (bool active, DWORD threadId)
#define EV_WM_CAPTURECHANGED TSL_EV_MSG_(WM_CAPTURECHANGED, (&::owl_dispatch::Hwnd2<TMyClass, &TMyClass::EvCaptureChanged>))  // void (HWND newCapture)
#define EV_WM_CHAR TSL_EV_MSG_(WM_CHAR, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvChar>))                         // void (uint key, uint repeat, uint flags)
#define EV_WM_CLOSE TSL_EV_MSG_(WM_CLOSE, (&::owl_dispatch::V<TMyClass, &TMyClass::EvClose>))                         // void ()
#define EV_WM_COMPAREITEM TSL_EV_MSG_(WM_COMPAREITEM, (&::owl_dispatch::CompareItem<TMyClass, &TMyClass::EvCompareItem>))  // int (uint ctrlId, COMPAREITEMSTRUCT&)
#define EV_WM_CREATE TSL_EV_MSG_(WM_CREATE, (&::owl_dispatch::Create<TMyClass, &TMyClass::EvCreate>))                // int (CREATESTRUCT&)
#define EV_WM_CTLCOLOR TSL_EV_MSG_(WM_CTLCOLOR, (&::owl_dispatch::CtlColor<TMyClass, &TMyClass::EvCtlColor>))         // HBRUSH (HDC, HWND child, uint ctlType)
#define EV_WM_DEADCHAR TSL_EV_MSG_(WM_DEADCHAR, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvDeadChar>))
#define EV_WM_DELETEITEM TSL_EV_MSG_(WM_DELETEITEM, (&::owl_dispatch::IdRef<TMyClass, DELETEITEMSTRUCT, &TMyClass::EvDeleteItem>))  // void (uint ctrlId, DELETEITEMSTRUCT&)
#define EV_WM_DESTROY TSL_EV_MSG_(WM_DESTROY, (&::owl_dispatch::V<TMyClass, &TMyClass::EvDestroy>))                   // void ()
#define EV_WM_DRAWITEM TSL_EV_MSG_(WM_DRAWITEM, (&::owl_dispatch::IdRef<TMyClass, DRAWITEMSTRUCT, &TMyClass::EvDrawItem>))  // void (uint ctrlId, DRAWITEMSTRUCT&)
#define EV_WM_ENABLE TSL_EV_MSG_(WM_ENABLE, (&::owl_dispatch::Bool1<TMyClass, &TMyClass::EvEnable>))                  // void (bool enabled)
#define EV_WM_ERASEBKGND TSL_EV_MSG_(WM_ERASEBKGND, (&::owl_dispatch::EraseBkgnd<TMyClass, &TMyClass::EvEraseBkgnd>))  // bool (HDC)
#define EV_WM_GETDLGCODE TSL_EV_MSG_(WM_GETDLGCODE, (&::owl_dispatch::GetDlgCode<TMyClass, &TMyClass::EvGetDlgCode>))  // uint (MSG*)
#define EV_WM_GETFONT TSL_EV_MSG_(WM_GETFONT, (&::owl_dispatch::GetFont<TMyClass, &TMyClass::EvGetFont>))            // HFONT ()
#define EV_WM_GETMINMAXINFO TSL_EV_MSG_(WM_GETMINMAXINFO, (&::owl_dispatch::Ref2<TMyClass, MINMAXINFO, &TMyClass::EvGetMinMaxInfo>))  // void (MINMAXINFO&)
#define EV_WM_HSCROLL TSL_EV_MSG_(WM_HSCROLL, (&::owl_dispatch::Scroll<TMyClass, &TMyClass::EvHScroll>))             // void (uint code, uint thumbPos, HWND ctl)
#define EV_WM_INITMENUPOPUP TSL_EV_MSG_(WM_INITMENUPOPUP, (&::owl_dispatch::InitMenuPopup<TMyClass, &TMyClass::EvInitMenuPopup>))  // void (HMENU, uint index, bool sysMenu)
#define EV_WM_KEYDOWN TSL_EV_MSG_(WM_KEYDOWN, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvKeyDown>))
#define EV_WM_KEYUP TSL_EV_MSG_(WM_KEYUP, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvKeyUp>))
#define EV_WM_KILLFOCUS TSL_EV_MSG_(WM_KILLFOCUS, (&::owl_dispatch::Hwnd1<TMyClass, &TMyClass::EvKillFocus>))        // void (HWND getsFocus)
#define EV_WM_LBUTTONDBLCLK TSL_EV_MSG_(WM_LBUTTONDBLCLK, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvLButtonDblClk>))  // void (uint modKeys, TPoint&)
#define EV_WM_LBUTTONDOWN TSL_EV_MSG_(WM_LBUTTONDOWN, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvLButtonDown>))
#define EV_WM_LBUTTONUP TSL_EV_MSG_(WM_LBUTTONUP, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvLButtonUp>))
#define EV_WM_MBUTTONDBLCLK TSL_EV_MSG_(WM_MBUTTONDBLCLK, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvMButtonDblClk>))
#define EV_WM_MBUTTONDOWN TSL_EV_MSG_(WM_MBUTTONDOWN, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvMButtonDown>))
#define EV_WM_MBUTTONUP TSL_EV_MSG_(WM_MBUTTONUP, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvMButtonUp>))
#define EV_WM_MEASUREITEM TSL_EV_MSG_(WM_MEASUREITEM, (&::owl_dispatch::IdRef<TMyClass, MEASUREITEMSTRUCT, &TMyClass::EvMeasureItem>))  // void (uint ctrlId, MEASUREITEMSTRUCT&)
#define EV_WM_MOUSEACTIVATE TSL_EV_MSG_(WM_MOUSEACTIVATE, (&::owl_dispatch::MouseActivate<TMyClass, &TMyClass::EvMouseActivate>))  // uint (HWND topLevel, uint hitCode, uint msg)
#define EV_WM_MOUSEMOVE TSL_EV_MSG_(WM_MOUSEMOVE, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvMouseMove>))
#define EV_WM_MOUSEWHEEL TSL_EV_MSG_(WM_MOUSEWHEEL, (&::owl_dispatch::Wheel<TMyClass, &TMyClass::EvMouseWheel>))    // void (uint modKeys, int zDelta, TPoint& screenPoint)
#define EV_WM_MOVE TSL_EV_MSG_(WM_MOVE, (&::owl_dispatch::Move<TMyClass, &TMyClass::EvMove>))                         // void (TPoint& clientOrigin)
#define EV_WM_NCDESTROY TSL_EV_MSG_(WM_NCDESTROY, (&::owl_dispatch::V<TMyClass, &TMyClass::EvNCDestroy>))
#define EV_WM_NCHITTEST TSL_EV_MSG_(WM_NCHITTEST, (&::owl_dispatch::NCHitTest<TMyClass, &TMyClass::EvNCHitTest>))    // uint (TPoint& screenPoint)
#define EV_WM_PAINT TSL_EV_MSG_(WM_PAINT, (&::owl_dispatch::V<TMyClass, &TMyClass::EvPaint>))                         // void ()
#define EV_WM_PALETTECHANGED TSL_EV_MSG_(WM_PALETTECHANGED, (&::owl_dispatch::Hwnd1<TMyClass, &TMyClass::EvPaletteChanged>))  // void (HWND changer)
#define EV_WM_QUERYNEWPALETTE TSL_EV_MSG_(WM_QUERYNEWPALETTE, (&::owl_dispatch::Bool0<TMyClass, &TMyClass::EvQueryNewPalette>))  // bool ()
#define EV_WM_RBUTTONDBLCLK TSL_EV_MSG_(WM_RBUTTONDBLCLK, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvRButtonDblClk>))
#define EV_WM_RBUTTONDOWN TSL_EV_MSG_(WM_RBUTTONDOWN, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvRButtonDown>))
#define EV_WM_RBUTTONUP TSL_EV_MSG_(WM_RBUTTONUP, (&::owl_dispatch::Mouse<TMyClass, &TMyClass::EvRButtonUp>))
#define EV_WM_SETCURSOR TSL_EV_MSG_(WM_SETCURSOR, (&::owl_dispatch::SetCursor<TMyClass, &TMyClass::EvSetCursor>))     // bool (HWND, uint hitTest, uint mouseMsg)
#define EV_WM_SETFOCUS TSL_EV_MSG_(WM_SETFOCUS, (&::owl_dispatch::Hwnd1<TMyClass, &TMyClass::EvSetFocus>))           // void (HWND lostFocus)
#define EV_WM_SETFONT TSL_EV_MSG_(WM_SETFONT, (&::owl_dispatch::SetFont<TMyClass, &TMyClass::EvSetFont>))             // void (HFONT, bool redraw)
#define EV_WM_SHOWWINDOW TSL_EV_MSG_(WM_SHOWWINDOW, (&::owl_dispatch::ShowWindow<TMyClass, &TMyClass::EvShowWindow>))  // void (bool show, uint status)
#define EV_WM_SIZE TSL_EV_MSG_(WM_SIZE, (&::owl_dispatch::Size<TMyClass, &TMyClass::EvSize>))                         // void (uint sizeType, TSize&)
#define EV_WM_SYSCHAR TSL_EV_MSG_(WM_SYSCHAR, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvSysChar>))
#define EV_WM_SYSCOMMAND TSL_EV_MSG_(WM_SYSCOMMAND, (&::owl_dispatch::SysCommand<TMyClass, &TMyClass::EvSysCommand>))  // void (uint cmdType, TPoint&)
#define EV_WM_SYSKEYDOWN TSL_EV_MSG_(WM_SYSKEYDOWN, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvSysKeyDown>))
#define EV_WM_SYSKEYUP TSL_EV_MSG_(WM_SYSKEYUP, (&::owl_dispatch::Key<TMyClass, &TMyClass::EvSysKeyUp>))
#define EV_WM_TIMER TSL_EV_MSG_(WM_TIMER, (&::owl_dispatch::Timer<TMyClass, &TMyClass::EvTimer>))                     // void (uint timerId)
#define EV_WM_VSCROLL TSL_EV_MSG_(WM_VSCROLL, (&::owl_dispatch::Scroll<TMyClass, &TMyClass::EvVScroll>))
#define EV_WM_WINDOWPOSCHANGED TSL_EV_MSG_(WM_WINDOWPOSCHANGED, (&::owl_dispatch::Ref2<TMyClass, WINDOWPOS, &TMyClass::EvWindowPosChanged>))  // void (WINDOWPOS&)
#define EV_WM_WINDOWPOSCHANGING TSL_EV_MSG_(WM_WINDOWPOSCHANGING, (&::owl_dispatch::Ref2<TMyClass, WINDOWPOS, &TMyClass::EvWindowPosChanging>))
