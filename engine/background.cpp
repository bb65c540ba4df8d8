// The Win32 side of TBackground: brushes and painting by fill mode.
#include "engine/core/format/background.h"

#include <algorithm>

#include "engine/recordgdi.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"
#include "resources/ids_engine.h"

namespace {

void FillWindowColour(TDC& dc, const TRect& rect) {
  TBrush brush(static_cast<TColor>(::GetSysColor(COLOR_WINDOW)));
  dc.FillRect(rect, brush);
}

uint8_t ChannelAt(uint32_t colour, int shift) { return static_cast<uint8_t>(colour >> shift); }

// Bands of 8 pixels from `bands` (the whole gradient) filled where they meet
// `clip`.
void FillBands(TDC& dc, const TRect& bands, const TRect& clip, uint32_t start, uint32_t end) {
  const int height = bands.Height();
  if (height <= 0 || bands.Width() <= 0) return;
  const int count = (height + 7) / 8;
  int step[3] = {0, 0, 0};
  for (int c = 0; c < 3; ++c)
    if (count > 1) step[c] = (ChannelAt(end, 8 * c) - ChannelAt(start, 8 * c)) / (count - 1);
  for (int i = 0; i < count; ++i) {
    const TRect band(bands.left, bands.top + 8 * i, bands.right, bands.top + 8 * (i + 1));
    const TRect part = band & clip;
    if (part.IsEmpty()) continue;
    uint32_t colour = 0;
    for (int c = 0; c < 3; ++c) {
      const int v = std::clamp(ChannelAt(start, 8 * c) + i * step[c], 0, 255);
      colour |= static_cast<uint32_t>(v) << (8 * c);
    }
    TBrush brush(static_cast<TColor>(colour));
    dc.FillRect(part, brush);
  }
}

// Tiles of the picture from `from`'s top-left corner, cut to `from` and to
// `clip`, unstretched.
void DrawTiles(TDC& dc, const std::vector<uint8_t>& dib, int pw, int ph, const TRect& from, const TRect& clip) {
  const int columns = (from.Width() + pw - 1) / pw;
  const int rows = (from.Height() + ph - 1) / ph;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const TRect tile(from.left + c * pw, from.top + r * ph, from.left + (c + 1) * pw, from.top + (r + 1) * ph);
      const TRect part = tile & from & clip;
      if (part.IsEmpty()) continue;
      DrawPackedDib(dc, dib, part.left - tile.left, part.top - tile.top, part.Width(), part.Height(), part.left,
                    part.top, part.Width(), part.Height());
    }
}

// The part of a picture stretched over `over` that falls into `clip`.
void DrawStretchedPart(TDC& dc, const std::vector<uint8_t>& dib, int pw, int ph, const TRect& over,
                       const TRect& clip) {
  const TRect part = over & clip;
  if (part.IsEmpty() || over.IsEmpty()) return;
  if (part == over) {
    DrawPackedDib(dc, dib, 0, 0, pw, ph, over.left, over.top, over.Width(), over.Height());
    return;
  }
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(part);
  DrawPackedDib(dc, dib, 0, 0, pw, ph, over.left, over.top, over.Width(), over.Height());
  dc.RestoreDC(saved);
}

}  // namespace

std::unique_ptr<TBrush> TBackground::CreateBrush() const {
  if (Mode == kFillColour) return std::make_unique<TBrush>(static_cast<TColor>(Colour1));
  if (Mode != kFillPattern || Pattern >= kBackgroundPatterns) return nullptr;
  HBITMAP pattern = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PATTERN_FIRST + Pattern));
  if (!pattern) return nullptr;
  auto brush = std::make_unique<TBrush>(pattern);
  ::DeleteObject(pattern);
  return brush->IsOK() ? std::move(brush) : nullptr;
}

void TBackground::PaintGradient(TDC& dc, const TRect& rect) const {
  const bool down = Mode != kFillGradientUp;
  FillBands(dc, rect, TRect(rect.left, rect.top, rect.right, rect.top + (rect.Height() + 7) / 8 * 8),
            down ? Colour1 : Colour2, down ? Colour2 : Colour1);
}

void TBackground::Paint(TDC& dc, const TRect& rect, const TPoint& origin, void* drawDib) const {
  (void)drawDib;  // pictures go through StretchDIBits until DrawDib drawing exists
  int32_t pw = 0, ph = 0;
  if (Mode == kFillPattern || Mode == kFillColour) {
    if (std::unique_ptr<TBrush> brush = CreateBrush()) {
      brush->UnrealizeObject();
      POINT org{0, 0};
      ::GetDCOrgEx(dc, &org);
      TPoint old;
      dc.SetBrushOrg(TPoint(org.x, org.y), &old);
      dc.FillRect(rect, *brush);
      dc.SetBrushOrg(old);
      return;
    }
  } else if (Mode == kFillGradientDown || Mode == kFillGradientUp) {
    PaintGradient(dc, rect);
    return;
  } else if (UsesPicture() && GetPictureSize(pw, ph)) {
    if (Mode == kFillStretch)
      DrawPackedDib(dc, Picture, 0, 0, pw, ph, rect.left, rect.top, rect.Width(), rect.Height());
    else
      DrawTiles(dc, Picture, pw, ph, rect, rect);
    return;
  }
  FillWindowColour(dc, rect.OffsetBy(origin.x, origin.y));
}

void TBackground::PaintPart(TDC& dc, const TRect& area, const TPoint& origin, const TRect& pageRect,
                            void* drawDib) const {
  (void)drawDib;
  const TRect target = area.OffsetBy(-origin.x, -origin.y);
  const TRect page = pageRect.OffsetBy(-origin.x, -origin.y);
  int32_t pw = 0, ph = 0;
  if (Mode == kFillPattern || Mode == kFillColour) {
    if (std::unique_ptr<TBrush> brush = CreateBrush()) {
      if (Mode == kFillColour) {
        dc.FillRect(target, *brush);
        return;
      }
      // The 8 x 8 pattern stays aligned to page coordinates.
      const TPoint org(origin.x < 8 ? -origin.x : 8 - origin.x, origin.y < 8 ? -origin.y : 8 - origin.y);
      brush->UnrealizeObject();
      TPoint old;
      dc.SetBrushOrg(org, &old);
      dc.FillRect(target, *brush);
      dc.SetBrushOrg(old);
      return;
    }
  } else if (Mode == kFillGradientDown || Mode == kFillGradientUp) {
    // Beside the page (a window larger than it) lies the window colour.
    if ((target & page) != target) FillWindowColour(dc, target);
    const bool down = Mode == kFillGradientDown;
    FillBands(dc, page, target, down ? Colour1 : Colour2, down ? Colour2 : Colour1);
    return;
  } else if (UsesPicture() && GetPictureSize(pw, ph)) {
    if ((target & page) != target) FillWindowColour(dc, target);
    if (Mode == kFillStretch)
      DrawStretchedPart(dc, Picture, pw, ph, page, target);
    else
      DrawTiles(dc, Picture, pw, ph, page, target);
    return;
  }
  FillWindowColour(dc, target);
}
