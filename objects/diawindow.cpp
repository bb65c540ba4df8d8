#include "objects/diawindow.h"

#include <string>

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pageinput.h"
#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/dirlist.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "foundation/winutil.h"
#include "foundation/core/pathstr.h"
#include "imaging/border.h"
#include "imaging/core/picname.h"
#include "imaging/dibdraw.h"
#include "platform/owl/applicat.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/framewin.h"
#include "platform/owl/uiservice.h"
#include "slideshow/core/thumbcache.h"
#include "slideshow/picdlg.h"
#include "slideshow/showwindow.h"
#include "slideshow/slidepicture.h"

namespace {

constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// Cell geometry: the grey face, the picture, the border.
constexpr int kFaceInset = 2;
constexpr int kPictureInset = 4;
constexpr int kBorderInset = 6;
constexpr int kBorderNormal = 6;
constexpr int kBorderSelected = 7;
constexpr COLORREF kFaceColour = 0xC0C0C0;
// Photo CD pictures of small cells load at the smallest resolution.
constexpr int kSmallCell = 128;
constexpr int16_t kPcdSmallest = 1;
constexpr int kSlidePath = 260;

TRect Inset(const RECT& r, int by) { return TRect(r.left + by, r.top + by, r.right - by, r.bottom - by); }

// The wait cursor and the mouse held by a window while a long step runs.
class TBusy {
public:
  explicit TBusy(HWND window) : Window(window), Previous(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {
    if (Window) ::SetCapture(Window);
  }
  ~TBusy() {
    ::SetCursor(Previous);
    if (Window) ::ReleaseCapture();
  }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;

private:
  HWND Window;
  HCURSOR Previous;
};

// Writes the picture reduced to `w` x `h` as a bitmap file.
bool WriteThumbnailFile(const TDib& picture, int w, int h, const string& path) {
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  ::ReleaseDC(nullptr, screen);
  bool written = false;
  if (memory && bitmap) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SetStretchBltMode(memory, COLORONCOLOR);
    ::StretchDIBits(memory, 0, 0, w, h, 0, 0, picture.Width(), picture.Height(), picture.GetBits(),
                    picture.GetInfo(), DIB_RGB_COLORS, SRCCOPY);
    ::SelectObject(memory, old);
    const TBitmap wrapped(bitmap, NoAutoDelete);
    const TDib reduced(wrapped);
    written = reduced.IsOK() && reduced.WriteFile(path.c_str());
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (memory) ::DeleteDC(memory);
  return written;
}

}  // namespace

void DeleteThumbnailFiles() {
  ThumbnailCache().Cleanup([](const string& f) { return FileExists(f.c_str()); },
                           [](const string& f) { ::DeleteFileA(f.c_str()); });
}

std::vector<string> ScanSlideFolder(const string& folder, bool subfolders) {
  std::vector<string> out;
  if (folder.is_null()) return out;
  TArrayAsVector<string> extensions;
  AddPictureExtensions(extensions);
  TDirList scan;
  for (int i = 0; i < extensions.GetItemsInContainer(); ++i) scan.Patterns.Add(string("*") + extensions[i]);
  scan.Recursive = subfolders;
  scan.Sorted = false;
  scan.Scan(folder.c_str(), false);
  for (int i = 0; i < scan.Files.GetItemsInContainer(); ++i) out.push_back(scan.Files[i]->Path);
  return out;
}

// ---- the list box ----

DEFINE_RESPONSE_TABLE1(TDiaListBox, TListBox)
  EV_WM_LBUTTONDOWN,
  EV_WM_LBUTTONDBLCLK,
  EV_WM_KEYDOWN,
  EV_WM_SYSKEYDOWN,
  EV_WM_KEYUP,
END_RESPONSE_TABLE;

TDiaListBox::TDiaListBox(TWindow* parent, TDiaWindowObject& object, int id, const TRect& placed)
    : TListBox(parent, id, placed.left, placed.top, placed.Width(), placed.Height()), Object(object) {
  Attr.Style = kDiaListStyle;
  Attr.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TDiaListBox::SetupWindow() {
  TListBox::SetupWindow();
  const tsl::SizeL cell = TDiaWindowData::CellSize();
  // Wine's multi-column list lays its columns out by this width only.
  SetColumnWidth(cell.cx);
  SetItemHeight(0, cell.cy);
}

void TDiaListBox::ODADrawEntire(DRAWITEMSTRUCT& info) { Object.DrawThumbnail(info); }
void TDiaListBox::ODASelect(DRAWITEMSTRUCT& info) { Object.DrawThumbnail(info); }
void TDiaListBox::ODAFocus(DRAWITEMSTRUCT& info) { ::DrawFocusRect(info.hDC, &info.rcItem); }

void TDiaListBox::MeasureItem(MEASUREITEMSTRUCT& info) {
  const tsl::SizeL cell = TDiaWindowData::CellSize();
  info.itemWidth = static_cast<UINT>(cell.cx);
  info.itemHeight = static_cast<UINT>(cell.cy);
}

namespace {
TObjectManager* CurrentPage() {
  TBookStruct* book = GetOpenBook();
  return book ? book->ObjectManager.get() : nullptr;
}
}  // namespace

void TDiaListBox::EvLButtonDown(uint modKeys, TPoint& point) {
  DefaultProcessing();
  if (TObjectManager* page = CurrentPage()) {
    TPoint p = point;
    Object.ClientToPage(p);
    TPageInput::EvLButtonDown(page, modKeys, p);
  }
}

void TDiaListBox::EvLButtonDblClk(uint modKeys, TPoint& point) {
  DefaultProcessing();
  if (TObjectManager* page = CurrentPage()) {
    TPoint p = point;
    Object.ClientToPage(p);
    TPageInput::EvLButtonDblClk(page, modKeys, p);
  }
}

void TDiaListBox::EvKeyDown(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (TObjectManager* page = CurrentPage()) TPageInput::EvKeyDown(page, key, repeatCount, flags);
}

void TDiaListBox::EvSysKeyDown(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (TObjectManager* page = CurrentPage()) TPageInput::EvSysKeyDown(page, key, repeatCount, flags);
}

void TDiaListBox::EvKeyUp(uint key, uint repeatCount, uint flags) {
  DefaultProcessing();
  if (TObjectManager* page = CurrentPage()) TPageInput::EvKeyUp(page, key, repeatCount, flags);
}

// ---- the object ----

TDiaWindowObject::TDiaWindowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TDiaWindowData()) {}

TDiaWindowObject::~TDiaWindowObject() {
  if (List && List->HWindow) TObjectElement::Hide(false, false);
  List.reset();
  if (ListBrush) ::DeleteObject(ListBrush);
}

TRect TDiaWindowObject::PlacedRect() const {
  TPoint offset;
  GetScrollOffset(offset);
  TRect r = GetStoredRect();
  r.Offset(-offset.x, -offset.y);
  return r;
}

bool TDiaWindowObject::CreateList() {
  if (!Owner || !Owner->HWindow) return false;
  List = std::make_unique<TDiaListBox>(Owner, *this, static_cast<int>(GetNumber()), PlacedRect());
  if (!List->Create()) {
    List.reset();
    return false;
  }
  const TRect r = PlacedRect();
  ::SetWindowPos(List->HWindow, nullptr, r.left, r.top, r.Width(), r.Height(), kPlaceFlags);
  UpdateList();
  return true;
}

HWND TDiaWindowObject::GetHandle() { return List ? List->HWindow : nullptr; }

TDiaWindowData* TDiaWindowObject::GetDiaData() const { return dynamic_cast<TDiaWindowData*>(Data.get()); }

TDiaOption& TDiaWindowObject::Show() {
  TDiaWindowData* d = GetDiaData();
  return d ? d->Option : Spare;
}

void TDiaWindowObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  UpdateList();
}

void TDiaWindowObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  UpdateList();
}

HBRUSH TDiaWindowObject::GetBackgroundBrush(HDC dc, HWND, uint) {
  const TDiaWindowData* d = GetDiaData();
  const COLORREF colour = d ? d->ListColor : kFaceColour;
  ::SetBkColor(dc, colour);
  if (ListBrush) ::DeleteObject(ListBrush);
  ListBrush = ::CreateSolidBrush(colour);
  return ListBrush ? ListBrush : static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
}

void TDiaWindowObject::LButtonDown(uint32_t, const TPoint&) {}

void TDiaWindowObject::LButtonDblClk(uint32_t, const TPoint&) {
  const TDiaWindowData* d = GetDiaData();
  if (!d || !(d->Flags & kDiaViewerOnDblClk)) return;
  std::unique_ptr<TSlidePicture> picture = LoadCaretPicture(*this);
  if (!picture) return;
  const bool full = (d->Flags & kDiaViewerFullScreen) != 0;
  TPicDlg viewer(Owner, DibOf(*picture), full, TColor(full ? d->ViewerColor : 0));
  viewer.Execute();
}

void TDiaWindowObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TDiaWindowData* d = GetDiaData();
  if (!d) return;
  string parts[3] = {d->PictureFolder, d->ThumbnailFolder, string()};
  SplitBarFields(name.c_str(), parts, 3);
  d->PictureFolder = parts[0];
  d->ThumbnailFolder = parts[1];
  TBookStruct* book = GetOpenBook();
  if (book) {
    book->ResolvePath(d->PictureFolder);
    book->ResolvePath(d->ThumbnailFolder);
  }
  if (!parts[2].is_null()) {
    string show = parts[2];
    if (book) book->ResolvePath(show);
    if (FileExists(show.c_str())) {
      TFile f(show.c_str(), TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
      if (f.IsOpen()) d->Option.Read(f);
    }
  }
  UpdateList();
}

