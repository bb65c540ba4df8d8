#include "objects/textdoc.h"

#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "engine/startup.h"
#include "foundation/drawtools.h"
#include "foundation/resstring.h"
#include "foundation/streamio.h"
#include "objects/button.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/richrender.h"
#include "platform/owl/uiservice.h"
#include "resources/resource.h"

namespace {

class TGdiTextDocResources : public TTextDocResources {
public:
  std::unique_ptr<TFont> Font;
  std::unique_ptr<TBrush> Brush;
};

std::unique_ptr<TTextDocResources> MakeGdiResources(TTextDocData& data) {
  auto r = std::make_unique<TGdiTextDocResources>();
  TChooseFontDialog::TData font = FontDataFromRecord(data.FontChoice);
  r->Font.reset(CreateFontFromData(font));
  r->Brush = std::make_unique<TBrush>(TColor(data.BackgroundColour));
  return r;
}

bool ReadWin32File(const string& path, size_t limit, std::string& bytes) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const DWORD size = ::GetFileSize(f, nullptr);
  const size_t want = std::min<size_t>(size == INVALID_FILE_SIZE ? 0 : size, limit);
  bytes.assign(want, '\0');
  DWORD got = 0;
  if (want && !::ReadFile(f, &bytes[0], static_cast<DWORD>(want), &got, nullptr)) got = 0;
  bytes.resize(got);
  ::CloseHandle(f);
  return true;
}

[[maybe_unused]] const TTextDocResourceMaker kPreviousMaker = SetTextDocResourceMaker(&MakeGdiResources);
[[maybe_unused]] const TDocumentFileReader kPreviousReader = SetDocumentFileReader(&ReadWin32File);

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
constexpr uint kSizeFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// A plain text beyond the edit control's limit would be cut by the control.
constexpr uint32_t kEditTextLimit = 0x7FFFFFFF;

bool Blank(const string& s) { return s.str().find_first_not_of(' ') == std::string::npos; }

DWORD CALLBACK ReadFileCookie(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* got) {
  DWORD n = 0;
  if (!::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &n, nullptr)) n = 0;
  *got = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteFileCookie(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  DWORD n = 0;
  const BOOL ok = ::WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &n, nullptr);
  *done = static_cast<LONG>(n);
  return ok ? 0 : 1;
}

}  // namespace

TFont* GetTextDocFont(const TTextDocData& data) {
  auto* r = dynamic_cast<TGdiTextDocResources*>(data.Resources.get());
  return r ? r->Font.get() : nullptr;
}

TBrush* GetTextDocBrush(const TTextDocData& data) {
  auto* r = dynamic_cast<TGdiTextDocResources*>(data.Resources.get());
  return r ? r->Brush.get() : nullptr;
}

// ---------------------------------------------------------------- link services

void PostLinkPageChange(int kind, int pageIndex, int32_t record) {
  TBookStruct* book = GetOpenBook();
  TSysTimeManager* q = book ? book->GetTimeManager() : nullptr;
  if (!q) return;
  TSysTimeManagerMsg msg;
  msg.Receiver = book;
  msg.Delay = 0;
  msg.LifeTime = 600000;
  msg.Sender = 0;
  msg.Kind = kind;
  msg.OwnerId = static_cast<uintptr_t>(pageIndex);
  msg.Param3 = 1;
  msg.Param4 = static_cast<uintptr_t>(static_cast<intptr_t>(record));
  q->PostMsg(msg);
}

void RecordDocumentStep(uint32_t objectNumber, const std::string& previous) {
  TBookStruct* book = GetOpenBook();
  if (!book || book->Replaying) return;
  book->PushBackStep();
  if (TUndoStep* step = book->CurrentBackStep())
    step->Add(new TUndoActionInfo(kUndoDocument, -1, -1, static_cast<int32_t>(objectNumber), previous.c_str()));
}

const std::vector<std::string>& LinkPageNames(std::vector<std::string>& cache) {
  cache.clear();
  if (TIArrayAsVector<string>* names = ProjectPageNames(GetOpenBook()))
    for (int i = 0; i < names->GetItemsInContainer(); ++i) cache.push_back((*names)[i]->c_str());
  return cache;
}

void GotoLinkRecord(int32_t record) {
  if (TBookStruct* book = GetOpenBook()) book->GotoDBRecord(record, 1);
}

