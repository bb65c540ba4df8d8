#include "wintest.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/owl/owl.h"
#include "platform/owl/uiscript.h"

namespace {

const uint WM_STEP = WM_USER + 10;
const uint WM_DROPPED = WM_USER + 11;
const uint WM_SEEN = WM_USER + 12;

std::vector<std::string> Log;

bool DropFilter(MSG& msg) {
  if (msg.message == WM_SEEN) Log.push_back("filter saw");
  return msg.message == WM_DROPPED;
}

// What the main window does once the loop runs.
enum class TScript { Close, ModalQuit, Throw };

class TMainFrame : public TFrameWindow {
public:
  TMainFrame(TScript script) : TFrameWindow(nullptr, "Hauptfenster"), Script(script) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = Attr.Y = 0;
    Attr.W = Attr.H = 120;
  }
  void SetupWindow() override {
    TFrameWindow::SetupWindow();
    PostMessage(WM_DROPPED);
    PostMessage(WM_SEEN);
    PostMessage(WM_STEP);
  }
  TResult EvStep(TParam1, TParam2) {
    Log.push_back("step");
    switch (Script) {
      case TScript::Close:
        PostMessage(WM_CLOSE);
        break;
      case TScript::ModalQuit: {
        // A quit inside a modal loop ends the outer loop too.
        ::PostQuitMessage(5);
        TMsgThread* loop = GetApplication();
        loop->BeginModal(this);
        Log.push_back("modal ended");
        break;
      }
      case TScript::Throw:
        throw std::runtime_error("Fehler im Handler");
    }
    return 0;
  }
  TResult EvDropped(TParam1, TParam2) {
    Log.push_back("dropped message arrived");
    return 0;
  }
  TResult EvSeen(TParam1, TParam2) {
    Log.push_back("seen");
    return 0;
  }
  TScript Script;
  DECLARE_RESPONSE_TABLE(TMainFrame);
};
DEFINE_RESPONSE_TABLE1(TMainFrame, TFrameWindow)
  EV_MESSAGE(WM_STEP, EvStep),
  EV_MESSAGE(WM_DROPPED, EvDropped),
  EV_MESSAGE(WM_SEEN, EvSeen),
END_RESPONSE_TABLE;

class TTestApp : public TApplication {
public:
  TTestApp(TScript script) : TApplication("Testprogramm"), Script(script) {}
  void InitMainWindow() override { SetMainWindow(new TMainFrame(Script)); }
  TScript Script;
};

TEST(OwlApplication, RunsTheMainWindowUntilItIsClosed) {
  Log.clear();
  TMsgThread::SetMessageFilter(&DropFilter);
  HWND main = nullptr;
  {
    TTestApp app(TScript::Close);
    EXPECT_EQ(TApplication::GetApplicationObject(), &app);
    EXPECT_EQ(app.Run(), 0);
    ASSERT_NE(app.GetMainWindow(), nullptr);
    main = app.GetMainWindow()->HWindow;
    EXPECT_EQ(main, nullptr);  // closing destroyed the window
    EXPECT_FALSE(app.IsRunning());
  }
  TMsgThread::SetMessageFilter(nullptr);
  EXPECT_EQ(TApplication::GetApplicationObject(), nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"filter saw", "seen", "step"}));
}

TEST(OwlApplication, AQuitInANestedLoopEndsTheOuterLoop) {
  Log.clear();
  TTestApp app(TScript::ModalQuit);
  EXPECT_EQ(app.Run(), 5);
  EXPECT_EQ(Log, (std::vector<std::string>{"dropped message arrived", "seen", "step", "modal ended"}));
}

TEST(OwlApplication, AnExceptionFromAHandlerIsReportedAndEndsTheRun) {
  Log.clear();
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.AnswerMessage(IDOK);
  TTestApp app(TScript::Throw);
  EXPECT_EQ(app.Run(), -1);
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "Fehler im Handler");
  EXPECT_EQ(ui.Requests()[0].Caption, "Testprogramm");
}

}  // namespace
