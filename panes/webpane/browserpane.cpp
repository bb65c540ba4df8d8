#include "panes/webpane/browserpane.h"

#include <atliface.h>
#include <docobj.h>

#include <string>
#include <vector>

#include "platform/owl/uiservice.h"

const char kInvalidWindowText[] = "Ung\xFCltiges Fenster";

namespace {

constexpr DWORD kDefaultStyle = WS_CHILD | WS_VISIBLE;
// Text zoom through the control's command target.
constexpr OLECMDID kZoom = OLECMDID_ZOOM;  // 19

// The element window keeps the control filling its client area.
LRESULT CALLBACK ElementProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    if (HWND site = ::GetWindow(w, GW_CHILD)) {
      ::SetWindowPos(site, nullptr, 0, 0, LOWORD(lp), HIWORD(lp), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

bool RegisterElementClass() {
  static bool done = false;
  if (done) return true;
  // No class style, cursor, background brush or icon: the control paints
  // all of the element.
  WNDCLASSA wc{};
  wc.lpfnWndProc = ElementProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = TWebPane::kElementClass;
  done = ::RegisterClassA(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return done;
}

class TAtlBrowserSite : public TBrowserSite {
public:
  bool Create(HWND element, HWND& site, IWebBrowser2*& browser) override {
    static const bool ready = AtlAxWinInit() != FALSE;
    if (!ready) return false;
    RECT r{};
    ::GetClientRect(element, &r);
    site = ::CreateWindowExA(0, "AtlAxWin", "Shell.Explorer.2", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             r.right, r.bottom, element, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!site) return false;
    IUnknown* control = nullptr;
    browser = nullptr;
    if (SUCCEEDED(AtlAxGetControl(site, &control)) && control) {
      control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
      control->Release();
    }
    if (browser) return true;
    ::DestroyWindow(site);
    site = nullptr;
    return false;
  }
};

struct TVariant {
  VARIANT V;
  TVariant() { ::VariantInit(&V); }
  ~TVariant() { ::VariantClear(&V); }
  TVariant(const TVariant&) = delete;
  TVariant& operator=(const TVariant&) = delete;
};

std::vector<WCHAR> Wide(const char* text) {
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<WCHAR> wide(n > 0 ? n : 1, 0);
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  return wide;
}

}  // namespace

// One element: its window (after Create) with the control in it.
class TBrowserElement {
public:
  ~TBrowserElement() {
    if (Browser) Browser->Release();
    if (Window && ::IsWindow(Window)) ::DestroyWindow(Window);
  }
  HWND Window = nullptr;
  HWND Site = nullptr;
  IWebBrowser2* Browser = nullptr;
};

std::unique_ptr<TBrowserSite> MakeAtlBrowserSite() { return std::make_unique<TAtlBrowserSite>(); }

TWebPane::TWebPane(std::unique_ptr<TBrowserSite> site) : Site(site ? std::move(site) : MakeAtlBrowserSite()) {}

TWebPane::~TWebPane() { Table.Clear(); }

int TWebPane::AddEle() { return Table.Add(std::make_unique<TBrowserElement>()); }

BOOL TWebPane::Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId) {
  TBrowserElement* e = Table.Find(id);
  if (!e) return FALSE;
  // A second Create would leave the first window behind.
  if (e->Window) return FALSE;
  if (!style) style = kDefaultStyle;
  const RECT r = rect ? *rect : RECT{0, 0, 0, 0};
  if (!parent) GetUiService().Message(nullptr, kInvalidWindowText, "", MB_OK);
  style = (style & ~static_cast<DWORD>(WS_BORDER)) | WS_CLIPCHILDREN;
  if (RegisterElementClass()) {
    e->Window = ::CreateWindowExA(0, kElementClass, nullptr, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                                  ::GetModuleHandleA(nullptr), nullptr);
  }
  if (e->Window && Site->Create(e->Window, e->Site, e->Browser)) return TRUE;
  Table.Take(id);
  return FALSE;
}

BOOL TWebPane::DeleteEle(int id) { return Table.Take(id) ? TRUE : FALSE; }

HWND TWebPane::ElementWindow(int id) const {
  const TBrowserElement* e = Table.Find(id);
  return e ? e->Window : nullptr;
}

IWebBrowser2* TWebPane::Browser(int id) const {
  const TBrowserElement* e = Table.Find(id);
  return e ? e->Browser : nullptr;
}

BOOL TWebPane::ShowEle(int id, BOOL show) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  b->put_Visible(show ? VARIANT_TRUE : VARIANT_FALSE);
  return TRUE;
}

BOOL TWebPane::SetEleRect(int id, const RECT* r) {
  const TBrowserElement* e = Table.Find(id);
  if (!e || !e->Browser || !r) return FALSE;
  ::SetWindowPos(e->Window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER);
  return TRUE;
}

BOOL TWebPane::GoBack(int id) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  b->GoBack();
  return TRUE;
}

BOOL TWebPane::GoForward(int id) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  b->GoForward();
  return TRUE;
}

BOOL TWebPane::GoHome(int id) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  b->GoHome();
  return TRUE;
}

BOOL TWebPane::GoSearch(int id) { return Table.Find(id) ? TRUE : FALSE; }

BOOL TWebPane::Navigate2(int id, const char* url) {
  IWebBrowser2* b = Browser(id);
  if (!b || !url) return FALSE;
  TVariant address, none;
  V_VT(&address.V) = VT_BSTR;
  V_BSTR(&address.V) = ::SysAllocString(Wide(url).data());
  b->Navigate2(&address.V, &none.V, &none.V, &none.V, &none.V);
  return TRUE;
}

BOOL TWebPane::Refresh(int id) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  b->Refresh();
  return TRUE;
}

BOOL TWebPane::Stop(int id) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  b->Stop();
  return TRUE;
}

BOOL TWebPane::ViewFonts(int id, int level) {
  IWebBrowser2* b = Browser(id);
  if (!b) return FALSE;
  TVariant in;
  V_VT(&in.V) = VT_I4;
  V_I4(&in.V) = level;
  b->ExecWB(kZoom, OLECMDEXECOPT_DONTPROMPTUSER, &in.V, nullptr);
  return TRUE;
}

BOOL TWebPane::Print(int id) {
  if (!Table.Find(id)) return FALSE;
  IWebBrowser2* b = Browser(id);
  IDispatch* document = nullptr;
  if (b && SUCCEEDED(b->get_Document(&document)) && document) {
    IOleCommandTarget* target = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target))) && target) {
      target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
      target->Release();
    }
    document->Release();
  }
  return TRUE;
}

HWND TWebPane::GetHandle(int id) {
  const TBrowserElement* e = Table.Find(id);
  return e && e->Site && ::IsWindow(e->Site) ? e->Site : nullptr;
}
