// The exports under their undecorated names (mvpane.spec); the work is in
// moviewnd.cpp.
#include "panes/mvpane/mvpane.h"

#include "panes/mvpane/moviewnd.h"

LONG PANEAPI InitQT(void) { return mvpane::InitQT(); }
void PANEAPI ExitQT(void) { mvpane::ExitQT(); }
BOOL PANEAPI IsQTInstalled(void) { return mvpane::IsQTInstalled(); }
HMVPANE PANEAPI CreateMvpane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id) {
  return mvpane::CreateMvpane(parent, left, top, right, bottom, style, id);
}
BOOL PANEAPI DeleteMvpane(HMVPANE h) { return mvpane::DeleteMvpane(h); }
BOOL PANEAPI ShowMvpane(HMVPANE h, BOOL show) { return mvpane::ShowMvpane(h, show); }
HWND PANEAPI GetMvpane(HMVPANE h) { return mvpane::GetMvpane(h); }
BOOL PANEAPI SetMvpaneParent(HMVPANE h, HWND parent) { return mvpane::SetMvpaneParent(h, parent); }
BOOL PANEAPI SetMvpaneTransparency(HMVPANE h, BOOL on) { return mvpane::SetMvpaneTransparency(h, on); }
BOOL PANEAPI OpenQTMovie(HMVPANE h, const char* path) { return mvpane::OpenQTMovie(h, path); }
BOOL PANEAPI PlayBackQTMovie(HMVPANE h, int mode) { return mvpane::PlayBackQTMovie(h, mode); }
BOOL PANEAPI GetQTMovieRect(HMVPANE h, RECT* out) { return mvpane::GetQTMovieRect(h, out); }
BOOL PANEAPI SetQTMovieRect(HMVPANE h, const RECT* r) { return mvpane::SetQTMovieRect(h, r); }
short PANEAPI GetQTControllerBarHeight(HMVPANE h) { return mvpane::GetQTControllerBarHeight(h); }
BOOL PANEAPI ShowQTControllerBar(HMVPANE h, BOOL show) { return mvpane::ShowQTControllerBar(h, show); }
BOOL PANEAPI SetQTControllerRect(HMVPANE h, int left, int top, int right, int bottom) {
  return mvpane::SetQTControllerRect(h, left, top, right, bottom);
}
BOOL PANEAPI ShowQTControllerButton(HMVPANE h, BOOL show, int flags) {
  return mvpane::ShowQTControllerButton(h, show, flags);
}
LONG PANEAPI GetQTMovieDuration(HMVPANE h, BOOL inSeconds) { return mvpane::GetQTMovieDuration(h, inSeconds); }
LONG PANEAPI GetQTMovieCurTimePos(HMVPANE h) { return mvpane::GetQTMovieCurTimePos(h); }
BOOL PANEAPI SetQTMovieCurTimePos(HMVPANE h, LONG time) { return mvpane::SetQTMovieCurTimePos(h, time); }
BOOL PANEAPI SetQTMsgWindow(HMVPANE h, HWND window, UINT message) { return mvpane::SetQTMsgWindow(h, window, message); }
void PANEAPI RefreshQTWindow(HMVPANE h) { mvpane::RefreshQTWindow(h); }
BOOL PANEAPI SizeMvpane(HMVPANE h, int left, int top, int right, int bottom, BOOL withBar) {
  return mvpane::SizeMvpane(h, left, top, right, bottom, withBar);
}
