#include "objects/button.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "actions/core/actioncodes.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "foundation/core/pathstr.h"
#include "foundation/drawtools.h"
#include "foundation/resstring.h"
#include "foundation/streamio.h"
#include "imaging/dibdraw.h"
#include "platform/owl/module.h"
#include "resources/ids_objects.h"

namespace {

constexpr uint32_t kActionSplitsName = 0x10000000;  // the file name carries "a|b|c|d"

// A packed DIB in a new global block, wrapped; null for no picture.
std::unique_ptr<TDib> DibFromBlock(const std::vector<uint8_t>& block) {
  if (block.empty()) return nullptr;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
  if (!h) return nullptr;
  if (void* p = ::GlobalLock(h)) {
    std::memcpy(p, block.data(), block.size());
    ::GlobalUnlock(h);
  }
  auto dib = std::make_unique<TDib>(h, AutoDelete);
  if (!dib->IsOK()) return nullptr;
  return dib;
}


std::vector<TGroupButton*> PageGroupButtons(TObjectManager* manager) {
  std::vector<TGroupButton*> out;
  for (int i = 0; manager && i < manager->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (manager->GetObjectAt(i, o))
      if (auto* b = dynamic_cast<TButtonItem*>(o)) out.push_back(b);
  }
  return out;
}

}  // namespace

TIArrayAsVector<string>* ProjectPageNames(TBookStruct* book) {
  if (!book || !book->LinkStrings) return nullptr;
  TIArrayAsVector<string>& names = *book->LinkStrings;
  if (names.GetItemsInContainer() == 0) {
    for (int i = 0; i < book->GetPageCount(); ++i) {
      TObjectInfo info;
      names.Add(new string(book->ReadPageInfo(i, info) ? info.Target.GetName() : string("")));
    }
  }
  return &names;
}

// ---------------------------------------------------------------- TButtonData

TButtonData::TButtonData() { TButtonData::Init(); }

TButtonData::~TButtonData() { TButtonData::Clear(); }

void TButtonData::Init() {
  TButtonDataCore::Init();
  const string caption = LoadResString(IDS_BUTTON_CAPTION);
  if (!caption.is_null()) Caption = caption;
  MakeFont();
}

void TButtonData::Clear() {
  CaptionFont.reset();
  Picture1.reset();
  Picture2.reset();
  Picture3.reset();
}

TChooseFontDialog::TData TButtonData::FontData() const { return FontDataFromRecord(Font); }

void TButtonData::MakeFont() {
  TChooseFontDialog::TData d = FontData();
  CaptionFont.reset(CreateFontFromData(d));
}

void TButtonData::MakePictures() {
  Picture1 = DibFromBlock(PictureBlock1);
  Picture2 = DibFromBlock(PictureBlock2);
  Picture3 = DibFromBlock(PictureBlock3);
}

TDib* TButtonData::Picture(int n) const {
  return (n == 1 ? Picture1 : n == 2 ? Picture2 : Picture3).get();
}

void TButtonData::Reload() {
  MakeFont();
  if (!(Flags & kButtonLinkedPictures)) return;
  LoadLinkedPictures();
  MakePictures();
}

void TButtonData::ReloadAll() {
  MakeFont();
  LoadLinkedPictures();
  MakePictures();
}

void TButtonData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  TButtonDataCore::Assign(other);  // Init (font included), then the fields
  MakeFont();
  MakePictures();
}

bool TButtonData::Read(tsl::ByteStream& f) {
  const bool ok = TButtonDataCore::Read(f);
  MakeFont();
  MakePictures();
  return ok;
}

TData* CreateButtonData() { return new TButtonData(); }

// ---------------------------------------------------------------- TButtonItem

TButtonItem::TButtonItem(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TButtonData()) {
  // A record of another kind cannot serve as the button's: it gets its own.
  if (!dynamic_cast<TButtonData*>(Data.get())) Data.reset(new TButtonData());
  UpdatePictures();
}

TButtonItem::~TButtonItem() {
  Icon.reset();
  TransPicture1.Reset();
  TransPicture2.Reset();
  TransPicture3.Reset();
}

TObjectElement* CreateButtonItem(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TButtonItem(owner, info, data);
}

void TButtonItem::SetData(TData* data) {
  if (data && !dynamic_cast<TButtonData*>(data)) {
    Data->Assign(data);  // leaves the defaults
    delete data;
  } else {
    TObjectElement::SetData(data);
  }
  UpdatePictures();
}

void TButtonItem::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  UpdatePictures();
}

uint8_t TButtonItem::TransparentByte(int n) const {
  const TButtonData& d = ButtonData();
  return n == 1 ? d.Transparent1 : n == 2 ? d.Transparent2 : d.Transparent3;
}

