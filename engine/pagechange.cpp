// Page change and page build of the open project.
#include <algorithm>
#include <vector>

#include "actions/presentation.h"
#include "database/core/dbnodes.h"
#include "database/searchdialogs.h"
#include "engine/animregistry.h"
#include "engine/bookstruct.h"
#include "engine/core/format/trace.h"
#include "engine/deskframe.h"
#include "engine/menubar.h"
#include "engine/objectfactory.h"
#include "engine/objectwindow.h"
#include "engine/pagepaint.h"
#include "engine/startup.h"
#include "engine/transitionthread.h"
#include "imaging/transition.h"
#include "foundation/drawtools.h"
#include "foundation/winutil.h"
#include "platform/owl/applicat.h"

namespace {

void PostTo(TBookStruct& book, TTimedMsgKind kind, uint32_t delay, uintptr_t param1, uintptr_t ownerId = 0,
            uintptr_t param3 = 0) {
  TSysTimeManager* m = book.GetTimeManager();
  if (!m) return;
  TSysTimeManagerMsg msg;
  msg.Receiver = &book;
  msg.Kind = kind;
  msg.Delay = delay;
  msg.Param1 = param1;
  msg.OwnerId = ownerId;
  msg.Param3 = param3;
  m->PostMsg(msg);
}

// The page read before stays nowhere: the fields of an empty page.
void ShowEmptyPage(TObjectManager& m) { m.ResetPage(); }

void SetObjectShown(TObjectElement* o, bool shown) {
  if (o->GetHandle()) {
    if (shown) o->Show(false, false);
    else o->Hide(false, false);
  }
  o->SetVisible(shown);
}

// The frame's size and position change, nothing else of it.
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// The frame's style changed: its frame is recomputed and the window shown.
constexpr UINT kRestyleFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW;
// Only the z-order changes, unpainted.
constexpr UINT kZOrderFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW;

// The frame's size, style, caption and shape for the options in force.
void ApplyWindowSettings(TBookStruct& book, HWND frame, const TBookStructOptions& o) {
  if (o.Flags & kOptContour) ::ShowWindow(frame, SW_HIDE);
  if (o.Flags & kOptFitWorkArea) {
    RECT work;
    if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
      ::SetWindowPos(frame, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top, kPlaceFlags);
  } else {
    const int w = o.WindowRect.Right - o.WindowRect.Left, h = o.WindowRect.Bottom - o.WindowRect.Top;
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetWindowPos(frame, nullptr, std::max(0, cx - w) / 2, std::max(0, cy - h) / 2, std::min(cx, w), std::min(cy, h),
                   kPlaceFlags);
  }
  ::SetWindowLongA(frame, GWL_STYLE, static_cast<LONG>(FrameStyleFor(o.Flags)));
  ::SetWindowTextA(frame, o.GetTitle().c_str());
  if ((o.Flags & kOptTopmost) && !(o.Flags & kOptDeskFrame))
    ::SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
  if (o.Flags & kOptContour) ApplyContourRegion(o.GetContourPath().c_str(), frame);
  else ::SetWindowRgn(frame, nullptr, TRUE);
  ::SetWindowPos(frame, nullptr, 0, 0, 0, 0, kRestyleFlags);

  TWindow* frameWindow = book.PageWindow ? book.PageWindow->GetParentO() : nullptr;
  if (o.Flags & kOptDeskFrame) {
    DeskBackground = const_cast<TBackground*>(&o.Background);
    if (!DeskFrame) {
      auto* desk = new TDeskFrameWindow();
      desk->SetIcon(TApplication::GetApplicationObject(), "TSL_LOGO");
      desk->Create();
    }
    if (frameWindow && frameWindow->GetParentO() != DeskFrame) frameWindow->SetParent(DeskFrame);
    ::ShowWindow(DeskFrame->HWindow, SW_SHOW);
    ::SetWindowPos(DeskFrame->HWindow, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderFlags);
    if (o.Flags & kOptTopmost) ::SetWindowPos(DeskFrame->HWindow, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
  } else if (DeskFrame) {
    if (frameWindow && frameWindow->GetParentO() == DeskFrame) {
      frameWindow->SetParent(nullptr);
      ::SetParent(frame, nullptr);
      ::ShowWindow(frame, SW_SHOW);
    }
    TDeskFrameWindow* desk = DeskFrame;
    if (desk->HWindow) ::DestroyWindow(desk->HWindow);
    delete desk;
  }
}

}  // namespace

uint32_t FrameStyleFor(uint32_t flags) {
  uint32_t style = WS_POPUP;
  if (!(flags & kOptContour) && (flags & kOptCaption)) {
    style |= WS_CAPTION;
    if (flags & kOptMinimizeBox) style |= WS_MINIMIZEBOX;
    if (flags & kOptMaximizeBox) style |= WS_MAXIMIZEBOX;
    if (flags & kOptSystemMenu) style |= WS_SYSMENU;
  }
  if (flags & kOptSizingBorder) style |= WS_THICKFRAME;
  return style;
}

bool TBookStruct::GotoPage(int index, uint8_t runLeave, int32_t record, uint8_t withHistory,
                           std::unique_ptr<TActionKeyArray> carried) {
  if (index < 0 || index >= GetPageCount() || !ObjectManager) return false;
  TObjectManager* m = ObjectManager.get();
  SignalPageChild(this, 0);
  // One of them may be the dialog whose handler asked for this change: it
  // goes by a posted message after that handler returned.
  EndSearchDialogs();
  if (TAnimationRegistry* bitmaps = AnimatedBitmaps())
    for (TAnimationEntry& e : *bitmaps) e.Flag = 1;
  FlushPendingActions();
  if (TSysTimeManager* q = GetTimeManager()) q->RemoveAllButKind(kTickMsg);
  if (runLeave) RunPageActions(m->LeaveActions);
  PageBuilt = 0;
  TObjectManager::PauseObjects(m, false, true);
  m->PageLoaded = 0;
  if (withHistory && !Replaying) PushBackStep().Add(new TUndoActionInfo(kUndoPage, CurrentPage, -1, -1));
  PreviousPage = CurrentPage;
  CurrentPage = index;
  // The old page is still loaded: black it out before the new one is built.
  // The main thread waits without pumping, so nothing repaints under the
  // effect.
  if (TransitionThread::Wanted(*this, runLeave != 0)) {
    TransitionThread thread(this);
    if (thread.Start()) thread.WaitForExit(INFINITE);
  }  // the thread object deletes a leftover effect
  BuildCurrentPage(record, withHistory, std::move(carried));
  return true;
}

bool TBookStruct::DeferClose(HWND frame) {
  if (BuildDepth == 0) return false;
  CloseAfterBuild = frame;
  return true;
}

void TBookStruct::BuildCurrentPage(int32_t record, uint8_t withHistory, std::unique_ptr<TActionKeyArray> carried) {
  TObjectManager* m = ObjectManager.get();
  if (!m) return;
  struct TBuildScope {
    TBookStruct& Book;
    explicit TBuildScope(TBookStruct& b) : Book(b) { ++Book.BuildDepth; }
    ~TBuildScope() {
      if (--Book.BuildDepth != 0 || !Book.CloseAfterBuild) return;
      ::PostMessageA(Book.CloseAfterBuild, WM_CLOSE, 0, 0);
      Book.CloseAfterBuild = nullptr;
    }
  } scope(*this);
  // Nothing paints a half-built page.
  PaintEnabled = 0;
  TObjectManager::EndPageObjects(m);
  uint32_t offset = kEmptyPageOffset;
  GetPageOffset(CurrentPage, offset);
  if (offset == kEmptyPageOffset) {
    ShowEmptyPage(*m);
  } else {
    double sx = 1.0, sy = 1.0;
    if (!GetPageScale(offset, sx, sy)) sx = sy = 1.0;
    uint32_t number = 0;
    GetPageNumber(CurrentPage, number);
    tsl::TTraceScope scope("page %u", number);
    // A page that cannot be read is the empty page: ReadPage left its fields
    // reset, and an object made before the failure goes again.
    if (!m->ReadPage(offset, nullptr, sx, sy)) {
      tsl::Trace("not read, the empty page is shown");
      TObjectManager::EndPageObjects(m);
    }
  }
  BuildProjectMenuBar(m);

  const int count = m->GetObjectCount();
  for (int i = 0; i < count; ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !o) continue;
    if (o->Info.Property.Flags & kPropOwnCache) o->Picture.reset();
    if (const TObjectKindRow* row = FindKindRow(o->GetKind()))
      if (row->DisplayReset) row->DisplayReset(o);
  }
  // The first entry after the display resets: a database tree has filled
  // from the database the page loaded by then.
  const bool databasePage = (m->DbInfo.Flags & kDbInUse) && m->DBNodeManager;
  if (databasePage && record == -1) {
    // The page change recorded the step already: a second one for its
    // first entry would make Back stay on the page once.
    const int32_t first = m->DBNodeManager->GetFirstTopLevelId();
    if (first != -1) GotoDBRecord(first, 0);
  }

