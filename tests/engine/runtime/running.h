// A project running as in the player: a page window in a frame opens a
// project written from a description at test time, and the 10 ms timer
// drives it while the test pumps messages. Counts the page window's paints.
#pragma once
#include "pagefixture.h"

#include <functional>
#include <string>

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"

class RunningProject : public wintest::FramedPage {
public:
  // `alter` may change the written file before the player opens it.
  RunningProject(const std::string& description, int width, int height,
                 const std::function<void(const std::string&)>& alter = {})
      : FramedPage(description, {"tsl_running.crt", "running", 0, 0, width, height}, alter) {
    if (Page->HWindow) {
      Instance() = this;
      PageProc = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrA(Page->HWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    }
  }
  ~RunningProject() {
    if (Page->HWindow && PageProc)
      ::SetWindowLongPtrA(Page->HWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PageProc));
    Instance() = nullptr;
  }

  // Pumps messages until `done` holds; false when it did not within the
  // limit or the loop was told to quit.
  bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 20000) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < limitMs) {
      if (!PumpWaiting()) return false;
      if (done()) return true;
      ::Sleep(2);
    }
    return false;
  }
  void Idle(DWORD ms) { PumpUntil([] { return false; }, ms); }
  // Dispatches what is waiting; false on WM_QUIT.
  bool PumpWaiting() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return false;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    return true;
  }
  bool Shows(int index) {
    return PumpUntil([&] { return Book && Book->CurrentPage == index && PageBuilt; });
  }

  int Paints = 0;  // WM_PAINT messages the page window received

private:
  static RunningProject*& Instance() {
    static RunningProject* running = nullptr;
    return running;
  }
  static LRESULT CALLBACK CountingProc(HWND h, UINT message, WPARAM w, LPARAM l) {
    RunningProject* self = Instance();
    if (!self) return ::DefWindowProcA(h, message, w, l);
    if (message == WM_PAINT) ++self->Paints;
    return ::CallWindowProcA(self->PageProc, h, message, w, l);
  }
  WNDPROC PageProc = nullptr;
};
