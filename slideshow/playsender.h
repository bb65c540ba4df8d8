// The show's sound player on Windows MCI, and the place where tests put a
// recording sender in its stead.
#pragma once
#include "slideshow/core/play.h"

class TWinPlaySender : public TPlaySender {
public:
  uint32_t Open(const string& file, uint32_t& device) override;
  uint32_t SetMidiMapper(uint32_t device) override;
  uint32_t Play(uint32_t device, uintptr_t notifyWindow) override;
  uint32_t Stop(uint32_t device) override;
  uint32_t Close(uint32_t device) override;
};

// The sender in use: the installed one, else Windows MCI.
TPlaySender& ShowPlaySender();
// Installs a sender (not owned; null: Windows MCI) and returns the previous.
TPlaySender* SetShowPlaySender(TPlaySender* sender);