  PageStartTime = ::GetTickCount();
  std::vector<uint8_t> hiddenByList(static_cast<size_t>(count), 0);
  for (int i = 0; i < count && !EditMode; ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !o) continue;
    int at;
    const TObjectInfoTail& t = o->Info.Tail;
    if (m->HiddenList.Find(o->GetNumber(), at)) {
      SetObjectShown(o, false);
      hiddenByList[static_cast<size_t>(i)] = 1;
    } else if (t.Flags & kTailVisible) {
      SetObjectShown(o, true);
    } else if (t.Duration(0, 1) != 0) {
      SetObjectShown(o, false);
    }
  }
  ApplyEditVisibility();
  HWND pageHandle = PageWindow ? PageWindow->HWindow : nullptr;
  if (pageHandle) ::InvalidateRect(pageHandle, nullptr, FALSE);

  HWND frame = pageHandle ? ::GetParent(pageHandle) : nullptr;
  if (frame && (m->OwnOptions || PreviousPageHadOwnOptions))
    ApplyWindowSettings(*this, frame, m->OwnOptions ? m->PageOptions : Info);

  PaintEnabled = 1;
  PageBuilt = 1;
  PumpMessages();
  ScheduleObjectTimes(hiddenByList);
  m->PageLoaded = 1;
  if (databasePage && record == -1) {
    bool fileShows = false;
    for (int i = 0; i < count && !fileShows; ++i) {
      TObjectElement* o = nullptr;
      fileShows = m->GetObjectAt(i, o) && o && (o->Info.Property.Flags & kPropFileShows);
    }
    if (fileShows)
      if (TSysTimeManager* q = GetTimeManager()) {
        TSysTimeManagerMsg msg;
        msg.Receiver = this;
        msg.Kind = kRefreshRecordMsg;
        msg.Delay = 0;
        msg.LifeTime = kTimedMsgLifeTime;
        q->PostMsg(msg);
      }
  }
  if (record != -1) GotoDBRecord(record, withHistory);
  UpdateMediaBars();
  RunPageActions(m->EnterActions);
  ScheduleAutoAdvance();
  if (!EditMode) RunPageStartHooks(m);

  // The tick may be waiting in the incoming queue: re-posted in the pass
  // that runs this page change, or posted by the start-up just before the
  // first page. A second tick would run for the rest of the presentation.
  if (TSysTimeManager* q = GetTimeManager())
    if (!q->IsQueued(kTickMsg)) PostTick(kTimedMsgLifeTime);
  ShowStayingSearchDialogs();
  SignalPageChild(this, SignalPageChildState);

  if (carried) {
    TSysTimeManager* q = GetTimeManager();
    for (int i = 0; i < carried->GetItemsInContainer(); ++i) {
      TActionKeyStruct* e = (*carried)[i];
      if (!e || !e->Action || !q) continue;
      TActionLinks links;
      links.Serial = e->Serial;
      links.WaitFor = e->WaitFor;
      links.Next = e->Next;
      QueuePendingAction(*q, this, std::move(e->Action), links);
    }
    carried.reset();
  }
}

