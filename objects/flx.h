// TFLXObject: object kind 3 "Animation", an FLI/FLC file played frame by
// frame on the page (no window of its own). The page paints the current
// frame; steps draw the next one straight into the page window. The timing
// is TFlxPlayback's (objects/core/animplay.h); the open project hands the
// object's step messages back through the frame-animation registry.
#pragma once
#include "platform/owl/defs.h"

#include "engine/objectelement.h"
#include "objects/core/animplay.h"
#include "objects/core/flxdata.h"

class TFLXObject : public TObjectElement, private TAnimationHost {
public:
  // Without a record the object makes one with the defaults.
  TFLXObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TFLXObject() override;

  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override {}
  void Paint(TPaintInfo& paint) override;
  void MediaControl(int command, uint32_t argument) override;
  uint32_t GetMediaLength() override { return Playback.Length(); }
  uint32_t GetMediaPosition() override { return Playback.Position(); }
  void AnimationStep(const TSysTimeManagerMsg& msg) override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;

  // A new reader for the record's file; false without one.
  bool LoadAnimation();
  TFLXData* GetFLXData() const { return dynamic_cast<TFLXData*>(Data.get()); }

  TFlxPlayback Playback;

private:
  void Register();
  TSysTimeManager* Queue() override;
  TTimersFriend* Project() override;
  bool ObjectVisible() const override { return IsVisible(); }
  uint32_t ObjectNumber() const override { return GetNumber(); }
  uintptr_t ObjectSender() const override { return reinterpret_cast<uintptr_t>(static_cast<const TObjectElement*>(this)); }
  // Runs `draw` on a client DC of the page window at the object's corner
  // less the page's scroll position.
  template <class Fn>
  void OnPage(Fn draw);
};
