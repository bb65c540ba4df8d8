#include "platform/owl/richrender.h"

#include <richedit.h>
#include <textserv.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr long kTwipsPerInch = 1440;
// Taller than any document: the layout rectangle's height.
constexpr long kUnboundedHeight = 0x3FFFFFFF;

struct TMemoryRead {
  const std::string* Source;
  size_t Offset;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* got) {
  auto* m = reinterpret_cast<TMemoryRead*>(cookie);
  const size_t n = std::min(static_cast<size_t>(count), m->Source->size() - m->Offset);
  std::memcpy(buffer, m->Source->data() + m->Offset, n);
  m->Offset += n;
  *got = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *done = count;
  return 0;
}

HMODULE TextServicesLibrary() {
  static HMODULE library = ::LoadLibraryA("riched20.dll");
  return library;
}

}  // namespace

// The windowless host: a fixed client rectangle, transparent background, no
// window, no caret, no scroll bars; every DC request gets the reference DC.
class TRichRender::TTextHost : public ITextHost {
public:
  explicit TTextHost(HDC reference) : Reference(reference) {
    CharFormat.cbSize = sizeof CharFormat;
    CharFormat.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
                        CFM_CHARSET | CFM_OFFSET | CFM_PROTECTED;
    CharFormat.yHeight = 200;
    CharFormat.bCharSet = DEFAULT_CHARSET;
    lstrcpyW(CharFormat.szFaceName, L"Arial");
    ParaFormat.cbSize = sizeof ParaFormat;
    ParaFormat.dwMask = PFM_ALIGNMENT;
    ParaFormat.wAlignment = PFA_LEFT;
  }
  virtual ~TTextHost() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_INVALIDARG;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++References); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = --References;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HDC STDMETHODCALLTYPE TxGetDC() override { return Reference; }
  INT STDMETHODCALLTYPE TxReleaseDC(HDC) override { return 1; }
  BOOL STDMETHODCALLTYPE TxShowScrollBar(INT, BOOL) override { return FALSE; }
  BOOL STDMETHODCALLTYPE TxEnableScrollBar(INT, INT) override { return FALSE; }
  BOOL STDMETHODCALLTYPE TxSetScrollRange(INT, LONG, INT, BOOL) override { return FALSE; }
  BOOL STDMETHODCALLTYPE TxSetScrollPos(INT, INT, BOOL) override { return FALSE; }
  void STDMETHODCALLTYPE TxInvalidateRect(LPCRECT, BOOL) override {}
  void STDMETHODCALLTYPE TxViewChange(BOOL) override {}
  BOOL STDMETHODCALLTYPE TxCreateCaret(HBITMAP, INT, INT) override { return FALSE; }
  BOOL STDMETHODCALLTYPE TxShowCaret(BOOL) override { return FALSE; }
  BOOL STDMETHODCALLTYPE TxSetCaretPos(INT, INT) override { return FALSE; }
  BOOL STDMETHODCALLTYPE TxSetTimer(UINT, UINT) override { return FALSE; }
  void STDMETHODCALLTYPE TxKillTimer(UINT) override {}
  void STDMETHODCALLTYPE TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) override {}
  void STDMETHODCALLTYPE TxSetCapture(BOOL) override {}
  void STDMETHODCALLTYPE TxSetFocus() override {}
  void STDMETHODCALLTYPE TxSetCursor(HCURSOR, BOOL) override {}
  BOOL STDMETHODCALLTYPE TxScreenToClient(LPPOINT) override { return TRUE; }
  BOOL STDMETHODCALLTYPE TxClientToScreen(LPPOINT) override { return TRUE; }
  HRESULT STDMETHODCALLTYPE TxActivate(LONG* old) override {
    if (old) *old = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxDeactivate(LONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TxGetClientRect(LPRECT r) override {
    *r = Client;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetViewInset(LPRECT r) override {
    ::SetRectEmpty(r);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetCharFormat(const CHARFORMATW** f) override {
    *f = &CharFormat;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetParaFormat(const PARAFORMAT** f) override {
    *f = &ParaFormat;
    return S_OK;
  }
  COLORREF STDMETHODCALLTYPE TxGetSysColor(int index) override { return ::GetSysColor(index); }
  HRESULT STDMETHODCALLTYPE TxGetBackStyle(TXTBACKSTYLE* style) override {
    *style = TXTBACK_TRANSPARENT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetMaxLength(DWORD* length) override {
    *length = INFINITE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetScrollBars(DWORD* bars) override {
    *bars = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetPasswordChar(WCHAR* c) override {
    *c = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE TxGetAcceleratorPos(LONG* at) override {
    *at = -1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxGetExtent(LPSIZEL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnTxCharFormatChange(const CHARFORMATW*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnTxParaFormatChange(const PARAFORMAT*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TxGetPropertyBits(DWORD mask, DWORD* bits) override {
    *bits = mask & (TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TxNotify(DWORD, void*) override { return S_OK; }
  HIMC STDMETHODCALLTYPE TxImmGetContext() override { return nullptr; }
  void STDMETHODCALLTYPE TxImmReleaseContext(HIMC) override {}
  HRESULT STDMETHODCALLTYPE TxGetSelectionBarWidth(LONG* width) override {
    *width = 0;
    return S_OK;
  }

  RECT Client{0, 0, 0, 0};

private:
  HDC Reference;
  LONG References = 1;
  CHARFORMATW CharFormat{};
  PARAFORMAT ParaFormat{};
};

bool TRichRender::FormatRangeWorks() {
  static const bool works = [] {
    ::LoadLibraryA("RICHED32.DLL");
    HWND probe = ::CreateWindowExA(0, "RICHEDIT", "x", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr,
                                   nullptr, nullptr);
    if (!probe) return false;
    HDC screen = ::GetDC(nullptr);
    FORMATRANGE fr{};
    fr.hdc = fr.hdcTarget = screen;
    fr.rc = fr.rcPage = RECT{0, 0, 1440, 1440};
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    const LRESULT next = ::SendMessageA(probe, EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&fr));
    ::SendMessageA(probe, EM_FORMATRANGE, 0, 0);
    ::ReleaseDC(nullptr, screen);
    ::DestroyWindow(probe);
    return next > 0;
  }();
  return works;
}

std::string TRichRender::StreamOutRtf(HWND richEdit) {
  std::string rtf;
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0, WriteToString};
  ::SendMessageA(richEdit, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  return rtf;
}

TRichRender::TRichRender(HWND richEdit, HDC reference) : Reference(reference) {
  if (!Reference) {
    Reference = ::GetDC(nullptr);
    OwnsReference = true;
  }
  if (FormatRangeWorks()) Control = richEdit;
  else CreateServices(StreamOutRtf(richEdit));
}

TRichRender::TRichRender(const std::string& rtf, HDC reference) : Reference(reference) {
  if (!Reference) {
    Reference = ::GetDC(nullptr);
    OwnsReference = true;
  }
  CreateServices(rtf);
}

TRichRender::~TRichRender() {
  if (Services) Services->Release();
  if (Unknown) Unknown->Release();
  if (Host) Host->Release();
  if (OwnsReference) ::ReleaseDC(nullptr, Reference);
}

void TRichRender::CreateServices(const std::string& rtf) {
  HMODULE library = TextServicesLibrary();
  if (!library) return;
  auto create = reinterpret_cast<PCreateTextServices>(::GetProcAddress(library, "CreateTextServices"));
  // The library's own identifier, which its QueryInterface compares with.
  auto iid = reinterpret_cast<const IID*>(::GetProcAddress(library, "IID_ITextServices"));
  if (!create || !iid) return;
  Host = new TTextHost(Reference);
  if (FAILED(create(nullptr, Host, &Unknown)) || !Unknown) return;
  if (FAILED(Unknown->QueryInterface(*iid, reinterpret_cast<void**>(&Services)))) {
    Services = nullptr;
    return;
  }
  TMemoryRead source{&rtf, 0};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, ReadFromString};
  LRESULT r = 0;
  Services->TxSendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es), &r);
  // An empty paragraph behind the text: its top is the last line's bottom.
  GETTEXTLENGTHEX length{GTL_NUMCHARS, 1200};
  LRESULT end = 0;
  Services->TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0, &end);
  Services->TxSendMessage(EM_SETSEL, static_cast<WPARAM>(end), end, &r);
  Services->TxSendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r"), &r);
}

bool TRichRender::IsOK() const { return Control != nullptr || Services != nullptr; }

long TRichRender::ToPixelsX(long twips) const {
  return ::MulDiv(twips, ::GetDeviceCaps(Reference, LOGPIXELSX), kTwipsPerInch);
}

long TRichRender::ToPixelsY(long twips) const {
  return ::MulDiv(twips, ::GetDeviceCaps(Reference, LOGPIXELSY), kTwipsPerInch);
}

void TRichRender::LayOut(long widthPixels) {
  if (!Services || widthPixels == LaidOutWidth) return;
  LaidOutWidth = widthPixels;
  Host->Client = RECT{0, 0, widthPixels, kUnboundedHeight};
  // Text services wrap when they draw into new bounds; clipped to nothing,
  // the pass only lays out.
  const int saved = ::SaveDC(Reference);
  ::IntersectClipRect(Reference, 0, 0, 0, 0);
  RECTL bounds{0, 0, widthPixels, kUnboundedHeight};
  Services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, Reference, nullptr, &bounds, nullptr, nullptr, nullptr, 0,
                   TXTVIEW_INACTIVE);
  ::RestoreDC(Reference, saved);
  Tops.clear();
  LRESULT lines = 0;
  Services->TxSendMessage(EM_GETLINECOUNT, 0, 0, &lines);
  for (LRESULT i = 0; i < lines; ++i) {
    LRESULT first = 0, r = 0;
    Services->TxSendMessage(EM_LINEINDEX, static_cast<WPARAM>(i), 0, &first);
    POINTL at{0, 0};
    Services->TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), first, &r);
    Tops.push_back(at.y);
  }
  if (Tops.empty()) Tops.push_back(0);
}

std::vector<long> TRichRender::LineTops(long widthTwips) {
  if (Control) return {};
  LayOut(ToPixelsX(widthTwips));
  return Tops;
}

int TRichRender::LineAt(int fromLine, long y) const {
  if (Control) {
    // The control's own layout: its line at the point.
    const LRESULT first = ::SendMessageA(Control, EM_LINEINDEX, static_cast<WPARAM>(fromLine), 0);
    POINTL top{0, 0};
    ::SendMessageA(Control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&top), first);
    POINTL at{0, top.y + y};
    const LRESULT c = ::SendMessageA(Control, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at));
    return static_cast<int>(::SendMessageA(Control, EM_EXLINEFROMCHAR, 0, c));
  }
  const int count = static_cast<int>(Tops.size()) - 1;
  if (fromLine < 0 || fromLine >= count || y < 0) return -1;
  const long target = Tops[static_cast<size_t>(fromLine)] + y;
  for (int i = fromLine; i < count; ++i)
    if (target < Tops[static_cast<size_t>(i) + 1]) return i;
  return -1;
}

std::vector<long> TRichRender::LineLengths(long widthTwips) {
  std::vector<long> lengths;
  const int count = LineCount(widthTwips);
  for (int i = 0; i < count; ++i) {
    LRESULT first = 0, length = 0;
    if (Control) {
      first = ::SendMessageA(Control, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
      length = ::SendMessageA(Control, EM_LINELENGTH, static_cast<WPARAM>(first), 0);
    } else {
      Services->TxSendMessage(EM_LINEINDEX, static_cast<WPARAM>(i), 0, &first);
      Services->TxSendMessage(EM_LINELENGTH, static_cast<WPARAM>(first), 0, &length);
    }
    lengths.push_back(static_cast<long>(length));
  }
  return lengths;
}

int TRichRender::LineCount(long widthTwips) {
  if (Control) return static_cast<int>(::SendMessageA(Control, EM_GETLINECOUNT, 0, 0));
  LayOut(ToPixelsX(widthTwips));
  return static_cast<int>(Tops.size()) - 1;
}

int TRichRender::FirstLineNotFitted(int fromLine, long widthTwips, long heightTwips) {
  if (Control) return FormatRangeFirstNotFitted(fromLine, widthTwips, heightTwips);
  const int count = LineCount(widthTwips);
  if (fromLine < 0) fromLine = 0;
  if (fromLine >= count) return count;
  const long height = ToPixelsY(heightTwips);
  for (int i = fromLine; i < count; ++i)
    if (Tops[static_cast<size_t>(i) + 1] - Tops[static_cast<size_t>(fromLine)] > height) return i;
  return count;
}

int TRichRender::Draw(HDC dc, int fromLine, const RECT& rect, bool wholeLines) {
  if (Control) return FormatRangeDraw(dc, fromLine, rect);
  if (!Services) return 0;
  const long width = rect.right - rect.left;
  LayOut(width);
  const int count = static_cast<int>(Tops.size()) - 1;
  if (fromLine < 0) fromLine = 0;
  if (fromLine >= count) return count;
  const long top = Tops[static_cast<size_t>(fromLine)];
  const long height = rect.bottom - rect.top;
  int next = count;
  for (int i = fromLine; i < count; ++i)
    if (Tops[static_cast<size_t>(i) + 1] - top > height) {
      next = i;
      break;
    }
  const long bottom = wholeLines ? rect.top + (Tops[static_cast<size_t>(next)] - top) : rect.bottom;
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, rect.left, rect.top, rect.right, bottom);
  ::SetBkMode(dc, TRANSPARENT);
  RECTL bounds{rect.left, rect.top - top, rect.right, rect.top - top + kUnboundedHeight / 2};
  Services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, nullptr, nullptr, 0,
                   TXTVIEW_INACTIVE);
  ::RestoreDC(dc, saved);
  return next;
}

int TRichRender::FormatRangeFirstNotFitted(int fromLine, long widthTwips, long heightTwips) {
  FORMATRANGE fr{};
  fr.hdc = fr.hdcTarget = Reference;
  fr.rc = fr.rcPage = RECT{0, 0, widthTwips, heightTwips};
  fr.chrg.cpMin = static_cast<LONG>(::SendMessageA(Control, EM_LINEINDEX, static_cast<WPARAM>(fromLine), 0));
  fr.chrg.cpMax = -1;
  const LRESULT next = ::SendMessageA(Control, EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&fr));
  ::SendMessageA(Control, EM_FORMATRANGE, 0, 0);
  const LRESULT length = ::SendMessageA(Control, WM_GETTEXTLENGTH, 0, 0);
  if (next >= length) return static_cast<int>(::SendMessageA(Control, EM_GETLINECOUNT, 0, 0));
  return static_cast<int>(::SendMessageA(Control, EM_EXLINEFROMCHAR, 0, next));
}

int TRichRender::FormatRangeDraw(HDC dc, int fromLine, const RECT& rect) {
  const int oldMode = ::SetMapMode(dc, MM_TEXT);
  const int oldBk = ::SetBkMode(dc, TRANSPARENT);
  const int dx = ::GetDeviceCaps(dc, LOGPIXELSX), dy = ::GetDeviceCaps(dc, LOGPIXELSY);
  FORMATRANGE fr{};
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = fr.rcPage = RECT{::MulDiv(rect.left, kTwipsPerInch, dx), ::MulDiv(rect.top, kTwipsPerInch, dy),
                           ::MulDiv(rect.right, kTwipsPerInch, dx), ::MulDiv(rect.bottom, kTwipsPerInch, dy)};
  fr.chrg.cpMin = static_cast<LONG>(::SendMessageA(Control, EM_LINEINDEX, static_cast<WPARAM>(fromLine), 0));
  fr.chrg.cpMax = -1;
  const LRESULT next = ::SendMessageA(Control, EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&fr));
  ::SendMessageA(Control, EM_FORMATRANGE, 0, 0);
  ::SetBkMode(dc, oldBk);
  ::SetMapMode(dc, oldMode);
  const LRESULT length = ::SendMessageA(Control, WM_GETTEXTLENGTH, 0, 0);
  if (next >= length) return static_cast<int>(::SendMessageA(Control, EM_GETLINECOUNT, 0, 0));
  return static_cast<int>(::SendMessageA(Control, EM_EXLINEFROMCHAR, 0, next));
}
