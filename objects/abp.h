// TABPObject: object kind 10 "ABP", an animation file (.ABP/.FLX) or an
// animated GIF painted by the page (no window of its own). The timing is
// TAbpPlayback's (objects/core/animplay.h); the open project hands the
// object's step messages back through the animated-bitmap registry.
// Frames with a transparent colour are drawn by repainting the page under
// the object, so that no earlier frame shows through.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "engine/objectelement.h"
#include "imaging/animlist.h"
#include "objects/core/abpdata.h"
#include "objects/core/animplay.h"

class TABPObject : public TObjectElement, private TAnimationHost, private TAbpFrameDrawer {
public:
  // Without a record the object makes one with the defaults.
  TABPObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TABPObject() override;

  void SetData(TData* data) override;
  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override {}
  void Paint(TPaintInfo& paint) override;
  void MediaControl(int command, uint32_t argument) override;
  uint32_t GetMediaLength() override { return Animation ? uint32_t(Animation->FrameCount()) : 0; }
  uint32_t GetMediaPosition() override { return Playback.Position; }
  void AnimationStep(const TSysTimeManagerMsg& msg) override { Playback.StepMessage(msg); }
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  bool RepaintsThroughPage() override { return Animation && Animation->AnyTransparent(); }

  // A new animation from the record's file (animation file or GIF).
  void LoadAnimation();
  TABPData* GetABPData() const { return dynamic_cast<TABPData*>(Data.get()); }

  std::unique_ptr<TAnimatedBmpList> Animation;
  TAbpPlayback Playback;

private:
  void Register();
  TSysTimeManager* Queue() override;
  TTimersFriend* Project() override;
  bool ObjectVisible() const override { return IsVisible(); }
  uint32_t ObjectNumber() const override { return GetNumber(); }
  uintptr_t ObjectSender() const override { return reinterpret_cast<uintptr_t>(static_cast<const TObjectElement*>(this)); }
  void DrawFrame(int frame) override;
};
