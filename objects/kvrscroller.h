// TKVR_Scroller: a scroll bar drawn from bitmap resources inside another
// window's client area. It is not a window: its owner (the MCI control bar,
// the RTF document objects) gives it an area, forwards mouse, key and timer
// events and is told of every position change through TScrollAble. Bars are
// horizontal or vertical, with two arrows, a track with an optional
// progress fill, a thumb in five styles, auto-repeat on the owner's timer
// 17500, keyboard steps, and an opaque or a transparent look (drawn over a
// saved copy of what lies under the bar).
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "objects/core/scrollersettings.h"
#include "platform/owl/geometry.h"

class TBitmap;
class TDC;
class TWindow;
class TKVR_Scroller;

// Told of the bar's changes. The bar's position is public: a target reads
// the new one there and may write a corrected one back.
class TScrollAble {
public:
  virtual ~TScrollAble() = default;
  // The position changed by `part` (a part code) from `oldPosition`.
  virtual void PositionChanged(int part, int32_t oldPosition, TKVR_Scroller& scroller) = 0;
  // Before the bar paints at `origin`, which the target may move; the bar
  // paints only when the answer is true.
  virtual bool BeforePainting(TPoint& origin) { return true; }
};

class TKVR_Scroller {
public:
  // Part codes of hit tests and position changes.
  enum TPart {
    NoPart = -1,
    LineBack = 0,     // first arrow
    LineForward = 1,  // second arrow
    PageBack = 2,     // track before the thumb
    PageForward = 3,  // track after the thumb
    Outside = 4,      // beside the track's cross extent
    Thumb = 5,        // the thumb, and every absolute set
  };
  static constexpr uint kRepeatTimer = 17500;
  // Thumb style 2 in the transparent look stands on this key colour.
  static constexpr COLORREF kThumbKey = 0x00FFFF;

  TKVR_Scroller();
  ~TKVR_Scroller();
  TKVR_Scroller(const TKVR_Scroller&) = delete;
  TKVR_Scroller& operator=(const TKVR_Scroller&) = delete;

  // Every default; the buffers are forgotten, not deleted: owners delete
  // them first (DeleteBuffers).
  void Reset();
  // Parts from the area and the pictures of the current styles.
  void Layout();
  void Paint(TDC& dc, TPoint origin, bool saveBackground, bool notify);
  // Stores the position; tells the target when it differs from the last
  // one reported; repaints on the owner.
  void SetPosition(int32_t position, int part);
  void ClampPosition(int32_t& position) const;
  int HitTest(const TPoint& p) const;
  void OnLButtonDown(uint modifiers, const TPoint& p);
  void OnMouseMove(uint modifiers, const TPoint& p);
  void OnLButtonUp();
  void OnTimer(uint timerId);
  void OnKeyDown(uint virtualKey);
  // The bar; with the scale a horizontal bar is 6 pixels taller.
  TRect GetBarRect() const;

  // The stored settings (shared with the data records that carry them).
  const TKVR_ScrollerSettings& GetSettings() const { return Settings; }
  void SetSettings(const TKVR_ScrollerSettings& s) { Settings = s; }
  // Makes both buffers in the bar's size, compatible with `dc`.
  void CreateBuffers(const TDC& dc);
  void DeleteBuffers();

  // Pixel offset of the thumb along the track for a position.
  int ThumbOffset(int32_t position) const;
  // The thumb in bar coordinates.
  TRect ThumbRect() const;
  int TrackLength() const { return Settings.Vertical ? TrackLengthY : TrackLengthX; }

  int32_t Position = 0;
  int32_t ReportedPosition = 0;
  int32_t TrackLengthX = 0;
  int32_t TrackLengthY = 0;
  int32_t Maximum = 0;
  TRect ThumbSize;
  TRect Area;
  TRect BarRect;
  TRect TrackRect;
  TRect ArrowSize;
  TPoint Origin;
  TPoint DragThumbOffset;
  TPoint DragStart;
  TPoint DragLast;
  int32_t PageStep = 2;
  int32_t LineStep = 10;
  uint16_t Enabled = 1;
  uint16_t Dragging = 0;
  uint16_t Shown = 0;
  uint16_t PageByTrackLength = 1;
  uint16_t ArrowPressed = 0;
  uint16_t TimerRunning = 0;
  uint16_t BackgroundToSave = 1;
  int32_t Reserved = -1;
  TKVR_ScrollerSettings Settings;
  TBitmap* BackgroundBuffer = nullptr;  // owned
  TBitmap* DrawingBuffer = nullptr;     // owned
  TScrollAble* Target = nullptr;
  TWindow* Owner = nullptr;

private:
  struct Picture;
  void LoadPictures();
  int32_t Stepped(int part) const;
  TPoint CursorInOwner() const;
  void Repaint();
  void Compose(TDC& dc) const;
  void DrawTrack(TDC& dc) const;
  void DrawScale(TDC& dc) const;
  void DrawThumb(TDC& dc) const;
  void DrawArrows(TDC& dc) const;

  // The pictures of the current styles, loaded by Layout.
  std::unique_ptr<Picture> ArrowPicture;
  std::unique_ptr<Picture> ThumbPicture;
  std::unique_ptr<Picture> ThumbActivePicture;  // style 3's second bitmap
};
