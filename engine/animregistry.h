// The two registries of running animations, frame animations and animated
// bitmaps: their objects enter themselves, the open project creates, empties
// and deletes the registries and its handler hands each animation step to
// the registered object.
#pragma once
#include <cstdint>
#include <vector>

class TObjectElement;

struct TAnimationEntry {
  TObjectElement* Object = nullptr;
  uint8_t Flag = 0;  // set by a page change and a redraw; read by the object
};

using TAnimationRegistry = std::vector<TAnimationEntry>;

// Null while no project is open.
TAnimationRegistry* FrameAnimations();
TAnimationRegistry* AnimatedBitmaps();
void CreateAnimationRegistries();
void FlushAnimationRegistries();
void DeleteAnimationRegistries();
