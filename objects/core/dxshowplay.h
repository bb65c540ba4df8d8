// The playback rules of the DirectShow media object (kind 17): which of the
// three player libraries plays the file (mvpane for QuickTime files, dspane
// when the record asks for it, mppane otherwise), how the object takes the
// media's size, what each media command does with each library, and what
// the end of the media does.
// Portable: the libraries come through TMediaLibraries (the player's calls
// their exports, the tests record), the object's window through TDXShowHost.
#pragma once
#include <cstdint>

#include "objects/core/dxshowdata.h"

struct TMediaRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
};

// The exports of mvpane, mppane and dspane the object calls, under their
// names. Windows are passed as opaque numbers; players are created as
// visible children (0x54000000) with control id -1.
class TMediaLibraries {
public:
  using Handle = void*;
  using Window = uintptr_t;
  virtual ~TMediaLibraries() = default;

  virtual Handle CreateMvpane(Window parent, const TMediaRect& r) = 0;
  virtual void DeleteMvpane(Handle h) = 0;
  virtual void ShowMvpane(Handle h, bool show) = 0;
  virtual void SizeMvpane(Handle h, const TMediaRect& r, bool withBar) = 0;
  virtual void SetMvpaneTransparency(Handle h, bool on) = 0;
  virtual void OpenQTMovie(Handle h, const char* path) = 0;
  virtual void PlayBackQTMovie(Handle h, int mode) = 0;
  virtual void SetQTMsgWindow(Handle h, Window w, uint32_t message) = 0;
  virtual bool GetQTMovieRect(Handle h, TMediaRect& out) = 0;
  virtual int16_t GetQTControllerBarHeight(Handle h) = 0;
  virtual int32_t GetQTMovieDuration(Handle h) = 0;
  virtual int32_t GetQTMovieCurTimePos(Handle h) = 0;
  virtual void SetQTMovieCurTimePos(Handle h, int32_t time) = 0;
  virtual void RefreshQTWindow(Handle h) = 0;

  virtual Handle CreateMppane(Window parent, const TMediaRect& r) = 0;
  virtual void DeleteMppane(Handle h) = 0;
  virtual void ShowMppane(Handle h, bool show) = 0;
  virtual void SetMppaneTransparency(Handle h, bool on) = 0;
  virtual void SetMPAutoSize(Handle h, bool on) = 0;
  virtual void OpenMPMovie(Handle h, const char* path) = 0;
  virtual void SetMPMsgWindow(Handle h, Window w, uint32_t message) = 0;
  virtual void ShowMPControllerBar(Handle h, bool show) = 0;
  // The size of the window rectangle of GetMppane's window.
  virtual TMediaRect MppaneWindowRect(Handle h) = 0;
  virtual void PlayBackMPMovie(Handle h, int mode) = 0;
  virtual void SetMPMovieCurTimePos(Handle h, double position) = 0;
  virtual double GetMPMovieDuration(Handle h) = 0;
  virtual double GetMPMovieCurTimePos(Handle h) = 0;
  virtual bool GetMPMovieRect(Handle h, TMediaRect& out) = 0;

  virtual int DSP_AddEle(Window w) = 0;
  virtual void DSP_DeleteEle(int id) = 0;
  virtual void DSP_Load(int id, const char* path, Window w, bool showWindow) = 0;
  virtual bool DSP_GetVideoSize(int id, int& width, int& height) = 0;
  virtual void DSP_ShowEle(int id, bool show) = 0;
  virtual void DSP_SetEleRect(int id, const TMediaRect& r) = 0;
  virtual void DSP_StartEle(int id) = 0;
  virtual void DSP_StopEle(int id) = 0;
  virtual void DSP_PauseEle(int id) = 0;
  virtual void DSP_Seek(int id, double position) = 0;
  virtual void DSP_SeekToBegin(int id) = 0;
  virtual void DSP_SeekToEnd(int id) = 0;
  virtual double DSP_GetPlayTime(int id) = 0;
  virtual double DSP_GetCurPos(int id) = 0;
};

// The object's window and rectangle as the rules see them.
class TDXShowHost {
public:
  virtual ~TDXShowHost() = default;
  virtual TMediaLibraries::Window ObjectWindow() = 0;
  virtual TMediaRect ClientRect() = 0;
  // The object's rectangle on the page (its TObjectRect).
  virtual TMediaRect ObjectRect() = 0;
  virtual void SetObjectRect(const TMediaRect& r) = 0;
  // The window's size; its place stays.
  virtual void SizeWindow(int32_t width, int32_t height) = 0;
};

// What the players send the object window at the end of the media.
constexpr uint32_t kMediaEndMessage = 0x401;

class TDXShowPlayer {
public:
  TDXShowPlayer(TMediaLibraries& libraries, TDXShowHost& host) : Lib(libraries), Host(host) {}
  TDXShowPlayer(const TDXShowPlayer&) = delete;
  TDXShowPlayer& operator=(const TDXShowPlayer&) = delete;

  // When the window exists: a dspane element for a record that asks for
  // dspane, then the load.
  void Setup(const TDXShowData& data, bool keepFrame);
  // Chooses the player for the record's file and loads it; with
  // `keepFrame` (property flag 0x80) the object keeps its rectangle,
  // otherwise it takes the media's size.
  void LoadMedia(const TDXShowData& data, bool keepFrame);
  // A media command (kMediaPlay ...); unknown commands do nothing.
  void Command(int command, uint32_t argument);
  // The end message with its wParam; true when the object's end-of-media
  // actions are to run (not while looping, not for a stale message).
  bool MediaEnded(uintptr_t wParam, const TDXShowData& data);
  // The window's new client area for the picture.
  void Resize(const TDXShowData& data);
  void Refresh();
  int32_t Length();
  int32_t Position();
  // The natural picture size of the chosen player; false without one.
  bool VideoSize(int32_t& width, int32_t& height);
  // Before the window goes: mvpane and mppane stop and are deleted.
  void Cleanup();
  // With the object: the dspane element is freed.
  void Release();

  bool Playing() const { return Playing_; }
  TMediaLibraries::Handle Movie() const { return Movie_; }
  TMediaLibraries::Handle MediaPlayer() const { return Player_; }
  int Element() const { return Element_; }

private:
  void ApplyWindowVisibility(const TDXShowData& data);
  // The window gets the size and the object's rectangle follows it.
  void TakeSize(int32_t width, int32_t height);
  void Restart();

  TMediaLibraries& Lib;
  TDXShowHost& Host;
  bool Playing_ = false;
  TMediaLibraries::Handle Movie_ = nullptr;
  TMediaLibraries::Handle Player_ = nullptr;
  int Element_ = -1;
};

// One of the twelve sound extensions occurs in the name, in any case.
bool IsAudioFile(const char* name);
