#include "platform/owl/commdial.h"

#include <cstring>
#include <string>

#include "platform/owl/module.h"
#include "platform/owl/uiservice.h"

static_assert(sizeof(TColor) == sizeof(COLORREF), "custom colours pass as a COLORREF array");

namespace {
char* Dup(const char* s, size_t size = 0) {
  if (!s && !size) return nullptr;
  const size_t n = s ? std::strlen(s) : 0;
  const size_t cap = size > n ? size : n + 1;
  char* c = new char[cap];
  std::memset(c, 0, cap);
  if (s) std::memcpy(c, s, n);
  return c;
}

// "a|b|c|d|" -> "a\0b\0c\0d\0\0".
char* FilterFromBars(const char* filter) {
  if (!filter) return nullptr;
  const size_t n = std::strlen(filter);
  char* c = new char[n + 2];
  for (size_t i = 0; i < n; ++i) c[i] = filter[i] == '|' ? '\0' : filter[i];
  c[n] = c[n + 1] = '\0';
  return c;
}

size_t FilterLength(const char* f) {
  if (!f) return 0;
  size_t i = 0;
  while (f[i] || f[i + 1]) ++i;
  return i + 2;
}
}  // namespace

// ---- TCommonDialog ----

TCommonDialog::TCommonDialog(TWindow* parent, const char* title, TModule* module)
    : TDialog(parent, TResId(), module) {
  if (title) SetCaption(title);
}

int TCommonDialog::Execute() { return DoExecute(); }
void TCommonDialog::CmOk() { DefaultProcessing(); }
void TCommonDialog::CmCancel() { DefaultProcessing(); }

void TCommonDialog::Destroy(int retVal) {
  if (!HWindow) return;
  // The system dialog ends itself; an explorer-style dialog's template is a
  // child of it.
  HWND dlg = (GetStyle() & WS_CHILD) ? ::GetParent(HWindow) : HWindow;
  ::PostMessageA(dlg, WM_COMMAND, retVal == IDOK ? IDOK : IDCANCEL, 0);
}

UINT_PTR CALLBACK TCommonDialog::Hook(HWND wnd, UINT msg, WPARAM p1, LPARAM p2) {
  if (msg == WM_INITDIALOG && !TWindow::GetWindowPtr(wnd)) {
    const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(p2);
    SetCreationWindow(reinterpret_cast<TWindow*>(ofn->lCustData));
    return static_cast<UINT_PTR>(OwlDialogProc(wnd, msg, p1, p2));
  }
  if (auto* dialog = dynamic_cast<TCommonDialog*>(TWindow::GetWindowPtr(wnd)))
    return static_cast<UINT_PTR>(dialog->DialogFunction(msg, p1, p2));
  return static_cast<UINT_PTR>(OwlDialogProc(wnd, msg, p1, p2));
}

INT_PTR TCommonDialog::DialogFunction(uint msg, TParam1 p1, TParam2 p2) {
  return OwlDialogProc(HWindow, msg, p1, p2);
}

// ---- TOpenSaveDialog ----

TOpenSaveDialog::TData::TData(uint32_t flags, const char* filter, const char* customFilter, const char* initialDir,
                              const char* defExt, int maxPath, int filterIndex)
    : Flags(flags), FilterIndex(filterIndex) {
  MaxPath = maxPath > 0 ? maxPath : MAX_PATH;
  FileName = Dup(nullptr, static_cast<size_t>(MaxPath));
  SetFilter(filter);
  SetCustomFilter(customFilter);
  SetInitialDir(initialDir);
  SetDefExt(defExt);
}

TOpenSaveDialog::TData::TData(const TData& other) { CopyFrom(other); }

TOpenSaveDialog::TData& TOpenSaveDialog::TData::operator=(const TData& other) {
  if (this != &other) {
    Clear();
    CopyFrom(other);
  }
  return *this;
}

TOpenSaveDialog::TData::~TData() { Clear(); }

void TOpenSaveDialog::TData::Clear() {
  delete[] FileName;
  delete[] Filter;
  delete[] CustomFilter;
  delete[] InitialDir;
  delete[] DefExt;
  FileName = Filter = CustomFilter = InitialDir = DefExt = nullptr;
}

void TOpenSaveDialog::TData::CopyFrom(const TData& o) {
  Flags = o.Flags;
  Error = o.Error;
  FilterIndex = o.FilterIndex;
  MaxPath = o.MaxPath;
  FileName = new char[static_cast<size_t>(MaxPath)];
  std::memcpy(FileName, o.FileName, static_cast<size_t>(MaxPath));
  Filter = nullptr;
  if (o.Filter) {
    const size_t n = FilterLength(o.Filter);
    Filter = new char[n];
    std::memcpy(Filter, o.Filter, n);
  }
  CustomFilter = nullptr;
  if (o.CustomFilter) {
    CustomFilter = new char[CustomFilterSize];
    std::memcpy(CustomFilter, o.CustomFilter, CustomFilterSize);
  }
  InitialDir = Dup(o.InitialDir);
  DefExt = Dup(o.DefExt);
}

