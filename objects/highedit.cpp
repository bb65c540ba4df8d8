#include "objects/highedit.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectwindow.h"
#include "foundation/resstring.h"
#include "platform/owl/applicat.h"
#include "platform/owl/framewin.h"
#include "platform/owl/uiservice.h"
#include "resources/resource.h"

namespace {

uint32_t EmbeddedLoads = 0;

const char* ApplicationName() {
  TApplication* app = TApplication::GetApplicationObject();
  return app && app->GetName() ? app->GetName() : "";
}

// The control's plain text as the stripping pass edits it.
class TControlMarkupText : public TMarkupText {
public:
  explicit TControlMarkupText(HWND control) : Control(control) {}
  int32_t Find(const char* what, int32_t from) override {
    FINDTEXTA ft{{from, -1}, what};
    // Forward explicitly: later library versions search backwards without it.
    return static_cast<int32_t>(::SendMessageA(Control, EM_FINDTEXT, FR_DOWN, reinterpret_cast<LPARAM>(&ft)));
  }
  std::string Range(int32_t from, int32_t to) override {
    if (to <= from) return std::string();
    const size_t length = std::min<size_t>(static_cast<size_t>(to - from), kMaxLinkCommand);
    std::vector<char> buffer(length + 1, 0);
    TEXTRANGEA tr{{from, from + static_cast<LONG>(length)}, buffer.data()};
    ::SendMessageA(Control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    return std::string(buffer.data());
  }
  void Delete(int32_t from, int32_t to) override {
    CHARRANGE cr{from, to};
    ::SendMessageA(Control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    CHARRANGE now{0, 0};
    ::SendMessageA(Control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&now));
    if (now.cpMax > now.cpMin) ::SendMessageA(Control, WM_CLEAR, 0, 0);
  }

private:
  HWND Control;
};

struct TMemorySource {
  const char* Data;
  size_t Size;
  size_t Offset;
};

DWORD CALLBACK ReadMemory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* got) {
  auto* m = reinterpret_cast<TMemorySource*>(cookie);
  const size_t n = std::min(static_cast<size_t>(count), m->Size - m->Offset);
  std::memcpy(buffer, m->Data + m->Offset, n);
  m->Offset += n;
  *got = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK ReadFileHandle(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* got) {
  DWORD n = 0;
  if (!::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &n, nullptr)) n = 0;
  *got = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteFileHandle(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  DWORD n = 0;
  const BOOL ok = ::WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &n, nullptr);
  *done = static_cast<LONG>(n);
  return ok && n == static_cast<DWORD>(count) ? 0 : 1;
}

bool FileExistsA(const std::string& name) {
  const DWORD a = ::GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void StreamInFile(HWND control, const std::string& path) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(f), 0, ReadFileHandle};
  ::SendMessageA(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  ::CloseHandle(f);
}

// The stripped document into a new "TSL" temporary file; its name, or empty
// when it could not be written (no file is left then).
std::string StreamOutToTemp(HWND control) {
  char folder[MAX_PATH] = {}, name[MAX_PATH] = {};
  if (!::GetTempPathA(sizeof folder, folder) || !::GetTempFileNameA(folder, "TSL", 0, name)) return std::string();
  HANDLE f = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    ::DeleteFileA(name);
    return std::string();
  }
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(f), 0, WriteFileHandle};
  ::SendMessageA(control, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  ::CloseHandle(f);
  if (es.dwError != 0) {
    ::DeleteFileA(name);
    return std::string();
  }
  return name;
}

}  // namespace

uint32_t EmbeddedDocumentLoads() { return EmbeddedLoads; }

void ReportMissingRichEdit() {
  const TResString text = LoadResString(IDS_RICHEDIT_MISSING);
  UiMessageBox(nullptr, text, ApplicationName(), MB_OK | MB_TASKMODAL);
}

// ---------------------------------------------------------------- the window

DEFINE_RESPONSE_TABLE1(THighEditChildWindow, TWindow)
  EV_WM_KEYDOWN,
  EV_WM_KEYUP,
  EV_WM_LBUTTONDOWN,
  EV_WM_LBUTTONUP,
  EV_WM_LBUTTONDBLCLK,
  EV_WM_MOUSEMOVE,
  EV_COMMAND(THighEditChildWindow::kCmEditFind, CmEditFind),
  EV_COMMAND_ENABLE(THighEditChildWindow::kCmEditFind, CeEditFind),
  EV_COMMAND(THighEditChildWindow::kCmEditReplace, CmEditReplace),
  EV_COMMAND_ENABLE(THighEditChildWindow::kCmEditReplace, CeEditFind),
  EV_COMMAND(THighEditChildWindow::kCmEditFindNext, CmEditFindNext),
  EV_COMMAND_ENABLE(THighEditChildWindow::kCmEditFindNext, CeEditFindNext),
