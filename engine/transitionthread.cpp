#include "engine/transitionthread.h"

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/core/format/bookoptions.h"
#include "imaging/transition.h"

bool TransitionThread::Wanted(const TBookStruct& book, bool runLeave) {
  if (!runLeave || !(book.Info.Flags & kOptTransitions) || !book.ObjectManager) return false;
  return book.ObjectManager->PageInfo.Property.Transition != 0;
}

TransitionThread::TransitionThread(TBookStruct* book) : Book(book) {
  delete Book->Transition;
  Book->Transition = nullptr;
  if (!Book->ObjectManager || !Book->PageWindow || !Book->PageWindow->HWindow) return;
  const TObjectInfoTail tail = Book->ObjectManager->PageInfo.Tail;
  const uint8_t kind = Book->ObjectManager->PageInfo.Property.Transition;

  // The effect paints into the page window's own DC, in client coordinates:
  // under Wine's X11 driver a DC of the whole screen does not reach what the
  // windows show, so a blackout on it would stay invisible. The page window
  // clips its children (WS_CLIPCHILDREN), which GetDC would honour; a DC
  // that leaves them unclipped blacks out the objects with windows of their
  // own too.
  PageHandle = Book->PageWindow->HWindow;
  RECT client;
  ::GetClientRect(PageHandle, &client);
  PageDC = ::GetDCEx(PageHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!PageDC) return;
  const TRect area(0, 0, client.right - client.left, client.bottom - client.top);
  Book->Transition = new TTransition(Book->PageWindow, area, true, PageDC);
  Book->Transition->StartBlackout(kind, tail.Duration(3, 1));
}

TransitionThread::~TransitionThread() {
  // The effect uses the DC until it is deleted, by Run or by the page change.
  delete Book->Transition;
  Book->Transition = nullptr;
  if (!PageDC) return;
  ::ReleaseDC(PageHandle, PageDC);
  // The blackout went over the child windows; those that stay on the next
  // page paint themselves again (the page build invalidates only its own
  // client area).
  if (::IsWindow(PageHandle)) ::RedrawWindow(PageHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

int TransitionThread::Run() {
  TTransition* effect = Book->Transition;
  while (effect) {
    effect->OnTimer(0);
    if (!effect->IsRunning()) break;
    SleepEx(effect->GetInterval(), FALSE);
  }
  delete Book->Transition;
  Book->Transition = nullptr;
  return 1;
}
