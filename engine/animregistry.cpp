#include "engine/animregistry.h"

#include <memory>

namespace {
std::unique_ptr<TAnimationRegistry> g_frames;
std::unique_ptr<TAnimationRegistry> g_bitmaps;
}  // namespace

TAnimationRegistry* FrameAnimations() { return g_frames.get(); }
TAnimationRegistry* AnimatedBitmaps() { return g_bitmaps.get(); }

void CreateAnimationRegistries() {
  if (!g_frames) g_frames = std::make_unique<TAnimationRegistry>();
  if (!g_bitmaps) g_bitmaps = std::make_unique<TAnimationRegistry>();
}

void FlushAnimationRegistries() {
  if (g_frames) g_frames->clear();
  if (g_bitmaps) g_bitmaps->clear();
}

void DeleteAnimationRegistries() {
  g_frames.reset();
  g_bitmaps.reset();
}
