#include "objects/kvrscroller.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/imagelist.h"
#include "platform/owl/scroller.h"
#include "platform/owl/uiborder.h"
#include "platform/owl/window.h"

namespace {

constexpr int kScaleHeight = 6;        // extra height of a horizontal bar with a scale
constexpr int kScaleGap = 2;           // between the bar and its ticks
constexpr int kLongTick = 5;
constexpr int kShortTick = 3;
constexpr int kFilledGrooveMin = 6;    // a progress fill needs a groove this thick ...
constexpr uint32_t kThinGroove = 5;    // ... when the stored one is thinner than this
constexpr int kBackgroundKeyEntry = 15;

// Whether a thumb style's bitmap holds the normal and the active look side
// by side.
bool TwoImageThumb(int style) { return style == 1 || style == 2 || style == 5; }

const char* ThumbName(int style, bool vertical, bool active) {
  switch (style) {
    case 2: return vertical ? "IDB_THUMB_1" : "IDB_THUMB_2";
    case 3: return active ? "IDB_THUMB_4" : "IDB_THUMB_3";
    case 4: return vertical ? "IDB_THUMB_6" : "IDB_THUMB_5";
    case 5: return vertical ? "IDB_THUMB_9" : "IDB_THUMB_10";
    default: return vertical ? "IDB_THUMB_7" : "IDB_THUMB_8";
  }
}

const char* ArrowName(int style, bool vertical) {
  if (style == 2) return "IDB_SCR_3";
  return vertical ? "IDB_SCR_1" : "IDB_SCR_2";
}

}  // namespace

// A packed DIB from the program's bitmap resources, copied so that its
// colour table can take the DC's background colour.
struct TKVR_Scroller::Picture {
  std::vector<uint8_t> Dib;
  int Width = 0;
  int Height = 0;
  size_t BitsOffset = 0;

