#include "slideshow/mediaopen.h"

#include <richedit.h>
#include <shellapi.h>
#include <vfw.h>

#include <cstring>
#include <vector>

#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"
#include "foundation/winutil.h"
#include "imaging/animlist.h"
#include "imaging/core/flx.h"
#include "imaging/dibdraw.h"
#include "panes/mvpane/mvpane.h"
#include "objects/ieloader.h"
#include "platform/swfpane/swfpane.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/file.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/richedit.h"
#include "slideshow/core/mediafilter.h"

bool PreviewEnabled = true;

namespace {

constexpr COLORREF kPaneGrey = RGB(192, 192, 192);
constexpr uint32_t kChildPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// Photo CD pictures are decoded small: the base image, the lower size
// when that is missing.
constexpr int16_t kPreviewPcdResolution = 1;
constexpr int16_t kPreviewPcdSearch = 2;
constexpr int kNewChildId = -1;

// A packed DIB in a block the picture owns; null for an empty one.
std::unique_ptr<TDib> DibFromPacked(const std::vector<uint8_t>& packed) {
  if (packed.empty()) return nullptr;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, packed.size());
  if (!h) return nullptr;
  std::memcpy(::GlobalLock(h), packed.data(), packed.size());
  ::GlobalUnlock(h);
  auto dib = std::make_unique<TDib>(h, AutoDelete);
  return dib->IsOK() ? std::move(dib) : nullptr;
}

std::unique_ptr<tsl::ByteStream> OpenForReading(const char* path) {
  auto f = std::make_unique<TFile>(path, TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
  if (!f->IsOpen()) return nullptr;
  return f;
}

// The text view: the rich-edit 2.0 control.
class TPreviewRichEdit : public TRichEdit {
public:
  explicit TPreviewRichEdit(TWindow* parent) : TRichEdit(parent, kMediaTextArea, "", 0, 0, 0, 0) {}
  const char* GetClassName() override { return RICHEDIT_CLASS20A; }
  bool Create() override {
    static const HMODULE library = ::LoadLibraryA("riched20.dll");
    // Without the library the dialog goes on without a text view.
    return library && TEdit::Create();
  }
};

}  // namespace

// ---- TPreviewWindow ----

DEFINE_RESPONSE_TABLE1(TPreviewWindow, TWindow)
  EV_WM_ERASEBKGND,
END_RESPONSE_TABLE;

TPreviewWindow::TPreviewWindow(TWindow* parent) : TWindow(parent) {
  Attr.Style = WS_CHILD;
  Attr.ExStyle = WS_EX_CLIENTEDGE;
  DisableAutoCreate();
}

TPreviewWindow::~TPreviewWindow() { Release(); }

void TPreviewWindow::SetupWindow() { TWindow::SetupWindow(); }

bool TPreviewWindow::EvEraseBkgnd(HDC dc) {
  RECT r;
  ::GetClientRect(HWindow, &r);
  HBRUSH grey = ::CreateSolidBrush(kPaneGrey);
  ::FillRect(dc, &r, grey);
  ::DeleteObject(grey);
  return true;
}

void TPreviewWindow::Release() {
  Dib.reset();
  if (MciWindow) {
    ::SendMessageA(MciWindow, WM_CLOSE, 0, 0);
    MciWindow = nullptr;
  }
  if (Movie) {
    DeleteMvpane(Movie);
    Movie = nullptr;
  }
  if (FlashMovie) {
    DeleteSwfpane(FlashMovie);
    FlashMovie = nullptr;
  }
}

void TPreviewWindow::LoadFile(const char* path) {
  Release();
  const bool isFile = path && *path && FileExists(path) && !IsDirectoryPath(path);
  const TPreviewClass c = ClassifyPreview(path, isFile);
  Kind = c.Kind;
  RECT r{};
  if (HWindow) ::GetClientRect(HWindow, &r);
  switch (c.Kind) {
    case pkPicture:
      Dib.reset(LoadPictureDibPcd(path, kPreviewPcdResolution, kPreviewPcdSearch));
      break;
    case pkWindow:
      if (c.Player == TPreviewPlayer::Movie) {
        Movie = CreateMvpane(HWindow, r.left, r.top, r.right, r.bottom, kChildPaneStyle, kNewChildId);
        if (Movie) {
          OpenQTMovie(Movie, path);
          SizeMvpane(Movie, r.left, r.top, r.right, r.bottom, TRUE);
        }
      } else if (c.Player == TPreviewPlayer::Flash) {
        FlashMovie = CreateSwfpane(HWindow, r.left, r.top, r.right, r.bottom, kChildPaneStyle, kNewChildId);
        if (FlashMovie) OpenFlashMovie(FlashMovie, path);
      } else {
        MciWindow = ::MCIWndCreateA(HWindow, ::GetModuleHandleA(nullptr),
                                    WS_CHILD | MCIWNDF_NOMENU | MCIWNDF_NOAUTOSIZEWINDOW, path);
        if (!MciWindow) {
          Kind = pkNone;
        } else {
          ::MoveWindow(MciWindow, 0, 0, r.right - r.left, r.bottom - r.top, TRUE);
          ::ShowWindow(MciWindow, SW_SHOW);
        }
      }
      break;
    case pkAnimation:
      if (auto f = OpenForReading(path)) Dib = DibFromPacked(TAnimatedBmpList::ReadFirstFrame(std::move(f)));
      break;
    case pkFlic:
      if (auto f = OpenForReading(path)) {
        tsl::TFLX reader(std::move(f), false);
        if (reader.Valid() && reader.HasPicture()) Dib = DibFromPacked(reader.Picture());
      }
      break;
    default:
      break;
  }
  if (HWindow) ::InvalidateRect(HWindow, nullptr, TRUE);
}