void TOpenSaveDialog::TData::SetFilter(const char* filter) {
  delete[] Filter;
  Filter = FilterFromBars(filter);
}

void TOpenSaveDialog::TData::SetCustomFilter(const char* filter) {
  delete[] CustomFilter;
  CustomFilter = nullptr;
  if (!filter) return;
  CustomFilter = new char[CustomFilterSize];
  std::memset(CustomFilter, 0, CustomFilterSize);
  char* bars = FilterFromBars(filter);
  std::memcpy(CustomFilter, bars, std::min<size_t>(FilterLength(bars), CustomFilterSize - 2));
  delete[] bars;
}

void TOpenSaveDialog::TData::SetInitialDir(const char* dir) {
  delete[] InitialDir;
  InitialDir = Dup(dir);
}

void TOpenSaveDialog::TData::SetDefExt(const char* ext) {
  delete[] DefExt;
  DefExt = Dup(ext);
}

void TOpenSaveDialog::TData::SetMaxPath(int maxPath) {
  if (maxPath <= 0) maxPath = MAX_PATH;
  char* name = Dup(nullptr, static_cast<size_t>(maxPath));
  if (FileName && std::strlen(FileName) < static_cast<size_t>(maxPath)) std::strcpy(name, FileName);
  delete[] FileName;
  FileName = name;
  MaxPath = maxPath;
}

TOpenSaveDialog::TOpenSaveDialog(TWindow* parent, TData& data, TResId templateId, const char* title,
                                 TModule* module)
    : TCommonDialog(parent, title, module), Data(data), TemplateId(templateId) {}

void TOpenSaveDialog::Prepare(OPENFILENAMEA& ofn) {
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = OwnerWindow();
  ofn.hInstance = GetModule()->GetInstance();
  ofn.lpstrFilter = Data.Filter;
  ofn.lpstrCustomFilter = Data.CustomFilter;
  ofn.nMaxCustFilter = Data.CustomFilter ? TData::CustomFilterSize : 0;
  ofn.nFilterIndex = static_cast<DWORD>(Data.FilterIndex);
  ofn.lpstrFile = Data.FileName;
  ofn.nMaxFile = static_cast<DWORD>(Data.MaxPath);
  ofn.lpstrInitialDir = Data.InitialDir;
  ofn.lpstrTitle = Title;
  ofn.Flags = Data.Flags;
  ofn.lpstrDefExt = Data.DefExt;
  if (!TemplateId.IsNull()) {
    ofn.Flags |= OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
    ofn.lpTemplateName = TemplateId;
    ofn.lpfnHook = &TCommonDialog::Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
  }
}

int TOpenSaveDialog::Finish(bool ok, const OPENFILENAMEA& ofn) {
  Data.FilterIndex = static_cast<int>(ofn.nFilterIndex);
  Data.Flags = ofn.Flags;
  if (!TemplateId.IsNull()) Data.Flags &= ~static_cast<uint32_t>(OFN_ENABLETEMPLATE | OFN_ENABLEHOOK);
  Data.Error = ok ? 0 : GetUiService().DialogError();
  // The name buffer is always terminated for the caller.
  if (Data.FileName && Data.MaxPath > 0 && !(Data.Flags & OFN_ALLOWMULTISELECT)) Data.FileName[Data.MaxPath - 1] = 0;
  return ok ? IDOK : IDCANCEL;
}

int TFileOpenDialog::DoExecute() {
  OPENFILENAMEA ofn;
  Prepare(ofn);
  const bool ok = GetUiService().OpenFileDialog(ofn);
  return Finish(ok, ofn);
}

int TFileSaveDialog::DoExecute() {
  OPENFILENAMEA ofn;
  Prepare(ofn);
  const bool ok = GetUiService().SaveFileDialog(ofn);
  return Finish(ok, ofn);
}

// ---- colour and font ----

int TChooseColorDialog::DoExecute() {
  COLORREF own[16];
  for (COLORREF& c : own) c = RGB(255, 255, 255);
  CHOOSECOLORA cc;
  std::memset(&cc, 0, sizeof cc);
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = OwnerWindow();
  cc.rgbResult = Data.Color.GetValue();
  cc.lpCustColors = Data.CustColors ? reinterpret_cast<COLORREF*>(Data.CustColors) : own;
  cc.Flags = Data.Flags;
  const bool ok = GetUiService().ColorDialog(cc);
  Data.Error = ok ? 0 : GetUiService().DialogError();
  if (ok) {
    Data.Color = TColor(cc.rgbResult);
    Data.Flags = cc.Flags;
  }
  return ok ? IDOK : IDCANCEL;
}

