#include "engine/objectwindow.h"

#include <algorithm>

#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/pageinput.h"
#include "engine/pagepaint.h"
#include "engine/presentpump.h"
#include "engine/startup.h"
#include "foundation/drawtools.h"
#include "imaging/dibdraw.h"
#include "objects/core/diawindowdata.h"
#include "foundation/pagescroller.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "platform/owl/applicat.h"
#include "platform/owl/dc.h"
#include "platform/owl/framewin.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_foundation.h"

namespace {

constexpr uint32_t kOptionsHScroll = 0x10;
constexpr uint32_t kOptionsVScroll = 0x20;
constexpr uint32_t kOptionsDrawDib = 0x1000;
constexpr uint32_t kOptionsOwnPalettes = 0x2000;
constexpr uint32_t kOptionsContour = 0x40000;

// DrawDibArea's view of the open project's picture-palette option.
int PicturePaletteOption() {
  TBookStruct* book = GetOpenBook();
  if (!book) return -1;
  return (book->Info.Flags & kOptionsOwnPalettes) ? 1 : 0;
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TObjectWindow, TWindow)
  EV_WM_LBUTTONDOWN,
  EV_WM_LBUTTONUP,
  EV_WM_LBUTTONDBLCLK,
  EV_WM_MOUSEMOVE,
  EV_WM_KEYDOWN,
  EV_WM_SYSKEYDOWN,
  EV_WM_CHAR,
  EV_WM_KEYUP,
  EV_WM_TIMER,
  EV_WM_KILLFOCUS,
  EV_WM_SIZE,
  EV_WM_CTLCOLOR,
  EV_WM_MEASUREITEM,
  EV_WM_ERASEBKGND,
  EV_COMMAND_RANGE(kFirstMenuCommand, kLastMenuCommand, EvMenuCommand),
END_RESPONSE_TABLE;

TObjectWindow::TObjectWindow(TWindow* parent, const char* projectPath) : TWindow(parent, nullptr, nullptr) {
  if (projectPath) {
    std::strncpy(ProjectPath, projectPath, sizeof ProjectPath - 1);
    ProjectPath[sizeof ProjectPath - 1] = 0;
  }
  Init();
}

TObjectWindow::TObjectWindow(bool ownsProject, TWindow* parent)
    : TWindow(parent, nullptr, nullptr), OwnsProject(ownsProject ? 1 : 0) {
  Init();
}

void TObjectWindow::Init() {
  Attr.Style |= WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Tooltip = new TTooltip(this, true);
  Scroller = new _TScroller(this, 1, 1, 0, 0);
  SetPicturePaletteQuery(&PicturePaletteOption);
  SystemInfo().Refresh();
}

TObjectWindow::~TObjectWindow() {
  if (OwnsProject) {
    if (TBookStruct* book = GetOpenBook()) {
      delete book;
      SetOpenBook(nullptr);
    }
    RemovePresentationRules();
  }
  if (DrawDib) {
    ::DrawDibClose(DrawDib);
    DrawDib = nullptr;
  }
}

TObjectManager* TObjectWindow::GetPageManager() const {
  TBookStruct* book = GetOpenBook();
  return book ? book->ObjectManager.get() : nullptr;
}

TPoint TObjectWindow::GetScrollOffset() const {
  if (!Scroller) return TPoint(0, 0);
  return TPoint(static_cast<int>(Scroller->XPos * Scroller->XUnit), static_cast<int>(Scroller->YPos * Scroller->YUnit));
}

void TObjectWindow::SetupWindow() {
  TWindow::SetupWindow();
  if (OwnsProject) {
    InstallPresentationRules();
    if (ProjectPath[0]) {
      auto* book = new TBookStruct(this, ProjectPath);
      SetOpenBook(book);
      if (book->LoadStatus == 0) {
        CloseAfterFailedLoad();
        return;
      }
    } else {
      SetOpenBook(new TBookStruct(this, nullptr));
    }
  }
  TBookStruct* book = GetOpenBook();
  if (book && (book->Info.Flags & kOptionsContour)) {
    TApplication* app = TApplication::GetApplicationObject();
    TFrameWindow* main = app ? app->GetMainWindow() : nullptr;
    if (main && main->HWindow) ApplyContourRegion(book->Info.GetContourPath().c_str(), main->HWindow);
  }
  if (EditMode) SetupEditScroller();
}

void TObjectWindow::CloseAfterFailedLoad() {
  const TResString text = LoadResString(IDS_CANNOT_LOAD_FILE);
  UiMessageBox(HWindow, text, ProgramTitle(), MB_OK | MB_ICONINFORMATION);
  delete GetOpenBook();
  SetOpenBook(nullptr);
  // The frame that holds this window ends the player when it goes.
  PostMessage(WM_CLOSE);
}

void TObjectWindow::CleanupWindow() {
  Tooltip = nullptr;
  if (HWindow && ::GetCapture() == HWindow) ::ReleaseCapture();
  TWindow::CleanupWindow();
}

bool TObjectWindow::PreProcessMsg(MSG& msg) {
  if (Tooltip && Tooltip->IsWindow()) Tooltip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<TParam2>(&msg));
  return TWindow::PreProcessMsg(msg);
}