uint32_t TButtonItem::TransparentColour(int n) const {
  const TButtonData& d = ButtonData();
  return n == 1 ? d.TransparentColor1 : n == 2 ? d.TransparentColor2 : d.TransparentColor3;
}

void TButtonItem::UpdatePictures() {
  TButtonData& d = ButtonData();
  TSActionStructArrayManager& actions = *Info.Property.Actions;
  if (!(d.Flags & kButtonActionsInList) && actions.IsEmpty()) {
    for (TActionStruct& a : d.LegacyActions) {
      if (!(a.Flags & kActionEnabled)) continue;
      a.TriggerEvent = WM_LBUTTONUP;
      actions.Add(new TActionStruct(a));
    }
  }

  Icon.reset();
  if (d.Style == kButtonSystemIcon) {
    const int i = d.IconIndex >= 0 && d.IconIndex <= 4 ? d.IconIndex : 0;
    Icon = std::make_unique<TIcon>(::LoadIconA(nullptr, MAKEINTRESOURCEA(kButtonSystemIcons[i])));
  } else if (d.Style == kButtonFileIcon && !d.PictureName1.is_null()) {
    string path = d.PictureName1;
    if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      HICON h = ::ExtractIconA(::GetModuleHandleA(nullptr), path.c_str(), static_cast<UINT>(d.IconIndex));
      // 1 means "no icon file"; 0 "no such icon".
      if (reinterpret_cast<uintptr_t>(h) > 1) Icon = std::make_unique<TIcon>(h, AutoDelete);
    }
  }

  for (int n = 1; n <= 3; ++n) {
    if (!TransparentByte(n)) continue;
    TTransDib& t = TransPicture(n);
    t.Reset();
    t.Picture = d.Picture(n);
    t.TransparentColor = TColor(TransparentColour(n));
  }
}

void TButtonItem::SyncTransPictures() {
  const TButtonData& d = ButtonData();
  for (int n = 1; n <= 3; ++n) {
    if (!TransparentByte(n)) continue;
    TTransDib& t = TransPicture(n);
    const TColor colour(TransparentColour(n));
    if (t.Picture != d.Picture(n) || t.TransparentColor != colour) t.Reset();
    t.Picture = d.Picture(n);
    t.TransparentColor = colour;
  }
}

// ---- states ----

void TButtonItem::EvMouseDown(uint32_t, const TPoint&) {
  TButtonData& d = ButtonData();
  if ((d.DisplayState != 0 && d.DisplayState != 2) || d.LatchedState == 1) return;
  d.LatchedState = 1;
  d.DisplayState = 1;
  Repaint();
}

void TButtonItem::EvMouseUp(uint32_t, const TPoint& point) {
  TButtonData& d = ButtonData();
  if ((d.DisplayState != 1 && d.DisplayState != 2) || d.LatchedState == 0) return;
  d.DisplayState = d.LatchedState = 0;
  if (ContainsPoint(point) && d.Group != kButtonNoGroup) {
    d.DisplayState = d.LatchedState = 1;
    if (Owner) ReleaseButtonGroup(Owner->GetPageManager(), *this);
  }
  Repaint();
}

bool TButtonItem::RunActions(const TActionTrigger& event, bool all) {
  if (event.Message == WM_LBUTTONUP && !all) {
    const TButtonData& d = ButtonData();
    if ((d.DisplayState != 1 && d.DisplayState != 2) || d.LatchedState == 0) return false;
  }
  return TObjectElement::RunActions(event, all);
}

void TButtonItem::EvMouseEnter(uint32_t, const TPoint&) {
  TButtonData& d = ButtonData();
  if (Owner) {
    const int i = d.CursorIndex >= 0 && d.CursorIndex <= kButtonOwnCursor ? d.CursorIndex : 0;
    bool set = false;
    if (i == kButtonOwnCursor) {
      TModule module(nullptr, ::GetModuleHandleA(nullptr));
      set = Owner->SetCursor(&module, MAKEINTRESOURCEA(kButtonOwnCursorResource));
      if (!set) set = Owner->SetCursor(nullptr, IDC_HAND);  // a program without the resource
    } else {
      set = Owner->SetCursor(nullptr, MAKEINTRESOURCEA(kButtonCursors[i]));
    }
    (void)set;
  }
  if (d.Style == kButtonThreePictures && d.DisplayState != 2) {
    d.DisplayState = 2;
    Repaint();
  }
}

void TButtonItem::EvMouseLeave(uint32_t, const TPoint&) {
  TButtonData& d = ButtonData();
  if (d.Style != kButtonThreePictures || d.DisplayState != 2) return;
  d.DisplayState = d.LatchedState;
  Repaint();
}

