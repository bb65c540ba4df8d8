// TFrameWindow: a top-level window with an optional client window that fills
// its client area, a menu and an icon. Menu and accelerator commands go to
// the focus window and its parents, then to the client, then to the frame.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/window.h"

class TFrameWindow : public TWindow {
public:
  // Style WS_OVERLAPPEDWINDOW | WS_VISIBLE at the default position and size.
  // The client (owned like any child) becomes a child of the frame.
  TFrameWindow(TWindow* parent, const char* title = nullptr, TWindow* clientWnd = nullptr,
               bool shrinkToClient = false, TModule* module = nullptr);

  TWindow* GetClientWindow() const { return ClientWnd; }
  // Returns the previous client, which the frame no longer owns.
  virtual TWindow* SetClientWindow(TWindow* clientWnd);
  // Loads and sets the frame's menu (now or when the window is created).
  virtual bool AssignMenu(TResId menuResId);
  // The frame's icon: a module's icon resource, or a system icon (IDI_*)
  // with a null module.
  bool SetIcon(TModule* module, TResId resId);
  bool SetIconSm(TModule* module, TResId resId);
  HICON GetIcon() const { return HIcon; }

  void SetupWindow() override;
  TResult EvCommand(uint id, HWND hWndCtl, uint notifyCode) override;
  void EvCommandEnable(TCommandEnabler& ce) override;

  void EvSize(uint sizeType, TSize& size);
  void EvSetFocus(HWND hWndLostFocus);
  void EvInitMenuPopup(HMENU hPopup, uint index, bool sysMenu);

protected:
  TWindow* ClientWnd = nullptr;
  HICON HIcon = nullptr;
  HICON HIconSm = nullptr;

private:
  void SizeClient();

  DECLARE_RESPONSE_TABLE(TFrameWindow);
};