void OpenLinkUrl(const std::string& target) {
  ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---------------------------------------------------------------- plain text

bool LoadDocumentFileText(HWND parent, TTextDocData& data, string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  if (text.length() == 0) return true;
  if (!(data.Flags & kDocFileText)) return true;
  string path = text;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  text = "";
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  std::string source = path.c_str();
  char temp[MAX_PATH] = {};
  std::string lower = source;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(::tolower(c)); });
  if (lower.find("rtf") != std::string::npos) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof folder, folder);
    if (!::GetTempFileNameA(folder, "TSL", 0, temp)) return true;
    ::LoadLibraryA("RICHED32.DLL");
    HWND control = ::CreateWindowExA(0, kRichEditClass, "", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, parent, nullptr,
                                     nullptr, nullptr);
    if (control) {
      HANDLE in = ::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      if (in != INVALID_HANDLE_VALUE) {
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(in), 0, ReadFileCookie};
        ::SendMessageA(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
        ::CloseHandle(in);
      }
      HANDLE out = ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (out != INVALID_HANDLE_VALUE) {
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(out), 0, WriteFileCookie};
        ::SendMessageA(control, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
        ::CloseHandle(out);
      }
      ::DestroyWindow(control);
    }
    source = temp;
  }
  std::string bytes;
  if (ReadWin32File(source.c_str(), static_cast<size_t>(-1), bytes)) text = string(std::move(bytes));
  if (temp[0]) ::DeleteFileA(temp);
  return true;
}

// ---------------------------------------------------------------- printing

bool PrintRichDocument(HWND richEdit, HDC dc, const char* documentName) {
  if (!richEdit || !dc) return false;
  TRichRender render(richEdit, dc);
  const int oldMode = ::SetMapMode(dc, MM_TEXT);
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = documentName;
  if (::StartDocA(dc, &info) <= 0) return false;
  ::StartPage(dc);
  ::SetPixel(dc, 0, 0, RGB(0, 0, 0));
  const RECT page{0, 0, ::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES)};
  const long widthTwips = ::MulDiv(page.right, 1440, ::GetDeviceCaps(dc, LOGPIXELSX));
  const int lines = render.LineCount(widthTwips);
  if (::GetWindowTextLengthA(richEdit) > 0) {
    for (int line = 0;;) {
      int next = render.Draw(dc, line, page);
      if (next >= lines) break;
      // A line taller than the page goes on a page of its own.
      if (next <= line) next = line + 1;
      ::EndPage(dc);
      ::StartPage(dc);
      line = next;
    }
  }
  ::EndPage(dc);
  const bool ok = ::EndDoc(dc) >= 0;
  if (!ok) ::MessageBeep(0xFFFFFFFF);
  ::SetMapMode(dc, oldMode);
  return ok;
}

// ---------------------------------------------------------------- the edit window

DEFINE_RESPONSE_TABLE1(TDocumentEdit, TEdit)
  EV_WM_LBUTTONDOWN,
  EV_WM_LBUTTONUP,
  EV_WM_MOUSEMOVE,
  EV_WM_SYSKEYDOWN,
  EV_WM_KEYDOWN,
  EV_WM_KEYUP,
  EV_WM_SIZE,
END_RESPONSE_TABLE;

TDocumentEdit::TDocumentEdit(TWindow* parent, TTextDocObject& object, int id, const TRect& rect)
    : TEdit(parent, id, "", rect.left, rect.top, rect.Width(), rect.Height(), 0, true), Object(object) {}

void TDocumentEdit::GetWindowClass(WNDCLASSA& wc) {
  TEdit::GetWindowClass(wc);
  wc.hbrBackground = nullptr;
}

void TDocumentEdit::SetupWindow() {
  TEdit::SetupWindow();
  SendMessage(EM_LIMITTEXT, kEditTextLimit);
  SendMessage(EM_SETREADONLY, TRUE);
  TPoint scroll;
  Object.GetScrollOffset(scroll);
  const TRect r = Object.GetStoredRect();
  SetWindowPos(nullptr, r.left - scroll.x, r.top - scroll.y, r.Width(), r.Height(), kPlaceFlags);
  Object.SetupEditWindow();
}

TPoint TDocumentEdit::ToPageWindow(const TPoint& point) const {
  TPoint p = point;
  if (Object.Owner && Object.Owner->HWindow) MapWindowPoints(Object.Owner->HWindow, &p, 1);
  return p;
}

void TDocumentEdit::EvLButtonDown(uint modKeys, TPoint& point) {
  if (GetStyle() & (WS_HSCROLL | WS_VSCROLL)) DefaultProcessing();
  if (GetOpenBook() && Object.Owner) {
    TPoint p = ToPageWindow(point);
    Object.Owner->EvLButtonDown(modKeys, p);
  }
}

void TDocumentEdit::EvLButtonUp(uint modKeys, TPoint& point) {
  DefaultProcessing();
  if (GetOpenBook() && Object.Owner) {
    TPoint p = ToPageWindow(point);
    Object.Owner->EvLButtonUp(modKeys, p);
  }
}

void TDocumentEdit::EvMouseMove(uint modKeys, TPoint& point) {
  if (GetOpenBook() && Object.Owner) {
    TPoint p = ToPageWindow(point);
    Object.Owner->EvMouseMove(modKeys, p);
  }
}