bool TButtonItem::MatchesAccelerator(uint key) const {
  const string& caption = ButtonData().Caption;
  const size_t n = caption.is_null() ? 0 : caption.length();
  if (n < 2) return false;
  std::vector<char> upper(caption.c_str(), caption.c_str() + n), lower(upper);
  ::CharUpperBuffA(upper.data(), static_cast<DWORD>(n));
  ::CharLowerBuffA(lower.data(), static_cast<DWORD>(n));
  for (size_t i = 0; i + 1 < n; ++i) {
    if (caption.c_str()[i] != '&') continue;
    if (static_cast<unsigned char>(upper[i + 1]) == key || static_cast<unsigned char>(lower[i + 1]) == key)
      return true;
  }
  return false;
}

void TButtonItem::EvChar(uint key) {
  if (!MatchesAccelerator(key) && key != VK_RETURN) return;
  const TPoint corner(Info.Rect.Left, Info.Rect.Top);
  EvMouseDown(0, corner);
  EvMouseUp(0, corner);
}

bool TButtonItem::EvSysKeyDown(uint key) {
  if (!MatchesAccelerator(key)) return false;
  const TPoint corner(Info.Rect.Left, Info.Rect.Top);
  EvMouseDown(0, corner);
  EvMouseUp(0, corner);
  return true;
}

void TButtonItem::SetGroupState(bool pressed) {
  TButtonData& d = ButtonData();
  d.DisplayState = d.LatchedState = pressed ? 1 : 0;
  Repaint();
}

// ---- painting ----

void TButtonItem::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  TObjectElement::Paint(paint);
  if (!Visible || !paint.MemDC.GetHDC()) return;
  TButtonData& d = ButtonData();
  TDC& dc = paint.MemDC;
  TPoint oldOrigin;
  dc.SetViewportOrg(TPoint(-paint.OriginX, -paint.OriginY), &oldOrigin);
  const TRect r = GetStoredRect();
  SyncTransPictures();

  const int16_t style = d.Style;
  if (style == kButtonPicture || style == kButtonTwoPictures || style == kButtonThreePictures) {
    int n = 1;
    if (d.DisplayState == 1 && style != kButtonPicture) n = 2;
    else if (d.DisplayState == 2 && style == kButtonThreePictures) n = 3;
    if (d.FrameCount < 1) d.FrameCount = 1;
    if (d.FrameIndex < 1) d.FrameIndex = 1;
    if (TDib* dib = d.Picture(n)) {
      int left = 0, right = 0;
      ButtonFrameColumns(dib->Width(), d.FrameCount, d.FrameIndex, left, right);
      if (TransparentByte(n))
        DrawDibStretched(TransPicture(n), r, dc, d.FrameIndex - 1, right - left, this);
      else
        DrawDibArea(dc, dib, left, 0, right, dib->Height(), r.left, r.top, r.right, r.bottom, true, paint.DrawDib);
    }
  }

  const bool captionHidden = (d.Flags & kButtonCaptionHidden) != 0;
  if (style == kButtonText) Draw3DEdge(dc, r, TColor(d.FaceColor), d.DisplayState == 0);
  if (!captionHidden && (style == kButtonText || style == kButtonPicture || style == kButtonTwoPictures ||
                         style == kButtonThreePictures)) {
    TRect text = r;
    if (d.DisplayState == 1) {
      text = TRect(text.left + 1, text.top + 1, text.right - 1, text.bottom - 1);
      text.Offset(1, 1);
    }
    text = TRect(text.left + 2, text.top + 2, text.right - 2, text.bottom - 2);
    const uint align = d.TextAlign == 1 ? DT_LEFT : d.TextAlign == 2 ? DT_RIGHT : DT_CENTER;
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const TColor oldColour = dc.SetTextColor(TColor(d.Font.Color));
    if (d.CaptionFont) dc.SelectObject(*d.CaptionFont);
    if (!d.Caption.is_null()) dc.DrawText(d.Caption.c_str(), -1, text, DT_SINGLELINE | DT_VCENTER | align);
    if (d.CaptionFont) dc.RestoreFont();
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
  }

  if ((style == kButtonSystemIcon || style == kButtonFileIcon) && Icon) {
    TBrush face{TColor(d.FaceColor)};
    dc.FillRect(r, face);
    const int x = r.left + (r.Width() - ::GetSystemMetrics(SM_CXICON)) / 2;
    const int y = r.top + (r.Height() - ::GetSystemMetrics(SM_CYICON)) / 2;
    dc.DrawIcon(x, y, *Icon);
  }
  dc.SetViewportOrg(oldOrigin);
}

