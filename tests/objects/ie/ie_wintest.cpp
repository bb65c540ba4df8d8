// Browser objects (kind 18): what the object asks of webpane's elements,
// over a recording stand-in for the loader, and pages the player runs with
// the real webpane, whose browser codes reach a loopback server.
#include "pagefixture.h"

#include <atliface.h>
#include <exdisp.h>

#include <memory>
#include <string>
#include <vector>

#include "actions/core/actioncodes.h"
#include "actions/dispatcher.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "loopbackserver.h"
#include "objects/ieloader.h"
#include "objects/ieobject.h"

namespace {

using Log = std::vector<std::string>;

// Elements recorded as "Call id args"; element 7 is made unless `Refuse`.
class RecordingElements : public TBrowserElements {
public:
  explicit RecordingElements(Log& log, bool refuse = false) : L(log), Refuse(refuse) {}
  int AddEle() override {
    L.push_back("AddEle");
    return Refuse ? -1 : 7;
  }
  bool Create(int id, DWORD style, const RECT* r, HWND parent, UINT controlId) override {
    char parentClass[64] = {};
    ::GetClassNameA(parent, parentClass, sizeof parentClass);
    char text[160];
    std::snprintf(text, sizeof text, "Create %d %08lX %ld,%ld,%ld,%ld %s %u", id, static_cast<unsigned long>(style),
                  static_cast<long>(r->left), static_cast<long>(r->top), static_cast<long>(r->right),
                  static_cast<long>(r->bottom), parentClass, controlId);
    L.push_back(text);
    return !Refuse;
  }
  bool DeleteEle(int id) override { return Add("DeleteEle", id); }
  HWND GetHandle(int) override { return nullptr; }
  bool Navigate2(int id, const char* url) override { return Add("Navigate2", id, url); }
  bool ShowEle(int id, BOOL show) override { return Add("ShowEle", id, show ? "1" : "0"); }
  bool SetEleRect(int id, const RECT* r) override {
    return Add("SetEleRect", id,
               std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) + "," +
                   std::to_string(r->bottom));
  }
  bool GoBack(int id) override { return Add("GoBack", id); }
  bool GoForward(int id) override { return Add("GoForward", id); }
  bool GoHome(int id) override { return Add("GoHome", id); }
  bool Refresh(int id) override { return Add("Refresh", id); }
  bool Stop(int id) override { return Add("Stop", id); }
  bool ViewFontsLargest(int id) override { return Add("ViewFontsLargest", id); }
  bool ViewFontsLarge(int id) override { return Add("ViewFontsLarge", id); }
  bool ViewFontsMedium(int id) override { return Add("ViewFontsMedium", id); }
  bool ViewFontsSmall(int id) override { return Add("ViewFontsSmall", id); }
  bool ViewFontsSmallest(int id) override { return Add("ViewFontsSmallest", id); }
  bool Print(int id) override { return Add("Print", id); }

private:
  // Like webpane: an id that is no element answers false.
  bool Add(const std::string& call, int id, const std::string& arg = "") {
    L.push_back(call + " " + std::to_string(id) + (arg.empty() ? "" : " " + arg));
    return id == 7;
  }
  Log& L;
  bool Refuse;
};

// A page of 400 x 300 to put objects on.
class IEObjects : public ::testing::Test {
protected:
  IEObjects() : Page("size 400 300\npage 1\n", 0, {"tsl_ieobject.crt", "ie", 0, 0, 400, 300}) {}

  std::unique_ptr<TIEObject> Make(TData* data, Log& log, bool refuse = false) {
    TObjectInfo info;
    info.Target.Number = 12;
    info.Rect.Left = 30;
    info.Rect.Top = 40;
    info.Rect.Right = 230;
    info.Rect.Bottom = 190;
    return std::make_unique<TIEObject>(Page.Window, info, data, std::make_unique<RecordingElements>(log, refuse));
  }
  static TIEData* Address(const char* address, uint32_t flags = 0x1000) {
    auto* d = new TIEData();
    d->Address = address;
    d->Flags = flags;
    return d;
  }
  wintest::HostedPage Page;
};

