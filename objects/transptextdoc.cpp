#include "objects/transptextdoc.h"

#include <richedit.h>

#include <algorithm>

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "engine/startup.h"
#include "foundation/resstring.h"
#include "objects/textdoc.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/richrender.h"
#include "platform/owl/uiservice.h"
#include "resources/resource.h"

namespace {
constexpr uint kSizeFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr long kTwipsPerInch = 1440;
// EM_SCROLL steps in pixels: a line step may take several answers.
constexpr int kMaxLineSteps = 64;
}  // namespace

TTranspTextDocObject::TTranspTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TTextDocData()) {
  if (TTextDocData* d = GetTextDocData()) d->KindMark = 1;
  EditWindow = std::make_unique<THighEditChildWindow>(owner, this);
  EditWindow->Attr.Id = static_cast<int>(GetNumber());
  EditWindow->Attr.Style &= ~WS_VISIBLE;
  EditWindow->Attr.ExStyle &= ~WS_EX_CLIENTEDGE;
  const TRect r = GetStoredRect();
  EditWindow->Attr.X = 0;
  EditWindow->Attr.Y = 0;
  EditWindow->Attr.W = r.Width();
  EditWindow->Attr.H = r.Height();
  if (owner && owner->HWindow) EditWindow->Create();
  ReloadDocument();
}

TTranspTextDocObject::~TTranspTextDocObject() {
  Renderer.reset();
  EditWindow.reset();
  Background.reset();
  if (Owner && Owner->HWindow) ::KillTimer(Owner->HWindow, TKVR_Scroller::kRepeatTimer);
  Bar.DeleteBuffers();
  Bar.Owner = nullptr;
}

TTextDocData* TTranspTextDocObject::GetTextDocData() const { return dynamic_cast<TTextDocData*>(Data.get()); }

int TTranspTextDocObject::BarWidth() const { return Bar.Shown ? Bar.GetBarRect().Width() : 0; }

void TTranspTextDocObject::LoadIntoWindow() {
  TTextDocData* d = GetTextDocData();
  if (!d || !EditWindow || !EditWindow->HWindow) return;
  if (d->IsEmbedded()) LoadRichDocument(std::string(), EditWindow.get(), d->BackgroundColour, false, true);
  else LoadRichDocument(d->FileName.c_str(), EditWindow.get(), d->BackgroundColour, true, true);
  ::ShowWindow(EditWindow->HWindow, SW_HIDE);
}

void TTranspTextDocObject::ReloadDocument(bool copyBarSettings) {
  TTextDocData* d = GetTextDocData();
  FirstVisibleLine = 0;
  if (copyBarSettings) {
    Bar.DeleteBuffers();
    Bar.Reset();
    if (d) Bar.SetSettings(d->Bar);
    // The document scrolls down the object's right edge, whatever the
    // record's orientation says.
    TKVR_ScrollerSettings s = Bar.GetSettings();
    s.Vertical = 1;
    Bar.SetSettings(s);
    Bar.Owner = Owner;
    Bar.Target = this;
    Bar.LineStep = 1;
  }
  Bar.Position = Bar.ReportedPosition = 0;
  LoadIntoWindow();
  Renderer.reset();
  if (EditWindow && EditWindow->HWindow) {
    Bar.Shown = 0;
    Layout();
    Renderer = std::make_unique<TRichRender>(EditWindow->HWindow);
    Bar.Shown = d && (d->Flags & kDocVScroll) && DoesNotFit() ? 1 : 0;
    Layout();
    if (Bar.Shown) Renderer = std::make_unique<TRichRender>(EditWindow->HWindow);
  }
  LineCount = EditWindow && EditWindow->HWindow
                  ? static_cast<int32_t>(::SendMessageA(EditWindow->HWindow, EM_GETLINECOUNT, 0, 0))
                  : 0;
  Bar.Maximum = LineCount - 1;
}

bool TTranspTextDocObject::DoesNotFit() {
  if (!Renderer || !Owner || !Owner->HWindow) return false;
  const TRect r = GetStoredRect();
  TClientDC dc(Owner->HWindow);
  const long w = ::MulDiv(r.Width(), kTwipsPerInch, dc.GetDeviceCaps(LOGPIXELSX));
  const long h = ::MulDiv(r.Height(), kTwipsPerInch, dc.GetDeviceCaps(LOGPIXELSY));
  return Renderer->FirstLineNotFitted(0, w, h) < Renderer->LineCount(w);
}

