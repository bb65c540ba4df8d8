#include "objects/fastsearch.h"

#include <vector>

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "foundation/resstring.h"
#include "objects/pageinputforward.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_foundation.h"

namespace {

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

TFastSearchData* OwnRecord(TData*& data) {
  auto* d = dynamic_cast<TFastSearchData*>(data);
  if (!d) {
    delete data;
    d = new TFastSearchData();
    data = d;
  }
  return d;
}

TObjectManager* CurrentPage() {
  TBookStruct* book = GetOpenBook();
  return book ? book->ObjectManager.get() : nullptr;
}

// The open project as the field sees it: the current page's database, the
// messages owned by the field's window under the program's own title, the
// wait cursor.
class TOpenProjectSearch : public TFastSearchHost {
public:
  explicit TOpenProjectSearch(HWND owner) : owner_(owner) {}

  const TdBaseInfo* DatabaseInfo() override {
    TObjectManager* page = CurrentPage();
    return page ? &page->DbInfo : nullptr;
  }
  TDBNodeManager* Database() override {
    TObjectManager* page = CurrentPage();
    return page ? page->DBNodeManager.get() : nullptr;
  }
  void ShowMessage(const char* text) override {
    // The built-in title, not a task name the ini file may have set.
    const string title = LoadResString(IDS_PROGRAM_TITLE).c_str();
    UiMessageBox(owner_, text, title.c_str(), MB_OK | MB_ICONINFORMATION);
  }
  void BeginWait() override { previous_ = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }
  void EndWait() override { ::SetCursor(previous_); }
  void GotoDBRecord(int32_t entryId) override {
    if (TBookStruct* book = GetOpenBook()) book->GotoDBRecord(entryId, 1);
  }

private:
  HWND owner_;
  HCURSOR previous_ = nullptr;
};

}  // namespace

TData* CreateFastSearchData() { return new TFastSearchData(); }

TFastSearchObject::TFastSearchObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, OwnRecord(data)),
      TEdit(owner, static_cast<int>(info.Target.Number), "", info.Rect.Left, info.Rect.Top,
            info.Rect.Right - info.Rect.Left, info.Rect.Bottom - info.Rect.Top, 0, true) {
  // Hidden until the page shows its objects.
  Attr.Style = WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOHSCROLL;
  Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
  TObjectElement::Visible = 0;
  if (owner && owner->HWindow) Create();
}

TFastSearchObject::~TFastSearchObject() {
  if (HWindow && ::IsWindow(HWindow)) TObjectElement::Hide(false, false);
  // The window goes before the record whose font and brush it uses.
  if (HWindow && ::IsWindow(HWindow)) ::DestroyWindow(HWindow);
}

TFastSearchData* TFastSearchObject::SearchData() const {
  return static_cast<TFastSearchData*>(TObjectElement::Data.get());
}

void TFastSearchObject::GetWindowClass(WNDCLASSA& wc) {
  TEdit::GetWindowClass(wc);
  wc.hbrBackground = nullptr;
}

void TFastSearchObject::SetupWindow() {
  TEdit::SetupWindow();
  TPoint offset;
  GetScrollOffset(offset);
  TRect placed = GetStoredRect();
  placed.Offset(-offset.x, -offset.y);
  ::SetWindowPos(HWindow, nullptr, placed.left, placed.top, placed.Width(), placed.Height(), kPlaceFlags);
  ApplyData();
}

void TFastSearchObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  TData* own = TObjectElement::Data.release();
  TObjectElement::Data.reset(OwnRecord(own));
  ApplyData();
}

void TFastSearchObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  ApplyData();
}

void TFastSearchObject::ApplyData() {
  TFastSearchData* d = SearchData();
  if (!HWindow) return;
  if (d->Font) SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(static_cast<HFONT>(*d->Font)), FALSE);
  ::SetWindowTextA(HWindow, d->Text.c_str());
}

HBRUSH TFastSearchObject::GetBackgroundBrush(HDC dc, HWND, uint) { return RecordColours(dc, *SearchData()); }

void TFastSearchObject::SetFileName(string& text) {
  TObjectElement::SetFileName(text);
  SearchData()->Text = text;
  ApplyData();
}

bool TFastSearchObject::GetFile(int, bool& flag, string&) {
  flag = false;
  return false;
}

bool TFastSearchObject::ExchangeText(string&, int32_t& first, int32_t& second) {
  first = second = -1;
  return false;
}

void TFastSearchObject::RunSearch() {
  std::string text;
  if (HWindow) {
    std::vector<char> buffer(static_cast<size_t>(::GetWindowTextLengthA(HWindow)) + 1);
    const int n = ::GetWindowTextA(HWindow, buffer.data(), static_cast<int>(buffer.size()));
    text.assign(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
  }
  TOpenProjectSearch project(HWindow);
  RunFastSearch(index_, indexedDatabase_, SearchData()->FieldName.c_str(), text, project);
}

TResult TFastSearchObject::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  switch (msg) {
    case WM_KEYDOWN:
      if (p1 == VK_RETURN) {
        RunSearch();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN: {
      TResult r = 0;
      if (p1 == VK_RETURN) RunSearch();
      else r = TEdit::WindowProc(msg, p1, p2);
      PassInputToPage(*this, msg, p1, p2);
      return r;
    }
    case WM_CHAR:
      // The edit control would keep Enter's line break in the text, and
      // every later search of the same text would fail.
      if (p1 == '\r' || p1 == '\n') return 0;
      break;
    default:
      break;
  }
  const TResult r = TEdit::WindowProc(msg, p1, p2);
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      PassInputToPage(*this, msg, p1, p2);
      break;
    default:
      break;
  }
  return r;
}

TObjectElement* CreateFastSearchObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  auto* object = new TFastSearchObject(owner, info, data);
  if (owner && owner->HWindow && !object->HWindow) {
    delete object;
    return nullptr;
  }
  return object;
}
