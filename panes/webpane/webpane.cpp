// webpane: web-browser controls as child windows addressed by id. Loaded by
// the player at run time. Every export catches what its element throws:
// nothing may unwind into the player across the library's edge.
#include "panes/webpane/webpane.h"

#include <ole2.h>

#include "panes/webpane/browserpane.h"

namespace {

// OLE starts in the thread of the first call, never in DllMain (the loader
// lock is held there).
TWebPane& Pane() {
  static const HRESULT ole = ::OleInitialize(nullptr);
  (void)ole;
  static TWebPane pane;
  return pane;
}

template <class R, class F>
R Guarded(R failed, F f) {
  try {
    return f(Pane());
  } catch (...) {
    return failed;
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

int PANEAPI WEBP_AddEle(void) {
  return Guarded(-1, [](TWebPane& p) { return p.AddEle(); });
}

BOOL PANEAPI WEBP_Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId) {
  try {
    return Pane().Create(id, style, rect, parent, controlId);
  } catch (...) {
    // What the failed creation left is removed; a second failure there
    // changes nothing.
    try {
      Pane().DeleteEle(id);
    } catch (...) {
    }
    return FALSE;
  }
}

BOOL PANEAPI WEBP_DeleteEle(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.DeleteEle(id); });
}
BOOL PANEAPI WEBP_ShowEle(int id, BOOL show) {
  return Guarded(FALSE, [id, show](TWebPane& p) { return p.ShowEle(id, show); });
}
BOOL PANEAPI WEBP_SetEleRect(int id, const RECT* r) {
  return Guarded(FALSE, [id, r](TWebPane& p) { return p.SetEleRect(id, r); });
}
BOOL PANEAPI WEBP_GoBack(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.GoBack(id); });
}
BOOL PANEAPI WEBP_GoForward(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.GoForward(id); });
}
BOOL PANEAPI WEBP_GoHome(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.GoHome(id); });
}
BOOL PANEAPI WEBP_GoSearch(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.GoSearch(id); });
}
BOOL PANEAPI WEBP_Navigate2(int id, const char* url) {
  return Guarded(FALSE, [id, url](TWebPane& p) { return p.Navigate2(id, url); });
}
BOOL PANEAPI WEBP_Refresh(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.Refresh(id); });
}
BOOL PANEAPI WEBP_Stop(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.Stop(id); });
}
BOOL PANEAPI WEBP_ViewFontsLargest(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.ViewFonts(id, 4); });
}
BOOL PANEAPI WEBP_ViewFontsLarge(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.ViewFonts(id, 3); });
}
BOOL PANEAPI WEBP_ViewFontsMedium(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.ViewFonts(id, 2); });
}
BOOL PANEAPI WEBP_ViewFontsSmall(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.ViewFonts(id, 1); });
}
BOOL PANEAPI WEBP_ViewFontsSmallest(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.ViewFonts(id, 0); });
}
BOOL PANEAPI WEBP_Print(int id) {
  return Guarded(FALSE, [id](TWebPane& p) { return p.Print(id); });
}
HWND PANEAPI WEBP_GetHandle(int id) {
  return Guarded(static_cast<HWND>(nullptr), [id](TWebPane& p) { return p.GetHandle(id); });
}
