#include "platform/owl/applicat.h"

#include <stdexcept>

#include "platform/owl/framewin.h"
#include "platform/owl/uiservice.h"

namespace {
TApplication* AppObject = nullptr;
}

TApplication::TApplication(const char* name, HINSTANCE instance, int cmdShow)
    : TModule(name, instance), CmdShow(cmdShow), CmdLine(::GetCommandLineA()) {
  Register();
}

TApplication::TApplication(const char* name, HINSTANCE instance, HINSTANCE, const char* cmdLine, int cmdShow)
    : TModule(name, instance), CmdShow(cmdShow), CmdLine(cmdLine ? cmdLine : "") {
  Register();
}

void TApplication::Register() {
  if (!AppObject) AppObject = this;
}

TApplication::~TApplication() {
  delete MainWindow;  // clears MainWindow through SetMainWindow
  MainWindow = nullptr;
  if (AppObject == this) AppObject = nullptr;
}

TApplication* TApplication::GetApplicationObject() { return AppObject; }

TFrameWindow* TApplication::SetMainWindow(TFrameWindow* window) {
  TFrameWindow* old = MainWindow;
  if (old == window) return old;
  if (old) old->ClearFlag(wfMainWindow);
  MainWindow = window;
  if (window) window->SetFlag(wfMainWindow);
  return old;
}

void TApplication::InitMainWindow() { SetMainWindow(new TFrameWindow(nullptr, GetName())); }

void TApplication::InitInstance() {
  InitMainWindow();
  if (!MainWindow) return;
  MainWindow->SetFlag(wfMainWindow);
  if (!MainWindow->HWindow && !MainWindow->Create()) throw std::runtime_error("The main window cannot be created.");
  MainWindow->Show(CmdShow);
}

int TApplication::TermInstance(int status) { return TMsgThread::TermInstance(status); }

int TApplication::Run() {
  try {
    return TMsgThread::Run();
  } catch (const std::exception& e) {
    UiMessageBox(nullptr, e.what(), GetName() ? GetName() : "", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    return -1;
  }
}

bool TApplication::IdleAction(long idleCount) {
  const bool more = TMsgThread::IdleAction(idleCount);
  return (MainWindow && MainWindow->IdleAction(idleCount)) || more;
}

bool TApplication::ProcessMsg(MSG& msg) {
  for (HWND h = msg.hwnd; h; h = ::GetParent(h)) {
    if (TWindow* w = TWindow::GetWindowPtr(h)) {
      if (w->PreProcessMsg(msg)) {
        TMsgThread::ResumeThrow();
        return false;
      }
    }
  }
  return TMsgThread::ProcessMsg(msg);
}

bool TApplication::CanClose() { return !MainWindow || MainWindow->CanClose(); }