void TPreviewWindow::Paint(TDC& dc, bool, TRect&) {
  if ((Kind != pkPicture && Kind != pkAnimation && Kind != pkFlic) || !Dib || !Dib->IsOK()) return;
  const TRect client = GetClientRect();
  TPreviewPlacement at;
  if (!PlacePreviewPicture(Dib->Width(), Dib->Height(), client.Width(), client.Height(), at)) return;
  HDC h = dc.GetHDC();
  HPALETTE oldPalette = nullptr;
  std::unique_ptr<TPalette> palette;
  if (Dib->NumColors() != 0) {
    palette = std::make_unique<TPalette>(*Dib);
    oldPalette = ::SelectPalette(h, static_cast<HPALETTE>(palette->GetHandle()), FALSE);
    ::RealizePalette(h);
  }
  const int oldMode = ::SetStretchBltMode(h, COLORONCOLOR);
  ::StretchDIBits(h, at.x, at.y, at.width, at.height, 0, 0, Dib->Width(), Dib->Height(), Dib->GetBits(),
                  Dib->GetInfo(), Dib->Usage(), SRCCOPY);
  ::SetStretchBltMode(h, oldMode);
  if (palette) ::SelectPalette(h, oldPalette, FALSE);
}

// ---- TMMFileOpenDialog ----

DEFINE_RESPONSE_TABLE1(TMMFileOpenDialog, TFileOpenDialog)
  EV_BN_CLICKED(kMediaPreviewCheck, CmPreview),
  EV_BN_CLICKED(kMediaEdit, CmEdit),
END_RESPONSE_TABLE;

TMMFileOpenDialog::TMMFileOpenDialog(TWindow* parent, TData& data, int templateId, uint32_t kinds)
    : TFileOpenDialog(parent, data, TResId(templateId)), Kinds(kinds), TextOnly(IsMediaTextOnly(kinds)) {
  SizeText = new TStatic(this, kMediaSizeText);
  ColoursText = new TStatic(this, kMediaColoursText);
  FileSizeText = new TStatic(this, kMediaFileSizeText);
  PreviewCheck = new TCheckBox(this, kMediaPreviewCheck);
  if (IsMediaTextMode(kinds)) TextArea = new TEdit(this, kMediaTextArea);
}

TMMFileOpenDialog::~TMMFileOpenDialog() {
  delete RichEdit;
  delete Preview;
}

void TMMFileOpenDialog::SetupWindow() {
  TFileOpenDialog::SetupWindow();
  ::EnableWindow(GetDlgItem(kMediaEdit), FALSE);
  TRect place;
  GetDlgItemClientRect(HWindow, kMediaPlaceholder, place, true);
  Preview = new TPreviewWindow(this);
  Preview->Create();
  if (!TextArea || !TextOnly) {
    Preview->SetWindowPos(nullptr, place, kPlaceFlags);
    ::ShowWindow(Preview->HWindow, SW_SHOW);
  } else {
    Preview->SetWindowPos(nullptr, TRect(0, 0, 0, 0), kPlaceFlags);
    ::ShowWindow(Preview->HWindow, SW_HIDE);
  }
  if (TextArea && WantsMediaBrowser(Kinds)) {
    BrowserId = IELoader().AddEle();
    if (!IELoader().Create(BrowserId, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, nullptr,
                           TextArea->HWindow, kMediaBrowserId)) {
      BrowserId = -1;
    } else if (BrowserId != -1) {
      RECT r;
      ::GetClientRect(TextArea->HWindow, &r);
      IELoader().SetEleRect(BrowserId, &r);
      IELoader().ShowEle(BrowserId, FALSE);
    }
  }
  SizeText->Clear();
  ColoursText->Clear();
  FileSizeText->Clear();
  PreviewCheck->SetCheck(TextArea || PreviewEnabled ? BST_CHECKED : BST_UNCHECKED);
}