void TTranspTextDocObject::Layout() {
  const TTextDocData* d = GetTextDocData();
  const int margin = d ? d->Margin : 0;
  const TRect r = GetStoredRect();
  Bar.Area = r;
  Bar.Layout();
  if (Owner && Owner->HWindow) {
    Bar.DeleteBuffers();
    TScreenDC screen;
    Bar.CreateBuffers(screen);
  }
  const int width = std::max(0, r.Width() - BarWidth() - 2 * margin);
  const int height = std::max(0, r.Height() - 2 * margin);
  if (!EditWindow || !EditWindow->HWindow) return;
  RECT client{};
  ::GetClientRect(EditWindow->HWindow, &client);
  if (client.right != width || client.bottom != height) {
    ::SetWindowPos(EditWindow->HWindow, nullptr, 0, 0, width, height, kSizeFlags);
    LineCount = static_cast<int32_t>(::SendMessageA(EditWindow->HWindow, EM_GETLINECOUNT, 0, 0));
  }
}

void TTranspTextDocObject::Render(HDC dc) {
  const TTextDocData* d = GetTextDocData();
  if (!Renderer || !d || !EditWindow || !EditWindow->HWindow) return;
  const TRect r = GetStoredRect();
  const int m = d->Margin;
  // The control's formatting rectangle, so that its line N is drawn as line N.
  RECT format{};
  ::SendMessageA(EditWindow->HWindow, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int width = std::max<int>(1, std::min<int>(format.right - format.left, r.Width() - BarWidth() - 2 * m));
  // Without a margin the last line may show in part, cut at the object's edge.
  const RECT target{m + format.left, m, m + format.left + width, m == 0 ? 2 * r.Height() : r.Height() - m};
  const int oldMode = ::SetMapMode(dc, MM_TEXT);
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, 0, 0, r.Width() - BarWidth(), r.Height());
  if (::GetWindowTextLengthA(EditWindow->HWindow) > 0) Renderer->Draw(dc, FirstVisibleLine, target, m != 0);
  ::RestoreDC(dc, saved);
  ::SetMapMode(dc, oldMode);
}

void TTranspTextDocObject::CaptureBackground(TPaintInfo& paint) {
  const TRect r = GetStoredRect();
  if (!Background || Background->Width() != r.Width() || Background->Height() != r.Height()) {
    TScreenDC screen;
    Background = std::make_unique<TBitmap>(screen, r.Width(), r.Height());
  }
  // What the page painted under the object, as far as this pass painted it.
  const TRect painted = paint.Area;
  const int left = std::max(r.left, painted.left), top = std::max(r.top, painted.top);
  const int right = std::min(r.right, painted.right), bottom = std::min(r.bottom, painted.bottom);
  if (right > left && bottom > top) {
    TMemoryDC copy(paint.MemDC);
    copy.SelectObject(*Background);
    copy.BitBlt(left - r.left, top - r.top, right - left, bottom - top, paint.MemDC, left - paint.OriginX,
                top - paint.OriginY);
  }
  BackgroundCaptured = 1;
}

void TTranspTextDocObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  if (!Visible || !paint.MemDC.GetHDC()) return;
  TObjectElement::Paint(paint);
  TDC& dc = paint.MemDC;
  const TRect r = GetStoredRect();
  const TPoint at(r.left - paint.OriginX, r.top - paint.OriginY);
  if (!Bar.Shown) {
    TPoint old;
    dc.SetViewportOrg(at, &old);
    Render(dc);
    dc.SetViewportOrg(old);
    return;
  }
  CaptureBackground(paint);
  TMemoryDC mem(dc);
  TBitmap picture(dc, r.Width(), r.Height());
  mem.SelectObject(picture);
  {
    TMemoryDC bg(dc);
    bg.SelectObject(*Background);
    mem.BitBlt(0, 0, r.Width(), r.Height(), bg, 0, 0);
  }
  mem.SetBkMode(TRANSPARENT);
  Bar.BackgroundToSave = 1;
  Bar.Paint(mem, TPoint(r.Width() - BarWidth(), 0), true, false);
  Render(mem);
  dc.BitBlt(at.x, at.y, r.Width(), r.Height(), mem, 0, 0);
  mem.RestoreBitmap();
}

