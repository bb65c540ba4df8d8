// Program entry of tslplay32.
#include "platform/owl/applicat.h"
#include "platform/owl/framewin.h"

#include <ole2.h>

#include "foundation/resstring.h"
#include "panes/mvpane/mvpane.h"
#include "platform/mppane/mppane.h"
#include "resources/resource.h"

namespace {

// The main frame; scripts find the player by its window class.
class TPlayerFrame : public TFrameWindow {
public:
  explicit TPlayerFrame(const char* title) : TFrameWindow(nullptr, title) {
    Attr.W = 640;
    Attr.H = 480;
  }
  const char* GetClassName() override { return "TSLPLAY32Frame"; }
};

class TPlayerApp : public TApplication {
public:
  TPlayerApp(HINSTANCE instance, int cmdShow) : TApplication(nullptr, instance, cmdShow) {}

  void InitMainWindow() override {
    auto* frame = new TPlayerFrame(LoadResString(IDS_PROGRAM_TITLE));
    frame->SetIcon(this, "TSL_LOGO");
    SetMainWindow(frame);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
  TPlayerApp app(instance, cmdShow);
  if (app.Status) return 0;
  OleInitialize(nullptr);
  InitQT();
  InitMP();
  const int result = app.Run();
  ExitQT();
  ExitMP();
  OleUninitialize();
  return result;
}