void TDiaWindowObject::UpdateList() {
  if (!List || !List->HWindow) return;
  // The list's colour comes from the page window's control-colour answer
  // (GetBackgroundBrush), so a repaint is all it takes.
  FillList();
  ::InvalidateRect(List->HWindow, nullptr, TRUE);
}

void TDiaWindowObject::FillList() {
  if (!List || !List->HWindow) return;
  HWND h = List->HWindow;
  ::SendMessageA(h, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(h, LB_RESETCONTENT, 0, 0);
  {
    TBusy busy(h);
    TDiaWindowData* d = GetDiaData();
    if (d) {
      AddTrailingBackslash(d->PictureFolder);
      for (const string& path : ScanSlideFolder(d->PictureFolder, (d->Flags & kDiaSubfolders) != 0))
        ::SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
  }
  ::SendMessageA(h, WM_SETREDRAW, TRUE, 0);
}

void TDiaWindowObject::DrawThumbnail(DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.itemID) < 0) return;
  const TDiaWindowData* d = GetDiaData();
  if (!d) return;
  HDC dc = item.hDC;
  const TRect face = Inset(item.rcItem, kFaceInset);
  ::SetBkColor(dc, kFaceColour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &face, nullptr, 0, nullptr);

  const string path = EntryText(static_cast<int>(item.itemID));
  THotSpotManager& cache = ThumbnailCache();
  const int cached = cache.Find(path);
  std::unique_ptr<TDib> picture;
  bool reduced = false;
  if (cached >= 0 && FileExists(cache[cached].BitmapFile.c_str())) {
    picture = std::make_unique<TDib>(cache[cached].BitmapFile.c_str());
    reduced = true;
  } else {
    const tsl::SizeL cell = TDiaWindowData::CellSize();
    const int16_t resolution =
        cell.cx <= kSmallCell || cell.cy <= kSmallCell ? kPcdSmallest : static_cast<int16_t>(d->Option.PcdResolution);
    picture.reset(LoadPictureDibPcd(path.c_str(), resolution, static_cast<int16_t>(d->Option.PcdColourDepth)));
  }
  if (!picture || !picture->IsOK()) return;
  const TRect cellRect(item.rcItem);
  if (!reduced) {
    TSize fitted;
    if (!FitSizeIntoBox(picture->Width(), picture->Height(), cellRect.Width(), cellRect.Height(), fitted)) return;
    if (cached >= 0) {
      // Its file went: made again under the same name.
      WriteThumbnailFile(*picture, fitted.cx, fitted.cy, cache[cached].BitmapFile);
    } else {
      char temp[MAX_PATH] = {};
      MakeTempFileName(temp, "kvr");
      if (temp[0]) {
        string bitmap;
        ReplaceExtension(string(temp), bitmap, ".bmp");
        // Only a thumbnail whose file exists is cached; otherwise the next
        // paint tries again.
        if (WriteThumbnailFile(*picture, fitted.cx, fitted.cy, bitmap)) {
          cache.Add(THotSpot(path, bitmap, string(temp)));
        } else {
          ::DeleteFileA(temp);
        }
      }
    }
  }
  TDC target(dc);
  TDibDrawOptions options;
  options.Stretch = 1;
  options.Fit = 1;
  options.HAlign = 1;
  options.VAlign = 1;
  options.Source = TRect(0, 0, picture->Width(), picture->Height());
  options.Dest = Inset(item.rcItem, kPictureInset);
  DrawDibToRect(target, picture.get(), options);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  DrawBorder(target, Inset(item.rcItem, kBorderInset), selected ? kBorderSelected : kBorderNormal, nullptr, 0);
  if (selected) {
    HBRUSH frame = ::CreateSolidBrush(d->SelectionColor);
    ::FrameRect(dc, &face, frame);
    ::DeleteObject(frame);
  }
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &item.rcItem);
}