void TTranspTextDocObject::RedrawAfterScroll() {
  if (!Background || !Owner || !Owner->HWindow) return;
  const TRect r = GetStoredRect();
  TPoint scroll;
  GetScrollOffset(scroll);
  TClientDC dc(Owner->HWindow);
  TMemoryDC mem(dc);
  TBitmap picture(dc, r.Width(), r.Height());
  mem.SelectObject(picture);
  {
    TMemoryDC bg(dc);
    bg.SelectObject(*Background);
    mem.BitBlt(0, 0, r.Width(), r.Height(), bg, 0, 0);
  }
  mem.SetBkMode(TRANSPARENT);
  Render(mem);
  dc.BitBlt(r.left - scroll.x, r.top - scroll.y, r.Width() - BarWidth(), r.Height(), mem, 0, 0);
  mem.RestoreBitmap();
}

void TTranspTextDocObject::PositionChanged(int part, int32_t, TKVR_Scroller& scroller) {
  if (!EditWindow || !EditWindow->HWindow) return;
  const HWND h = EditWindow->HWindow;
  auto first = [&] { return static_cast<int32_t>(::SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0)); };
  // The control scrolls in pixels and may answer "one line" for a part of
  // one: a line step goes on until the first visible line moves.
  auto lineStep = [&](WPARAM code) {
    const int32_t before = first();
    for (int i = 0; i < kMaxLineSteps && first() == before; ++i)
      if (::SendMessageA(h, EM_SCROLL, code, 0) == 0) break;
  };
  switch (part) {
    case TKVR_Scroller::LineBack: lineStep(SB_LINEUP); break;
    case TKVR_Scroller::LineForward:
      if (FirstVisibleLine < LineCount - 1) lineStep(SB_LINEDOWN);
      break;
    case TKVR_Scroller::PageBack: ::SendMessageA(h, EM_SCROLL, SB_PAGEUP, 0); break;
    case TKVR_Scroller::PageForward: ::SendMessageA(h, EM_SCROLL, SB_PAGEDOWN, 0); break;
    case TKVR_Scroller::Thumb: ::SendMessageA(h, EM_LINESCROLL, 0, scroller.Position - FirstVisibleLine); break;
    default: break;
  }
  FirstVisibleLine = first();
  scroller.Position = FirstVisibleLine;
  if (part != TKVR_Scroller::NoPart) RedrawAfterScroll();
}

bool TTranspTextDocObject::CharFromPoint(const TPoint& point, long& c) {
  c = -1;
  if (!Renderer || !EditWindow || !EditWindow->HWindow || point.y < 0) return true;
  const HWND h = EditWindow->HWindow;
  const int line = Renderer->LineAt(FirstVisibleLine, point.y);
  if (line < 0) return true;
  const LRESULT first = ::SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (first < 0) return true;
  POINTL top{0, 0};
  ::SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&top), first);
  POINTL at{point.x, top.y + 1};
  c = static_cast<long>(::SendMessageA(h, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at)));
  // A point past the line's end answers the next line's first character.
  const LRESULT length = ::SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(first), 0);
  if (c > first + length) c = first + length;
  return true;
}

bool TTranspTextDocObject::BeforePainting(TPoint& origin) {
  if (!Bar.Shown) return false;
  TPoint scroll;
  GetScrollOffset(scroll);
  const TRect r = GetStoredRect();
  origin = TPoint(r.right - scroll.x - BarWidth(), r.top - scroll.y);
  return true;
}

void TTranspTextDocObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  if (TTextDocData* d = GetTextDocData()) d->KindMark = 1;
  ReloadDocument();
}

void TTranspTextDocObject::LButtonDown(uint32_t modKeys, const TPoint& point) {
  if (EditWindow && EditWindow->HWindow) {
    const TTextDocData* d = GetTextDocData();
    const int m = d ? d->Margin : 0;
    const TRect r = GetStoredRect();
    EditWindow->LinkClick(TPoint(point.x - r.left - m, point.y - r.top - m), false);
  }
  Bar.OnLButtonDown(modKeys, point);
}

void TTranspTextDocObject::LButtonUp(uint32_t, const TPoint&) { Bar.OnLButtonUp(); }
void TTranspTextDocObject::LButtonDblClk(uint32_t modKeys, const TPoint& point) { Bar.OnLButtonDown(modKeys, point); }

