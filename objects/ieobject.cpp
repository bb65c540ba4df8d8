#include "objects/ieobject.h"

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "foundation/core/pathstr.h"
#include "objects/ieloader.h"
#include "objects/pageinputforward.h"
#include "platform/owl/dc.h"

namespace {

const char kHostClass[] = "TslIEHost";
constexpr DWORD kHostStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;  // 0x56000000
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// Page paints into an off-screen bitmap that want the element's picture.
constexpr uint32_t kPaintWantsWindows = 0x01 | 0x04;
constexpr LPARAM kPrintWhole = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN;

class TLoaderElements : public TBrowserElements {
public:
  int AddEle() override { return IELoader().AddEle(); }
  bool Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId) override {
    return IELoader().Create(id, style, rect, parent, controlId);
  }
  bool DeleteEle(int id) override { return IELoader().DeleteEle(id); }
  HWND GetHandle(int id) override { return IELoader().GetHandle(id); }
  bool Navigate2(int id, const char* url) override { return IELoader().Navigate2(id, url); }
  bool ShowEle(int id, BOOL show) override { return IELoader().ShowEle(id, show); }
  bool SetEleRect(int id, const RECT* r) override { return IELoader().SetEleRect(id, r); }
  bool GoBack(int id) override { return IELoader().GoBack(id); }
  bool GoForward(int id) override { return IELoader().GoForward(id); }
  bool GoHome(int id) override { return IELoader().GoHome(id); }
  bool Refresh(int id) override { return IELoader().Refresh(id); }
  bool Stop(int id) override { return IELoader().Stop(id); }
  bool ViewFontsLargest(int id) override { return IELoader().ViewFontsLargest(id); }
  bool ViewFontsLarge(int id) override { return IELoader().ViewFontsLarge(id); }
  bool ViewFontsMedium(int id) override { return IELoader().ViewFontsMedium(id); }
  bool ViewFontsSmall(int id) override { return IELoader().ViewFontsSmall(id); }
  bool ViewFontsSmallest(int id) override { return IELoader().ViewFontsSmallest(id); }
  bool Print(int id) override { return IELoader().Print(id); }
};

bool RegisterHostClass() {
  static bool done = false;
  if (done) return true;
  // An empty host (no element) shows the window colour.
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kHostClass;
  done = ::RegisterClassA(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return done;
}

}  // namespace

std::unique_ptr<TBrowserElements> MakeLoaderElements() { return std::make_unique<TLoaderElements>(); }

TIEObject::TIEObject(TObjectWindow* owner, const TObjectInfo& info, TData* data,
                     std::unique_ptr<TBrowserElements> elements)
    : TObjectElement(owner, info, data ? data : new TIEData()),
      Elements(elements ? std::move(elements) : MakeLoaderElements()) {
  if (owner && owner->HWindow && RegisterHostClass()) {
    Host = ::CreateWindowExA(0, kHostClass, "", kHostStyle, 0, 0, 0, 0, owner->HWindow,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(GetNumber())),
                             ::GetModuleHandleA(nullptr), nullptr);
  }
  if (Host) {
    ::SetWindowLongPtrA(Host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrA(Host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TIEObject::WindowProc));
  }
  Element = Elements->AddEle();
  const RECT empty{0, 0, 0, 0};
  if (!Elements->Create(Element, kHostStyle, &empty, Host, GetNumber())) {
    // Without an element the host stays empty where it was made.
    Element = -1;
    return;
  }
  NavigateStored();
  if (!Host) return;
  ::EnableWindow(Host, TRUE);
  Place();
  ::ShowWindow(Host, SW_SHOW);
}

TIEObject::~TIEObject() {
  if (Host && ::IsWindow(Host)) Hide(false, false);
  if (Element != -1) {
    Elements->ShowEle(Element, FALSE);
    Elements->DeleteEle(Element);
    Element = -1;
  }
  if (Host) {
    ::SetWindowLongPtrA(Host, GWLP_USERDATA, 0);
    ::DestroyWindow(Host);
    Host = nullptr;
  }
}

const TIEData& TIEObject::Record() const {
  const auto* d = dynamic_cast<const TIEData*>(Data.get());
  return d ? *d : Fallback;
}

