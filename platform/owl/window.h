// TWindow: a C++ object bound to a window handle. Windows created here get
// the layer's window procedure, which finds the object for the handle and
// walks its response tables (derived class first), falling back to the
// window's default processing. Controls of the system classes and dialog
// items are bound by subclassing.
//
// Ownership: a window owns its child window objects and deletes them with
// itself (a child destroyed first leaves the list on its own); it owns its
// Scroller.
#pragma once
#include "platform/owl/defs.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/owl/defs.h"
#include "platform/owl/eventhan.h"
#include "platform/owl/geometry.h"

class TApplication;
class TModule;
class TScroller;
class TDC;

// How the window is created: CreateWindowEx's arguments.
struct TWindowAttr {
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
  TResId Menu;        // menu resource of a top-level window
  int Id = 0;         // control id of a child window
  void* Param = nullptr;
  TResId AccelTable;  // accelerators translated in PreProcessMsg
};

enum TWindowFlag : uint32_t {
  wfAlias = 0x0001,           // wraps a window it did not create
  wfAutoCreate = 0x0002,      // created with its parent
  wfFromResource = 0x0004,    // a dialog item bound by id
  wfShrinkToClient = 0x0008,  // frame sized to its client
  wfMainWindow = 0x0010,      // the application's main window
  wfFullyCreated = 0x0020,    // SetupWindow has run
  wfPredefinedClass = 0x0040, // a window of a class not registered here (subclassed)
  wfModalWindow = 0x0080,     // running modally
  wfDialog = 0x0100,          // a dialog-manager window
  wfSettingUp = 0x0200,
};

// Command enabling: what a menu item or control asks before it is shown.
class TCommandEnabler {
public:
  explicit TCommandEnabler(uint id, HWND hWndReceiver = nullptr) : Id(id), HWndReceiver(hWndReceiver) {}
  virtual ~TCommandEnabler() = default;
  uint GetId() const { return Id; }
  virtual void Enable(bool enable = true) { Handled = true; Enabled = enable; }
  virtual void SetCheck(int state) { Handled = true; Check = state; }
  virtual void SetText(const char*) { Handled = true; }
  bool WasHandled() const { return Handled; }
  bool IsEnabled() const { return Enabled; }
  int GetCheck() const { return Check; }

  enum { Unchecked = 0, Checked = 1, Indeterminate = 2 };

protected:
  uint Id;
  HWND HWndReceiver;
  bool Handled = false;
  bool Enabled = true;
  int Check = -1;
};