void TTranspTextDocObject::MouseMove(uint32_t modKeys, const TPoint& point) {
  const TTextDocData* d = GetTextDocData();
  const int m = d ? d->Margin : 0;
  const TRect r = GetStoredRect();
  const int x = point.x - r.left, y = point.y - r.top;
  if (Owner) {
    if (x >= 0 && x < r.Width() - BarWidth() - 2 * m && y >= 0 && y < r.Height() - 2 * m) {
      const bool link = EditWindow && EditWindow->HitTestLink(TPoint(x - m, y - m)) >= 0;
      if (d && (d->Flags & kDocLinks)) {
        if (link) Owner->SetCursor(Owner->GetModule(), TResId(IDC_PROGRAM_CURSOR));
        else Owner->SetCursor(nullptr, IDC_IBEAM);
      }
    } else {
      Owner->SetCursor(nullptr, IDC_ARROW);
    }
  }
  Bar.OnMouseMove(modKeys, point);
}

void TTranspTextDocObject::KeyDown(uint key, uint, uint) { Bar.OnKeyDown(key); }
void TTranspTextDocObject::Timer(uint timerId) { Bar.OnTimer(timerId); }
void TTranspTextDocObject::KillFocus() { Bar.OnLButtonUp(); }

void TTranspTextDocObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TTextDocData* d = GetTextDocData();
  if (!d) return;
  if (d->Flags & kDocFileText) {
    string path = name;
    if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
    d->FileName = path;
    d->LoadDocumentText();
  } else {
    d->DocumentText = name;
  }
  ReloadDocument(false);
  if (!d->IsEmbedded() && ::GetFileAttributesA(d->FileName.c_str()) == INVALID_FILE_ATTRIBUTES && EditWindow &&
      EditWindow->HWindow)
    ::SendMessageA(EditWindow->HWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  Refresh(false);
}

bool TTranspTextDocObject::GetFile(int, bool& flag, string& path) {
  const TTextDocData* d = GetTextDocData();
  flag = d && (d->Flags & kDocFileText);
  path = d ? d->FileName : string();
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  return true;
}

bool TTranspTextDocObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  TTextDocData* d = GetTextDocData();
  if (!d) {
    first = second = -1;
    return true;
  }
  return LoadDocumentFileText(Owner ? Owner->HWindow : nullptr, *d, text, first, second);
}

void TTranspTextDocObject::ShowFindDialog() {
  if (EditWindow && EditWindow->HWindow) EditWindow->CmEditFind();
}

void TTranspTextDocObject::ExecuteLinkCommand(const std::string& command) {
  ::ExecuteLinkCommand(command, History, *this);
}

std::string TTranspTextDocObject::DocumentName() {
  const TTextDocData* d = GetTextDocData();
  return d ? d->FileName.c_str() : "";
}

void TTranspTextDocObject::ShowDocument(const std::string& name) {
  string s = name.c_str();
  SetFileName(s);
}

void TTranspTextDocObject::RecordNavigationStep(const std::string& previous) {
  RecordDocumentStep(GetNumber(), previous);
}

void TTranspTextDocObject::ShowHistoryMessage(int stringId) {
  const TResString text = LoadResString(stringId == kIdsHistoryStart ? IDS_DOC_HISTORY_START : IDS_DOC_HISTORY_END);
  // No window of its own to own the box.
  UiMessageBox(nullptr, text, ProgramTitle(), MB_ICONINFORMATION);
}

bool TTranspTextDocObject::HasProject() { return GetOpenBook() != nullptr; }
const std::vector<std::string>& TTranspTextDocObject::PageNames() { return LinkPageNames(PageNameCache); }
void TTranspTextDocObject::PostPageChange(int kind, int pageIndex, int32_t record) {
  PostLinkPageChange(kind, pageIndex, record);
}
void TTranspTextDocObject::OpenUrl(const std::string& target) { OpenLinkUrl(target); }
void TTranspTextDocObject::GotoDbRecord(int32_t record) { GotoLinkRecord(record); }

void ResetTranspTextDocDisplay(TObjectElement* object) {
  if (auto* o = dynamic_cast<TTranspTextDocObject*>(object)) o->ResetDisplay();
}

TObjectElement* CreateTranspTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TTranspTextDocObject(owner, info, data);
}
