// TApplication: the program's module and its message loop, with the main
// window. Run calls InitInstance (InitMainWindow, then creates and shows the
// main window), runs the loop until WM_QUIT and returns its result.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/module.h"
#include "platform/owl/msgthred.h"

class TFrameWindow;

class TApplication : public TModule, public TMsgThread {
public:
  explicit TApplication(const char* name = nullptr, HINSTANCE instance = nullptr, int cmdShow = SW_SHOWNORMAL);
  TApplication(const char* name, HINSTANCE instance, HINSTANCE prevInstance, const char* cmdLine, int cmdShow);
  // Deletes the main window.
  ~TApplication() override;

  // Reports an exception that leaves the loop in a message box and returns
  // -1; the rest as TMsgThread::Run.
  int Run() override;
  // Makes the main window; the default is a frame titled with the name.
  virtual void InitMainWindow();
  void InitInstance() override;
  int TermInstance(int status) override;
  bool IdleAction(long idleCount) override;
  // The target window's and its parents' PreProcessMsg (accelerators,
  // dialog keys), then translation and dispatch.
  bool ProcessMsg(MSG& msg) override;
  virtual bool CanClose();

  TFrameWindow* GetMainWindow() const { return MainWindow; }
  // Takes ownership; returns the previous main window, no longer owned.
  TFrameWindow* SetMainWindow(TFrameWindow* window);
  int GetCmdShow() const { return CmdShow; }
  const char* GetCmdLine() const { return CmdLine.c_str(); }

  // The application object of the process, or null.
  static TApplication* GetApplicationObject();

protected:
  TFrameWindow* MainWindow = nullptr;
  int CmdShow;
  std::string CmdLine;

private:
  void Register();
};
