// TThread: a worker thread. Derive, implement Run, Start it and wait for it
// with WaitForExit. Terminate only asks: Run checks ShouldTerminate.
// A derived object must have ended its thread (WaitForExit) before it is
// destroyed; the base destructor asks and waits once more, but by then the
// derived part is gone.
//
// TMutex and TSemaphore: Win32 handles, closed on destruction.
#pragma once
#include "platform/owl/defs.h"

#include <atomic>

class TThread {
public:
  enum TStatus { Created, Running, Finished, Invalid };

  TThread() = default;
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts Run on a new thread; the thread handle, or null.
  HANDLE Start();
  // Waits for the end of Run; WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED
  // (also when the thread was never started).
  DWORD WaitForExit(DWORD timeout = INFINITE);
  // Asks Run to end.
  void Terminate() { TerminationRequested = true; }
  DWORD TerminateAndWait(DWORD timeout = INFINITE);
  TStatus GetStatus() const;
  // Run's result once it has ended.
  int GetExitCode() const { return ExitCode; }
  HANDLE GetHandle() const { return Handle; }
  int SetPriority(int priority);

  static void Sleep(DWORD ms) { ::Sleep(ms); }

protected:
  virtual int Run() = 0;
  bool ShouldTerminate() const { return TerminationRequested; }

private:
  static DWORD WINAPI Execute(void* self);

  HANDLE Handle = nullptr;
  DWORD ThreadId = 0;
  std::atomic<bool> TerminationRequested{false};
  std::atomic<bool> Ended{false};
  int ExitCode = 0;
};

class TMutex {
public:
  explicit TMutex(const char* name = nullptr) : Handle(::CreateMutexA(nullptr, FALSE, name)) {}
  ~TMutex() { if (Handle) ::CloseHandle(Handle); }
  TMutex(const TMutex&) = delete;
  TMutex& operator=(const TMutex&) = delete;
  HANDLE GetHandle() const { return Handle; }
  bool Lock(DWORD timeout = INFINITE) { return ::WaitForSingleObject(Handle, timeout) == WAIT_OBJECT_0; }
  void Release() { ::ReleaseMutex(Handle); }

private:
  HANDLE Handle;
};

class TSemaphore {
public:
  TSemaphore(long initial, long maximum, const char* name = nullptr)
      : Handle(::CreateSemaphoreA(nullptr, initial, maximum, name)) {}
  ~TSemaphore() { if (Handle) ::CloseHandle(Handle); }
  TSemaphore(const TSemaphore&) = delete;
  TSemaphore& operator=(const TSemaphore&) = delete;
  HANDLE GetHandle() const { return Handle; }
  bool Lock(DWORD timeout = INFINITE) { return ::WaitForSingleObject(Handle, timeout) == WAIT_OBJECT_0; }
  void Release(long count = 1) { ::ReleaseSemaphore(Handle, count, nullptr); }

private:
  HANDLE Handle;
};