  static std::unique_ptr<Picture> Load(const char* name) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!res) return nullptr;
    HGLOBAL g = ::LoadResource(module, res);
    const auto* p = static_cast<const uint8_t*>(g ? ::LockResource(g) : nullptr);
    const DWORD size = ::SizeofResource(module, res);
    if (!p || size < sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER h;
    std::memcpy(&h, p, sizeof h);
    if (h.biSize < sizeof h || h.biWidth <= 0 || h.biHeight <= 0 || h.biBitCount > 8 || h.biCompression != BI_RGB)
      return nullptr;
    const size_t colours = h.biClrUsed ? h.biClrUsed : (size_t(1) << h.biBitCount);
    const size_t rowBytes = ((size_t(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    auto pic = std::make_unique<Picture>();
    pic->BitsOffset = h.biSize + 4 * colours;
    if (colours <= kBackgroundKeyEntry || pic->BitsOffset + rowBytes * size_t(h.biHeight) > size) return nullptr;
    pic->Dib.assign(p, p + size);
    pic->Width = h.biWidth;
    pic->Height = h.biHeight;
    return pic;
  }

  // Image `index` of images `w` wide, palette entry 15 in the DC's
  // background colour.
  void Draw(TDC& dc, int index, int w, int x, int y) {
    const COLORREF bk = dc.GetBkColor();
    auto* info = reinterpret_cast<BITMAPINFO*>(Dib.data());
    RGBQUAD& key = info->bmiColors[kBackgroundKeyEntry];
    key.rgbRed = GetRValue(bk);
    key.rgbGreen = GetGValue(bk);
    key.rgbBlue = GetBValue(bk);
    ::SetDIBitsToDevice(dc, x, y, DWORD(w), DWORD(Height), index * w, 0, 0, UINT(Height), Dib.data() + BitsOffset, info,
                        DIB_RGB_COLORS);
  }

  // Image `index` through an image list masked on the key colour.
  void DrawMasked(TDC& dc, int index, int w, int x, int y, COLORREF keyColour) const {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(Dib.data());
    TScreenDC screen;
    HBITMAP h = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, Dib.data() + BitsOffset, info, DIB_RGB_COLORS);
    if (!h) return;
    TBitmap strip(h, AutoDelete);
    TImageList list(strip, w, TColor(keyColour));
    list.Draw(index, dc, x, y, ILD_TRANSPARENT);
  }
};

TKVR_Scroller::TKVR_Scroller() { Reset(); }

TKVR_Scroller::~TKVR_Scroller() {
  if (Owner && Owner->HWindow) ::KillTimer(Owner->HWindow, kRepeatTimer);
  DeleteBuffers();
}

void TKVR_Scroller::Reset() {
  // The buffers are forgotten here, not deleted.
  assert(!BackgroundBuffer && !DrawingBuffer && "delete the scroller's buffers before a Reset");
  Position = ReportedPosition = 0;
  TrackLengthX = TrackLengthY = 0;
  Maximum = 0;
  ThumbSize = Area = BarRect = TrackRect = ArrowSize = TRect(0, 0, 0, 0);
  Origin = DragThumbOffset = DragStart = DragLast = TPoint(0, 0);
  PageStep = 2;
  LineStep = 10;
  Enabled = 1;
  Dragging = 0;
  Shown = 0;
  PageByTrackLength = 1;
  ArrowPressed = 0;
  TimerRunning = 0;
  BackgroundToSave = 1;
  Reserved = -1;
  Settings = TKVR_ScrollerSettings();
  BackgroundBuffer = DrawingBuffer = nullptr;
  Target = nullptr;
  Owner = nullptr;
}

void TKVR_Scroller::LoadPictures() {
  const int thumb = EffectiveThumbStyle(int32_t(Settings.ThumbStyle));
  const int arrow = EffectiveArrowStyle(int32_t(Settings.ArrowStyle));
  const bool vertical = Settings.Vertical != 0;
  ThumbPicture = Picture::Load(ThumbName(thumb, vertical, false));
  ThumbActivePicture = thumb == 3 ? Picture::Load(ThumbName(thumb, vertical, true)) : nullptr;
  ArrowPicture = arrow ? Picture::Load(ArrowName(arrow, vertical)) : nullptr;
}

void TKVR_Scroller::Layout() {
  LoadPictures();
  Origin = Area.TopLeft();
  const int thumb = EffectiveThumbStyle(int32_t(Settings.ThumbStyle));
  ThumbSize = TRect(0, 0, 0, 0);
  if (ThumbPicture)
    ThumbSize = TRect(0, 0, TwoImageThumb(thumb) ? ThumbPicture->Width / 2 : ThumbPicture->Width, ThumbPicture->Height);
  ArrowSize = TRect(0, 0, 0, 0);
  if (ArrowPicture) ArrowSize = TRect(0, 0, ArrowPicture->Width / 4, ArrowPicture->Height);
  if (Settings.Vertical) {
    const int thick = (std::max)(ThumbSize.Width(), ArrowSize.Width());
    BarRect = TRect(0, 0, thick, Area.Height());
    TrackRect = TRect(0, ArrowSize.Height(), thick, Area.Height() - ArrowSize.Height());
  } else {
    const int thick = (std::max)(ThumbSize.Height(), ArrowSize.Height());
    BarRect = TRect(0, 0, Area.Width(), thick);
    TrackRect = TRect(ArrowSize.Width(), 0, Area.Width() - ArrowSize.Width(), thick);
  }
  TrackLengthX = TrackRect.Width();
  TrackLengthY = TrackRect.Height();
}

TRect TKVR_Scroller::GetBarRect() const {
  TRect r = BarRect;
  if (Settings.Scale && !Settings.Vertical) r.bottom += kScaleHeight;
  return r;
}

int TKVR_Scroller::ThumbOffset(int32_t position) const {
  const int thumbLength = Settings.Vertical ? ThumbSize.Height() : ThumbSize.Width();
  const int span = TrackLength() - thumbLength;
  if (Maximum <= 0 || span <= 0) return 0;
  const int offset = int(double(span) * double(position) / double(Maximum));
  return (std::min)((std::max)(offset, 0), span);
}

TRect TKVR_Scroller::ThumbRect() const {
  const bool vertical = Settings.Vertical != 0;
  const int length = vertical ? ThumbSize.Height() : ThumbSize.Width();
  int offset;
  if (Dragging) {
    const int moved = vertical ? DragLast.y - DragStart.y : DragLast.x - DragStart.x;
    const int span = (std::max)(0, TrackLength() - length);
    offset = (std::min)((std::max)((vertical ? DragThumbOffset.y : DragThumbOffset.x) + moved, 0), span);
  } else {
    offset = ThumbOffset(Position);
  }
  if (vertical) {
    const int left = TrackRect.left + TrackRect.Width() / 2 - ThumbSize.Width() / 2;
    return TRect(left, TrackRect.top + offset, left + ThumbSize.Width(), TrackRect.top + offset + length);
  }
  const int top = TrackRect.top + TrackRect.Height() / 2 - ThumbSize.Height() / 2;
  return TRect(TrackRect.left + offset, top, TrackRect.left + offset + length, top + ThumbSize.Height());
}

void TKVR_Scroller::ClampPosition(int32_t& position) const {
  if (position < 1) position = 0;
  if (position > Maximum) position = (std::max)(Maximum, 0);
}

int TKVR_Scroller::HitTest(const TPoint& point) const {
  // Measured from the right end of the area, where the bar stands.
  const TPoint p(point.x - (Area.right - BarRect.Width()), point.y - Area.top);
  if (!BarRect.Contains(p)) return NoPart;
  const bool vertical = Settings.Vertical != 0;
  const int aw = ArrowSize.Width(), ah = ArrowSize.Height();
  const TRect first = vertical ? TRect(0, 0, BarRect.Width(), ah) : TRect(0, 0, aw, BarRect.Height());
  const TRect second = vertical ? TRect(0, BarRect.Height() - ah, BarRect.Width(), BarRect.Height())
                                : TRect(BarRect.Width() - aw, 0, BarRect.Width(), BarRect.Height());
  if (first.Contains(p)) return LineBack;
  if (second.Contains(p)) return LineForward;
  const TRect t = ThumbRect();
  if (t.Contains(p)) return Thumb;
  if (vertical) {
    if (p.x < t.left || p.x >= t.right) return Outside;
    if (p.y < t.top) return PageBack;
    if (p.y < t.bottom) return NoPart;
    return PageForward;
  }
  if (p.y >= t.bottom) return Outside;
  if (p.x < t.left) return PageBack;
  if (p.x < t.right) return NoPart;
  return PageForward;
}

int32_t TKVR_Scroller::Stepped(int part) const {
  const int32_t page = PageByTrackLength ? TrackLength() : PageStep;
  switch (part) {
    case LineBack: return Position - LineStep;
    case LineForward: return Position + LineStep;
    case PageBack: return Position - page;
    case PageForward: return Position + page;
    default: return Position;
  }
}

void TKVR_Scroller::SetPosition(int32_t position, int part) {
  Position = position;
  if (Position != ReportedPosition && Target) {
    const int32_t old = ReportedPosition;
    ReportedPosition = Position;
    Target->PositionChanged(part, old, *this);
    ReportedPosition = Position;  // a target may have corrected it
  }
  Repaint();
}

void TKVR_Scroller::Repaint() {
  if (!Owner || !Owner->HWindow) return;
  TClientDC dc(Owner->HWindow);
  Paint(dc, Origin, false, true);
}

void TKVR_Scroller::OnLButtonDown(uint, const TPoint& p) {
  if (!Shown || !Enabled) return;
  const int part = HitTest(p);
  if (part == NoPart) return;
  int32_t position = Stepped(part);
  if (part == Thumb) {
    Dragging = 1;
    if (Owner && Owner->HWindow) ::SetCapture(Owner->HWindow);
    const int offset = ThumbOffset(Position);
    DragThumbOffset = Settings.Vertical ? TPoint(0, offset) : TPoint(offset, 0);
    DragStart = DragLast = p;
  }
  ClampPosition(position);
  ArrowPressed = part == LineBack || part == LineForward;
  SetPosition(position, part);
  if (Settings.AutoRepeat && part >= LineBack && part <= PageForward && !TimerRunning) {
    TimerRunning = 1;
    if (Owner && Owner->HWindow)
      ::SetTimer(Owner->HWindow, kRepeatTimer, EffectiveRepeatInterval(int32_t(Settings.AutoRepeatInterval)), nullptr);
  }
}

void TKVR_Scroller::OnMouseMove(uint modifiers, const TPoint& p) {
  if (!Shown || !Enabled || !Dragging) return;
  if (!(modifiers & MK_LBUTTON)) {
    OnLButtonUp();
    return;
  }
  const bool vertical = Settings.Vertical != 0;
  const int length = vertical ? ThumbSize.Height() : ThumbSize.Width();
  const int along = vertical ? DragThumbOffset.y + (p.y - DragStart.y) : DragThumbOffset.x + (p.x - DragStart.x);
  const int span = TrackLength() - length;
  int32_t position = span > 0 ? int32_t(double(Maximum) * double(along) / double(span)) : 0;
  ClampPosition(position);
  DragLast = p;
  SetPosition(position, Thumb);
}

// Ends a drag and the auto-repeat even when the bar was hidden or disabled
// meanwhile, so that neither the capture nor the timer outlives the button.
void TKVR_Scroller::OnLButtonUp() {
  if (Dragging) {
    Dragging = 0;
    // The drag ends with a final report of part 5, even without a move.
    if (Shown && Enabled && Target) {
      const int32_t old = ReportedPosition;
      ReportedPosition = Position;
      Target->PositionChanged(Thumb, old, *this);
      ReportedPosition = Position;
    }
    SetPosition(Position, Thumb);
    ::ReleaseCapture();
  }
  if (Owner && Owner->HWindow) ::KillTimer(Owner->HWindow, kRepeatTimer);
  TimerRunning = 0;
  if (ArrowPressed) {
    ArrowPressed = 0;
    Repaint();
  }
}

TPoint TKVR_Scroller::CursorInOwner() const {
  TPoint p(0, 0);
  if (!Owner || !Owner->HWindow) return p;
  ::GetCursorPos(&p);
  ::ScreenToClient(Owner->HWindow, &p);
  if (const TScroller* s = Owner->Scroller) {
    p.x += int(s->XPos * s->XUnit);
    p.y += int(s->YPos * s->YUnit);
  }
  return p;
}

void TKVR_Scroller::OnTimer(uint timerId) {
  if (timerId != kRepeatTimer || !Shown || !Enabled) return;
  const int part = HitTest(CursorInOwner());
  if (part < LineBack || part > PageForward) return;
  int32_t position = Stepped(part);
  ClampPosition(position);
  SetPosition(position, part);
}

void TKVR_Scroller::OnKeyDown(uint key) {
  if (!Shown || !Enabled) return;
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const bool vertical = Settings.Vertical != 0;
  int32_t position;
  int part;
  if (key == VK_NEXT) {
    position = Position + PageStep, part = PageForward;
  } else if (key == VK_PRIOR) {
    position = Position - PageStep, part = PageBack;
  } else if (key == (vertical ? VK_UP : VK_LEFT)) {
    position = Position - LineStep, part = LineBack;
  } else if (key == (vertical ? VK_DOWN : VK_RIGHT)) {
    position = Position + LineStep, part = LineForward;
  } else if (key == VK_HOME && ctrl) {
    position = 0, part = Thumb;
  } else if (key == VK_END && ctrl) {
    position = Maximum, part = Thumb;
  } else {
    return;
  }
  ClampPosition(position);
  SetPosition(position, part);
}

void TKVR_Scroller::CreateBuffers(const TDC& dc) {
  DeleteBuffers();
  const TRect r = GetBarRect();
  const int w = (std::max)(1, r.Width()), h = (std::max)(1, r.Height());
  BackgroundBuffer = new TBitmap(dc, w, h);
  DrawingBuffer = new TBitmap(dc, w, h);
}

void TKVR_Scroller::DeleteBuffers() {
  delete BackgroundBuffer;
  delete DrawingBuffer;
  BackgroundBuffer = DrawingBuffer = nullptr;
}

void TKVR_Scroller::Paint(TDC& dc, TPoint origin, bool saveBackground, bool notify) {
  Origin = origin;
  if (notify && Target && !Target->BeforePainting(Origin)) return;
  if (!Shown) return;
  // Owners make the buffers when they lay the bar out; one that did not
  // gets them here rather than no bar.
  if (!BackgroundBuffer || !DrawingBuffer) CreateBuffers(dc);
  if (!ThumbPicture) LoadPictures();
  const TRect bar = GetBarRect();
  const int w = bar.Width(), h = bar.Height();
  if (Settings.Transparent) {
    if (saveBackground && BackgroundToSave) {
      BackgroundToSave = 0;
      TMemoryDC saved(dc);
      saved.SelectObject(*BackgroundBuffer);
      saved.BitBlt(0, 0, w, h, dc, Origin.x, Origin.y);
    }
    TMemoryDC draw(dc);
    draw.SelectObject(*DrawingBuffer);
    {
      TMemoryDC saved(dc);
      saved.SelectObject(*BackgroundBuffer);
      draw.BitBlt(0, 0, w, h, saved, 0, 0);
    }
    draw.SetBkColor(TColor(Settings.BackgroundColour));
    Compose(draw);
    dc.BitBlt(Origin.x, Origin.y, w, h, draw, 0, 0);
    return;
  }
  TMemoryDC mem(dc);
  mem.SelectObject(*BackgroundBuffer);
  mem.SetBkColor(TColor(Settings.BackgroundColour));
  TBrush fill(TColor(Settings.BackgroundColour));
  mem.FillRect(bar, fill);
  Compose(mem);
  dc.BitBlt(Origin.x, Origin.y, w, h, mem, 0, 0);
}

void TKVR_Scroller::Compose(TDC& dc) const {
  DrawTrack(dc);
  DrawScale(dc);
  DrawThumb(dc);
  DrawArrows(dc);
}

void TKVR_Scroller::DrawTrack(TDC& dc) const {
  const bool vertical = Settings.Vertical != 0;
  const int length = vertical ? ThumbSize.Height() : ThumbSize.Width();
  uint32_t stored = Settings.GrooveThickness;
  if (Settings.ProgressFill && stored < kThinGroove) stored = kFilledGrooveMin;
  const int g = EffectiveGrooveThickness(stored, vertical ? BarRect.Width() : BarRect.Height());
  const TRect t = ThumbRect();
  TRect groove;
  int split;
  if (vertical) {
    const int left = TrackRect.left + TrackRect.Width() / 2 - g / 2;
    groove = TRect(left, TrackRect.top + length / 2, left + g, TrackRect.bottom - length / 2);
    split = (t.top + t.bottom) / 2;
  } else {
    const int top = TrackRect.top + TrackRect.Height() / 2 - g / 2;
    groove = TRect(TrackRect.left + length / 2, top, TrackRect.right - length / 2, top + g);
    split = (t.left + t.right) / 2;
  }
  if (groove.IsEmpty()) return;
  if (Settings.ProgressFill) {
    TBrush before(TColor(Settings.ProgressColourBefore)), after(TColor(Settings.ProgressColourAfter));
    split = vertical ? (std::min)((std::max)(split, int(groove.top)), int(groove.bottom))
                     : (std::min)((std::max)(split, int(groove.left)), int(groove.right));
    if (vertical) {
      // Upward is forward on a vertical bar: the after-colour lies above.
      dc.FillRect(TRect(groove.left, groove.top, groove.right, split), after);
      dc.FillRect(TRect(groove.left, split, groove.right, groove.bottom), before);
    } else {
      dc.FillRect(TRect(groove.left, groove.top, split, groove.bottom), before);
      dc.FillRect(TRect(split, groove.top, groove.right, groove.bottom), after);
    }
  }
  if (Settings.GrooveBorder) TUIBorder(groove.InflatedBy(1, 1), TUIBorder::Recessed).Paint(dc);
}

void TKVR_Scroller::DrawScale(TDC& dc) const {
  if (!Settings.Scale) return;
  const bool vertical = Settings.Vertical != 0;
  const int thick = vertical ? BarRect.Width() : BarRect.Height();
  const int half = (vertical ? ThumbSize.Height() : ThumbSize.Width()) / 2;
  const COLORREF old = dc.SetBkColor(TColor::Sys(COLOR_BTNTEXT));
  auto tick = [&](int32_t position, int length) {
    const int c = (vertical ? TrackRect.top : TrackRect.left) + ThumbOffset(position) + half;
    const TRect r = vertical ? TRect(thick + kScaleGap, c, thick + kScaleGap + length, c + 1)
                             : TRect(c, thick + kScaleGap, c + 1, thick + kScaleGap + length);
    dc.ExtTextOut(r.left, r.top, ETO_OPAQUE, &r, "", 0);
  };
  const int32_t step = Maximum / 10;
  tick(0, kLongTick);
  if (step > 0)
    for (int32_t p = step; p < Maximum; p += step) tick(p, kShortTick);
  tick(Maximum, kLongTick);
  dc.SetBkColor(old);
}

void TKVR_Scroller::DrawThumb(TDC& dc) const {
  const int style = EffectiveThumbStyle(int32_t(Settings.ThumbStyle));
  const bool active = Dragging || !Enabled;
  Picture* pic = ThumbPicture.get();
  int image = 0;
  if (TwoImageThumb(style)) {
    image = active ? 1 : 0;
  } else if (style == 3 && active && ThumbActivePicture) {
    pic = ThumbActivePicture.get();
  }
  if (!pic) return;
  const TRect t = ThumbRect();
  if (style == 2 && Settings.Transparent)
    pic->DrawMasked(dc, image, ThumbSize.Width(), t.left, t.top, kThumbKey);
  else
    pic->Draw(dc, image, ThumbSize.Width(), t.left, t.top);
}

void TKVR_Scroller::DrawArrows(TDC& dc) const {
  if (!ArrowPicture) return;
  const int pressed = ArrowPressed ? HitTest(CursorInOwner()) : NoPart;
  const int aw = ArrowSize.Width(), ah = ArrowSize.Height();
  if (Settings.Vertical) {
    const int x = (BarRect.Width() - aw) / 2;
    ArrowPicture->Draw(dc, pressed == LineBack ? 2 : 0, aw, x, 0);
    ArrowPicture->Draw(dc, pressed == LineForward ? 3 : 1, aw, x, BarRect.Height() - ah);
  } else {
    const int y = (BarRect.Height() - ah) / 2;
    ArrowPicture->Draw(dc, pressed == LineBack ? 2 : 0, aw, 0, y);
    ArrowPicture->Draw(dc, pressed == LineForward ? 3 : 1, aw, BarRect.Width() - aw, y);
  }
}
