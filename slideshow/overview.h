// TOverViewWindow: every picture of a bitmap container as a numbered slide
// mount on a grid over the whole screen, scrolled by whole cells. A click
// selects a slide, a double-click shows its picture in the viewer, Enter
// and Escape close it. The container object hands over a copy of what it
// shows (TOverviewContents); the window owns it.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/cstring.h"
#include "platform/owl/window.h"
#include "slideshow/core/overview.h"

class TDib;

struct TOverviewContents {
  struct Item {
    string Name;                     // the picture file
    std::vector<uint8_t> Thumbnail;  // packed DIB; empty: none
  };
  std::vector<Item> Items;
  uint16_t FrameStyle = 0;
  uint32_t Highlight = 0x00FFFF;  // yellow
  uint32_t Flags = kOverviewOpensPicture | kOverviewLabels;
};

class TOverViewWindow : public TWindow {
public:
  TOverViewWindow(TWindow* parent, std::unique_ptr<TOverviewContents> contents);
  ~TOverViewWindow() override;

  void GetWindowClass(WNDCLASSA& wc) override;
  const char* GetClassName() override { return "TSLOVERVIEW"; }
  void SetupWindow() override;
  // Brings the player's frame back to the top.
  void CleanupWindow() override;
  bool CanClose() override { return true; }

  virtual void EvSize(uint sizeType, TSize& size);
  virtual void EvPaint();
  virtual void EvLButtonDown(uint modKeys, TPoint& point);
  virtual void EvLButtonDblClk(uint modKeys, TPoint& point);
  virtual void EvKeyDown(uint key, uint repeatCount, uint flags);
  void CmOk() { CloseWindow(IDOK); }
  void CmCancel() { CloseWindow(IDCANCEL); }

  std::unique_ptr<TOverviewContents> Contents;
  std::vector<std::unique_ptr<TDib>> Thumbnails;  // null where an item has none
  int Selection = -1;
  TOverviewGrid Grid;

  DECLARE_RESPONSE_TABLE(TOverViewWindow);

private:
  int Count() const { return static_cast<int>(Contents->Items.size()); }
  int HitAt(const TPoint& point) const;
  void RepaintCell(int index);
  void PaintGrid(TDC& dc);
};

// Opens the overview maximised in a frame without caption whose parent is
// `page`; nothing when the contents hold no picture. False when nothing was
// opened.
bool OpenOverviewWindow(TWindow* page, std::unique_ptr<TOverviewContents> contents);

// Lets the picture container object (kind 13) open its pictures here.
void InstallContainerOverview();