END_RESPONSE_TABLE;

THighEditChildWindow::THighEditChildWindow(TWindow* parent, TRichDocumentOwner* owner)
    : TWindow(parent), DocOwner(owner) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_SAVESEL | ES_MULTILINE | ES_NOHIDESEL | ES_AUTOVSCROLL;
  if (!RichModule().Loader->Handle()) ReportMissingRichEdit();
}

// The framework detaches a window before destroying it, so CleanupWindow
// does not run for a window deleted with its object: release here too.
THighEditChildWindow::~THighEditChildWindow() { ReleaseHosting(); }

HWND THighEditChildWindow::MainWindow() {
  TApplication* app = TApplication::GetApplicationObject();
  TFrameWindow* main = app ? app->GetMainWindow() : nullptr;
  return main ? main->HWindow : nullptr;
}

void THighEditChildWindow::SetupWindow() {
  TWindow::SetupWindow();
  Frame = new COleInPlaceFrame(HWindow, this);
  Frame->AddRef();
  Callback = new CRichEditOleCallback(this);
  Callback->AddRef();
  SendMessage(EM_SETOLECALLBACK, 0, reinterpret_cast<TParam2>(static_cast<IRichEditOleCallback*>(Callback)));
  SendMessage(EM_GETOLEINTERFACE, 0, reinterpret_cast<TParam2>(&RichOle));
  // Wine answers E_NOTIMPL here; the names only label embedded objects.
  if (RichOle) RichOle->SetHostNames("TSL", "Untitled");
  if (DocOwner && DocOwner->IsWindowed()) {
    DocOwner->LayoutChild();
    ::ShowWindow(HWindow, SW_SHOW);
  }
}

void THighEditChildWindow::CleanupWindow() {
  ReleaseHosting();
  TWindow::CleanupWindow();
}

void THighEditChildWindow::ReleaseHosting() {
  if (SearchDialog) SearchDialog.reset();
  Bookmarks.clear();
  if (RichOle) {
    const LONG count = RichOle->GetObjectCount();
    for (LONG i = 0; i < count; ++i) {
      REOBJECT object{};
      object.cbStruct = sizeof object;
      if (FAILED(RichOle->GetObject(i, &object, REO_GETOBJ_POLEOBJ))) continue;
      if (object.poleobj) {
        if (object.dwFlags) {
          RichOle->InPlaceDeactivate();
          object.poleobj->Close(OLECLOSE_NOSAVE);
        }
        object.poleobj->Release();
      }
    }
    RichOle->Release();
    RichOle = nullptr;
  }
  if (Callback) Callback->Release();
  Callback = nullptr;
  if (ActiveObject) ActiveObject->Release();
  ActiveObject = nullptr;
  if (Frame) Frame->Release();
  Frame = nullptr;
}

TResult THighEditChildWindow::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  if (msg == RichModule().FindReplaceMessage && p2) {
    EvFindMsg(*reinterpret_cast<const FINDREPLACEA*>(p2));
    return 0;
  }
  return TWindow::WindowProc(msg, p1, p2);
}

TPoint THighEditChildWindow::ToPageWindow(const TPoint& point) const {
  TPoint p = point;
  TObjectElement& o = DocOwner->Element();
  if (o.Owner && o.Owner->HWindow) MapWindowPoints(o.Owner->HWindow, &p, 1);
  return p;
}

void THighEditChildWindow::EvKeyDown(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (GetOpenBook() && DocOwner && DocOwner->Element().Owner)
    DocOwner->Element().Owner->EvKeyDown(key, repeatCount, flags);
}

void THighEditChildWindow::EvKeyUp(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (GetOpenBook() && DocOwner && DocOwner->Element().Owner)
    DocOwner->Element().Owner->EvKeyUp(key, repeatCount, flags);
}

void THighEditChildWindow::EvLButtonDown(uint modKeys, TPoint& point) {
  // The control never sees the press: the reader cannot select text, and
  // links and page actions stay predictable.
  const TTextDocData* d = DocOwner ? DocOwner->GetTextDocData() : nullptr;
  if (!d || (d->Flags & (kDocLinks | kDocSingleClick)) != (kDocLinks | kDocSingleClick)) return;
  LinkClick(point, false);
  if (GetOpenBook() && DocOwner->IsWindowed() && DocOwner->Element().Owner) {
    TPoint p = ToPageWindow(point);
    DocOwner->Element().Owner->EvLButtonDown(modKeys, p);
  }
}