void TDocumentEdit::EvSysKeyDown(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (GetOpenBook() && Object.Owner) Object.Owner->EvSysKeyDown(key, repeatCount, flags);
}

void TDocumentEdit::EvKeyDown(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (GetOpenBook() && Object.Owner) Object.Owner->EvKeyDown(key, repeatCount, flags);
}

void TDocumentEdit::EvKeyUp(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (GetOpenBook() && Object.Owner) Object.Owner->EvKeyUp(key, repeatCount, flags);
}

void TDocumentEdit::EvSize(uint sizeType, TSize& size) {
  TEdit::EvSize(sizeType, size);
  Object.LayoutChild();
}

// ---------------------------------------------------------------- the object

TTextDocObject::TTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TTextDocData()) {
  Edit = std::make_unique<TDocumentEdit>(owner, *this, static_cast<int>(GetNumber()), GetStoredRect());
  Edit->Attr.Style = WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL;
  if (Info.Property.Flags & kPropHScroll) Edit->Attr.Style |= WS_HSCROLL;
  if (Info.Property.Flags & kPropVScroll) Edit->Attr.Style |= WS_VSCROLL;
  Edit->Attr.ExStyle &= ~WS_EX_CLIENTEDGE;
}

TTextDocObject::~TTextDocObject() {
  if (Edit && Edit->HWindow) Hide(false, false);
  Child.reset();
  Edit.reset();
}

bool TTextDocObject::CreateEditWindow() { return Edit && Edit->Create(); }

HWND TTextDocObject::GetHandle() { return Edit ? Edit->HWindow : nullptr; }

TTextDocData* TTextDocObject::GetTextDocData() const { return dynamic_cast<TTextDocData*>(Data.get()); }

bool TTextDocObject::IsRtfDocument() const {
  const TTextDocData* d = GetTextDocData();
  return d && d->IsRtfDocument();
}

void TTextDocObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  SetupEditWindow();
}

void TTextDocObject::Show(bool update, bool force) {
  TObjectElement::Show(update, force);
  if (Child) ApplyTextMargin(Child->HWindow);
  if (!IsRtfDocument() && Edit) ApplyTextMargin(Edit->HWindow);
}

HBRUSH TTextDocObject::GetBackgroundBrush(HDC dc, HWND, uint) {
  const TTextDocData* d = GetTextDocData();
  if (!d) return static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
  ::SetBkColor(dc, d->BackgroundColour);
  ::SetTextColor(dc, d->FontChoice.Color);
  TBrush* brush = GetTextDocBrush(*d);
  return brush ? static_cast<HBRUSH>(brush->GetHandle()) : static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
}

void TTextDocObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  if (Visible) TObjectElement::Paint(paint);
}

void TTextDocObject::ApplyTextMargin(HWND window) {
  const TTextDocData* d = GetTextDocData();
  if (!d || d->Margin == 0 || !window) return;
  RECT client{}, now{};
  ::GetClientRect(window, &client);
  ::InflateRect(&client, -d->Margin, -d->Margin);
  ::SendMessageA(window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&now));
  if (!::EqualRect(&client, &now)) ::SendMessageA(window, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&client));
}

void TTextDocObject::LayoutChild() {
  if (!Child || !Child->HWindow || !Edit || !Edit->HWindow) return;
  RECT client{}, now{};
  ::GetClientRect(Edit->HWindow, &client);
  ::GetClientRect(Child->HWindow, &now);
  if (client.right != now.right || client.bottom != now.bottom)
    ::SetWindowPos(Child->HWindow, nullptr, 0, 0, client.right, client.bottom, kSizeFlags);
  ApplyTextMargin(Child->HWindow);
}