void TMMFileOpenDialog::CleanupWindow() {
  if (BrowserId != -1) IELoader().DeleteEle(BrowserId);
  BrowserId = -1;
  TFileOpenDialog::CleanupWindow();
}

INT_PTR TMMFileOpenDialog::DialogFunction(uint msg, TParam1 p1, TParam2 p2) {
  if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(p2)->code == static_cast<UINT>(CDN_SELCHANGE)) {
    const LRESULT length = ::SendMessageA(::GetParent(HWindow), CDM_GETFILEPATH, MAX_PATH,
                                          reinterpret_cast<LPARAM>(FileName));
    FileName[MAX_PATH - 1] = 0;
    if (length <= MAX_PATH) {
      UpdatePreview();
      // FileExists counts folders, which "&Bearbeiten" cannot open.
      ::EnableWindow(GetDlgItem(kMediaEdit), FileName[0] && FileExists(FileName) && !IsDirectoryPath(FileName));
    }
  }
  return TFileOpenDialog::DialogFunction(msg, p1, p2);
}

void TMMFileOpenDialog::UpdatePreview() {
  SizeText->Clear();
  ColoursText->Clear();
  FileSizeText->Clear();
  if (RichEdit && RichEdit->HWindow) ::ShowWindow(RichEdit->HWindow, SW_HIDE);
  if (BrowserId != -1) IELoader().ShowEle(BrowserId, FALSE);
  if (!PreviewCheck->IsChecked()) {
    Preview->LoadFile("");
    return;
  }
  Preview->LoadFile(FileName);
  if (Preview->Kind == pkPicture && Preview->Dib) {
    const TDib& dib = *Preview->Dib;
    SizeText->SetText(PreviewSizeText(dib.Width(), dib.Height()).c_str());
    ColoursText->SetText(PreviewColoursText(static_cast<uint32_t>(dib.NumColors())).c_str());
    // The file is measured and closed at once.
    TFile f(FileName, TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
    if (f.IsOpen()) {
      const int64_t length = f.Length();
      f.Close();
      FileSizeText->SetText(PreviewFileSizeText(length > 0 ? static_cast<uint64_t>(length) : 0).c_str());
    }
  }
  if (Preview->Kind == pkText && TextArea) {
    delete RichEdit;
    RichEdit = new TPreviewRichEdit(TextArea);
    RichEdit->Attr.Style |= WS_CHILD | WS_VSCROLL | WS_HSCROLL;
    RichEdit->Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
    if (!RichEdit->Create()) {
      delete RichEdit;
      RichEdit = nullptr;
      return;
    }
    RECT area;
    ::GetClientRect(TextArea->HWindow, &area);
    RichEdit->MoveWindow(TRect(area), false);
    RichEdit->SetReadOnly(false);
    ::ShowWindow(RichEdit->HWindow, SW_SHOW);
    RichEdit->ReadFromFile(FileName, ContainsNoCase(FileName, ".RTF") ? SF_RTF : SF_TEXT);
    RichEdit->SetReadOnly(true);
    RichEdit->MoveWindow(TRect(area), true);
  }
  if (Preview->Kind == pkWebPage) {
    delete RichEdit;
    RichEdit = nullptr;
    if (BrowserId != -1) {
      IELoader().ShowEle(BrowserId, TRUE);
      IELoader().Navigate2(BrowserId, FileName);
    }
  }
}

void TMMFileOpenDialog::CmPreview() {
  PreviewEnabled = PreviewCheck->IsChecked();
  UpdatePreview();
}

void TMMFileOpenDialog::CmEdit() {
  if (FileExists(FileName) && !IsDirectoryPath(FileName))
    ::ShellExecuteA(nullptr, "open", FileName, nullptr, nullptr, SW_SHOWNORMAL);
}

bool SelectMediaFile(TWindow* parent, uint32_t kinds, string& name) {
  const std::string filter = BuildMediaFilter(kinds);
  TOpenSaveDialog::TData data(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER, filter.c_str());
  // A name that does not fit the buffer is not offered.
  if (!name.is_null() && name.length() < static_cast<size_t>(data.MaxPath))
    std::memcpy(data.FileName, name.c_str(), name.length() + 1);
  int result;
  {
    TMMFileOpenDialog dialog(parent, data, MediaTemplateId(kinds), kinds);
    result = dialog.Execute();
  }
  if (result != IDOK) return false;
  name = data.FileName;
  return true;
}