void THighEditChildWindow::EvLButtonUp(uint modKeys, TPoint& point) {
  if (GetStyle() & (WS_HSCROLL | WS_VSCROLL)) DefaultProcessing();
  if (GetOpenBook() && DocOwner && DocOwner->IsWindowed() && DocOwner->Element().Owner) {
    TPoint p = ToPageWindow(point);
    DocOwner->Element().Owner->EvLButtonUp(modKeys, p);
  }
}

void THighEditChildWindow::EvLButtonDblClk(uint, TPoint& point) { LinkClick(point, true); }

void THighEditChildWindow::EvMouseMove(uint modKeys, TPoint& point) {
  const TTextDocData* d = DocOwner ? DocOwner->GetTextDocData() : nullptr;
  if (d && (d->Flags & kDocLinks)) {
    if (HitTestLink(point) >= 0) ::SetCursor(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_PROGRAM_CURSOR)));
    else ::SetCursor(::LoadCursorA(nullptr, IDC_IBEAM));
  }
  if (GetOpenBook() && DocOwner && DocOwner->IsWindowed() && DocOwner->Element().Owner) {
    TPoint p = ToPageWindow(point);
    DocOwner->Element().Owner->EvMouseMove(modKeys, p);
  }
}

int THighEditChildWindow::HitTestLink(const TPoint& point) {
  const TTextDocData* d = DocOwner ? DocOwner->GetTextDocData() : nullptr;
  if (!d || !(d->Flags & kDocLinks) || !HWindow) return -1;
  long c = -1;
  if (!DocOwner->CharFromPoint(point, c)) {
    POINTL p{point.x, point.y};
    c = static_cast<long>(SendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<TParam2>(&p)));
  }
  return c < 0 ? -1 : FindLinkAt(Bookmarks, static_cast<int32_t>(c));
}

bool THighEditChildWindow::LinkClick(const TPoint& point, bool doubleClick) {
  const TTextDocData* d = DocOwner ? DocOwner->GetTextDocData() : nullptr;
  if (!d || !(d->Flags & kDocLinks)) return false;
  if (((d->Flags & kDocSingleClick) != 0) == doubleClick) return false;
  const int link = HitTestLink(point);
  if (link < 0) return false;
  // The command may load another document, which refills the list.
  const std::string command = Bookmarks[static_cast<size_t>(link)].Command;
  DocOwner->ExecuteLinkCommand(command);
  return true;
}

void THighEditChildWindow::OpenSearchDialog(bool replace) {
  if (SearchDialog && SearchDialog->HWindow) return;
  SearchCommand = replace ? kCmEditReplace : kCmEditFind;
  if (!replace) {
    CHARRANGE start{0, 0};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<TParam2>(&start));
  }
  SearchDialog.reset();
  if (replace) SearchDialog = std::make_unique<TReplaceDialog>(HWindow, FindData);
  else SearchDialog = std::make_unique<TFindDialog>(HWindow, FindData);
  if (!SearchDialog->Create()) {
    SearchDialog.reset();
    SearchCommand = 0;
  }
}

void THighEditChildWindow::CmEditFind() { OpenSearchDialog(false); }
void THighEditChildWindow::CmEditReplace() { OpenSearchDialog(true); }

void THighEditChildWindow::CeEditFind(TCommandEnabler& ce) { ce.Enable(!(SearchDialog && SearchDialog->HWindow)); }

void THighEditChildWindow::CeEditFindNext(TCommandEnabler& ce) { ce.Enable(FindData.FindWhat[0] != 0); }

void THighEditChildWindow::CmEditFindNext() {
  if (SearchDialog && SearchDialog->HWindow) SearchDialog->UpdateData();
  FindData.Flags |= FR_FINDNEXT;
  DoSearch();
}

void THighEditChildWindow::EvFindMsg(const FINDREPLACEA& report) {
  TFindReplaceDialog::CopyEntries(report, FindData);
  if (FindData.Flags & FR_DIALOGTERM) {
    SearchCommand = 0;
    return;
  }
  DoSearch();
}

