#include "platform/owl/msgthred.h"

#include <atomic>

namespace {
thread_local TMsgThread* CurrentLoop = nullptr;
thread_local std::exception_ptr Suspended;
std::atomic<TMsgThread::TMessageFilter> Filter{nullptr};
}  // namespace

TMsgThread::TMsgThread() : PreviousCurrent(CurrentLoop) { CurrentLoop = this; }

TMsgThread::~TMsgThread() {
  if (CurrentLoop == this) CurrentLoop = PreviousCurrent;
}

TMsgThread* TMsgThread::Current() { return CurrentLoop; }
void TMsgThread::SetMessageFilter(TMessageFilter filter) { Filter = filter; }
TMsgThread::TMessageFilter TMsgThread::GetMessageFilter() { return Filter; }

void TMsgThread::SuspendThrow(std::exception_ptr e) {
  if (!Suspended) Suspended = e;
}

bool TMsgThread::HasSuspended() { return static_cast<bool>(Suspended); }

void TMsgThread::ResumeThrow() {
  if (!Suspended) return;
  std::exception_ptr e = Suspended;
  Suspended = nullptr;
  std::rethrow_exception(e);
}

int TMsgThread::Run() {
  InitInstance();
  LoopRunning = true;
  int status = 0;
  try {
    status = MessageLoop();
  } catch (...) {
    LoopRunning = false;
    FlushQueue();
    TermInstance(0);
    throw;
  }
  LoopRunning = false;
  FlushQueue();
  return TermInstance(status);
}

int TMsgThread::MessageLoop() {
  MessageLoopResult = 0;
  long idleCount = 0;
  try {
    while (!BreakMessageLoop) {
      if (!IdleAction(idleCount++)) ::WaitMessage();
      if (PumpWaitingMessages()) idleCount = 0;
    }
  } catch (...) {
    ::PostQuitMessage(-1);
    BreakMessageLoop = false;
    throw;
  }
  // An enclosing loop goes on (a WM_QUIT was posted again for it).
  BreakMessageLoop = false;
  return MessageLoopResult;
}

bool TMsgThread::IdleAction(long) { return false; }

bool TMsgThread::ProcessMsg(MSG& msg) {
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
  ResumeThrow();
  return false;
}

void TMsgThread::InitInstance() {}

int TMsgThread::TermInstance(int status) { return status; }

bool TMsgThread::PumpWaitingMessages() {
  bool taken = false;
  MSG msg;
  // A loop told to end stops taking messages: what is queued behind the
  // message that ended a dialog (a key typed ahead, a timer) is the
  // enclosing loop's, not the ended dialog's.
  while (!BreakMessageLoop && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    taken = true;
    if (TMessageFilter f = Filter.load()) {
      bool drop = false;
      try {
        drop = f(msg);
      } catch (...) {
        drop = false;
      }
      if (drop) continue;
    }
    if (msg.message == WM_QUIT) {
      BreakMessageLoop = true;
      MessageLoopResult = static_cast<int>(msg.wParam);
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return true;
    }
    if (ProcessMsg(msg)) return true;
  }
  return taken;
}

void TMsgThread::FlushQueue() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
    if (msg.message == WM_PAINT) break;
  }
}

int TMsgThread::BeginModal(TWindow*) { return MessageLoop(); }

void TMsgThread::EndModal(int result) {
  MessageLoopResult = result;
  BreakMessageLoop = true;
}
