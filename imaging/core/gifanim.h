// An animated GIF as an animated bitmap list: every frame composed over the
// ones before it by its disposal method, as a whole-screen 24-bit picture.
// Portable.
#pragma once
#include "imaging/core/animfile.h"
#include "platform/core/bytestream.h"

namespace tsl {

// At most this many frames are decoded from one file.
constexpr int kGifMaxFrames = 32000;

// Appends the GIF's frames to `animation` and fills its header: background,
// passes (the file's repetitions + 1; 0, endless, becomes -1), colours (at most
// 256), the screen's width and height. Frames where nothing of the screen
// is covered yet are marked transparent with a colour no covered pixel
// has. A frame that does not decode ends the reading; the frames before it
// stay. False when no frame decoded.
bool LoadGifFrames(ByteStream& f, TAnimatedBmpListCore& animation);

}  // namespace tsl