class TWindow : public TEventHandler {
public:
  // A window to be created later with Create(); with a parent it is created
  // together with it. The default style is WS_CHILD | WS_VISIBLE.
  explicit TWindow(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
  // No parent (a literal null would otherwise also fit the handle form).
  explicit TWindow(std::nullptr_t, const char* title = nullptr, TModule* module = nullptr)
      : TWindow(static_cast<TWindow*>(nullptr), title, module) {}
  // An object for an existing window (alias): it gets the window's messages
  // and never destroys the window.
  explicit TWindow(HWND hWnd, TModule* module = nullptr);
  ~TWindow() override;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // ---- handle and lookup ----
  HWND GetHandle() const { return HWindow; }
  operator HWND() const { return HWindow; }
  bool IsWindow() const { return HWindow && ::IsWindow(HWindow); }
  // The object bound to a window of this process, or null.
  static TWindow* GetWindowPtr(HWND hWnd);

  // ---- module, application, flags ----
  TModule* GetModule() const;
  void SetModule(TModule* module) { Module = module; }
  TApplication* GetApplication() const;
  void SetFlag(uint32_t f) { Flags |= f; }
  void ClearFlag(uint32_t f) { Flags &= ~f; }
  bool IsFlagSet(uint32_t f) const { return (Flags & f) != 0; }
  void EnableAutoCreate() { SetFlag(wfAutoCreate); }
  void DisableAutoCreate() { ClearFlag(wfAutoCreate); }

  // ---- parent and children ----
  TWindow* GetParentO() const { return Parent; }
  HWND GetParentH() const { return HWindow ? ::GetParent(HWindow) : nullptr; }
  // Moves the object to another parent, and the window too when both exist.
  virtual void SetParent(TWindow* newParent);
  const std::vector<TWindow*>& GetChildren() const { return Children; }
  unsigned NumChildren() const { return static_cast<unsigned>(Children.size()); }
  TWindow* ChildWithId(int id) const;
  template <class F> void ForEach(F f) const {
    const auto copy = Children;
    for (TWindow* c : copy) f(*c);
  }
  template <class P> TWindow* FirstThat(P p) const {
    for (TWindow* c : Children)
      if (p(*c)) return c;
    return nullptr;
  }

  // ---- creation and life ----
  // Creates the window (and, in its SetupWindow, the children); false when
  // the window could not be created.
  virtual bool Create();
  // After the window exists: creates auto-create children, binds dialog
  // items, sets the scroll bars.
  virtual void SetupWindow();
  // Just before the window is destroyed (on WM_DESTROY).
  virtual void CleanupWindow();
  // True when every child agrees.
  virtual bool CanClose();
  // CanClose, then Destroy.
  virtual void CloseWindow(int retVal = 0);
  // Destroys the window (a modal one ends its modal loop with retVal).
  virtual void Destroy(int retVal = 0);
  // Destroys the window and deletes the object.
  void ShutDownWindow(int retVal = 0);
  virtual bool PreProcessMsg(MSG& msg);
  virtual bool IdleAction(long idleCount);
  // Window class: the name (by default one per C++ class) and its
  // description, registered on first use.
  virtual const char* GetClassName();
  virtual void GetWindowClass(WNDCLASSA& wc);
  bool Register();

  // ---- painting ----
  // Called by the default WM_PAINT with the paint DC and rectangle (shifted
  // by the scroller's position when it has one).
  virtual void Paint(TDC& dc, bool erase, TRect& rect);

  // ---- message handling ----
  virtual TResult WindowProc(uint msg, TParam1 p1, TParam2 p2);
  // The window's default answer to the message being handled.
  TResult DefaultProcessing();
  virtual TResult DefWindowProc(uint msg, TParam1 p1, TParam2 p2);
  // Menu and accelerator commands and control notifications.
  virtual TResult EvCommand(uint id, HWND hWndCtl, uint notifyCode);
  virtual void EvCommandEnable(TCommandEnabler& ce);
  virtual TResult EvNotify(uint id, NMHDR& info);
  // Runs this window's entry for a menu or accelerator command, if it has
  // one (frames route commands to their client and focus windows).
  bool HandleCommand(uint id, uint notifyCode, TResult& result);
  // WM_INITDIALOG of a dialog window: set-up; true lets the dialog manager
  // set the focus.
  virtual bool EvInitDialog(HWND hWndFocus);
  // Entry from the window procedure.
  TResult ReceiveMessage(uint msg, TParam1 p1, TParam2 p2);

  // ---- window operations ----
  // An exception thrown by the handler of this message is thrown again here.
  TResult SendMessage(uint msg, TParam1 p1 = 0, TParam2 p2 = 0) const;
  bool PostMessage(uint msg, TParam1 p1 = 0, TParam2 p2 = 0) const;
  TResult SendDlgItemMessage(int childId, uint msg, TParam1 p1 = 0, TParam2 p2 = 0) const;
  // Before the window exists, Show only decides whether it is created
  // visible.
  bool Show(int cmdShow);
  void Invalidate(bool erase = true) const;
  void InvalidateRect(const TRect& rect, bool erase = true) const;
  void InvalidateRgn(HRGN rgn, bool erase = true) const;
  void Validate() const;
  void ValidateRect(const TRect& rect) const;
  void UpdateWindow() const;
  bool MoveWindow(int x, int y, int w, int h, bool repaint = false);
  bool MoveWindow(const TRect& rect, bool repaint = false) { return MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint); }
  bool SetWindowPos(HWND hWndInsertAfter, int x, int y, int w, int h, uint flags);
  bool SetWindowPos(HWND hWndInsertAfter, const TRect& rect, uint flags) {
    return SetWindowPos(hWndInsertAfter, rect.left, rect.top, rect.Width(), rect.Height(), flags);
  }
  void GetClientRect(TRect& rect) const;
  TRect GetClientRect() const;
  void GetWindowRect(TRect& rect) const;
  TRect GetWindowRect() const;
  void ClientToScreen(TPoint& p) const;
  void ScreenToClient(TPoint& p) const;
  void MapWindowPoints(HWND to, POINT* points, int count) const;
  void SetCaption(const char* title);
  const char* GetCaption() const { return Title; }
  void SetWindowText(const char* text);
  int GetWindowText(char* buffer, int size) const;
  int GetWindowTextLength() const;
  uint SetTimer(uint timerId, uint timeout, TIMERPROC proc = nullptr);
  bool KillTimer(uint timerId);
  // A message box through the program's UI service; the caption defaults to
  // the application's name.
  int MessageBox(const char* text, const char* caption = nullptr, uint type = MB_OK) const;
  HWND SetFocus();
  void SetCapture();
  bool EnableWindow(bool enable);
  bool IsWindowEnabled() const;
  bool IsWindowVisible() const;
  bool IsIconic() const;
  bool IsZoomed() const;
  uint32_t GetStyle() const;
  uint32_t SetStyle(uint32_t style);
  bool ModifyStyle(uint32_t remove, uint32_t add, uint swpFlags = 0);
  uint32_t GetExStyle() const;
  uint32_t SetExStyle(uint32_t style);
  bool ModifyExStyle(uint32_t remove, uint32_t add, uint swpFlags = 0);
  LONG_PTR GetWindowLongPtr(int index) const;
  LONG_PTR SetWindowLongPtr(int index, LONG_PTR value);
  int GetId() const;
  HWND GetDlgItem(int childId) const;
  uint GetDlgItemText(int childId, char* text, int max) const;
  void SetDlgItemText(int childId, const char* text) const;
  uint GetDlgItemInt(int childId, bool* translated = nullptr, bool isSigned = true) const;
  void SetDlgItemInt(int childId, uint value, bool isSigned = true) const;
  void CheckDlgButton(int buttonId, uint check);
  uint IsDlgButtonChecked(int buttonId) const;
  HMENU GetMenu() const;
  bool SetMenu(HMENU menu);
  void DrawMenuBar() const;
  HMENU GetSystemMenu(bool revert = false) const;
  void ScrollWindow(int dx, int dy, const TRect* scroll = nullptr, const TRect* clip = nullptr);
  int ScrollWindowEx(int dx, int dy, const TRect* scroll, const TRect* clip, HRGN update, TRect* updateRect, uint flags);
  void ShowScrollBar(int bar, bool show = true);
  void SetScrollRange(int bar, int minPos, int maxPos, bool redraw = true);
  void GetScrollRange(int bar, int& minPos, int& maxPos) const;
  int SetScrollPos(int bar, int pos, bool redraw = true);
  int GetScrollPos(int bar) const;
  // The cursor shown over the client area (WM_SETCURSOR); a null module
  // takes the system cursors (IDC_ARROW ...).
  bool SetCursor(TModule* module, TResId resId);
  bool SetWindowRgn(HRGN rgn, bool redraw = true);
  void SetRedraw(bool redraw);
  bool BringWindowToTop();
  HWND SetActiveWindow();