void TIEObject::ResolveUnlessAddress(string& text) {
  if (IsUrlAddress(text.c_str())) return;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(text);
}

void TIEObject::Place() {
  TPoint offset;
  GetScrollOffset(offset);
  const TObjectRect& r = Info.Rect;
  ::SetWindowPos(Host, nullptr, r.Left - offset.x, r.Top - offset.y, r.Right - r.Left, r.Bottom - r.Top,
                 kPlaceFlags);
}

void TIEObject::SizeElement() {
  if (Element == -1) return;
  RECT r{};
  ::GetClientRect(Host, &r);
  if (Record().Has(kIEHideVScroll)) r.right += ::GetSystemMetrics(SM_CXVSCROLL);
  if (Record().Has(kIEHideHScroll)) r.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
  Elements->SetEleRect(Element, &r);
}

bool TIEObject::Navigate(const char* target) { return Elements->Navigate2(Element, target); }

void TIEObject::NavigateStored() {
  if (Record().Address.length() > 0) Navigate(Record().Address.c_str());
}

void TIEObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  NavigateStored();
}

void TIEObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  string address = name;
  ResolveUnlessAddress(address);
  if (auto* d = dynamic_cast<TIEData*>(Data.get())) d->Address = address;
  NavigateStored();
}

bool TIEObject::GetFile(int, bool& flag, string& path) {
  flag = Record().Has(kIEFileFlag);
  path = Record().Address;
  ResolveUnlessAddress(path);
  return true;
}

bool TIEObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  ResolveUnlessAddress(text);
  return true;
}

HWND TIEObject::GetBrowserWindow() { return Elements->GetHandle(Element); }
bool TIEObject::GoBack() { return Elements->GoBack(Element); }
bool TIEObject::GoForward() { return Elements->GoForward(Element); }
bool TIEObject::GoHome() { return Elements->GoHome(Element); }
bool TIEObject::Refresh() { return Elements->Refresh(Element); }
bool TIEObject::Stop() { return Elements->Stop(Element); }
bool TIEObject::ViewFontsLargest() { return Elements->ViewFontsLargest(Element); }
bool TIEObject::ViewFontsLarge() { return Elements->ViewFontsLarge(Element); }
bool TIEObject::ViewFontsMedium() { return Elements->ViewFontsMedium(Element); }
bool TIEObject::ViewFontsSmall() { return Elements->ViewFontsSmall(Element); }
bool TIEObject::ViewFontsSmallest() { return Elements->ViewFontsSmallest(Element); }
bool TIEObject::Print() { return Elements->Print(Element); }

void TIEObject::Paint(TPaintInfo& paint) {
  TObjectElement::Paint(paint);
  if (!IsVisible() || !(paint.PaintFlags & kPaintWantsWindows) || !paint.MemDC.GetHDC()) return;
  HWND element = Elements->GetHandle(Element);
  if (!element) return;
  const TObjectRect& r = Info.Rect;
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (w <= 0 || h <= 0) return;
  // The element draws itself into a bitmap of the object's size, which
  // goes into the page's off-screen picture.
  HDC target = paint.MemDC.GetHDC();
  HDC mem = ::CreateCompatibleDC(target);
  HBITMAP bitmap = ::CreateCompatibleBitmap(target, w, h);
  if (mem && bitmap) {
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::SendMessageA(element, WM_PRINT, reinterpret_cast<WPARAM>(mem), kPrintWhole);
    ::BitBlt(target, r.Left - paint.OriginX, r.Top - paint.OriginY, w, h, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (mem) ::DeleteDC(mem);
}

LRESULT CALLBACK TIEObject::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* o = reinterpret_cast<TIEObject*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  return o ? o->Message(msg, wp, lp) : ::DefWindowProcA(w, msg, wp, lp);
}

LRESULT TIEObject::Message(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    const LRESULT r = ::DefWindowProcA(Host, msg, wp, lp);
    SizeElement();
    return r;
  }
  LRESULT forwarded = 0;
  if (ForwardInputToPage(*this, Host, msg, wp, lp, forwarded)) return forwarded;
  return ::DefWindowProcA(Host, msg, wp, lp);
}

TObjectElement* CreateIEObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TIEObject(owner, info, data);
}

TData* CreateIEData() { return new TIEData(); }