TEST_F(IEObjects, TheElementIsMadeInTheHostNavigatedAndSizedWithTheHiddenScrollBars) {
  Log log;
  auto o = Make(Address("http://127.0.0.1/", 0x1003), log);
  HWND host = o->GetHandle();
  ASSERT_TRUE(host);
  EXPECT_EQ(::GetParent(host), Page.Window->HWindow);
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(host, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u);
  EXPECT_EQ(::GetDlgCtrlID(host), 12) << "the host's control id is the object's number";
  EXPECT_TRUE(::IsWindowVisible(host));
  RECT r{};
  ::GetWindowRect(host, &r);
  POINT origin{r.left, r.top};
  ::ScreenToClient(Page.Window->HWindow, &origin);
  EXPECT_EQ(origin.x, 30);
  EXPECT_EQ(origin.y, 40);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 150);
  const std::string grown = "SetEleRect 7 0,0," + std::to_string(200 + ::GetSystemMetrics(SM_CXVSCROLL)) + "," +
                            std::to_string(150 + ::GetSystemMetrics(SM_CYHSCROLL));
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "AddEle");
  EXPECT_EQ(log[1], "Create 7 56000000 0,0,0,0 TslIEHost 12") << "an empty element in the host";
  EXPECT_EQ(log[2], "Navigate2 7 http://127.0.0.1/");
  EXPECT_EQ(log[3], grown);
  EXPECT_EQ(o->ElementId(), 7);

  log.clear();
  o.reset();
  EXPECT_EQ(log, (Log{"ShowEle 7 0", "DeleteEle 7"}));
}

TEST_F(IEObjects, CommandsGoToTheirWrappersWithTheElement) {
  Log log;
  auto o = Make(Address(""), log);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[2], "SetEleRect 7 0,0,200,150") << "an empty address navigates nowhere";
  const struct {
    const char* call;
    bool (TIEObject::*run)();
  } cases[] = {
      {"GoBack 7", &TIEObject::GoBack},
      {"GoForward 7", &TIEObject::GoForward},
      {"GoHome 7", &TIEObject::GoHome},
      {"Refresh 7", &TIEObject::Refresh},
      {"Stop 7", &TIEObject::Stop},
      {"ViewFontsLargest 7", &TIEObject::ViewFontsLargest},
      {"ViewFontsLarge 7", &TIEObject::ViewFontsLarge},
      {"ViewFontsMedium 7", &TIEObject::ViewFontsMedium},
      {"ViewFontsSmall 7", &TIEObject::ViewFontsSmall},
      {"ViewFontsSmallest 7", &TIEObject::ViewFontsSmallest},
      {"Print 7", &TIEObject::Print},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    log.clear();
    EXPECT_TRUE(((*o).*c.run)());
    EXPECT_EQ(log, (Log{c.call}));
  }
  log.clear();
  EXPECT_TRUE(o->Navigate("relative\\seite.htm"));
  EXPECT_EQ(log, (Log{"Navigate2 7 relative\\seite.htm"})) << "the target goes unchanged";
  // A new address navigates the same element.
  log.clear();
  string web = "http://example.invalid/";
  o->SetFileName(web);
  EXPECT_EQ(log, (Log{"Navigate2 7 http://example.invalid/"}));
  EXPECT_STREQ(o->Record().Address.c_str(), "http://example.invalid/");
}

TEST_F(IEObjects, WithoutAnElementTheHostStaysEmptyAndCommandsAnswerFalse) {
  Log log;
  auto o = Make(Address("http://127.0.0.1/"), log, true);
  EXPECT_EQ(o->ElementId(), -1);
  ASSERT_EQ(log.size(), 2u) << "no navigation, no sizing after a refused Create";
  RECT r{};
  ::GetWindowRect(o->GetHandle(), &r);
  EXPECT_EQ(r.right - r.left, 0) << "the host is not placed";
  EXPECT_FALSE(o->GoBack());
  EXPECT_FALSE(o->Print());
  EXPECT_FALSE(o->Navigate("http://127.0.0.1/"));
  log.clear();
  o.reset();
  EXPECT_TRUE(log.empty()) << "nothing to delete";
}

