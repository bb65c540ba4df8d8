// TPlay: the slide show's one sound player (background music and picture
// sounds) over MCI's command messages, sent through TPlaySender so that a
// run without audio or MIDI devices, and the tests, can answer for MCI.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "platform/core/cstring.h"

class TPlaySender {
public:
  virtual ~TPlaySender() = default;
  // MCI_OPEN with the element alone (MCI picks the device by the file);
  // `device` receives the id the open block returned. 0 or MCI's error.
  virtual uint32_t Open(const string& file, uint32_t& device) = 0;
  // MCI_SET with the sequencer's port: the MIDI mapper.
  virtual uint32_t SetMidiMapper(uint32_t device) = 0;
  // MCI_PLAY from start to end, MM_MCINOTIFY to `notifyWindow`.
  virtual uint32_t Play(uint32_t device, uintptr_t notifyWindow) = 0;
  // MCI_STOP and MCI_CLOSE, with MCI_WAIT.
  virtual uint32_t Stop(uint32_t device) = 0;
  virtual uint32_t Close(uint32_t device) = 0;
};

class TPlay {
public:
  TPlay(TPlaySender& sender, uintptr_t notifyWindow) : Sender(sender), NotifyWindow(notifyWindow) {}
  ~TPlay() { Stop(); }
  TPlay(const TPlay&) = delete;
  TPlay& operator=(const TPlay&) = delete;

  // Stops what plays, then opens and plays `file`; an error leaves no
  // device open and says nothing.
  void Play(const string& file);
  void Stop();

  uint32_t DeviceId = 0;  // 0: none open
  uint32_t LastResult = 0;

private:
  TPlaySender& Sender;
  uintptr_t NotifyWindow;
};

// ".mid" in any letter case at the end of the name (from its last dot).
bool IsMidiFileName(const string& file);
