// The control classes over the system's control window classes.
#include <string>
#include <vector>

#include "platform/owl/button.h"
#include "platform/owl/combobox.h"
#include "platform/owl/edit.h"
#include "platform/owl/listbox.h"
#include "platform/owl/static.h"

// ---- TControl ----

TControl::TControl(TWindow* parent, int id, const char* title, int x, int y, int w, int h, TModule* module)
    : TWindow(parent, title, module) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
  Attr.Id = id;
  Attr.X = x;
  Attr.Y = y;
  Attr.W = w;
  Attr.H = h;
}

TControl::TControl(TWindow* parent, int resourceId, TModule* module) : TWindow(parent, nullptr, module) {
  SetFlag(wfFromResource);
  DisableAutoCreate();
  Attr.Id = resourceId;
}

void TControl::DrawItem(DRAWITEMSTRUCT& info) {
  switch (info.itemAction) {
    case ODA_DRAWENTIRE:
      ODADrawEntire(info);
      break;
    case ODA_FOCUS:
      ODAFocus(info);
      break;
    case ODA_SELECT:
      ODASelect(info);
      break;
    default:
      break;
  }
}

void TControl::ODADrawEntire(DRAWITEMSTRUCT&) {}
void TControl::ODAFocus(DRAWITEMSTRUCT&) {}
void TControl::ODASelect(DRAWITEMSTRUCT&) {}
void TControl::MeasureItem(MEASUREITEMSTRUCT&) {}
int TControl::CompareItem(COMPAREITEMSTRUCT&) { return 0; }
void TControl::DeleteItem(DELETEITEMSTRUCT&) {}

// ---- buttons ----

TButton::TButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h, bool isDefault,
                 TModule* module)
    : TControl(parent, id, text, x, y, w, h, module), IsDefPB(isDefault) {
  Attr.Style |= isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

TButton::TButton(TWindow* parent, int resourceId, TModule* module) : TControl(parent, resourceId, module) {}

uint TButton::GetState() const { return static_cast<uint>(SendMessage(BM_GETSTATE)); }
void TButton::SetState(uint state) { SendMessage(BM_SETSTATE, state); }
void TButton::SetStyle(uint style, bool redraw) { SendMessage(BM_SETSTYLE, style, redraw); }
void TButton::Click() { SendMessage(BM_CLICK); }

TGroupBox::TGroupBox(TWindow* parent, int id, const char* text, int x, int y, int w, int h, TModule* module)
    : TControl(parent, id, text, x, y, w, h, module) {
  Attr.Style = (Attr.Style & ~WS_TABSTOP) | BS_GROUPBOX;
}

TGroupBox::TGroupBox(TWindow* parent, int resourceId, TModule* module) : TControl(parent, resourceId, module) {}

TCheckBox::TCheckBox(TWindow* parent, int id, const char* title, int x, int y, int w, int h, TGroupBox* group,
                     TModule* module)
    : TButton(parent, id, title, x, y, w, h, false, module), Group(group) {
  Attr.Style = (Attr.Style & ~BS_DEFPUSHBUTTON) | BS_AUTOCHECKBOX;
}

TCheckBox::TCheckBox(TWindow* parent, int resourceId, TGroupBox* group, TModule* module)
    : TButton(parent, resourceId, module), Group(group) {}

uint TCheckBox::GetCheck() const { return static_cast<uint>(SendMessage(BM_GETCHECK)); }
void TCheckBox::SetCheck(uint check) { SendMessage(BM_SETCHECK, check); }
void TCheckBox::Toggle() { SetCheck(GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); }

TRadioButton::TRadioButton(TWindow* parent, int id, const char* title, int x, int y, int w, int h, TGroupBox* group,
                           TModule* module)
    : TCheckBox(parent, id, title, x, y, w, h, group, module) {
  Attr.Style = (Attr.Style & ~BS_AUTOCHECKBOX) | BS_AUTORADIOBUTTON;
}

TRadioButton::TRadioButton(TWindow* parent, int resourceId, TGroupBox* group, TModule* module)
    : TCheckBox(parent, resourceId, group, module) {}

// ---- static and edit ----

TStatic::TStatic(TWindow* parent, int id, const char* title, int x, int y, int w, int h, uint textLimit,
                 TModule* module)
    : TControl(parent, id, title, x, y, w, h, module), TextLimit(textLimit) {
  Attr.Style = (Attr.Style & ~WS_TABSTOP) | SS_LEFT;
}

TStatic::TStatic(TWindow* parent, int resourceId, uint textLimit, TModule* module)
    : TControl(parent, resourceId, module), TextLimit(textLimit) {}

std::string TStatic::GetText() const {
  const int n = GetTextLen();
  if (n <= 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  const int got = GetText(buf.data(), n + 1);
  return std::string(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

TEdit::TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, uint textLimit, bool multiline,
             TModule* module)
    : TStatic(parent, id, text, x, y, w, h, textLimit, module) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL;
  if (multiline) Attr.Style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL;
}

TEdit::TEdit(TWindow* parent, int resourceId, uint textLimit, TModule* module)
    : TStatic(parent, resourceId, textLimit, module) {}

void TEdit::SetupWindow() {
  TStatic::SetupWindow();
  if (TextLimit > 0) LimitText(TextLimit - 1);
}

int TEdit::GetLineLength(int lineNumber) const {
  const int index = lineNumber < 0 ? -1 : GetLineIndex(lineNumber);
  return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<TParam1>(index)));
}

