// The Flash pane's movie without a Flash player: the frame counter that a
// timer steps at the movie's frame rate, with the pane's play status, loop
// and frame calls. A file that is no SWF movie has 0 frames and never runs.
// Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/swfpane/core/swfheader.h"

// What SetFlashPlayStatus takes.
enum : int {
  kSwfStatusPlay = 1,
  kSwfStatusStop = 2,
  kSwfStatusRewind = 5,  // to the first frame; running or not stays as it was
};

class TSwfMovie {
public:
  // The movie from the file's first bytes; false (and 0 frames) for
  // anything that is no SWF header. An opened movie runs from frame 0.
  bool Open(const uint8_t* data, size_t size);
  void Close();

  // Unknown statuses change nothing.
  void SetStatus(int status);
  void SetLoop(bool on) { Loop = on; }
  // To `frame`, kept within the movie (a movie without frames stays at 0);
  // running or not stays as it was.
  void SetFrame(int frame);
  // One timer tick: the next frame. At the last frame a looping movie goes
  // on at frame 0 and any other stops there. False when nothing changed.
  bool Step();

  bool Running() const { return Running_; }
  int Frame() const { return Frame_; }
  int FrameCount() const { return Header.FrameCount; }
  // Milliseconds between frames at the movie's rate; 0 without frames.
  uint32_t FrameInterval() const;
  // "n / N": the current frame (from 0) and the frame count.
  std::string Label() const;

private:
  TSwfHeader Header;
  bool Loop = false;
  bool Running_ = false;
  int Frame_ = 0;
};
