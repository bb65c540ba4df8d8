// The worker that blacks out the old page block by block during a page
// change, while the main thread waits for it without pumping messages.
#pragma once
#include "platform/owl/thread.h"

class TBookStruct;

class TransitionThread : public TThread {
public:
  // Prepares the effect from the current page (still the old one): deletes
  // a leftover effect, snapshots the page window's client area and
  // starts the blackout with the page's transition kind and the duration
  // unit x fourth span. Does not start the thread.
  explicit TransitionThread(TBookStruct* book);
  ~TransitionThread() override;

  // Whether the page being left asks for a transition: runLeave, the
  // project's transitions switch and a non-zero transition kind.
  static bool Wanted(const TBookStruct& book, bool runLeave);

protected:
  // Steps the effect until it ends, sleeping its interval between steps;
  // then deletes it. Touches nothing but the effect: the main thread waits.
  int Run() override;

private:
  TBookStruct* Book;
  HWND PageHandle = nullptr;
  HDC PageDC = nullptr;
};