bool TEdit::GetLine(char* text, int size, int lineNumber) const {
  if (!text || size <= 0) return false;
  const int len = GetLineLength(lineNumber);
  if (len + 1 > size) {
    text[0] = 0;
    return false;
  }
  if (len == 0) {
    text[0] = 0;
    return true;
  }
  // EM_GETLINE takes the buffer size in its first word.
  *reinterpret_cast<WORD*>(text) = static_cast<WORD>(size > 0xFFFF ? 0xFFFF : size);
  const int got = static_cast<int>(SendMessage(EM_GETLINE, lineNumber, reinterpret_cast<TParam2>(text)));
  text[got < size ? got : size - 1] = 0;
  return got == len;
}

void TEdit::GetSelection(uint& startPos, uint& endPos) const {
  DWORD s = 0, e = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<TParam1>(&s), reinterpret_cast<TParam2>(&e));
  startPos = s;
  endPos = e;
}

bool TEdit::DeleteSelection() {
  uint s, e;
  GetSelection(s, e);
  if (s == e) return false;
  SendMessage(WM_CLEAR);
  return true;
}

// ---- list box ----

TListBox::TListBox(TWindow* parent, int id, int x, int y, int w, int h, TModule* module)
    : TControl(parent, id, nullptr, x, y, w, h, module) {
  Attr.Style |= LBS_STANDARD;
}

TListBox::TListBox(TWindow* parent, int resourceId, TModule* module) : TControl(parent, resourceId, module) {}

int TListBox::AddString(const char* str) {
  return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<TParam2>(str)));
}
int TListBox::InsertString(const char* str, int index) {
  return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<TParam1>(index), reinterpret_cast<TParam2>(str)));
}
int TListBox::DeleteString(int index) { return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<TParam1>(index))); }
void TListBox::ClearList() { SendMessage(LB_RESETCONTENT); }
int TListBox::GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
int TListBox::FindString(const char* find, int indexStart) const {
  return static_cast<int>(SendMessage(LB_FINDSTRING, static_cast<TParam1>(indexStart), reinterpret_cast<TParam2>(find)));
}
int TListBox::FindExactString(const char* find, int indexStart) const {
  return static_cast<int>(
      SendMessage(LB_FINDSTRINGEXACT, static_cast<TParam1>(indexStart), reinterpret_cast<TParam2>(find)));
}
int TListBox::GetString(char* str, int index) const {
  return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<TParam1>(index), reinterpret_cast<TParam2>(str)));
}
std::string TListBox::GetString(int index) const {
  const int n = GetStringLen(index);
  if (n < 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(n) + 1, 0);
  const int got = GetString(buf.data(), index);
  return std::string(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}
int TListBox::GetStringLen(int index) const {
  return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<TParam1>(index)));
}
LPARAM TListBox::GetItemData(int index) const { return SendMessage(LB_GETITEMDATA, static_cast<TParam1>(index)); }
int TListBox::SetItemData(int index, LPARAM data) {
  return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<TParam1>(index), data));
}
int TListBox::GetSelIndex() const {
  if (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    int index = -1;
    return GetSelIndexes(&index, 1) == 1 ? index : -1;
  }
  return static_cast<int>(SendMessage(LB_GETCURSEL));
}
int TListBox::SetSelIndex(int index) {
  if (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) return SetSel(index, true);
  return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<TParam1>(index)));
}
int TListBox::SetSelString(const char* find, int indexStart) {
  return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<TParam1>(indexStart), reinterpret_cast<TParam2>(find)));
}
int TListBox::GetItemHeight(int index) const {
  return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, static_cast<TParam1>(index)));
}
int TListBox::SetItemHeight(int index, int height) {
  return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, static_cast<TParam1>(index), MAKELPARAM(height, 0)));
}
int TListBox::GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
int TListBox::SetTopIndex(int index) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<TParam1>(index))); }
int TListBox::GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
int TListBox::GetSelIndexes(int* indexes, int maxCount) const {
  return static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<TParam1>(maxCount), reinterpret_cast<TParam2>(indexes)));
}
bool TListBox::GetSel(int index) const { return SendMessage(LB_GETSEL, static_cast<TParam1>(index)) > 0; }
int TListBox::SetSel(int index, bool select) {
  return static_cast<int>(SendMessage(LB_SETSEL, select, static_cast<TParam2>(index)));
}
int TListBox::GetCaretIndex() const { return static_cast<int>(SendMessage(LB_GETCARETINDEX)); }
int TListBox::SetCaretIndex(int index, bool partScrollOk) {
  return static_cast<int>(SendMessage(LB_SETCARETINDEX, static_cast<TParam1>(index), partScrollOk));
}
int TListBox::GetItemRect(int index, TRect& rect) const {
  return static_cast<int>(SendMessage(LB_GETITEMRECT, static_cast<TParam1>(index), reinterpret_cast<TParam2>(&rect)));
}
void TListBox::SetHorizontalExtent(int extent) { SendMessage(LB_SETHORIZONTALEXTENT, static_cast<TParam1>(extent)); }
int TListBox::GetHorizontalExtent() const { return static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT)); }
void TListBox::SetColumnWidth(int width) { SendMessage(LB_SETCOLUMNWIDTH, static_cast<TParam1>(width)); }
int TListBox::InitStorage(int numItems, int numBytes) {
  return static_cast<int>(SendMessage(LB_INITSTORAGE, static_cast<TParam1>(numItems), numBytes));
}