bool TButtonItem::RepaintsThroughPage() {
  const TButtonData& d = ButtonData();
  const bool pictures =
      d.Style == kButtonPicture || d.Style == kButtonTwoPictures || d.Style == kButtonThreePictures;
  return pictures && (d.Transparent1 || d.Transparent2 || d.Transparent3);
}

// ---- files ----

void TButtonItem::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TBookStruct* book = GetOpenBook();
  TSActionStructArrayManager& actions = *Info.Property.Actions;
  for (int i = 0; i < actions.GetItemsInContainer(); ++i) {
    TActionStruct* a = actions[i];
    if (!a || !(a->Flags & kActionEnabled)) continue;
    if (IsActionCode(a->Code, TActionCode::GotoPage)) {
      TIArrayAsVector<string>* names = ProjectPageNames(book);
      for (int p = 0; names && p < names->GetItemsInContainer(); ++p) {
        const string* page = (*names)[p];
        uint32_t number = 0;
        if (page && !name.is_null() && ::lstrcmpiA(page->c_str(), name.c_str()) == 0 && book->GetPageNumber(p, number))
          a->Value1 = number;
      }
      continue;
    }
    (Info.Property.Byte1 ? a->Text2 : a->Text1) = name;
    if (a->Flags & kActionSplitsName) {
      string fields[4] = {a->Text1, a->Text2, a->Text4, a->Text5};
      SplitBarFields(name.c_str(), fields, 4);
      a->Text1 = fields[0];
      a->Text2 = fields[1];
      a->Text4 = fields[2];
      a->Text5 = fields[3];
    }
  }
}

int32_t TButtonItem::GetFileCount() {
  switch (ButtonData().Style) {
    case kButtonPicture:
    case kButtonFileIcon: return 1;
    case kButtonTwoPictures: return 2;
    case kButtonThreePictures: return 3;
    default: return 0;
  }
}

bool TButtonItem::GetFile(int index, bool& flag, string& path) {
  if (index < 0 || index > 2) return false;
  const TButtonData& d = ButtonData();
  path = index == 0 ? d.PictureName1 : index == 1 ? d.PictureName2 : d.PictureName3;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  flag = (d.Flags & kButtonLinkedPictures) != 0;
  return true;
}

bool TButtonItem::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(text);
  return true;
}

// ---- authoring ----

void TButtonItem::FitToContent(bool reload) {
  TButtonData& d = ButtonData();
  if (reload) d.ReloadAll();
  if (Info.Property.Flags & kPropScaleSize) return;
  int w = Info.Rect.Right - Info.Rect.Left, h = Info.Rect.Bottom - Info.Rect.Top;
  switch (d.Style) {
    case kButtonText: {
      TScreenDC dc;
      if (d.CaptionFont) dc.SelectObject(*d.CaptionFont);
      const TSize e = dc.GetTextExtent(d.Caption.is_null() ? "" : d.Caption.c_str());
      if (d.CaptionFont) dc.RestoreFont();
      w = std::max<int>(e.cx + 14, 40);
      h = std::max<int>(e.cy + 7, 20);
      break;
    }
    case kButtonPicture:
    case kButtonTwoPictures:
    case kButtonThreePictures:
      if (TDib* dib = d.Picture1.get()) {
        if (d.FrameCount < 1) d.FrameCount = 1;
        w = dib->Width() / d.FrameCount;
        h = dib->Height();
      }
      break;
    case kButtonSystemIcon:
    case kButtonFileIcon:
      w = ::GetSystemMetrics(SM_CXICON);
      h = ::GetSystemMetrics(SM_CYICON);
      UpdatePictures();
      break;
    default: break;
  }
  Info.Rect.Right = Info.Rect.Left + w;
  Info.Rect.Bottom = Info.Rect.Top + h;
}

TBitmap* TButtonItem::MakeFrameBitmap(TDib* picture, int frame, int frameWidth) {
  if (!picture || frameWidth <= 0) return nullptr;
  TScreenDC screen;
  auto* bitmap = new TBitmap(screen, frameWidth, picture->Height());
  TMemoryDC mem(screen);
  mem.SelectObject(*bitmap);
  const int left = (frame - 1) * frameWidth;
  DrawDibArea(mem, picture, left, 0, left + frameWidth, picture->Height(), 0, 0, frameWidth, picture->Height(), true,
              nullptr);
  mem.RestoreBitmap();
  return bitmap;
}

// ---------------------------------------------------------------- groups

void PressGroupDefaults(TObjectManager* manager) {
  if (EditMode) return;
  PressGroupDefaults(PageGroupButtons(manager));
}

void ReleaseButtonGroup(TObjectManager* manager, const TButtonItem& button) {
  ReleaseButtonGroup(PageGroupButtons(manager), button);
}
