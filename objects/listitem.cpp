#include "objects/listitem.h"

#include <cstring>

#include "database/core/dbnodes.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/core/timedkinds.h"
#include "foundation/drawtools.h"
#include "foundation/streamio.h"
#include "objects/navitree.h"
#include "engine/pageinput.h"

namespace {

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
constexpr uint32_t kOwnLifeTime = 600000;

template <class R>
R* OwnRecord(TData*& data) {
  auto* d = dynamic_cast<R*>(data);
  if (!d) {
    delete data;
    d = new R();
    data = d;
  }
  return d;
}

TRect ObjectRect(const TObjectInfo& info) {
  return TRect(info.Rect.Left, info.Rect.Top, info.Rect.Right, info.Rect.Bottom);
}

// The scroll-bar bits of the record go into the object's property flags.
void SyncScrollProperties(uint32_t& property, uint32_t recordFlags) {
  property = (property & ~(kPropHScroll | kPropVScroll)) | ((recordFlags & kListHScroll) ? kPropHScroll : 0) |
             ((recordFlags & kListVScroll) ? kPropVScroll : 0);
}

// Placed at the object's rectangle less the page's scroll offset, no redraw.
void PlaceAtStoredRect(TObjectElement& object, HWND window) {
  TPoint offset;
  object.GetScrollOffset(offset);
  TRect placed = object.GetStoredRect();
  placed.Offset(-offset.x, -offset.y);
  ::SetWindowPos(window, nullptr, placed.left, placed.top, placed.Width(), placed.Height(), kPlaceFlags);
}

HBRUSH RecordBrush(HDC dc, uint32_t background, COLORREF text, std::unique_ptr<TBrush>& brush) {
  ::SetBkColor(dc, background);
  ::SetTextColor(dc, text);
  brush = std::make_unique<TBrush>(TColor(background));
  return brush ? static_cast<HBRUSH>(*brush) : static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
}

std::string FixedText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// After the window's own handling, a press and the keys go on to the
// current page (in page coordinates), so the page's hot spots, key actions
// and quit keys keep working while a list has the focus.
void ForwardToPage(TObjectElement& object, uint msg, TParam1 p1, TParam2 p2) {
  TBookStruct* book = GetOpenBook();
  TObjectManager* page = book ? book->ObjectManager.get() : nullptr;
  if (!page) return;
  const uint key = static_cast<uint>(p1), repeat = LOWORD(p2), flags = HIWORD(p2);
  switch (msg) {
    case WM_LBUTTONDOWN: {
      TPoint at(static_cast<short>(LOWORD(p2)), static_cast<short>(HIWORD(p2)));
      object.ClientToPage(at);
      TPageInput::EvLButtonDown(page, static_cast<uint32_t>(p1), at);
      break;
    }
    case WM_KEYDOWN: TPageInput::EvKeyDown(page, key, repeat, flags); break;
    case WM_SYSKEYDOWN: TPageInput::EvSysKeyDown(page, key, repeat, flags); break;
    case WM_KEYUP: TPageInput::EvKeyUp(page, key, repeat, flags); break;
    default: break;
  }
}

bool ForwardedInput(uint msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP;
}

}  // namespace

// ---------------------------------------------------------------- records

TData* CreateListItemData() { return new TListItemData(); }
TData* CreateComboItemData() { return new TComboItemData(); }

// ---------------------------------------------------------------- the open project

TDBNodeManager* TOpenProjectLists::Database() { return PageTreeDatabase(); }

int32_t TOpenProjectLists::FindPageIndex(uint32_t number) {
  TBookStruct* book = GetOpenBook();
  return book ? book->FindPageIndex(number) : -1;
}

bool TOpenProjectLists::PageNames(int32_t index, std::string& first, std::string& second) {
  TBookStruct* book = GetOpenBook();
  TObjectInfo info;
  if (!book || !book->ReadPageInfo(index, info)) return false;
  first = FixedText(info.Target.Name, sizeof info.Target.Name);
  second = FixedText(info.Target.Name2, sizeof info.Target.Name2);
  return true;
}

int32_t TOpenProjectLists::CurrentPageIndex() {
  TBookStruct* book = GetOpenBook();
  return book ? book->CurrentPage : -1;
}

void TOpenProjectLists::GotoDBRecord(int32_t entryId) {
  if (TBookStruct* book = GetOpenBook()) book->GotoDBRecord(entryId, 1);
}

