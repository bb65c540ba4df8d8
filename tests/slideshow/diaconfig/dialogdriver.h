// Drives a modal dialog of ours while it runs: one step per timer tick once
// the dialog is visible; when the steps run out, Escape ends it. Steps send
// control messages (their effects are done when the step returns) and post
// the ones that open a further modal window, so the next step runs inside
// that window's loop.
#pragma once
#include "wintest.h"

#include <functional>
#include <vector>

#include "platform/owl/dialog.h"

namespace dialogdriver {

struct TState {
  TDialog* Dialog = nullptr;
  std::vector<std::function<void()>> Steps;
  size_t Next = 0;
  bool InStep = false;
};
inline TState*& Current() {
  static TState* state = nullptr;
  return state;
}

inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  TState* s = Current();
  if (!s || s->InStep || !s->Dialog || !s->Dialog->HWindow || !::IsWindowVisible(s->Dialog->HWindow)) return;
  s->InStep = true;
  if (s->Next < s->Steps.size()) {
    s->Steps[s->Next++]();
  } else {
    ::PostMessageA(s->Dialog->HWindow, WM_COMMAND, IDCANCEL, 0);
  }
  s->InStep = false;
}

// Runs `dialog` modally with the steps; its Execute result.
template <class D>
int Run(D& dialog, const std::vector<std::function<void(D&)>>& steps) {
  TState s;
  s.Dialog = &dialog;
  for (const auto& step : steps) s.Steps.push_back([&dialog, step] { step(dialog); });
  Current() = &s;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Tick);
  const int result = dialog.Execute();
  ::KillTimer(nullptr, timer);
  Current() = nullptr;
  EXPECT_EQ(s.Next, s.Steps.size()) << "steps left when the dialog ended";
  return result;
}

inline void Click(TWindow& d, int id) {
  d.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(d.GetDlgItem(id)));
}
inline void Notify(TWindow& d, int id, int code) {
  d.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(d.GetDlgItem(id)));
}
inline bool Enabled(TWindow& d, int id) { return ::IsWindowEnabled(d.GetDlgItem(id)) != 0; }
inline std::string Text(TWindow& d, int id) {
  char t[512] = {};
  ::GetDlgItemTextA(d.HWindow, id, t, sizeof t);
  return t;
}

}  // namespace dialogdriver
