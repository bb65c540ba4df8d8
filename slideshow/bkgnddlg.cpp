#include "slideshow/bkgnddlg.h"

#include <cstring>

#include "engine/core/format/background.h"
#include "foundation/commdlgs.h"
#include "foundation/helpbutton.h"
#include "foundation/resstring.h"
#include "foundation/winutil.h"
#include "platform/owl/dc.h"
#include "platform/owl/geometry.h"
#include "resources/ids_slideshow.h"
#include "slideshow/core/mediafilter.h"
#include "slideshow/mediaopen.h"

DEFINE_RESPONSE_TABLE1(TBkGndDlg, TDialog)
  EV_CBN_SELCHANGE(kBkGndPattern, CmPattern),
  EV_CBN_SELCHANGE(kBkGndKind, CmKind),
  EV_BN_CLICKED(kBkGndColour, CmColour),
  EV_BN_CLICKED(kBkGndPicture, CmPicture),
  EV_BN_CLICKED(kBkGndEndColour, CmEndColour),
  EV_COMMAND(IDOK, CmOk),
END_RESPONSE_TABLE;

namespace {

// The kind list: position, text (9300 + position) and the fill mode.
const uint16_t kKindModes[] = {kFillWindow, kFillColour, kFillGradientDown, kFillGradientUp,
                               kFillStretch, kFillTile, kFillPattern};
constexpr int kKinds = sizeof kKindModes / sizeof kKindModes[0];

}  // namespace

TPeepHole::TPeepHole(TWindow* parent, int resourceId, TBackground* background)
    : TButton(parent, resourceId), Background(background) {
  Attr.Style |= WS_DISABLED;
}

TPeepHole::~TPeepHole() {
  if (DrawDib) ::DrawDibClose(DrawDib);
}

void TPeepHole::ODADrawEntire(DRAWITEMSTRUCT& info) {
  if (!DrawDib) DrawDib = ::DrawDibOpen();
  TDC dc(info.hDC);
  Background->Paint(dc, TRect(info.rcItem), TPoint(0, 0), DrawDib);
}

TBkGndDlg::TBkGndDlg(TWindow* parent, TBackground* target)
    : TDialog(parent, IDD_BKGND), Target(target), Copy(std::make_unique<TBackground>(*target)) {
  Preview = new TPeepHole(this, kBkGndPreview, Copy.get());
  Kind = new TComboBox(this, kBkGndKind);
  Pattern = new TComboBox(this, kBkGndPattern);
  Colour = new TButton(this, kBkGndColour);
  Picture = new TButton(this, kBkGndPicture);
  Reference = new TCheckBox(this, kBkGndReference);
  EndColour = new TButton(this, kBkGndEndColour);
  Help = new THelpButton(this, 998, 480);
}

TBkGndDlg::~TBkGndDlg() = default;

void TBkGndDlg::SetupWindow() {
  TDialog::SetupWindow();
  // The template's button is enabled; the preview takes no clicks.
  Preview->EnableWindow(false);
  Reference->SetCheck((Target->Flags & kBackgroundLinked) ? BST_CHECKED : BST_UNCHECKED);
  for (int i = 0; i < kKinds; ++i)
    AddListItemWithData(Kind, 0, LoadResString(IDS_BKGND_KIND_FIRST + i), kKindModes[i]);
  for (int i = 0; i < kBackgroundPatterns; ++i) Pattern->AddString(LoadResString(IDS_BKGND_PATTERN_FIRST + i));
  Pattern->SetSelIndex(Copy->Pattern);
  for (int i = 0; i < kKinds; ++i) {
    if (kKindModes[i] == Target->Mode) {
      Kind->SetSelIndex(i);
      break;
    }
  }
  UpdateControls();
}

void TBkGndDlg::UpdateControls() {
  const int sel = Kind->GetSelIndex();
  if (sel < 0) return;
  const uint16_t mode = static_cast<uint16_t>(Kind->GetItemData(sel));
  const bool patternHadFocus = ::GetFocus() == Pattern->HWindow;
  for (TWindow* w : {static_cast<TWindow*>(Pattern), static_cast<TWindow*>(Colour), static_cast<TWindow*>(Picture),
                     static_cast<TWindow*>(Reference), static_cast<TWindow*>(EndColour)})
    w->EnableWindow(false);
  Colour->SetWindowText(LoadResString(IDS_BKGND_COLOURS));
  switch (mode) {
    case kFillColour:
      Colour->EnableWindow(true);
      break;
    case kFillGradientDown:
    case kFillGradientUp:
      Colour->EnableWindow(true);
      Colour->SetWindowText(LoadResString(IDS_BKGND_START_COLOUR));
      EndColour->EnableWindow(true);
      break;
    case kFillStretch:
    case kFillTile:
      Picture->EnableWindow(true);
      Reference->EnableWindow(true);
      break;
    case kFillPattern:
      Pattern->EnableWindow(true);
      if (Pattern->GetSelIndex() >= 0) Copy->Pattern = static_cast<uint16_t>(Pattern->GetSelIndex());
      if (patternHadFocus) ::SetFocus(Pattern->HWindow);
      break;
    default:
      break;
  }
  Copy->Mode = mode;
  Copy->FreeGdiObjects();
  Preview->Invalidate(true);
}

void TBkGndDlg::CmColour() {
  TColor c(Copy->Colour1);
  if (!SelectColor(this, c)) return;
  Copy->Colour1 = c.GetValue();
  UpdateControls();
}

void TBkGndDlg::CmEndColour() {
  TColor c(Copy->Colour2);
  if (!SelectColor(this, c)) return;
  Copy->Colour2 = c.GetValue();
  UpdateControls();
}

void TBkGndDlg::CmPicture() {
  string name = Copy->PictureFile;
  if (!SelectMediaFile(this, mkPictures, name)) return;
  Copy->PictureFile = name;
  // Releasing the cached picture alone would leave the preview and the
  // show without one: the chosen file is read here.
  Copy->LoadPicture();
  UpdateControls();
}

void TBkGndDlg::CmOk() {
  switch (Reference->GetCheck()) {
    case BST_CHECKED: Copy->Flags |= kBackgroundLinked; break;
    case BST_UNCHECKED: Copy->Flags &= ~kBackgroundLinked; break;
    default: break;
  }
  *Target = *Copy;
  TDialog::CmOk();
}
