#include "platform/swfpane/core/swfmovie.h"

#include <cmath>

bool TSwfMovie::Open(const uint8_t* data, size_t size) {
  Close();
  if (!ReadSwfHeader(data, size, Header)) {
    Header = TSwfHeader();
    return false;
  }
  Running_ = Header.FrameCount > 0;
  return true;
}

void TSwfMovie::Close() {
  Header = TSwfHeader();
  Running_ = false;
  Frame_ = 0;
}

void TSwfMovie::SetStatus(int status) {
  switch (status) {
    case kSwfStatusPlay:
      Running_ = FrameCount() > 0;
      break;
    case kSwfStatusStop:
      Running_ = false;
      break;
    case kSwfStatusRewind:
      Frame_ = 0;
      break;
    default:
      break;
  }
}

void TSwfMovie::SetFrame(int frame) {
  const int last = FrameCount() - 1;
  if (frame > last) frame = last;
  if (frame < 0) frame = 0;
  Frame_ = frame;
}

bool TSwfMovie::Step() {
  if (!Running_ || FrameCount() == 0) return false;
  if (Frame_ + 1 < FrameCount()) {
    ++Frame_;
    return true;
  }
  if (Loop) {
    const bool moved = Frame_ != 0;
    Frame_ = 0;
    return moved;
  }
  Running_ = false;
  return false;
}

uint32_t TSwfMovie::FrameInterval() const {
  if (FrameCount() == 0) return 0;
  // A rate of 0 (or below one frame a minute) plays at one frame a second.
  const double rate = Header.FrameRate >= 1.0 / 60 ? Header.FrameRate : 1.0;
  const double ms = std::floor(1000.0 / rate + 0.5);
  return ms < 1 ? 1u : static_cast<uint32_t>(ms);
}

std::string TSwfMovie::Label() const { return std::to_string(Frame_) + " / " + std::to_string(FrameCount()); }