void TBookStruct::RunPageActions(const TActionStruct (&actions)[4]) {
  TSysTimeManager* q = GetTimeManager();
  if (!q) return;
  std::vector<const TActionStruct*> enabled;
  for (const TActionStruct& a : actions)
    if (a.Flags & kActionEnabled) enabled.push_back(&a);
  if (!enabled.empty()) QueueActionChain(*q, this, enabled, reinterpret_cast<uintptr_t>(this));
}

void TBookStruct::ScheduleObjectTimes(const std::vector<uint8_t>& hiddenByList) {
  TObjectManager* m = ObjectManager.get();
  if (!m) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (!m->GetObjectAt(i, o) || !o) continue;
    if (static_cast<size_t>(i) < hiddenByList.size() && hiddenByList[static_cast<size_t>(i)]) continue;
    const TObjectInfoTail& t = o->Info.Tail;
    const uint32_t n = o->GetNumber();
    if (t.Flags & kTailVisible) {
      if (o->Info.Property.Flags & kPropShowAtOnce) {
        o->Show(true, false);
        PostTo(*this, kShowAndStartMsg, 500, n);
      } else {
        PostTo(*this, kShowAndStartMsg, 0, n);
      }
    } else {
      PostTo(*this, kShowAndStartMsg, t.Duration(0, 1), n);
      if (!(t.Flags & kTailStays))
        PostTo(*this, kStopAndHideMsg, t.Duration(0, 4), n);
    }
  }
}

void TBookStruct::ScheduleAutoAdvance() {
  if (!(Info.Flags & kOptAutoAdvance) || !ObjectManager) return;
  int next = -1;
  bool atEnd;
  if (Info.Flags & kOptAdvanceSequence) {
    const TLongArray& seq = Info.PageSequence;
    atEnd = seq.Count() == 0;
    if (!atEnd) {
      if (SequenceIndex >= static_cast<uint32_t>(seq.Count())) SequenceIndex = 0;
      uint32_t number = 0;
      seq.Get(static_cast<int>(SequenceIndex), number);
      ++SequenceIndex;
      next = FindPageIndex(number);
    }
  } else {
    atEnd = CurrentPage + 1 >= GetPageCount();
    next = atEnd ? 0 : CurrentPage + 1;
  }
  const TObjectInfoTail& t = ObjectManager->PageInfo.Tail;
  const uint32_t delay = t.Duration(0, 4);
  // A page without a duration that advances to itself (a project of one
  // page, or of none that could be read) would be built again on every
  // timer pass for ever, repainting a page that does not change.
  if (next == CurrentPage && delay == 0 && (!atEnd || (Info.Flags & kOptAdvanceLoop))) return;
  if (!atEnd || (Info.Flags & kOptAdvanceLoop))
    PostTo(*this, kAdvanceOnPageMsg, delay, 0, static_cast<uintptr_t>(static_cast<intptr_t>(next)),
           static_cast<uintptr_t>(CurrentPage));
  else
    PostTo(*this, kQuitOnPageMsg, delay, 0, static_cast<uintptr_t>(CurrentPage));
}
