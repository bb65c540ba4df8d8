// TMCIBar: object kind 7 "MCI-Leiste", a control panel for one media object
// of its page: up to six push buttons from the shared button strips and,
// above them, a position bar (TKVR_Scroller). A button runs its media
// action through the action dispatcher; moving the bar sends "go to
// position"; a 250 ms timer of the page window keeps the bar in step with
// the medium. The bar has no window: the page paints it and hands it its
// mouse and timer events.
#pragma once
#include "platform/owl/defs.h"

#include "engine/objectelement.h"
#include "objects/core/mcibardata.h"
#include "objects/kvrscroller.h"

class TObjectManager;

class TMCIBar : public TObjectElement, public TScrollAble {
public:
  static constexpr uint kTrackInterval = 250;  // ms

  // Without a record the bar makes one with the defaults.
  TMCIBar(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TMCIBar() override;

  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  void LButtonDown(uint32_t modKeys, const TPoint& point) override;
  void LButtonUp(uint32_t modKeys, const TPoint& point) override;
  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override;
  void MouseMove(uint32_t modKeys, const TPoint& point) override;
  void Paint(TPaintInfo& paint) override;
  void Timer(uint timerId) override;
  // A transparent bar shows the page beneath.
  bool RepaintsThroughPage() override;

  void PositionChanged(int part, int32_t oldPosition, TKVR_Scroller& scroller) override;
  bool BeforePainting(TPoint& origin) override;

  TMCIBarData* GetBarData() const { return dynamic_cast<TMCIBarData*>(Data.get()); }
  // The controlled object on the current page; null when none.
  TObjectElement* FindMediaObject() const;
  // The bar's maximum from the media object's length (0 without one).
  void UpdateMaximum();

  int32_t PressedIndex = -1;
  TKVR_Scroller Bar;

private:
  void SetUp();
  int BarHeight() const;
};

// The bars of the page take their maxima from their media objects.
void UpdatePageMediaBars(TObjectManager* page);
