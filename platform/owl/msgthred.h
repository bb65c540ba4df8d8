// TMsgThread: the message loop of the user-interface thread. The loop does
// idle processing while the queue is empty, waits for messages, and takes
// them through PumpWaitingMessages; a WM_QUIT ends the loop and is posted
// again so that an enclosing loop (a modal dialog's) ends too.
//
// A process-wide message filter lets the program see every message before it
// is dispatched and drop it (the presentation's quit keys and click routing).
#pragma once
#include "platform/owl/defs.h"

#include <exception>

#include "platform/owl/defs.h"

class TWindow;

class TMsgThread {
public:
  // Sees each message taken from the queue, before WM_QUIT handling and
  // dispatch; true drops the message. Exceptions it throws are swallowed.
  using TMessageFilter = bool (*)(MSG& msg);

  // A mutex handle, closed on destruction.
  class TAppMutex {
  public:
    TAppMutex() : Handle(CreateMutexA(nullptr, FALSE, nullptr)) {}
    ~TAppMutex() { if (Handle) CloseHandle(Handle); }
    TAppMutex(const TAppMutex&) = delete;
    TAppMutex& operator=(const TAppMutex&) = delete;
    HANDLE GetHandle() const { return Handle; }
  private:
    HANDLE Handle;
  };

  TMsgThread();
  virtual ~TMsgThread();
  TMsgThread(const TMsgThread&) = delete;
  TMsgThread& operator=(const TMsgThread&) = delete;

  // InitInstance, the loop, FlushQueue, TermInstance(status).
  virtual int Run();
  virtual int MessageLoop();
  // Idle work while the queue is empty; true asks to be called again before
  // waiting.
  virtual bool IdleAction(long idleCount);
  // Translates and dispatches; true ends the current pump pass.
  virtual bool ProcessMsg(MSG& msg);
  virtual void InitInstance();
  virtual int TermInstance(int status);
  // Takes every waiting message; true when at least one was taken.
  virtual bool PumpWaitingMessages();
  // Removes messages until the queue is empty or a WM_PAINT was removed.
  void FlushQueue();

  // A nested loop that runs until EndModal (or WM_QUIT); the result is
  // EndModal's value (the WM_QUIT parameter after a quit).
  int BeginModal(TWindow* window);
  void EndModal(int result);

  bool IsRunning() const { return LoopRunning; }

  // The loop of this thread most recently made and still alive, or null.
  static TMsgThread* Current();
  static void SetMessageFilter(TMessageFilter filter);
  static TMessageFilter GetMessageFilter();
  // An exception thrown by a message handler is kept here, because it must
  // not cross the window procedure, and thrown again by the loop.
  static void SuspendThrow(std::exception_ptr e);
  static void ResumeThrow();
  static bool HasSuspended();

  bool BreakMessageLoop = false;
  int MessageLoopResult = 0;
  bool LoopRunning = false;

private:
  TMsgThread* PreviousCurrent;
};