int TChooseFontDialog::DoExecute() {
  CHOOSEFONTA cf;
  std::memset(&cf, 0, sizeof cf);
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = OwnerWindow();
  cf.hDC = Data.DC;
  cf.lpLogFont = &Data.LogFont;
  cf.iPointSize = Data.PointSize;
  cf.Flags = Data.Flags;
  cf.rgbColors = Data.Color;
  cf.lpszStyle = Data.Style;
  cf.nFontType = Data.FontType;
  cf.nSizeMin = Data.SizeMin;
  cf.nSizeMax = Data.SizeMax;
  const bool ok = GetUiService().FontDialog(cf);
  Data.Error = ok ? 0 : GetUiService().DialogError();
  if (ok) {
    Data.PointSize = cf.iPointSize;
    Data.Color = cf.rgbColors;
    Data.FontType = cf.nFontType;
    Data.Flags = cf.Flags;
  }
  // The face name stays terminated whatever the dialog wrote.
  Data.LogFont.lfFaceName[LF_FACESIZE - 1] = 0;
  return ok ? IDOK : IDCANCEL;
}

// ---- print ----

TPrintDialog::TData::~TData() {
  Unlock();
  if (HDevMode) GlobalFree(HDevMode);
  if (HDevNames) GlobalFree(HDevNames);
  if (DC) DeleteDC(DC);
}

void TPrintDialog::TData::Unlock() const {
  if (DevModeLock) GlobalUnlock(HDevMode);
  if (DevNamesLock) GlobalUnlock(HDevNames);
  DevModeLock = DevNamesLock = nullptr;
}

const DEVMODEA* TPrintDialog::TData::GetDevMode() const {
  if (!HDevMode) return nullptr;
  if (!DevModeLock) DevModeLock = GlobalLock(HDevMode);
  return static_cast<const DEVMODEA*>(DevModeLock);
}

namespace {
const char* DevNamesPart(const void* names, size_t size, WORD offset) {
  if (!names || offset >= size) return nullptr;
  return static_cast<const char*>(names) + offset;
}
}  // namespace

const char* TPrintDialog::TData::GetDriverName() const {
  if (!HDevNames) return nullptr;
  if (!DevNamesLock) DevNamesLock = GlobalLock(HDevNames);
  const auto* n = static_cast<const DEVNAMES*>(DevNamesLock);
  return n ? DevNamesPart(n, GlobalSize(HDevNames), n->wDriverOffset) : nullptr;
}

const char* TPrintDialog::TData::GetDeviceName() const {
  if (!HDevNames) return nullptr;
  if (!DevNamesLock) DevNamesLock = GlobalLock(HDevNames);
  const auto* n = static_cast<const DEVNAMES*>(DevNamesLock);
  return n ? DevNamesPart(n, GlobalSize(HDevNames), n->wDeviceOffset) : nullptr;
}

const char* TPrintDialog::TData::GetOutputName() const {
  if (!HDevNames) return nullptr;
  if (!DevNamesLock) DevNamesLock = GlobalLock(HDevNames);
  const auto* n = static_cast<const DEVNAMES*>(DevNamesLock);
  return n ? DevNamesPart(n, GlobalSize(HDevNames), n->wOutputOffset) : nullptr;
}

HDC TPrintDialog::TData::TransferDC() {
  HDC dc = DC;
  DC = nullptr;
  return dc;
}

int TPrintDialog::DoExecute() {
  Data.Unlock();
  PRINTDLGA pd;
  std::memset(&pd, 0, sizeof pd);
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = OwnerWindow();
  pd.hDevMode = Data.HDevMode;
  pd.hDevNames = Data.HDevNames;
  pd.Flags = Data.Flags;
  pd.nFromPage = static_cast<WORD>(Data.FromPage);
  pd.nToPage = static_cast<WORD>(Data.ToPage);
  pd.nMinPage = static_cast<WORD>(Data.MinPage);
  pd.nMaxPage = static_cast<WORD>(Data.MaxPage);
  pd.nCopies = static_cast<WORD>(Data.Copies);
  pd.hInstance = GetModule()->GetInstance();
  const bool ok = GetUiService().PrintDialog(pd);
  Data.Error = ok ? 0 : GetUiService().DialogError();
  // The dialog may have replaced the device handles, on OK or not.
  Data.HDevMode = pd.hDevMode;
  Data.HDevNames = pd.hDevNames;
  if (ok) {
    Data.Flags = pd.Flags;
    Data.FromPage = pd.nFromPage;
    Data.ToPage = pd.nToPage;
    Data.Copies = pd.nCopies;
    if (pd.hDC) {
      if (Data.DC) DeleteDC(Data.DC);
      Data.DC = pd.hDC;
    }
  }
  return ok ? IDOK : IDCANCEL;
}
