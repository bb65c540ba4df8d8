// webpane's elements in process: over Wine's own browser control (AtlAxWin
// "Shell.Explorer.2"; without Wine Gecko pages stay white, but navigation
// is real and reaches a loopback server) and over a recording control.
#include "wintest.h"

#include <atliface.h>

#include <memory>
#include <string>

#include "fakebrowser.h"
#include "loopbackserver.h"
#include "panes/webpane/browserpane.h"
#include "platform/owl/uiscript.h"

namespace {

// A plain top-level window for the elements.
class TParent {
public:
  TParent() {
    Window = ::CreateWindowExA(0, "STATIC", "webpane", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 500,
                               400, nullptr, nullptr, nullptr, nullptr);
  }
  ~TParent() { ::DestroyWindow(Window); }
  HWND Window;
};

// A site whose control is a recording browser in a plain child window.
class TRecordingSite : public TBrowserSite {
public:
  explicit TRecordingSite(TRecordingBrowser& b) : Browser(b) {}
  bool Create(HWND element, HWND& site, IWebBrowser2*& browser) override {
    site = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, element, nullptr, nullptr, nullptr);
    Browser.AddRef();
    browser = &Browser;
    return site != nullptr;
  }
  TRecordingBrowser& Browser;
};

std::string ClassOf(HWND w) {
  char name[64] = {};
  ::GetClassNameA(w, name, sizeof name);
  return name;
}

IWebBrowser2* ControlOf(HWND site) {
  IUnknown* unknown = nullptr;
  IWebBrowser2* browser = nullptr;
  if (SUCCEEDED(AtlAxGetControl(site, &unknown)) && unknown) {
    unknown->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    unknown->Release();
  }
  return browser;
}

std::string LocationOf(IWebBrowser2* b) {
  BSTR url = nullptr;
  if (FAILED(b->get_LocationURL(&url)) || !url) return "";
  char text[512] = {};
  ::WideCharToMultiByte(CP_ACP, 0, url, -1, text, sizeof text, nullptr, nullptr);
  ::SysFreeString(url);
  return text;
}

class WebPane : public ::testing::Test {
protected:
  void SetUp() override { ::OleInitialize(nullptr); }
  void TearDown() override { ::OleUninitialize(); }
};

