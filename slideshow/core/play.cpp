#include "slideshow/core/play.h"

bool IsMidiFileName(const string& file) {
  const size_t dot = file.str().rfind('.');
  if (dot == std::string::npos) return false;
  string ext = file.substr(dot);
  ext.to_lower();
  return ext.str() == ".mid";
}

void TPlay::Play(const string& file) {
  Stop();
  // The open block's id starts at 0, so a failed open closes only a device
  // this very call opened, never another one's.
  uint32_t device = 0;
  LastResult = Sender.Open(file, device);
  if (LastResult != 0) {
    if (device != 0) Sender.Close(device);
    return;
  }
  DeviceId = device;
  if (IsMidiFileName(file)) Sender.SetMidiMapper(DeviceId);
  LastResult = Sender.Play(DeviceId, NotifyWindow);
  if (LastResult != 0) {
    Sender.Close(DeviceId);
    DeviceId = 0;
  }
}

void TPlay::Stop() {
  if (DeviceId == 0) return;
  Sender.Stop(DeviceId);
  Sender.Close(DeviceId);
  DeviceId = 0;
}
