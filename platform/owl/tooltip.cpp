#include "platform/owl/tooltip.h"

#include <cstring>

TToolInfo::TToolInfo() {
  std::memset(static_cast<TOOLINFOA*>(this), 0, sizeof(TOOLINFOA));
  cbSize = sizeof(TOOLINFOA);
}

TToolInfo::TToolInfo(HWND window, const TRect& r, uint toolId, const char* text) : TToolInfo() {
  uFlags = 0;
  hwnd = window;
  uId = toolId;
  rect = r;
  lpszText = const_cast<char*>(text);
}

TToolInfo::TToolInfo(HWND parent, HWND toolWindow, const char* text) : TToolInfo() {
  uFlags = TTF_IDISHWND;
  hwnd = parent;
  uId = reinterpret_cast<UINT_PTR>(toolWindow);
  lpszText = const_cast<char*>(text);
}

TTooltip::TTooltip(TWindow* parent, bool alwaysTip, TModule* module)
    : TControl(parent, 0, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, module) {
  Attr.Style = WS_POPUP | TTS_NOPREFIX | (alwaysTip ? TTS_ALWAYSTIP : 0);
  Attr.ExStyle = WS_EX_TOPMOST;
}

bool TTooltip::Create() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  return TControl::Create();
}

bool TTooltip::AddTool(const TToolInfo& info) {
  return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<TParam2>(static_cast<const TOOLINFOA*>(&info))) != 0;
}

void TTooltip::DeleteTool(const TToolInfo& info) {
  SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<TParam2>(static_cast<const TOOLINFOA*>(&info)));
}

void TTooltip::NewToolRect(const TToolInfo& info) {
  SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<TParam2>(static_cast<const TOOLINFOA*>(&info)));
}

void TTooltip::UpdateTipText(const TToolInfo& info) {
  SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<TParam2>(static_cast<const TOOLINFOA*>(&info)));
}

bool TTooltip::GetToolInfo(TToolInfo& info) const {
  return SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<TParam2>(static_cast<TOOLINFOA*>(&info))) != 0;
}
