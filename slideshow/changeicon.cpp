#include "slideshow/changeicon.h"

#include <shellapi.h>

#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/helpbutton.h"
#include "foundation/resstring.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_slideshow.h"

DEFINE_RESPONSE_TABLE1(TChangeIconDialog, TDialog)
  EV_LBN_DBLCLK(kIconList, EvIconDoubleClick),
  EV_BN_CLICKED(kIconBrowse, CmBrowse),
  EV_COMMAND(IDOK, CmOk),
END_RESPONSE_TABLE;

namespace {
// ExtractIcon's results up to this value are errors or "no icon".
constexpr UINT_PTR kNoIcon = 32;
constexpr int kLastIconPosition = 65534;

bool IsIcon(HICON icon) { return reinterpret_cast<UINT_PTR>(icon) > kNoIcon; }
}  // namespace

int TIconList::LoadIcons(const char* fileName) {
  int added = 0;
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  for (int i = 0; i <= kLastIconPosition; ++i) {
    HICON icon = ::ExtractIconA(instance, fileName, static_cast<UINT>(i));
    if (!IsIcon(icon)) break;
    const int at = static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(icon)));
    if (at >= 0) {
      ++added;
    } else {
      ::DestroyIcon(icon);
    }
  }
  return added;
}

void TIconList::MeasureItem(MEASUREITEMSTRUCT& info) {
  info.itemWidth = static_cast<UINT>(::GetSystemMetrics(SM_CXICON) + kIconMarginX);
  info.itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYICON) + kIconMarginY + ::GetSystemMetrics(SM_CYHSCROLL));
}

void TIconList::ODADrawEntire(DRAWITEMSTRUCT& info) {
  if (static_cast<int>(info.itemID) < 0) return;
  const bool selected = (info.itemState & ODS_SELECTED) != 0;
  const COLORREF old = ::SetBkColor(info.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::ExtTextOutA(info.hDC, 0, 0, ETO_OPAQUE, &info.rcItem, nullptr, 0, nullptr);
  ::DrawIcon(info.hDC, info.rcItem.left + kIconMarginX / 2, info.rcItem.top + kIconMarginY / 2,
             reinterpret_cast<HICON>(info.itemData));
  ::SetBkColor(info.hDC, old);
  if (info.itemState & ODS_FOCUS) ::DrawFocusRect(info.hDC, &info.rcItem);
}

void TIconList::ODAFocus(DRAWITEMSTRUCT& info) { ::DrawFocusRect(info.hDC, &info.rcItem); }

void TIconList::DeleteItem(DELETEITEMSTRUCT& info) {
  if (info.itemData) ::DestroyIcon(reinterpret_cast<HICON>(info.itemData));
}

TChangeIconDialog::TChangeIconDialog(TWindow* parent, string* fileName, int16_t* iconIndex)
    : TDialog(parent, IDD_CHANGEICON), FileName(fileName), IconIndex(iconIndex) {
  Icons = new TIconList(this, kIconList);
  Browse = new TButton(this, kIconBrowse);
  FileNameEdit = new TEdit(this, kIconFileName, MAX_PATH + 1);
  Help = new THelpButton(this, 998, 0);
}

void TChangeIconDialog::SetupWindow() {
  TDialog::SetupWindow();
  RECT r;
  ::GetWindowRect(Icons->HWindow, &r);
  ::MapWindowPoints(nullptr, HWindow, reinterpret_cast<POINT*>(&r), 2);
  const int height = ::GetSystemMetrics(SM_CYICON) + ::GetSystemMetrics(SM_CYHSCROLL) + kIconMarginY + kIconMarginY;
  ::MoveWindow(Icons->HWindow, r.left, r.top, r.right - r.left, height, TRUE);
  Icons->SetColumnWidth(::GetSystemMetrics(SM_CXICON) + kIconMarginX);
  // The list may have been measured before it was bound.
  Icons->SetItemHeight(0, ::GetSystemMetrics(SM_CYICON) + kIconMarginY + ::GetSystemMetrics(SM_CYHSCROLL));
  if (FileName && !FileName->is_null()) {
    FileNameEdit->SetWindowText(FileName->c_str());
    if (LoadFileIcons(FileName->c_str()) && IconIndex) Icons->SetSelIndex(*IconIndex);
  }
  FileNameEdit->SetReadOnly(true);
}

bool TChangeIconDialog::LoadFileIcons(const char* name) {
  Icons->ClearList();
  if (!name || !*name) return false;
  HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  HICON probe = ::ExtractIconA(::GetModuleHandleA(nullptr), name, 0);
  const bool any = IsIcon(probe);
  if (any) {
    ::DestroyIcon(probe);
    Icons->SetRedraw(false);
    Icons->LoadIcons(name);
    Icons->SetRedraw(true);
    Icons->Invalidate(true);
    Icons->SetSelIndex(0);
  } else {
    FileNameEdit->SetWindowText("");
    UiMessageBox(HWindow, LoadResString(IDS_ICON_NONE), ProgramTitle(), MB_OK | MB_ICONEXCLAMATION);
  }
  ::SetCursor(old);
  return any;
}

void TChangeIconDialog::CmBrowse() {
  char name[MAX_PATH] = {};
  FileNameEdit->GetWindowText(name, sizeof name);
  if (!SelectFileName(this, name, true, LoadResString(IDS_ICON_FILTER), nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                      nullptr, nullptr))
    return;
  FileNameEdit->SetWindowText(name);
  LoadFileIcons(name);
}

void TChangeIconDialog::EvIconDoubleClick() { SendMessage(WM_COMMAND, IDOK, 0); }

bool TChangeIconDialog::CanClose() {
  return FileNameEdit->GetWindowTextLength() > 0 && Icons->GetSelIndex() >= 0 && TDialog::CanClose();
}

void TChangeIconDialog::CmOk() {
  // The caller sees the choice only when the dialog really closes.
  if (!CanClose()) return;
  char name[MAX_PATH + 1] = {};
  FileNameEdit->GetWindowText(name, sizeof name);
  if (FileName) *FileName = name;
  if (IconIndex) *IconIndex = static_cast<int16_t>(Icons->GetSelIndex());
  Destroy(IDOK);
}

void TChangeIconDialog::CleanupWindow() {
  Icons->ClearList();
  TDialog::CleanupWindow();
}