TEST_F(WebPane, CreateMakesABorderlessClippingChildWithTheControlInIt) {
  TParent parent;
  TWebPane pane;
  const int id = pane.AddEle();
  ASSERT_EQ(id, 0);
  EXPECT_EQ(pane.GetHandle(id), nullptr) << "no control before Create";
  const RECT r{20, 30, 320, 230};
  ASSERT_TRUE(pane.Create(id, WS_CHILD | WS_VISIBLE | WS_BORDER, &r, parent.Window, 77));
  HWND element = pane.ElementWindow(id);
  ASSERT_TRUE(element);
  EXPECT_EQ(ClassOf(element), TWebPane::kElementClass);
  EXPECT_EQ(::GetParent(element), parent.Window);
  EXPECT_EQ(::GetDlgCtrlID(element), 77);
  const LONG style = ::GetWindowLongA(element, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
  EXPECT_EQ(style & WS_BORDER, 0) << "the border is taken off";
  EXPECT_EQ(::GetWindowLongA(element, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  RECT wr{};
  ::GetWindowRect(element, &wr);
  EXPECT_EQ(wr.right - wr.left, 300);
  EXPECT_EQ(wr.bottom - wr.top, 200);

  HWND site = pane.GetHandle(id);
  ASSERT_TRUE(site && ::IsWindow(site));
  EXPECT_EQ(::GetParent(site), element);
  IWebBrowser2* control = ControlOf(site);
  ASSERT_TRUE(control) << "the element's window holds a web-browser control";
  control->Release();

  ASSERT_TRUE(pane.DeleteEle(id));
  EXPECT_FALSE(::IsWindow(element)) << "deleting the element destroys its window";
  EXPECT_EQ(pane.GetHandle(id), nullptr);
}

TEST_F(WebPane, Navigate2SendsTheRequestAndSetsTheLocation) {
  TParent parent;
  TLoopbackServer server;
  TWebPane pane;
  const int id = pane.AddEle();
  const RECT r{0, 0, 300, 200};
  ASSERT_TRUE(pane.Create(id, 0, &r, parent.Window, 1));
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port) + "/seite.html";
  ASSERT_TRUE(pane.Navigate2(id, url.c_str()));
  EXPECT_TRUE(wintest::PumpUntil([&] { return server.TookRequest(); }, 15000)) << "no request reached the server";
  EXPECT_EQ(server.RequestLine.substr(0, 16), "GET /seite.html ");
  IWebBrowser2* control = ControlOf(pane.GetHandle(id));
  ASSERT_TRUE(control);
  EXPECT_TRUE(wintest::PumpUntil([&] { return LocationOf(control) == url; }, 10000))
      << "LocationURL is " << LocationOf(control);
  control->Release();
}

TEST_F(WebPane, ShowAndRectActOnTheElement) {
  TParent parent;
  TWebPane pane;
  const int id = pane.AddEle();
  ASSERT_TRUE(pane.Create(id, 0, nullptr, parent.Window, 1));
  HWND element = pane.ElementWindow(id);
  RECT wr{};
  ::GetWindowRect(element, &wr);
  EXPECT_EQ(wr.right - wr.left, 0) << "style 0 and no rectangle: a visible child of empty size";
  EXPECT_TRUE(::GetWindowLongA(element, GWL_STYLE) & WS_VISIBLE);

  const RECT r{15, 25, 215, 175};
  ASSERT_TRUE(pane.SetEleRect(id, &r));
  RECT client{};
  ::GetWindowRect(element, &wr);
  POINT origin{wr.left, wr.top};
  ::ScreenToClient(parent.Window, &origin);
  EXPECT_EQ(origin.x, 15);
  EXPECT_EQ(origin.y, 25);
  EXPECT_EQ(wr.right - wr.left, 200);
  EXPECT_EQ(wr.bottom - wr.top, 150);
  ::GetClientRect(pane.GetHandle(id), &client);
  EXPECT_EQ(client.right, 200) << "the control fills the element";
  EXPECT_EQ(client.bottom, 150);

  IWebBrowser2* control = ControlOf(pane.GetHandle(id));
  ASSERT_TRUE(control);
  VARIANT_BOOL visible = VARIANT_TRUE;
  ASSERT_TRUE(pane.ShowEle(id, FALSE));
  control->get_Visible(&visible);
  EXPECT_EQ(visible, VARIANT_FALSE);
  ASSERT_TRUE(pane.ShowEle(id, TRUE));
  control->get_Visible(&visible);
  EXPECT_EQ(visible, VARIANT_TRUE);
  control->Release();
}

TEST_F(WebPane, CommandsReachTheControlAsTheirCalls) {
  TParent parent;
  TRecordingBrowser browser;
  TWebPane pane(std::make_unique<TRecordingSite>(browser));
  const int id = pane.AddEle();
  ASSERT_TRUE(pane.Create(id, 0, nullptr, parent.Window, 1));
  const struct {
    const char* what;
    BOOL (*run)(TWebPane&, int);
    std::vector<std::string> calls;
  } cases[] = {
      {"largest text", [](TWebPane& p, int i) { return p.ViewFonts(i, 4); }, {"ExecWB 19 2 I4 4"}},
      {"smallest text", [](TWebPane& p, int i) { return p.ViewFonts(i, 0); }, {"ExecWB 19 2 I4 0"}},
      {"print", [](TWebPane& p, int i) { return p.Print(i); }, {"get_Document", "Document.Exec 6 0"}},
      {"back", [](TWebPane& p, int i) { return p.GoBack(i); }, {"GoBack"}},
      {"forward", [](TWebPane& p, int i) { return p.GoForward(i); }, {"GoForward"}},
      {"home", [](TWebPane& p, int i) { return p.GoHome(i); }, {"GoHome"}},
      {"refresh", [](TWebPane& p, int i) { return p.Refresh(i); }, {"Refresh"}},
      {"stop", [](TWebPane& p, int i) { return p.Stop(i); }, {"Stop"}},
      {"hide", [](TWebPane& p, int i) { return p.ShowEle(i, FALSE); }, {"put_Visible false"}},
      {"navigate", [](TWebPane& p, int i) { return p.Navigate2(i, "C:\\web\\a.htm"); },
       {"Navigate2 C:\\web\\a.htm - - - -"}},
      {"search only knows the id", [](TWebPane& p, int i) { return p.GoSearch(i); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    browser.Log.clear();
    EXPECT_EQ(c.run(pane, id), TRUE);
    EXPECT_EQ(browser.Log, c.calls);
    browser.Log.clear();
    EXPECT_EQ(c.run(pane, id + 1), FALSE) << "an unknown id";
    EXPECT_TRUE(browser.Log.empty());
  }
  // Printing without a document does nothing more, and still answers 1.
  browser.HasDocument = false;
  browser.Log.clear();
  EXPECT_EQ(pane.Print(id), TRUE);
  EXPECT_EQ(browser.Log, (std::vector<std::string>{"get_Document"}));
  EXPECT_EQ(browser.Document.Refs, 1u) << "the document is released";
  ASSERT_TRUE(pane.DeleteEle(id));
  EXPECT_EQ(browser.Refs, 1u) << "the element released its control";
}

TEST_F(WebPane, ElementsWithoutWindowAndUnknownIdsAnswerFalse) {
  TRecordingBrowser browser;
  TWebPane pane(std::make_unique<TRecordingSite>(browser));
  const int id = pane.AddEle();
  EXPECT_EQ(pane.GoBack(id), FALSE) << "no window yet, so no control";
  EXPECT_EQ(pane.ViewFonts(id, 2), FALSE);
  EXPECT_EQ(pane.GoSearch(id), TRUE);
  EXPECT_EQ(pane.GetHandle(id), nullptr);
  EXPECT_EQ(pane.Create(id + 5, 0, nullptr, nullptr, 0), FALSE);
  EXPECT_EQ(pane.DeleteEle(-1), FALSE);
  EXPECT_EQ(pane.GetHandle(-1), nullptr);
  EXPECT_TRUE(browser.Log.empty());
}

TEST_F(WebPane, ANullParentIsReportedAndTheFailedElementRemoved) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.AnswerMessage(IDOK);
  TRecordingBrowser browser;
  TWebPane pane(std::make_unique<TRecordingSite>(browser));
  const int id = pane.AddEle();
  const BOOL made = pane.Create(id, 0, nullptr, nullptr, 0);
  ASSERT_EQ(ui.Requests().size(), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "Ung\xFCltiges Fenster");
  EXPECT_EQ(ui.Requests()[0].Caption, "");
  EXPECT_EQ(ui.Requests()[0].Owner, nullptr);
  EXPECT_EQ(ui.Requests()[0].Type, static_cast<uint>(MB_OK));
  // A child window cannot be made without its parent: the element goes.
  EXPECT_EQ(made, FALSE);
  EXPECT_EQ(pane.GoSearch(id), FALSE);
  EXPECT_EQ(pane.Count(), 0);
}

}  // namespace
