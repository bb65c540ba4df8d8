// The course of a running slide show: which picture is shown, the page
// changes with their transitions, the automatic page change, pause, and
// the five configured inputs. The show window carries it out through
// TShowHost. Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "slideshow/core/diaoption.h"

// The show's input code of a virtual key: F1-F10 0-9, Escape 10, Enter 11,
// Pause 14, Tab 15; every other key kShowKeyNone.
int16_t ShowKeyOfVirtualKey(uint32_t vk);

class TShowHost {
public:
  virtual ~TShowHost() = default;
  // Makes picture `index` (always inside the show) the shown one, with its
  // sound.
  virtual void LoadPicture(int index) = 0;
  // One blackout over what the window shows now; returns when it is over.
  virtual void Transition() = 0;
  // Repaint of the whole window, without erasing.
  virtual void Invalidate() = 0;
  // The show ends: by a posted close, or at once for the dialog commands.
  virtual void PostClose() = 0;
  virtual void CloseNow() = 0;
  virtual uint32_t Now() = 0;  // ms tick count
};

class TDiaShowNavigator {
public:
  TDiaShowNavigator(const TDiaOption& show, TShowHost& host) : Show(show), Host(host) {}

  // After set-up: the first picture, without transition. False for an
  // empty show, which closes at once.
  bool Start();
  void NextPicture();
  void PreviousPicture();
  void SkipPicture();
  void TogglePause() { Paused = !Paused; }
  // Runs every action whose key is `code`, in the fixed order next,
  // previous, pause, skip, abort. `fromCommand`: the input came as IDOK or
  // IDCANCEL, which close the window at once.
  void DispatchShowKey(int16_t code, bool fromCommand = false);
  // The 100 ms timer: the automatic page change.
  void Tick();

  int Current = 0;
  bool Paused = false;
  uint32_t IntervalStart = 0;

private:
  // To `index` with the four steps of a page change; past the end the show
  // wraps to the first picture or ends.
  void Forward(int64_t index);
  void Change();

  const TDiaOption& Show;
  TShowHost& Host;
};