void TOpenProjectLists::PostPageChange(int32_t pageIndex) {
  TBookStruct* book = GetOpenBook();
  TSysTimeManager* queue = book ? book->GetTimeManager() : nullptr;
  if (!queue) return;
  TSysTimeManagerMsg msg;
  msg.Receiver = book;
  msg.Delay = 0;
  msg.LifeTime = kOwnLifeTime;
  msg.Kind = kGotoPageMsg;
  msg.OwnerId = static_cast<uintptr_t>(pageIndex);
  queue->PostMsg(msg);
}

// ---------------------------------------------------------------- kind 9: the list box

TListItemObject::TListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, OwnRecord<TListItemData>(data)),
      TListBox(owner, static_cast<int>(info.Target.Number), ObjectRect(info).left, ObjectRect(info).top,
               ObjectRect(info).Width(), ObjectRect(info).Height()) {
  Attr.Style = WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT;
  if (!ListData()->Has(kListWholeRows)) Attr.Style |= LBS_NOINTEGRALHEIGHT;
  if (TObjectElement::Info.Property.Flags & kPropHScroll) Attr.Style |= WS_HSCROLL;
  if (TObjectElement::Info.Property.Flags & kPropVScroll) Attr.Style |= WS_VSCROLL;
  Attr.Style &= ~static_cast<uint32_t>(WS_VISIBLE | WS_BORDER);
  Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
  // The page shows its objects through Show.
  TObjectElement::Visible = 0;
  if (owner && owner->HWindow) Create();
}

TListItemObject::~TListItemObject() {
  if (HWindow && ::IsWindow(HWindow)) TObjectElement::Hide(false, false);
  // The window goes before the record whose font it uses.
  if (HWindow && ::IsWindow(HWindow)) ::DestroyWindow(HWindow);
}

TListItemData* TListItemObject::ListData() const { return static_cast<TListItemData*>(TObjectElement::Data.get()); }

void TListItemObject::SetupWindow() {
  TListBox::SetupWindow();
  PlaceAtStoredRect(*this, HWindow);
  ApplySettings();
  Fill();
}

void TListItemObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  TData* own = TObjectElement::Data.release();
  TObjectElement::Data.reset(OwnRecord<TListItemData>(own));
  ApplySettings();
  Fill();
}

void TListItemObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  ApplySettings();
  Fill();
}

void TListItemObject::ApplySettings() {
  TListItemData* d = ListData();
  SyncScrollProperties(TObjectElement::Info.Property.Flags, d->Flags);
  if (!HWindow) return;
  if (d->Font) SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(static_cast<HFONT>(*d->Font)), FALSE);
  ::ShowScrollBar(HWindow, SB_VERT, d->Has(kListVScroll));
  ::ShowScrollBar(HWindow, SB_HORZ, d->Has(kListHScroll));
}

HBRUSH TListItemObject::GetBackgroundBrush(HDC dc, HWND, uint) {
  TListItemData* d = ListData();
  return RecordBrush(dc, d->BackgroundColour, d->FontChoice().Color, d->Brush);
}

void TListItemObject::Fill() {
  TOpenProjectLists project;
  TListFill fill = FillListItems(*ListData(), project);
  items_ = std::move(fill.Items);
  if (!HWindow) return;
  ClearList();
  for (const TListItem& item : items_) {
    const int at = AddString(item.Text.c_str());
    if (at >= 0) SetItemData(at, static_cast<LPARAM>(item.Value));
  }
  if (fill.Select >= 0) SetSelIndex(fill.Select);
}

void TListItemObject::Choose() {
  TOpenProjectLists project;
  ChooseListItem(*ListData(), items_, GetSelIndex(), project, lastChosen_);
}

void TListItemObject::SelectEntry(int32_t entry) {
  TObjectElement::SelectEntry(entry);
  TOpenProjectLists project;
  bool refill = false;
  const int32_t at = FollowListRecord(*ListData(), items_, HWindow ? GetSelIndex() : -1, entry, project, refill);
  if (at >= 0 && HWindow) SetSelIndex(at);
  if (refill) Fill();
}

DEFINE_RESPONSE_TABLE1(TListItemObject, TListBox)
  EV_NOTIFY_AT_CHILD(LBN_SELCHANGE, Choose),
END_RESPONSE_TABLE;

TResult TListItemObject::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  const TResult r = TListBox::WindowProc(msg, p1, p2);
  if (ForwardedInput(msg)) ForwardToPage(*this, msg, p1, p2);
  return r;
}

// ---------------------------------------------------------------- kind 19: the transparent list