// ---- combo box ----

TComboBox::TComboBox(TWindow* parent, int id, int x, int y, int w, int h, uint32_t style, uint textLimit,
                     TModule* module)
    : TListBox(parent, id, x, y, w, h, module), TextLimit(textLimit) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | style;
}

TComboBox::TComboBox(TWindow* parent, int resourceId, uint textLimit, TModule* module)
    : TListBox(parent, resourceId, module), TextLimit(textLimit) {}

void TComboBox::SetupWindow() {
  TListBox::SetupWindow();
  if (TextLimit > 0) SendMessage(CB_LIMITTEXT, TextLimit - 1);
}

void TComboBox::SetTextLimit(uint textLimit) {
  TextLimit = textLimit;
  if (HWindow && TextLimit > 0) SendMessage(CB_LIMITTEXT, TextLimit - 1);
}

int TComboBox::AddString(const char* str) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<TParam2>(str)));
}
int TComboBox::InsertString(const char* str, int index) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<TParam1>(index), reinterpret_cast<TParam2>(str)));
}
int TComboBox::DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<TParam1>(index))); }
void TComboBox::ClearList() { SendMessage(CB_RESETCONTENT); }
int TComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int TComboBox::FindString(const char* find, int indexStart) const {
  return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<TParam1>(indexStart), reinterpret_cast<TParam2>(find)));
}
int TComboBox::FindExactString(const char* find, int indexStart) const {
  return static_cast<int>(
      SendMessage(CB_FINDSTRINGEXACT, static_cast<TParam1>(indexStart), reinterpret_cast<TParam2>(find)));
}
int TComboBox::GetString(char* str, int index) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<TParam1>(index), reinterpret_cast<TParam2>(str)));
}
int TComboBox::GetStringLen(int index) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<TParam1>(index)));
}
LPARAM TComboBox::GetItemData(int index) const { return SendMessage(CB_GETITEMDATA, static_cast<TParam1>(index)); }
int TComboBox::SetItemData(int index, LPARAM data) {
  return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<TParam1>(index), data));
}
int TComboBox::GetSelIndex() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int TComboBox::SetSelIndex(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<TParam1>(index))); }
int TComboBox::SetSelString(const char* find, int indexStart) {
  return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<TParam1>(indexStart), reinterpret_cast<TParam2>(find)));
}
int TComboBox::GetItemHeight(int index) const {
  return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<TParam1>(index)));
}
int TComboBox::SetItemHeight(int index, int height) {
  return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<TParam1>(index), height));
}
int TComboBox::GetTopIndex() const { return static_cast<int>(SendMessage(CB_GETTOPINDEX)); }
int TComboBox::SetTopIndex(int index) { return static_cast<int>(SendMessage(CB_SETTOPINDEX, static_cast<TParam1>(index))); }

std::string TComboBox::GetText() const {
  const int n = GetTextLen();
  if (n <= 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  const int got = GetText(buf.data(), n + 1);
  return std::string(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void TComboBox::SetText(const char* text) {
  // A drop-down list has no edit field: select the matching item instead.
  if ((GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
    SetSelIndex(text && *text ? FindExactString(text, -1) : -1);
    return;
  }
  SetWindowText(text);
}

bool TComboBox::GetEditSel(int& startPos, int& endPos) const {
  DWORD s = 0, e = 0;
  const TResult r = SendMessage(CB_GETEDITSEL, reinterpret_cast<TParam1>(&s), reinterpret_cast<TParam2>(&e));
  startPos = static_cast<int>(s);
  endPos = static_cast<int>(e);
  return r != CB_ERR;
}
