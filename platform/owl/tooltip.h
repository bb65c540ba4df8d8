// Tooltips (the common controls' tooltip class). A tool is a rectangle of a
// window (by id) or a whole child window (by handle). The owner relays the
// mouse messages (RelayEvent, from its PreProcessMsg); add TTF_SUBCLASS to
// uFlags to let the tooltip watch the window itself instead.
#pragma once
#include "platform/owl/defs.h"
#include <commctrl.h>

#include "platform/owl/control.h"

class TToolInfo : public TOOLINFOA {
public:
  TToolInfo();
  // A rectangle of `window`, known by `toolId`.
  TToolInfo(HWND window, const TRect& rect, uint toolId, const char* text = LPSTR_TEXTCALLBACKA);
  // A whole window `toolWindow`, child of `parent`.
  TToolInfo(HWND parent, HWND toolWindow, const char* text = LPSTR_TEXTCALLBACKA);
  void SetToolRect(const TRect& r) { rect = r; }
  void SetText(const char* text) { lpszText = const_cast<char*>(text); }
};

class TTooltip : public TControl {
public:
  // A tooltip owned by `parent`; alwaysTip shows tips also while the
  // parent is inactive.
  explicit TTooltip(TWindow* parent, bool alwaysTip = true, TModule* module = nullptr);

  const char* GetClassName() override { return TOOLTIPS_CLASSA; }
  bool Create() override;

  void Activate(bool activate = true) { SendMessage(TTM_ACTIVATE, activate); }
  bool AddTool(const TToolInfo& info);
  void DeleteTool(const TToolInfo& info);
  void NewToolRect(const TToolInfo& info);
  void UpdateTipText(const TToolInfo& info);
  bool GetToolInfo(TToolInfo& info) const;
  int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
  // Hands a mouse message of a tool's window to the tooltip.
  void RelayEvent(MSG& msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<TParam2>(&msg)); }
  void SetDelayTime(uint flag, int delay) { SendMessage(TTM_SETDELAYTIME, flag, MAKELPARAM(delay, 0)); }
  void SetMaxTipWidth(int width) { SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
};