TListItemTransObject::TListItemTransObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, OwnRecord<TListItemData>(data)),
      TListWindow(owner, ObjectRect(info).left, ObjectRect(info).top, ObjectRect(info).right,
                  ObjectRect(info).bottom, static_cast<int>(info.Target.Number), &model_, &style_) {
  style_.ShowHeader = style_.ShowFooter = style_.ResizableColumns = style_.ShowFooterBox = 0;
  Attr.Style = WS_CHILD;
  if (TObjectElement::Info.Property.Flags & kPropHScroll) Attr.Style |= WS_HSCROLL;
  if (TObjectElement::Info.Property.Flags & kPropVScroll) Attr.Style |= WS_VSCROLL;
  Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
  TListItemData* d = ListData();
  style_.WindowColour = d->BackgroundColour;
  style_.FontChoice = d->FontChoice();
  style_.RecreateGdiObjects();
  if (d->Has(kListWholeRows)) {
    TObjectRect& r = TObjectElement::Info.Rect;
    r.Bottom = r.Top + style_.WholeRowsHeight(r.Bottom - r.Top);
    Attr.H = r.Bottom - r.Top;
  }
  TObjectElement::Visible = 0;
  if (owner && owner->HWindow) Create();
}

TListItemTransObject::~TListItemTransObject() {
  if (HWindow && ::IsWindow(HWindow)) TObjectElement::Hide(false, false);
  // The window goes before the rows and style it draws.
  if (HWindow && ::IsWindow(HWindow)) ::DestroyWindow(HWindow);
  style_.ReleaseGdiObjects();
  model_.Clear();
}

TListItemData* TListItemTransObject::ListData() const {
  return static_cast<TListItemData*>(TObjectElement::Data.get());
}

void TListItemTransObject::SetupWindow() {
  TListWindow::SetupWindow();
  PlaceAtStoredRect(*this, HWindow);
  ApplySettings();
  Fill();
}

void TListItemTransObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  TData* own = TObjectElement::Data.release();
  TObjectElement::Data.reset(OwnRecord<TListItemData>(own));
  ApplySettings();
  Fill();
}

void TListItemTransObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  ApplySettings();
  Fill();
}

void TListItemTransObject::ApplySettings() {
  TListItemData* d = ListData();
  style_.WindowColour = d->BackgroundColour;
  style_.FontChoice = d->FontChoice();
  style_.RecreateGdiObjects();
  if (Manager()) Manager()->Relayout();
  SyncScrollProperties(TObjectElement::Info.Property.Flags, d->Flags);
}

void TListItemTransObject::Fill() {
  TOpenProjectLists project;
  const TListFill fill = FillListItems(*ListData(), project);
  model_.Clear();
  for (const TListItem& item : fill.Items) model_.Add(item);
  TListWindowManager* m = Manager();
  if (!m) return;
  const TListMode mode = ListModeOf(ListData()->Flags);
  m->Relayout();
  if (IsDatabaseMode(mode)) m->SetCurrentRow(-1, false);
  if (fill.Select >= 0) m->SetCurrentRow(fill.Select, false);
  if (mode == TListMode::Pages && !model_.IsValidRow(m->CurrentRow())) m->SetCurrentRow(-1, false);
  ::InvalidateRect(HWindow, nullptr, FALSE);
}

void TListItemTransObject::Choose() {
  TOpenProjectLists project;
  const int32_t row = Manager() ? Manager()->CurrentRow() : -1;
  ChooseListItem(*ListData(), model_.Items(), row, project, lastChosen_);
}

void TListItemTransObject::SelectEntry(int32_t entry) {
  TObjectElement::SelectEntry(entry);
  TListWindowManager* m = Manager();
  TOpenProjectLists project;
  bool refill = false;
  const int32_t at = FollowListRecord(*ListData(), model_.Items(), m ? m->CurrentRow() : -1, entry, project, refill);
  if (at >= 0 && m) m->SetCurrentRow(at, false);
  if (refill) Fill();
}

TResult TListItemTransObject::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  if (msg == kListRowChanged) {
    Choose();
    return 0;
  }
  const TResult r = TListWindow::WindowProc(msg, p1, p2);
  if (ForwardedInput(msg)) ForwardToPage(*this, msg, p1, p2);
  return r;
}