void TObjectWindow::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  // The page objects set the cursor on every mouse move.
  wc.hCursor = nullptr;
  wc.style |= CS_HREDRAW | CS_VREDRAW;
}

void TObjectWindow::Paint(TDC& dc, bool, TRect& rect) {
  TBookStruct* book = GetOpenBook();
  if (!book || !book->ObjectManager) return;
  // A failed open leaves the handle null; the next paint tries again.
  if ((book->Info.Flags & kOptionsDrawDib) && !DrawDib) DrawDib = ::DrawDibOpen();
  TPagePainter::PaintArea(book->ObjectManager.get(), dc, DrawDib, rect, GetClientRect(), false, nullptr, false,
                          nullptr);
}

void TObjectWindow::PaintBackground(TDC& dc) {
  TObjectManager* m = GetPageManager();
  if (!m) return;
  m->Background.Paint(dc, GetClientRect(), GetScrollOffset(), DrawDib);
}

void TObjectWindow::AdjustScrollbars() {
  TObjectManager* m = GetPageManager();
  if (!m || !HWindow) return;
  const TBookStructOptions& options = TPagePainter::OptionsInForce(m);
  const TRect page = TPagePainter::PageRectOf(m);
  const TRect client = GetClientRect();
  long hRange = std::max(0, page.Width() - client.Width());
  long vRange = std::max(0, page.Height() - client.Height());
  if (!(options.Flags & kOptionsHScroll)) {
    hRange = 0;
    ShowScrollBar(SB_HORZ, false);
  }
  if (!(options.Flags & kOptionsVScroll)) {
    vRange = 0;
    ShowScrollBar(SB_VERT, false);
  }
  if (!Scroller) return;
  Scroller->XLine = client.Width() / 10;
  Scroller->YLine = client.Height() / 10;
  Scroller->XPage = client.Width();
  Scroller->YPage = client.Height();
  Scroller->SetRange(hRange / Scroller->XUnit, vRange / Scroller->YUnit);
}

// ---- messages ----

void TObjectWindow::EvSize(uint sizeType, TSize& size) {
  TWindow::EvSize(sizeType, size);
  // The editing canvas keeps its bars whatever the page's options say.
  if (EditMode) SetupEditScroller();
  else if (GetOpenBook()) AdjustScrollbars();
  Invalidate(true);
}

void TObjectWindow::EvLButtonDown(uint modKeys, TPoint& point) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvLButtonDown(m, modKeys, point + GetScrollOffset());
}

void TObjectWindow::EvLButtonUp(uint modKeys, TPoint& point) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvLButtonUp(m, modKeys, point + GetScrollOffset());
}

void TObjectWindow::EvLButtonDblClk(uint modKeys, TPoint& point) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvLButtonDblClk(m, modKeys, point + GetScrollOffset());
}

void TObjectWindow::EvMouseMove(uint modKeys, TPoint& point) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvMouseMove(m, modKeys, point + GetScrollOffset());
}

void TObjectWindow::EvKeyDown(uint key, uint repeatCount, uint flags) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvKeyDown(m, key, repeatCount, flags);
}

void TObjectWindow::EvSysKeyDown(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (TObjectManager* m = GetPageManager()) TPageInput::EvSysKeyDown(m, key, repeatCount, flags);
}

void TObjectWindow::EvChar(uint key, uint repeatCount, uint flags) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvChar(m, key, repeatCount, flags);
}

void TObjectWindow::EvKeyUp(uint key, uint repeatCount, uint flags) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvKeyUp(m, key, repeatCount, flags);
}

void TObjectWindow::EvTimer(uint timerId) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvTimer(m, timerId);
}

void TObjectWindow::EvKillFocus(HWND) {
  if (TObjectManager* m = GetPageManager()) TPageInput::EvKillFocus(m);
}

HBRUSH TObjectWindow::EvCtlColor(HDC dc, HWND child, uint ctlType) {
  TObjectManager* m = GetPageManager();
  if (m && (ctlType == CTLCOLOR_EDIT || ctlType == CTLCOLOR_LISTBOX || ctlType == CTLCOLOR_STATIC)) {
    if (TObjectElement* o = TObjectManager::FindObjectByWindow(m, child, true))
      return o->GetBackgroundBrush(dc, child, ctlType);
  }
  return TWindow::EvCtlColor(dc, child, ctlType);
}

void TObjectWindow::EvMeasureItem(uint ctrlId, MEASUREITEMSTRUCT& info) {
  // The control's own object measures first; only the slide window's list
  // has thumbnail-sized items. A window's control id is its object's number.
  TWindow::EvMeasureItem(ctrlId, info);
  TObjectManager* m = GetPageManager();
  TObjectElement* o = m ? m->FindObjectById(ctrlId) : nullptr;
  if (o && ObjectKindHas(o->GetKind(), kThumbnailItems)) {
    const tsl::SizeL cell = TDiaWindowData::CellSize();
    info.itemWidth = static_cast<UINT>(cell.cx);
    info.itemHeight = static_cast<UINT>(cell.cy);
  }
}

bool TObjectWindow::EvEraseBkgnd(HDC) { return true; }

void TObjectWindow::EvMenuCommand(uint id) {
  if (TObjectManager* m = GetPageManager()) TPageInput::RunMenuCommand(m, static_cast<int>(id));
}