  // ---- default handlers (the window's default processing unless noted) ----
  void EvActivate(uint active, bool minimized, HWND hWndOther);
  void EvActivateApp(bool active, DWORD threadId);
  void EvCaptureChanged(HWND hWndNew);
  void EvChar(uint key, uint repeatCount, uint flags);
  void EvClose();  // the main window asks the application; others CloseWindow
  int EvCompareItem(uint ctrlId, COMPAREITEMSTRUCT& info);  // to the control object
  int EvCreate(CREATESTRUCTA& cs);  // runs SetupWindow
  HBRUSH EvCtlColor(HDC hDC, HWND hWndChild, uint ctlType);
  void EvDeadChar(uint key, uint repeatCount, uint flags);
  void EvDeleteItem(uint ctrlId, DELETEITEMSTRUCT& info);  // to the control object
  void EvDestroy();
  void EvDrawItem(uint ctrlId, DRAWITEMSTRUCT& info);  // to the control object
  void EvEnable(bool enabled);
  bool EvEraseBkgnd(HDC hDC);
  uint EvGetDlgCode(MSG* msg);
  HFONT EvGetFont();
  void EvGetMinMaxInfo(MINMAXINFO& info);
  void EvHScroll(uint scrollCode, uint thumbPos, HWND hWndCtl);  // the scroller
  void EvInitMenuPopup(HMENU hPopup, uint index, bool sysMenu);
  void EvKeyDown(uint key, uint repeatCount, uint flags);
  void EvKeyUp(uint key, uint repeatCount, uint flags);
  void EvKillFocus(HWND hWndGetFocus);
  void EvLButtonDblClk(uint modKeys, TPoint& point);
  void EvLButtonDown(uint modKeys, TPoint& point);
  void EvLButtonUp(uint modKeys, TPoint& point);
  void EvMButtonDblClk(uint modKeys, TPoint& point);
  void EvMButtonDown(uint modKeys, TPoint& point);
  void EvMButtonUp(uint modKeys, TPoint& point);
  void EvMeasureItem(uint ctrlId, MEASUREITEMSTRUCT& info);  // to the control object
  uint EvMouseActivate(HWND hTopLevel, uint hitCode, uint msg);
  void EvMouseMove(uint modKeys, TPoint& point);
  void EvMouseWheel(uint modKeys, int zDelta, TPoint& point);
  void EvMove(TPoint& clientOrigin);
  void EvNCDestroy();
  uint EvNCHitTest(TPoint& point);
  void EvPaint();  // a paint DC, then Paint
  void EvPaletteChanged(HWND hWndPalChg);
  bool EvQueryNewPalette();
  void EvRButtonDblClk(uint modKeys, TPoint& point);
  void EvRButtonDown(uint modKeys, TPoint& point);
  void EvRButtonUp(uint modKeys, TPoint& point);
  bool EvSetCursor(HWND hWndCursor, uint hitTest, uint mouseMsg);  // the cursor of SetCursor
  void EvSetFocus(HWND hWndLostFocus);
  void EvSetFont(HFONT font, bool redraw);
  void EvShowWindow(bool show, uint status);
  void EvSize(uint sizeType, TSize& size);  // the scroller's page size
  void EvSysChar(uint key, uint repeatCount, uint flags);
  void EvSysCommand(uint cmdType, TPoint& point);
  void EvSysKeyDown(uint key, uint repeatCount, uint flags);
  void EvSysKeyUp(uint key, uint repeatCount, uint flags);
  void EvTimer(uint timerId);
  void EvVScroll(uint scrollCode, uint thumbPos, HWND hWndCtl);  // the scroller
  void EvWindowPosChanged(WINDOWPOS& wp);
  void EvWindowPosChanging(WINDOWPOS& wp);

