// The movie pane's window object and its movie, and the exports' logic
// (namespace mvpane), which tests link directly to run it over a movie
// layer of their own.
#pragma once
#include <windows.h>

#include "platform/qtml/qtml.h"

// The movie of one pane: its file, the movie and its controller, and the
// window that hears of the movie's end.
class CQTMovie {
 public:
  static constexpr int kNameSize = 256;

  CQTMovie() = default;
  virtual ~CQTMovie();
  CQTMovie(const CQTMovie&) = delete;
  CQTMovie& operator=(const CQTMovie&) = delete;

  virtual int OpenMovie(const char* path);
  virtual void CloseMovie();
  virtual void NewMovie();
  virtual void Hook1() {}
  virtual void PlayerEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual void AttachWindow(HWND window);
  virtual void DetachWindow();
  virtual void CreateController(qtml::Movie movie);
  virtual void Cut();
  virtual void Copy();
  virtual void Paste();
  virtual void Clear();
  virtual void Undo();
  virtual void SelectAll();
  virtual void MovieChanged() {}
  virtual const char* GetTitle() const { return name_; }
  virtual void Hook2() {}
  virtual void CToPString(char* s);
  virtual void PToCString(char* s);
  virtual int Hook3() { return 0; }
  virtual int Hook4() { return 0; }
  virtual int Hook5() { return 0; }
  virtual RECT GetScreenBounds() const;
  virtual qtml::Movie GetMovie() const { return movie_; }
  virtual qtml::MovieController GetController() const { return controller_; }

  HWND Window() const { return window_; }
  bool IsOpen() const { return open_; }
  const qtml::Rect& MovieBox() const { return box_; }
  void SetMessageWindow(HWND window, UINT message) {
    messageWindow_ = window;
    message_ = message;
  }

 private:
  static bool ActionFilter(qtml::MovieController mc, short action, void* params, intptr_t refCon);

  HWND window_ = nullptr;
  HWND messageWindow_ = nullptr;
  UINT message_ = 0;
  bool open_ = false;
  qtml::Movie movie_ = nullptr;
  qtml::MovieController controller_ = nullptr;
  qtml::Rect box_;
  char name_[kNameSize] = {};
  HWND parent_ = nullptr;
};

// The pane's child window. The handle the library gives out is its address.
class CMovieWnd {
 public:
  CMovieWnd();
  ~CMovieWnd();
  CMovieWnd(const CMovieWnd&) = delete;
  CMovieWnd& operator=(const CMovieWnd&) = delete;

  bool Create(HWND parent, const RECT& r, DWORD style, int id);
  HWND Window() const { return window_; }
  CQTMovie* Movie() const { return movie_; }
  void SetTransparent(bool on) { transparent_ = on; }

  static const char* ClassName() { return "MvpaneMovieWindow"; }

 private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  HWND window_ = nullptr;
  bool transparent_ = false;
  CQTMovie* movie_ = nullptr;
};

namespace mvpane {

// The pane's grey without a movie.
constexpr COLORREF kEmptyPaneColour = RGB(0x78, 0x78, 0x78);
// The message the player passes for the end of a movie.
constexpr UINT kMovieEndMessage = WM_USER + 1;
// PlayBackQTMovie's modes.
enum TPlayBackMode : int { kPlayStart = 0, kPlayStop = 1, kPlayToBeginning = 2, kPlayToEnd = 3 };

LONG InitQT();
void ExitQT();
BOOL IsQTInstalled();
void* CreateMvpane(HWND parent, int left, int top, int right, int bottom, DWORD style, int id);
BOOL DeleteMvpane(void* h);
BOOL ShowMvpane(void* h, BOOL show);
HWND GetMvpane(void* h);
BOOL SetMvpaneParent(void* h, HWND parent);
BOOL SetMvpaneTransparency(void* h, BOOL on);
BOOL OpenQTMovie(void* h, const char* path);
BOOL PlayBackQTMovie(void* h, int mode);
BOOL GetQTMovieRect(void* h, RECT* out);
BOOL SetQTMovieRect(void* h, const RECT* r);
short GetQTControllerBarHeight(void* h);
BOOL ShowQTControllerBar(void* h, BOOL show);
BOOL SetQTControllerRect(void* h, int left, int top, int right, int bottom);
BOOL ShowQTControllerButton(void* h, BOOL show, int flags);
LONG GetQTMovieDuration(void* h, BOOL inSeconds);
LONG GetQTMovieCurTimePos(void* h);
BOOL SetQTMovieCurTimePos(void* h, LONG time);
BOOL SetQTMsgWindow(void* h, HWND window, UINT message);
void RefreshQTWindow(void* h);
BOOL SizeMvpane(void* h, int left, int top, int right, int bottom, BOOL withBar);

// The window object behind a live handle; null for any other.
CMovieWnd* FindPane(void* h);

}  // namespace mvpane