void ResetListDisplay(TObjectElement* object) {
  // The page's database is loaded after the objects set up their windows:
  // the database lists fill from it now.
  if (auto* list = dynamic_cast<TListItemTransObject*>(object)) {
    list->DropBackground();
    if (IsDatabaseMode(ListModeOf(list->ListData()->Flags))) list->Fill();
  } else if (auto* box = dynamic_cast<TListItemObject*>(object)) {
    if (IsDatabaseMode(ListModeOf(box->ListData()->Flags))) box->Fill();
  } else if (auto* combo = dynamic_cast<TComboItemObject*>(object)) {
    if (IsDatabaseMode(ListModeOf(combo->ComboData()->Flags))) combo->FillList();
  }
}

// ---------------------------------------------------------------- kind 11: the combo box

TComboItemObject::TComboItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, OwnRecord<TComboItemData>(data)),
      TComboBox(owner, static_cast<int>(info.Target.Number), ObjectRect(info).left, ObjectRect(info).top,
                ObjectRect(info).Width(), ObjectRect(info).Height(), WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST) {
  Attr.Style = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;
  if (TObjectElement::Info.Property.Flags & kPropHScroll) Attr.Style |= WS_HSCROLL;
  if (TObjectElement::Info.Property.Flags & kPropVScroll) Attr.Style |= WS_VSCROLL;
  Attr.Style &= ~static_cast<uint32_t>(CBS_SORT | WS_BORDER | WS_VISIBLE);
  Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
  TObjectElement::Visible = 0;
  if (owner && owner->HWindow) Create();
}

TComboItemObject::~TComboItemObject() {
  if (HWindow && ::IsWindow(HWindow)) TObjectElement::Hide(false, false);
  if (HWindow && ::IsWindow(HWindow)) ::DestroyWindow(HWindow);
}

TComboItemData* TComboItemObject::ComboData() const {
  return static_cast<TComboItemData*>(TObjectElement::Data.get());
}

void TComboItemObject::SetupWindow() {
  TComboBox::SetupWindow();
  PlaceAtStoredRect(*this, HWindow);
  ApplyData();
  FillList();
}

void TComboItemObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  TData* own = TObjectElement::Data.release();
  TObjectElement::Data.reset(OwnRecord<TComboItemData>(own));
  ApplyData();
  FillList();
}

void TComboItemObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  ApplyData();
  FillList();
}

void TComboItemObject::ApplyData() {
  TComboItemData* d = ComboData();
  SyncScrollProperties(TObjectElement::Info.Property.Flags, d->Flags);
  if (HWindow && d->Font) SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(static_cast<HFONT>(*d->Font)), FALSE);
}

HBRUSH TComboItemObject::GetBackgroundBrush(HDC dc, HWND, uint) {
  TComboItemData* d = ComboData();
  return RecordBrush(dc, d->BackgroundColour, d->FontChoice().Color, d->Brush);
}

void TComboItemObject::FillList() {
  TOpenProjectLists project;
  TListFill fill = FillListItems(*ComboData(), project);
  items_ = std::move(fill.Items);
  if (!HWindow) return;
  ClearList();
  for (const TListItem& item : items_) {
    const int at = AddString(item.Text.c_str());
    if (at >= 0) SetItemData(at, static_cast<LPARAM>(item.Value));
  }
  const TListMode mode = ListModeOf(ComboData()->Flags);
  if (IsDatabaseMode(mode) && !items_.empty()) SetSelIndex(fill.Select >= 0 ? fill.Select : 0);
}

void TComboItemObject::OnSelChange() {
  TOpenProjectLists project;
  int32_t unused = -1;
  ChooseListItem(*ComboData(), items_, GetSelIndex(), project, unused);
}

void TComboItemObject::SelectEntry(int32_t entry) {
  TObjectElement::SelectEntry(entry);
  TOpenProjectLists project;
  bool refill = false;
  const int32_t at = FollowListRecord(*ComboData(), items_, HWindow ? GetSelIndex() : -1, entry, project, refill);
  if (at >= 0 && HWindow) SetSelIndex(at);
  if (refill) FillList();
}

DEFINE_RESPONSE_TABLE1(TComboItemObject, TComboBox)
  EV_NOTIFY_AT_CHILD(CBN_SELCHANGE, OnSelChange),
END_RESPONSE_TABLE;

TResult TComboItemObject::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  const TResult r = TComboBox::WindowProc(msg, p1, p2);
  if (ForwardedInput(msg)) ForwardToPage(*this, msg, p1, p2);
  return r;
}

TObjectElement* CreateListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TListItemObject(owner, info, data);
}

TObjectElement* CreateListItemTransObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TListItemTransObject(owner, info, data);
}

TObjectElement* CreateComboItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TComboItemObject(owner, info, data);
}