  // ---- public state, as the framework's users expect it ----
  HWND HWindow = nullptr;
  char* Title = nullptr;
  TWindow* Parent = nullptr;
  TWindowAttr Attr;
  TScroller* Scroller = nullptr;

protected:
  // Binds the object to an existing window: a window of another class is
  // subclassed so that its messages come here first.
  void Attach(HWND hWnd);
  // Undoes Attach; the window lives on.
  void Detach();
  // Runs SetupWindow once.
  void PerformSetup();
  // Creates or binds the children (from SetupWindow).
  virtual void CreateChildren();
  // Binds a dialog item by Attr.Id in the parent.
  bool BindToDialogItem();
  // The window procedure's part for a window being created by this layer.
  static TWindow* TakeCreationWindow();
  static void SetCreationWindow(TWindow* w);

  friend LRESULT CALLBACK OwlWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend INT_PTR CALLBACK OwlDialogProc(HWND, UINT, WPARAM, LPARAM);
  friend class TDialog;

  WNDPROC DefaultProc = nullptr;  // the window's own procedure when subclassed
  TModule* Module = nullptr;
  HACCEL HAccel = nullptr;
  HCURSOR HCursor = nullptr;

private:
  void Init(TWindow* parent, const char* title, TModule* module);
  void AddChild(TWindow* child);
  void RemoveChild(TWindow* child);
  // The control object of a child window, by handle or id.
  TWindow* ChildObject(HWND hWnd, uint id) const;

  struct TCurrentEvent {
    uint Msg = 0;
    TParam1 P1 = 0;
    TParam2 P2 = 0;
    bool Valid = false;
  };
  TCurrentEvent CurrentEvent;
  uint32_t Flags = 0;
  std::vector<TWindow*> Children;
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
  bool Subclassed = false;
  bool OwnsAttachment = false;
  mutable std::string ClassNameBuf;

  DECLARE_RESPONSE_TABLE(TWindow);
};

LRESULT CALLBACK OwlWindowProc(HWND hWnd, UINT msg, WPARAM p1, LPARAM p2);
INT_PTR CALLBACK OwlDialogProc(HWND hWnd, UINT msg, WPARAM p1, LPARAM p2);

// The object bound to a window of this process, or null.
inline TWindow* GetWindowPtr(HWND hWnd) { return TWindow::GetWindowPtr(hWnd); }