// ---- the actions' view of the list ----

int TDiaWindowObject::EntryCount() {
  return List && List->HWindow ? static_cast<int>(::SendMessageA(List->HWindow, LB_GETCOUNT, 0, 0)) : 0;
}

string TDiaWindowObject::EntryText(int index) {
  if (!List || !List->HWindow) return string();
  const LRESULT n = ::SendMessageA(List->HWindow, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n <= 0) return string();
  std::string text(static_cast<size_t>(n) + 1, '\0');
  const LRESULT got = ::SendMessageA(List->HWindow, LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(&text[0]));
  if (got <= 0) return string();
  text.resize(static_cast<size_t>(got) < text.size() ? static_cast<size_t>(got) : text.size() - 1);
  return string(std::move(text));
}

std::vector<int> TDiaWindowObject::SelectedIndexes() {
  std::vector<int> out;
  if (!List || !List->HWindow) return out;
  const int n = static_cast<int>(::SendMessageA(List->HWindow, LB_GETSELCOUNT, 0, 0));
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  const int got =
      static_cast<int>(::SendMessageA(List->HWindow, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(out.data())));
  out.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return out;
}

int TDiaWindowObject::CaretIndex() {
  return List && List->HWindow ? static_cast<int>(::SendMessageA(List->HWindow, LB_GETCARETINDEX, 0, 0)) : -1;
}

void TDiaWindowObject::SelectAll(bool select) {
  if (List && List->HWindow) ::SendMessageA(List->HWindow, LB_SETSEL, select ? TRUE : FALSE, -1);
}

void TDiaWindowObject::Message(int textId) {
  const TResString text = LoadResString(static_cast<UINT>(textId));
  UiMessageBox(GetHandle(), text, ProgramTitle(), MB_OK | MB_ICONINFORMATION);
}

bool TDiaWindowObject::ChooseFolder(string& folder) {
  char buffer[kSlidePath] = {};
  lstrcpynA(buffer, folder.c_str(), sizeof buffer);
  TApplication* app = TApplication::GetApplicationObject();
  TWindow* parent = app ? app->GetMainWindow() : nullptr;
  if (!SelectDirectory(parent, buffer)) return false;
  folder = buffer;
  return true;
}

bool TDiaWindowObject::CreateDirectoryPath(const string& path) { return ::CreateDirectoryPath(path.c_str()); }

bool TDiaWindowObject::CopyFileOver(const string& source, const string& target) {
  return ::CopyFileOver(source.c_str(), target.c_str(), 0, true);
}

void TDiaWindowObject::RunShowWindow() {
  TDiaShowWindow show(List.get(), &Show());
  show.Execute();
}

std::unique_ptr<TSlidePicture> TDiaWindowObject::LoadPicture(const string& path, uint16_t pcdResolution,
                                                             uint16_t pcdColourDepth) {
  TBusy busy(GetHandle());
  TDib* dib = LoadPictureDibPcd(path.c_str(), static_cast<int16_t>(pcdResolution), static_cast<int16_t>(pcdColourDepth));
  if (!dib) return nullptr;
  return std::make_unique<TDibPicture>(dib);
}

// ---- the kind's creators ----

TObjectElement* CreateDiaWindowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  auto* object = new TDiaWindowObject(owner, info, data);
  if (!object->CreateList()) {
    delete object;
    return nullptr;
  }
  return object;
}

TData* CreateDiaWindowData() { return new TDiaWindowData(); }
