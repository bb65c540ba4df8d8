#include "slideshow/playsender.h"

#include "platform/owl/defs.h"
#include <mmsystem.h>

namespace {
TPlaySender* g_sender = nullptr;
}  // namespace

TPlaySender& ShowPlaySender() {
  static TWinPlaySender windows;
  return g_sender ? *g_sender : windows;
}

TPlaySender* SetShowPlaySender(TPlaySender* sender) {
  TPlaySender* previous = g_sender;
  g_sender = sender;
  return previous;
}

uint32_t TWinPlaySender::Open(const string& file, uint32_t& device) {
  MCI_OPEN_PARMSA open{};
  open.wDeviceID = static_cast<MCIDEVICEID>(device);
  open.lpstrElementName = file.c_str();
  const MCIERROR r = ::mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
  device = open.wDeviceID;
  return r;
}

uint32_t TWinPlaySender::SetMidiMapper(uint32_t device) {
  MCI_SEQ_SET_PARMS set{};
  set.dwPort = MIDI_MAPPER;
  return ::mciSendCommandA(device, MCI_SET, MCI_SEQ_SET_PORT, reinterpret_cast<DWORD_PTR>(&set));
}

uint32_t TWinPlaySender::Play(uint32_t device, uintptr_t notifyWindow) {
  MCI_PLAY_PARMS play{};
  play.dwCallback = notifyWindow;
  return ::mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
}

uint32_t TWinPlaySender::Stop(uint32_t device) {
  MCI_GENERIC_PARMS p{};
  return ::mciSendCommandA(device, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p));
}

uint32_t TWinPlaySender::Close(uint32_t device) {
  MCI_GENERIC_PARMS p{};
  return ::mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p));
}
