// TAnimatedBmpList: the animated bitmap list as the player draws it: the
// portable list (frames, records, the FLX reader) plus each frame's image
// and mask pair for frames with a transparent colour. Frames are drawn at
// the record's picture offset inside the animation area. User-interface
// thread only.
#pragma once
#include "platform/owl/defs.h"

#include <vector>

#include "imaging/core/animfile.h"

class TAnimatedBmpList : public tsl::TAnimatedBmpListCore {
public:
  // Reads the animation file (ABP or FLX, through Win32 file calls); see
  // Loaded for the result.
  TAnimatedBmpList(const char* fileName, bool loadIntoMemory);
  // An empty list that LoadGifFrames fills.
  TAnimatedBmpList() = default;

  // Decodes frame n and draws it with the animation area's corner at (x, y);
  // nothing for n outside the list.
  void DrawFrame(HDC dc, int n, int x, int y);

private:
  void ForgetDecoded(int n) override;
  struct Masked {
    std::vector<uint8_t> Image, Mask;
  };
  std::vector<Masked> Masks;  // by frame; empty until drawn
};
