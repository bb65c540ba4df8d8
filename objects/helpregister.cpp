#include "objects/helpregister.h"

#include "engine/objectwindow.h"
#include "objects/fastsearch.h"
#include "objects/navitree.h"
#include "objects/pageinputforward.h"
#include "platform/owl/notetab.h"

namespace {

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr uint kTreePlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// The tree stands this far inside the panel and below the tabs.
constexpr int kTreeInset = 2;

enum THelpTab { kTabContents = 0, kTabIndex = 1, kTabSearch = 2 };
const char* const kTabLabels[] = {"Inhalt", "Index", "Suchen"};

THelpRegisterData* OwnRecord(TData*& data) {
  auto* d = dynamic_cast<THelpRegisterData*>(data);
  if (!d) {
    delete data;
    d = new THelpRegisterData();
    data = d;
  }
  return d;
}

}  // namespace

TData* CreateHelpRegisterData() { return new THelpRegisterData(); }

THelpRegisterObject::THelpRegisterObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, OwnRecord(data)), TWindow(owner, "") {
  Attr.X = info.Rect.Left;
  Attr.Y = info.Rect.Top;
  Attr.W = info.Rect.Right - info.Rect.Left;
  Attr.H = info.Rect.Bottom - info.Rect.Top;
  Attr.Id = static_cast<int>(info.Target.Number);
  // Hidden until the page shows its objects.
  Attr.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
  noteTab_ = new TNoteTab(this, kHelpRegisterTabsId, 0, 0, Attr.W, 0, this, true);
  TObjectElement::Visible = 0;
  if (owner && owner->HWindow) Create();
}

THelpRegisterObject::~THelpRegisterObject() {
  if (HWindow && ::IsWindow(HWindow)) TObjectElement::Hide(false, false);
  // The tree window goes before the look it draws with.
  delete tree_;
  tree_ = nullptr;
}

THelpRegisterData* THelpRegisterObject::RegisterData() const {
  return static_cast<THelpRegisterData*>(TObjectElement::Data.get());
}

void THelpRegisterObject::GetWindowClass(WNDCLASSA& wc) {
  TWindow::GetWindowClass(wc);
  wc.hbrBackground = nullptr;
}

void THelpRegisterObject::SetupWindow() {
  TWindow::SetupWindow();
  TPoint offset;
  GetScrollOffset(offset);
  TRect placed = GetStoredRect();
  placed.Offset(-offset.x, -offset.y);
  ::SetWindowPos(HWindow, nullptr, placed.left, placed.top, placed.Width(), placed.Height(), kPlaceFlags);

  THelpRegisterData* d = RegisterData();
  if (d->Font) noteTab_->SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(static_cast<HFONT>(*d->Font)), FALSE);
  noteTab_->SetBkgndColor(d->BackgroundColour);
  for (const char* label : kTabLabels) noteTab_->Add(label, 0);
  ApplyData();

  RECT client{};
  ::GetClientRect(HWindow, &client);
  RECT tabs{};
  if (noteTab_->HWindow) ::GetWindowRect(noteTab_->HWindow, &tabs);
  const TRect area(client.left + kTreeInset, client.top + (tabs.bottom - tabs.top) + kTreeInset,
                   client.right - kTreeInset, client.bottom - kTreeInset);
  treeLook_ = std::make_unique<TTreeListItemData>();
  tree_ = new TUserTreeWindow(this, treeLook_.get(), kHelpRegisterTreeId, area.left, area.top, area.Width(),
                              area.Height(), 0);
  tree_->Attr.Style |= WS_HSCROLL | WS_VSCROLL;
  if (tree_->Create()) {
    ::ShowWindow(tree_->HWindow, SW_SHOW);
    ::SetWindowPos(tree_->HWindow, nullptr, area.left, area.top, area.Width(), area.Height(), kTreePlaceFlags);
  }
  FillTree();
}

void THelpRegisterObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  TData* own = TObjectElement::Data.release();
  TObjectElement::Data.reset(OwnRecord(own));
  ApplyData();
  FillTree();
}

void THelpRegisterObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  ApplyData();
}

void THelpRegisterObject::ApplyData() {
  THelpRegisterData* d = RegisterData();
  if (!HWindow) return;
  if (d->Font) SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(static_cast<HFONT>(*d->Font)), FALSE);
  ::InvalidateRect(HWindow, nullptr, TRUE);
}

void THelpRegisterObject::FillTree() {
  if (tree_ && tree_->HWindow) tree_->FillFromDatabase(PageTreeDatabase(), PageTreeExtras());
}

void THelpRegisterObject::OnTabChange() {
  if (!tree_ || !tree_->HWindow) return;
  switch (noteTab_->GetSel()) {
    case kTabContents: ::ShowWindow(tree_->HWindow, SW_SHOW); break;
    case kTabIndex: ::ShowWindow(tree_->HWindow, SW_HIDE); break;
    default: break;  // "Suchen" has no page of its own
  }
}

HBRUSH THelpRegisterObject::GetBackgroundBrush(HDC dc, HWND, uint) { return RecordColours(dc, *RegisterData()); }

void THelpRegisterObject::SetFileName(string& text) {
  TObjectElement::SetFileName(text);
  RegisterData()->Text = text;
  ApplyData();
}

bool THelpRegisterObject::GetFile(int, bool& flag, string&) {
  flag = false;
  return false;
}

bool THelpRegisterObject::ExchangeText(string&, int32_t& first, int32_t& second) {
  first = second = -1;
  return false;
}

TResult THelpRegisterObject::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r{};
      ::GetClientRect(HWindow, &r);
      ::FillRect(reinterpret_cast<HDC>(p1), &r, RecordColours(reinterpret_cast<HDC>(p1), *RegisterData()));
      return 1;
    }
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(p2);
      if (hdr && hdr->idFrom == kHelpRegisterTabsId && hdr->code == static_cast<UINT>(TCN_SELCHANGE)) {
        OnTabChange();
        return 0;
      }
      break;
    }
    default:
      break;
  }
  const TResult r = TWindow::WindowProc(msg, p1, p2);
  switch (msg) {
    case WM_KEYDOWN:
      // Enter stays with the panel.
      if (p1 != VK_RETURN) PassInputToPage(*this, msg, p1, p2);
      break;
    case WM_SYSKEYDOWN:
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

void RefillHelpRegisterDisplay(TObjectElement* object) {
  if (auto* panel = dynamic_cast<THelpRegisterObject*>(object)) panel->FillTree();
}

TObjectElement* CreateHelpRegisterObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new THelpRegisterObject(owner, info, data);
}
