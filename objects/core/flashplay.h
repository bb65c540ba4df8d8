// The playback rules of the Flash object (kind 21): the movie window is
// made afresh for every load, the record's options go to it, and media
// commands become play statuses and frame calls. There is no end of the
// media: a movie without loop stops at its last frame.
// Portable: swfpane comes through TFlashLibrary (the player's calls its
// exports, the tests record), the object's window through TFlashHost.
#pragma once
#include <cstdint>

#include "objects/core/dxshowplay.h"
#include "objects/core/flashplayerdata.h"

// The exports of swfpane the object calls, under their names. The movie
// window is a visible child (0x54000000) with control id -1.
class TFlashLibrary {
public:
  using Handle = void*;
  using Window = uintptr_t;
  virtual ~TFlashLibrary() = default;

  virtual Handle CreateSwfpane(Window parent, const TMediaRect& r) = 0;
  virtual void DeleteSwfpane(Handle h) = 0;
  virtual void SetSwfpaneTransparency(Handle h, bool on) = 0;
  virtual void OpenFlashMovie(Handle h, const char* path) = 0;
  virtual void SetFlashLoop(Handle h, bool on) = 0;
  virtual void SetFlashQuality(Handle h, uint16_t quality) = 0;
  virtual void SetFlashScaleMode(Handle h, uint16_t mode) = 0;
  virtual void SetFlashPlayStatus(Handle h, int status) = 0;
  virtual void SetFlashMovieCurFrame(Handle h, int frame) = 0;
  virtual int GetFlashMovieNumFrames(Handle h) = 0;
  virtual int GetFlashMovieCurFrame(Handle h) = 0;
};

// What SetFlashPlayStatus takes.
enum : int { kFlashStatusPlay = 1, kFlashStatusStop = 2, kFlashStatusRewind = 5 };

class TFlashHost {
public:
  virtual ~TFlashHost() = default;
  virtual TFlashLibrary::Window ObjectWindow() = 0;
  virtual TMediaRect ClientRect() = 0;
  // The object's rectangle on the page (its TObjectRect).
  virtual TMediaRect ObjectRect() = 0;
  virtual void SetObjectRect(const TMediaRect& r) = 0;
};

class TFlashPlay {
public:
  TFlashPlay(TFlashLibrary& library, TFlashHost& host) : Lib(library), Host(host) {}
  TFlashPlay(const TFlashPlay&) = delete;
  TFlashPlay& operator=(const TFlashPlay&) = delete;

  // Replaces the movie window by a new one over the record's file; an
  // object rectangle below 20 x 20 grows to it.
  void CreateMovieWindow(const TFlashPlayerData& data);
  // A media command (kMediaPlay ...); unknown commands do nothing.
  void Command(int command, uint32_t argument);
  int32_t Length();
  int32_t Position();
  // The movie stops and its window goes.
  void Release();

  bool Playing() const { return Playing_; }
  TFlashLibrary::Handle Movie() const { return Movie_; }

private:
  TFlashLibrary& Lib;
  TFlashHost& Host;
  bool Playing_ = false;
  TFlashLibrary::Handle Movie_ = nullptr;
};