void TTextDocObject::SetupEditWindow() {
  TTextDocData* d = GetTextDocData();
  if (!d || !Edit || !Edit->HWindow) return;
  const bool rtf = d->IsRtfDocument();
  if (Child && !rtf && Blank(d->FileName)) {
    Child->SetWindowText("");
    return;
  }
  uint32_t style = Edit->GetStyle();
  if (!rtf) {
    if (d->Flags & kDocWrap) style &= ~(WS_HSCROLL | ES_AUTOHSCROLL);
    else if (d->Flags & kDocHScroll) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    else style = (style & ~WS_HSCROLL) | ES_AUTOHSCROLL;
  }
  Edit->SetStyle(style);
  if (TFont* font = GetTextDocFont(*d)) Edit->SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(font->GetHandle()), TRUE);
  if (!rtf) Edit->SetWindowText(d->DocumentText.c_str());
  Info.Property.Flags = (Info.Property.Flags & ~(kPropHScroll | kPropVScroll)) |
                        ((d->Flags & kDocHScroll) ? kPropHScroll : 0) | ((d->Flags & kDocVScroll) ? kPropVScroll : 0);
  if (rtf) {
    Edit->ShowScrollBar(SB_BOTH, false);
    if (!Child) {
      Child = std::make_unique<THighEditChildWindow>(Edit.get(), this);
      Child->Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_SAVESEL | ES_MULTILINE | ES_NOHIDESEL |
                          ES_AUTOVSCROLL;
      if (d->Flags & kDocHScroll) Child->Attr.Style |= WS_HSCROLL;
      if (d->Flags & kDocVScroll) Child->Attr.Style |= WS_VSCROLL;
      Child->Attr.ExStyle &= ~WS_EX_CLIENTEDGE;
      Child->Attr.Id = static_cast<int>(GetNumber());
      const TRect client = Edit->GetClientRect();
      Child->Attr.X = 0;
      Child->Attr.Y = 0;
      Child->Attr.W = client.Width();
      Child->Attr.H = client.Height();
      Child->Create();
    }
    if (d->IsEmbedded()) LoadRichDocument(std::string(), Child.get(), d->BackgroundColour, false, false);
    else LoadRichDocument(d->FileName.c_str(), Child.get(), d->BackgroundColour, true, false);
    ApplyTextMargin(Child->HWindow);
    return;
  }
  Child.reset();
  Edit->ShowScrollBar(SB_VERT, (d->Flags & kDocVScroll) != 0);
  if (!(d->Flags & kDocWrap)) Edit->ShowScrollBar(SB_HORZ, (d->Flags & kDocHScroll) != 0);
  ApplyTextMargin(Edit->HWindow);
}

void TTextDocObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TTextDocData* d = GetTextDocData();
  if (!d) return;
  if (d->Flags & kDocFileText) {
    string path = name;
    if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
    d->FileName = path;
    d->LoadDocumentText();
  } else {
    d->DocumentText = name;
  }
  SetupEditWindow();
}

bool TTextDocObject::GetFile(int, bool& flag, string& path) {
  const TTextDocData* d = GetTextDocData();
  flag = d && (d->Flags & kDocFileText);
  path = d ? d->FileName : string();
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  return true;
}

bool TTextDocObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  TTextDocData* d = GetTextDocData();
  if (!d) {
    first = second = -1;
    return true;
  }
  return LoadDocumentFileText(Owner ? Owner->HWindow : nullptr, *d, text, first, second);
}

bool PrintRichDocumentOnDefaultPrinter(HWND richEdit) {
  if (!richEdit) return false;
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  const bool chosen = GetUiService().PrintDialog(pd);
  const bool ok = chosen && pd.hDC && PrintRichDocument(richEdit, pd.hDC, ProgramTitle());
  if (pd.hDC) ::DeleteDC(pd.hDC);
  if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
  if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
  return ok;
}

bool TTextDocObject::Print(HDC printerDC) {
  if (!Child || !Child->HWindow) return false;
  if (!printerDC) return PrintRichDocumentOnDefaultPrinter(Child->HWindow);
  return PrintRichDocument(Child->HWindow, printerDC, ProgramTitle());
}

void TTextDocObject::ShowFindDialog() {
  if (Child && Child->HWindow) Child->CmEditFind();
}

void TTextDocObject::ExecuteLinkCommand(const std::string& command) { ::ExecuteLinkCommand(command, History, *this); }

std::string TTextDocObject::DocumentName() {
  const TTextDocData* d = GetTextDocData();
  return d ? d->FileName.c_str() : "";
}

void TTextDocObject::ShowDocument(const std::string& name) {
  string s = name.c_str();
  SetFileName(s);
}

void TTextDocObject::RecordNavigationStep(const std::string& previous) { RecordDocumentStep(GetNumber(), previous); }

void TTextDocObject::ShowHistoryMessage(int stringId) {
  const TResString text = LoadResString(stringId == kIdsHistoryStart ? IDS_DOC_HISTORY_START : IDS_DOC_HISTORY_END);
  UiMessageBox(Edit ? Edit->HWindow : nullptr, text, ProgramTitle(), MB_ICONINFORMATION);
}

bool TTextDocObject::HasProject() { return GetOpenBook() != nullptr; }
const std::vector<std::string>& TTextDocObject::PageNames() { return LinkPageNames(PageNameCache); }
void TTextDocObject::PostPageChange(int kind, int pageIndex, int32_t record) { PostLinkPageChange(kind, pageIndex, record); }
void TTextDocObject::OpenUrl(const std::string& target) { OpenLinkUrl(target); }
void TTextDocObject::GotoDbRecord(int32_t record) { GotoLinkRecord(record); }

TObjectElement* CreateTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  auto* o = new TTextDocObject(owner, info, data);
  if (owner && owner->HWindow && !o->CreateEditWindow()) {
    delete o;
    return nullptr;
  }
  return o;
}

TData* CreateTextDocData() { return new TTextDocData(); }