void THighEditChildWindow::DoSearch() {
  do {
    const long found = Search(-1, FindData.FindWhat, (FindData.Flags & FR_MATCHCASE) != 0,
                              (FindData.Flags & FR_WHOLEWORD) != 0, (FindData.Flags & FR_DOWN) == 0);
    if (found >= 0) continue;
    if (FindData.Flags & (FR_FINDNEXT | FR_REPLACE)) {
      const TResString format = LoadResString(IDS_TEXT_NOT_FOUND);
      char text[260];
      std::snprintf(text, sizeof text, format.c_str(), FindData.FindWhat);
      UiMessageBox(HWindow, text, ApplicationName(), MB_ICONEXCLAMATION | MB_TASKMODAL);
    }
    break;
  } while (FindData.Flags & FR_REPLACEALL);
}

long THighEditChildWindow::Search(long start, const char* text, bool matchCase, bool wholeWord, bool up) {
  if (!text || !*text || !HWindow) return -1;
  if (start == -1) {
    CHARRANGE sel{0, 0};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<TParam2>(&sel));
    start = up ? sel.cpMin : sel.cpMax;
  }
  // FR_DOWN in the flags: without it, later library versions search back.
  WPARAM flags = FR_DOWN;
  if (matchCase) flags |= FR_MATCHCASE;
  if (wholeWord) flags |= FR_WHOLEWORD;
  FINDTEXTA ft{{static_cast<LONG>(start), -1}, text};
  const long at = static_cast<long>(SendMessage(EM_FINDTEXT, flags, reinterpret_cast<TParam2>(&ft)));
  if (at >= 0) {
    CHARRANGE match{static_cast<LONG>(at), static_cast<LONG>(at + static_cast<long>(std::strlen(text)))};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<TParam2>(&match));
  }
  return at;
}

// ---------------------------------------------------------------- the loader

bool LoadRichDocument(const std::string& givenName, THighEditChildWindow* window, uint32_t background, bool rtfOnly,
                      bool updateVisibility) {
  if (!window || !window->DocOwner) return false;
  TTextDocData* d = window->DocOwner->GetTextDocData();
  if (!d) return false;
  std::string name = givenName;
  const bool embedded = (d->Flags & kDocEmbedded) != 0;
  if (embedded) {
    // Every embedded load is a name of its own: it never hits the cache.
    name = std::to_string(++EmbeddedLoads);
  } else {
    if (name.empty()) return false;
    if (rtfOnly && !NameMentionsRtf(name.c_str())) return false;
  }
  const HWND control = window->HWindow;
  if (!control) return false;
  const bool links = (d->Flags & kDocLinks) != 0;
  ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  ::SendMessageA(control, EM_SETBKGNDCOLOR, 0, background);
  ::SendMessageA(control, EM_SETREADONLY, links ? FALSE : TRUE, 0);
  if (window->RichOle) window->RichOle->SetHostNames("tsl", name.c_str());

  RTFFileCacheManager& cache = *RichModule().Cache;
  const int hit = cache.Find(name);
  bool exists = true;
  if (embedded) {
    const string& source = d->DocumentText;
    TMemorySource m{source.c_str(), source.length(), 0};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&m), 0, ReadMemory};
    ::SendMessageA(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  } else {
    const std::string path = hit >= 0 ? cache.At(hit).TempFileName : name;
    exists = FileExistsA(path);
    if (exists) StreamInFile(control, path);
  }

  if (links) {
    window->Bookmarks.clear();
    if (hit < 0) {
      ::SendMessageA(control, WM_SETREDRAW, FALSE, 0);
      TControlMarkupText text(control);
      StripLinkMarkup(text, window->Bookmarks);
      ::SendMessageA(control, EM_SETMODIFY, FALSE, 0);
      ::SendMessageA(control, EM_SETREADONLY, TRUE, 0);
      CHARRANGE start{0, 0};
      ::SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
      ::SendMessageA(control, WM_SETREDRAW, TRUE, 0);
      ::InvalidateRect(control, nullptr, TRUE);
      // A missing file is not remembered: it may appear later in the run
      // (unpacked or installed) and must load then.
      if (exists) {
        const std::string temp = StreamOutToTemp(control);
        if (!temp.empty()) cache.Add(std::make_unique<RTFFileCache>(RTFFileCache{name, temp, window->Bookmarks}));
      }
    } else {
      window->Bookmarks = cache.At(hit).Bookmarks;
      ::SendMessageA(control, EM_SETREADONLY, TRUE, 0);
    }
    if (updateVisibility) {
      // Kind 15's window is never shown: it only lays the document out.
      ::ShowWindow(control, SW_HIDE);
    }
  }
  return true;
}