// Pages the player runs, with the real webpane beside the test program
// (Wine's prefix has "Shdocvw.dll" in its system folder).
TEST(IEPages, TheBrowserCodesReachTheElementAndOtherTargetsIgnoreThem) {
  ASSERT_TRUE(IELoader().IsLoaded()) << "webpane beside the program and Shdocvw.dll in the system folder";
  TLoopbackServer server;
  wintest::FramedPage page(
      "size 400 300\npathmode 0\n"
      "page 1\n  background colour #FF0000\n"
      "  object html \"Web\" 20 20 320 220 number 3\n"
      "    browser \"\"\n"
      "  object text \"T\" 330 20 390 60 number 4\n",
      {"tsl_iepage.crt", "ie", 0, 0, 400, 300});
  ASSERT_TRUE(page.Book);
  TIEObject* ie = nullptr;
  wintest::PumpUntil(
      [&] {
        TObjectManager* m = page.Book->ObjectManager.get();
        ie = m ? dynamic_cast<TIEObject*>(m->FindObjectById(3)) : nullptr;
        return ie && ::IsWindowVisible(ie->GetHandle());
      },
      5000);
  ASSERT_TRUE(ie);
  HWND control = ie->GetBrowserWindow();
  ASSERT_TRUE(control) << "the element's control window";
  EXPECT_TRUE(::IsChild(ie->GetHandle(), control));
  // The element is white where the object stands (no page is shown).
  EXPECT_TRUE(wintest::PumpUntil([&] { return page.PixelAt(170, 120) == RGB(255, 255, 255); }, 5000))
      << std::hex << page.PixelAt(170, 120);
  EXPECT_EQ(page.PixelAt(10, 10), RGB(255, 0, 0));

  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port) + "/start.html";
  TActionStruct a;
  a.Code = StoredActionCode(TActionCode::BrowserNavigate);
  a.Target = 4;  // the text object: nothing happens
  a.Text1 = url.c_str();
  ExecuteActionCode(page.Book, a, -1);
  for (uint16_t code = 59; code <= 70; ++code) {
    if (code == 69) continue;  // no print dialog on a text object either, but keep the run short
    TActionStruct other;
    other.Code = code;
    other.Target = 4;
    ExecuteActionCode(page.Book, other, -1);
  }
  wintest::PumpFor(300);
  EXPECT_FALSE(server.TookRequest()) << "codes on another object reach no browser";

  a.Target = 3;
  ExecuteActionCode(page.Book, a, -1);
  EXPECT_TRUE(wintest::PumpUntil([&] { return server.TookRequest(); }, 15000)) << "no request reached the server";
  EXPECT_EQ(server.RequestLine.substr(0, 16), "GET /start.html ");
  IUnknown* unknown = nullptr;
  IWebBrowser2* browser = nullptr;
  if (SUCCEEDED(AtlAxGetControl(control, &unknown)) && unknown) {
    unknown->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    unknown->Release();
  }
  ASSERT_TRUE(browser);
  EXPECT_TRUE(wintest::PumpUntil(
      [&] {
        BSTR location = nullptr;
        if (FAILED(browser->get_LocationURL(&location)) || !location) return false;
        char text[512] = {};
        ::WideCharToMultiByte(CP_ACP, 0, location, -1, text, sizeof text, nullptr, nullptr);
        ::SysFreeString(location);
        return url == text;
      },
      10000));
  browser->Release();
  // The text-size codes answer on the browser object (no document: no change).
  TActionStruct larger;
  larger.Code = StoredActionCode(TActionCode::BrowserFontsLargest);
  larger.Target = 3;
  ExecuteActionCode(page.Book, larger, -1);
}

}  // namespace
