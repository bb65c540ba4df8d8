#include "slideshow/diaconfig.h"

#include <cstring>
#include <memory>
#include <utility>

#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "foundation/core/usstring.h"
#include "foundation/helpbutton.h"
#include "foundation/resstring.h"
#include "foundation/streamio.h"
#include "foundation/winutil.h"
#include "platform/owl/applicat.h"
#include "platform/owl/file.h"
#include "platform/owl/framewin.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_slideshow.h"
#include "slideshow/bkgnddlg.h"
#include "slideshow/core/diaoption.h"
#include "slideshow/core/numberfield.h"
#include "slideshow/showwindow.h"

const char* const kDiaFileFilter = "Diashow-Dateien (*.DIA)|*.DIA|";
const char* const kDiaSoundFilter = "Sound-Dateien (*.wav;*.mid)|*.wav;*.mid|";
const char* const kDiaSaveQuestion = "Soll ich vorher sichern";

DEFINE_RESPONSE_TABLE1(TDiaConfigDialog, TDialog)
  EV_COMMAND(IDOK, CmOk),
  EV_BN_CLICKED(kDiaCfgInsert, CmInsertPictures),
  EV_BN_CLICKED(kDiaCfgDelete, CmDeletePicture),
  EV_LBN_SELCHANGE(kDiaCfgPictureList, SyncPictureSelection),
  EV_BN_CLICKED(kDiaCfgPictureSoundFile, CmPictureSoundFile),
  EV_BN_CLICKED(kDiaCfgBackgroundSoundFile, CmBackgroundSoundFile),
  EV_BN_CLICKED(kDiaCfgHeaderFont, CmGlobalHeaderFont),
  EV_BN_CLICKED(kDiaCfgFooterFont, CmGlobalFooterFont),
  EV_BN_CLICKED(kDiaCfgLocalHeaderFont, CmLocalHeaderFont),
  EV_BN_CLICKED(kDiaCfgLocalFooterFont, CmLocalFooterFont),
  EV_BN_CLICKED(kDiaCfgBackground, CmBackground),
  EV_BN_CLICKED(kDiaCfgTest, CmTest),
  EV_BN_CLICKED(kDiaCfgBackgroundSound, CmBackgroundSoundCheck),
  EV_BN_CLICKED(kDiaCfgMoveUp, CmMoveUp),
  EV_BN_CLICKED(kDiaCfgMoveDown, CmMoveDown),
  EV_COMMAND(kDiaCfgFileNew, CmNew),
  EV_COMMAND(kDiaCfgFileOpen, CmFileOpen),
  EV_COMMAND(kDiaCfgFileSave, CmFileSave),
  EV_COMMAND(kDiaCfgFileSaveAs, CmFileSaveAs),
END_RESPONSE_TABLE;

namespace {

constexpr int kTransitionNames = 24;
constexpr int kPcdResolutions = 6;
constexpr int kPcdDepths = 4;
constexpr int kAlignments = 3;
constexpr uint32_t kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr uint32_t kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT;
// The edits of the two times take 8 characters.
constexpr uint kTimeTextLimit = 9;

const char* const kKeyNames[] = {"F1",     "F2",    "F3",    "F4",
                                 "F5",     "F6",    "F7",    "F8",
                                 "F9",     "F10",   "ESCAPE", "ENTER",
                                 "Linke Maustaste", "Rechte Maustaste", "Pause", "Tabulator"};

std::string FieldText(const TWindow& w) {
  char text[kNumberFieldMaxChars + 1] = {};
  w.GetWindowText(text, sizeof text);
  return text;
}

// A stored value as a list selection; values the list does not hold show
// as no selection.
void SelectValue(TComboBox& list, int value) { list.SetSelIndex(value >= 0 && value < list.GetCount() ? value : -1); }

// The selection as the stored 16-bit field takes it (-1 included).
uint16_t Selection16(const TComboBox& list) { return static_cast<uint16_t>(list.GetSelIndex()); }

// A caller's name as the initial name of a file dialog: names that do not
// fit the buffer start empty.
void InitialName(char (&buffer)[MAX_PATH], const std::string& name) {
  buffer[0] = 0;
  if (name.size() < MAX_PATH) std::memcpy(buffer, name.c_str(), name.size() + 1);
}

bool ChooseFont(TWindow* parent, tsl::FontRecord& record) {
  TChooseFontDialog::TData data = FontDataFromRecord(record);
  if (!SelectFont(parent, data)) return false;
  record = FontRecordFromData(data);
  return true;
}

}  // namespace

TDiaConfigDialog::TDiaConfigDialog(TWindow* parent, TDiaOption* show)
    : TDialog(parent, IDD_DIACONFIG), Show(show) {
  PictureList = new TListBox(this, kDiaCfgPictureList);
  PictureSound = new TCheckBox(this, kDiaCfgPictureSound);
  TransitionKind = new TComboBox(this, kDiaCfgTransition);
  TransitionTime = new TEdit(this, kDiaCfgTransitionTime, kTimeTextLimit);
  AdvanceTime = new TEdit(this, kDiaCfgAdvanceTime, kTimeTextLimit);
  Endless = new TCheckBox(this, kDiaCfgEndless);
  PcdResolution = new TComboBox(this, kDiaCfgPcdResolution);
  PcdDepth = new TComboBox(this, kDiaCfgPcdDepth);
  BackgroundSound = new TCheckBox(this, kDiaCfgBackgroundSound);
  BackgroundLoop = new TCheckBox(this, kDiaCfgBackgroundLoop);
  Header = new TEdit(this, kDiaCfgHeader);
  Footer = new TEdit(this, kDiaCfgFooter);
  HeaderAlign = new TComboBox(this, kDiaCfgHeaderAlign);
  FooterAlign = new TComboBox(this, kDiaCfgFooterAlign);
  LocalHeader = new TEdit(this, kDiaCfgLocalHeader);
  LocalFooter = new TEdit(this, kDiaCfgLocalFooter);
  JumpInterval = new TEdit(this, kDiaCfgJumpInterval);
  LocalHeaderAlign = new TComboBox(this, kDiaCfgLocalHeaderAlign);
  LocalFooterAlign = new TComboBox(this, kDiaCfgLocalFooterAlign);
  NextKey = new TComboBox(this, kDiaCfgNextKey);
  PreviousKey = new TComboBox(this, kDiaCfgPreviousKey);
  AbortKey = new TComboBox(this, kDiaCfgAbortKey);
  SkipKey = new TComboBox(this, kDiaCfgSkipKey);
  PauseKey = new TComboBox(this, kDiaCfgPauseKey);
  Help = new THelpButton(this, kDiaCfgHelp, 780, "");
}

void TDiaConfigDialog::SetupWindow() {
  TDialog::SetupWindow();
  ::ShowWindow(GetDlgItem(kDiaCfgHelp), SW_HIDE);
  CenterWindow(HWindow, nullptr);
  for (int i = 0; i < kTransitionNames; ++i) TransitionKind->AddString(LoadResString(IDS_TRANSITION_FIRST + i));
  for (int i = 0; i < kPcdResolutions; ++i) PcdResolution->AddString(LoadResString(IDS_PCD_RESOLUTION_FIRST + i));
  for (int i = 0; i < kPcdDepths; ++i) PcdDepth->AddString(LoadResString(IDS_PCD_DEPTH_FIRST + i));
  for (TComboBox* keys : {NextKey, PreviousKey, AbortKey, SkipKey, PauseKey})
    for (const char* name : kKeyNames) keys->AddString(name);
  for (TComboBox* align : {HeaderAlign, FooterAlign, LocalHeaderAlign, LocalFooterAlign})
    for (int i = 0; i < kAlignments; ++i) align->AddString(LoadResString(IDS_ALIGN_FIRST + i));
  LocalHeaderAlign->SetSelIndex(kDiaAlignCentre);
  LocalFooterAlign->SetSelIndex(kDiaAlignCentre);
  ShowSettings();
  FillPictureList();
  EnablePictureSoundByMusic();
  SetCaption(LoadResString(IDS_DIACONFIG_CAPTION));
}

void TDiaConfigDialog::ShowSettings() {
  SelectValue(*TransitionKind, Show->TransitionKind);
  TransitionTime->SetWindowText(MsToSecondsText(Show->TransitionDuration).c_str());
  AdvanceTime->SetWindowText(MsToSecondsText(Show->AdvanceInterval).c_str());
  JumpInterval->SetWindowText(std::to_string(Show->JumpInterval).c_str());
  Endless->SetCheck(Show->Endless ? BST_CHECKED : BST_UNCHECKED);
  // "Endlos" is the loop: the stored field says "once".
  BackgroundLoop->SetCheck(Show->BackgroundSoundOnce == 0 ? BST_CHECKED : BST_UNCHECKED);
  SelectValue(*PcdResolution, Show->PcdResolution - 1);
  SelectValue(*PcdDepth, Show->PcdColourDepth);
  BackgroundSound->SetCheck(Show->BackgroundSoundEnabled ? BST_CHECKED : BST_UNCHECKED);
  Header->SetWindowText(Show->HeaderText.c_str());
  Footer->SetWindowText(Show->FooterText.c_str());
  SelectValue(*HeaderAlign, Show->HeaderAlign);
  SelectValue(*FooterAlign, Show->FooterAlign);
  SelectValue(*NextKey, Show->NextKey);
  SelectValue(*PreviousKey, Show->PreviousKey);
  SelectValue(*AbortKey, Show->AbortKey);
  SelectValue(*SkipKey, Show->SkipKey);
  SelectValue(*PauseKey, Show->PauseKey);
}

void TDiaConfigDialog::StoreSettings() {
  if (TransitionKind->GetSelIndex() >= 0) Show->TransitionKind = static_cast<int16_t>(TransitionKind->GetSelIndex());
  Show->TransitionDuration = SecondsFieldToMs(FieldText(*TransitionTime).c_str());
  Show->Endless = Endless->IsChecked() ? 1 : 0;
  Show->AdvanceInterval = SecondsFieldToMs(FieldText(*AdvanceTime).c_str());
  Show->JumpInterval = JumpIntervalField(FieldText(*JumpInterval).c_str());
  Show->BackgroundSoundOnce = BackgroundLoop->IsChecked() ? 0 : 1;
  if (PcdResolution->GetSelIndex() >= 0) Show->PcdResolution = static_cast<uint16_t>(PcdResolution->GetSelIndex() + 1);
  if (PcdDepth->GetSelIndex() >= 0) Show->PcdColourDepth = static_cast<uint16_t>(PcdDepth->GetSelIndex());
  Show->BackgroundSoundEnabled = BackgroundSound->IsChecked() ? 1 : 0;
  Show->HeaderText = GetWindowString(Header->HWindow);
  Show->FooterText = GetWindowString(Footer->HWindow);
  if (HeaderAlign->GetSelIndex() >= 0) Show->HeaderAlign = Selection16(*HeaderAlign);
  if (FooterAlign->GetSelIndex() >= 0) Show->FooterAlign = Selection16(*FooterAlign);
  const struct {
    TComboBox* list;
    int16_t* field;
  } keys[] = {{NextKey, &Show->NextKey},
              {PreviousKey, &Show->PreviousKey},
              {AbortKey, &Show->AbortKey},
              {SkipKey, &Show->SkipKey},
              {PauseKey, &Show->PauseKey}};
  for (const auto& k : keys)
    if (k.list->GetSelIndex() >= 0) *k.field = static_cast<int16_t>(k.list->GetSelIndex());
}

void TDiaConfigDialog::FillPictureList() {
  PictureList->ClearList();
  for (int i = 0; i < Show->Pictures.Count(); ++i) PictureList->AddString(Show->Pictures[i].PictureFile.c_str());
  ShownEntry = -1;
  PictureList->SetSelIndex(0);
  SyncPictureSelection();
}

void TDiaConfigDialog::EnableItem(int id, bool enable) { ::EnableWindow(GetDlgItem(id), enable); }

void TDiaConfigDialog::SyncPictureSelection() {
  const int s = PictureList->GetSelIndex();
  static const int kListControls[] = {kDiaCfgDelete,          kDiaCfgPictureSoundFile, kDiaCfgMoveUp,
                                      kDiaCfgMoveDown,        kDiaCfgLocalHeaderFont,  kDiaCfgLocalFooterFont,
                                      kDiaCfgLocalHeaderAlign, kDiaCfgLocalFooterAlign, kDiaCfgLocalHeader,
                                      kDiaCfgLocalFooter,     kDiaCfgPictureSound};
  for (int id : kListControls) EnableItem(id, true);
  if (s < 1) EnableItem(kDiaCfgMoveUp, false);
  if (s >= PictureList->GetCount() - 1) EnableItem(kDiaCfgMoveDown, false);
  if (s < 0) {
    for (int id : {kDiaCfgPictureSoundFile, kDiaCfgLocalHeaderFont, kDiaCfgLocalFooterFont, kDiaCfgDelete,
                   kDiaCfgLocalHeaderAlign, kDiaCfgLocalFooterAlign, kDiaCfgLocalHeader, kDiaCfgLocalFooter,
                   kDiaCfgPictureSound})
      EnableItem(id, false);
    return;
  }
  if (ShownEntry >= 0 && ShownEntry < Show->Pictures.Count()) {
    TDiaFileInfo& shown = Show->Pictures[ShownEntry];
    shown.SoundEnabled = PictureSound->IsChecked() ? 1 : 0;
    shown.HeaderText = GetWindowString(LocalHeader->HWindow);
    shown.FooterText = GetWindowString(LocalFooter->HWindow);
    shown.HeaderAlign = Selection16(*LocalHeaderAlign);
    shown.FooterAlign = Selection16(*LocalFooterAlign);
  }
  if (s >= Show->Pictures.Count()) return;
  ShownEntry = s;
  const TDiaFileInfo& entry = Show->Pictures[s];
  PictureSound->SetCheck(entry.SoundEnabled ? BST_CHECKED : BST_UNCHECKED);
  LocalHeader->SetWindowText(entry.HeaderText.c_str());
  LocalFooter->SetWindowText(entry.FooterText.c_str());
  SelectValue(*LocalHeaderAlign, entry.HeaderAlign);
  SelectValue(*LocalFooterAlign, entry.FooterAlign);
  EnableItem(kDiaCfgPictureSoundFile, true);
}

void TDiaConfigDialog::EnablePictureSoundByMusic() {
  PictureSound->EnableWindow(!BackgroundSound->IsChecked() && PictureList->GetSelIndex() >= 0);
}

void TDiaConfigDialog::SetMainCaption(const std::string& text) {
  TApplication* app = TApplication::GetApplicationObject();
  if (TFrameWindow* main = app ? app->GetMainWindow() : nullptr) main->SetCaption(text.c_str());
}

bool TDiaConfigDialog::WriteShowFile(const std::string& path) {
  bool ok = false;
  {
    TFile f(path.c_str(), TFile::ReadWrite | TFile::PermReadWrite | TFile::CreateAlways);
    if (f.IsOpen()) {
      ok = Show->Write(f);
      ok = f.Close() && ok;
    }
  }
  if (!ok) UiMessageBox(HWindow, LoadResString(IDS_DIACONFIG_SAVE_FAILED), ProgramTitle(), MB_OK | MB_ICONEXCLAMATION);
  return ok;
}

TDiaConfigDialog::TSaveAs TDiaConfigDialog::SaveUnderChosenName() {
  char name[MAX_PATH];
  InitialName(name, FileName);
  if (!SelectFileName(this, name, false, kDiaFileFilter, nullptr, kSaveFlags, nullptr, nullptr))
    return TSaveAs::Cancelled;
  StoreSettings();
  SyncPictureSelection();
  // The name is adopted only once the file holds the show, so that a
  // failed save leaves "&Speichern" aimed where it was.
  if (!WriteShowFile(name)) return TSaveAs::Failed;
  FileName = name;
  SetMainCaption(FileName);
  return TSaveAs::Saved;
}

bool TDiaConfigDialog::QuerySaveFirst() {
  switch (UiMessageBox(HWindow, kDiaSaveQuestion, ProgramTitle(), MB_YESNOCANCEL)) {
    case IDYES: break;
    case IDNO: return true;
    default: return false;
  }
  if (FileName.empty()) {
    return SaveUnderChosenName() != TSaveAs::Failed;
  }
  StoreSettings();
  SyncPictureSelection();
  return WriteShowFile(FileName);
}

void TDiaConfigDialog::CmOk() {
  StoreSettings();
  SyncPictureSelection();
  if (QuerySaveFirst()) CloseWindow(IDOK);
}

void TDiaConfigDialog::CmTest() {
  StoreSettings();
  SyncPictureSelection();
  TDiaShowWindow show(this, Show);
  show.Execute();
}

void TDiaConfigDialog::CmNew() {
  if (!QuerySaveFirst()) return;
  FileName.clear();
  {
    const TDiaOption fresh;
    Show->Assign(fresh);
  }
  ShowSettings();
  FillPictureList();
  EnablePictureSoundByMusic();
}

void TDiaConfigDialog::CmFileOpen() {
  if (!QuerySaveFirst()) return;
  char name[MAX_PATH] = {};
  if (!SelectFileName(this, name, true, kDiaFileFilter, nullptr, kOpenFlags, nullptr, nullptr)) return;
  {
    TFile f(name, TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
    uint32_t magic = 0;
    // A file of another kind keeps the old name, or "&Speichern" would
    // write the show over it.
    if (f.IsOpen() && f.Read(&magic, sizeof magic) == sizeof magic && magic == kDiaMagic) {
      f.Seek(0);
      Show->Read(f);
      FileName = name;
      SetMainCaption(FileName);
    }
  }
  ShowSettings();
  FillPictureList();
  EnablePictureSoundByMusic();
}

void TDiaConfigDialog::CmFileSave() {
  if (FileName.empty()) {
    SaveUnderChosenName();
    return;
  }
  StoreSettings();
  SyncPictureSelection();
  WriteShowFile(FileName);
}

void TDiaConfigDialog::CmFileSaveAs() { SaveUnderChosenName(); }

void TDiaConfigDialog::CmInsertPictures() {
  TUSStrings files;
  if (!SelectFiles(files, this, LoadResString(IDS_DIACONFIG_PICTURE_FILTER))) return;
  for (int i = 0; i < files.Count(); ++i) {
    auto entry = std::make_unique<TDiaFileInfo>();
    entry->PictureFile = files[i];
    // The stored count is 16 bits read as signed: a longer list would come
    // back from the file as no list at all.
    if (!Show->Pictures.Add(std::move(entry))) break;
    PictureList->AddString(files[i].c_str());
  }
}

void TDiaConfigDialog::CmDeletePicture() {
  const int s = PictureList->GetSelIndex();
  if (s < 0) return;
  SyncPictureSelection();
  PictureList->DeleteString(s);
  if (s < Show->Pictures.Count()) Show->Pictures.Remove(s);
  const int n = PictureList->GetCount();
  PictureList->SetSelIndex(s > n - 1 ? n - 1 : s);
  ShownEntry = -1;
  SyncPictureSelection();
}

void TDiaConfigDialog::CmPictureSoundFile() {
  const int s = PictureList->GetSelIndex();
  if (s < 0 || s >= Show->Pictures.Count()) return;
  TDiaFileInfo& entry = Show->Pictures[s];
  char name[MAX_PATH];
  InitialName(name, entry.SoundFile.str());
  if (SelectFileName(this, name, true, kDiaSoundFilter, nullptr, kOpenFlags, nullptr, nullptr)) entry.SoundFile = name;
}

void TDiaConfigDialog::CmBackgroundSoundFile() {
  char name[MAX_PATH];
  InitialName(name, Show->BackgroundSoundFile.str());
  if (SelectFileName(this, name, true, kDiaSoundFilter, nullptr, kOpenFlags, nullptr, nullptr))
    Show->BackgroundSoundFile = name;
}

void TDiaConfigDialog::CmGlobalHeaderFont() { ChooseFont(this, Show->HeaderFont); }
void TDiaConfigDialog::CmGlobalFooterFont() { ChooseFont(this, Show->FooterFont); }

void TDiaConfigDialog::CmLocalHeaderFont() {
  const int s = PictureList->GetSelIndex();
  if (s >= 0 && s < Show->Pictures.Count()) ChooseFont(this, Show->Pictures[s].HeaderFont);
}

void TDiaConfigDialog::CmLocalFooterFont() {
  const int s = PictureList->GetSelIndex();
  if (s >= 0 && s < Show->Pictures.Count()) ChooseFont(this, Show->Pictures[s].FooterFont);
}

void TDiaConfigDialog::CmBackground() {
  TBkGndDlg dialog(this, &Show->Background);
  dialog.Execute();
}

void TDiaConfigDialog::CmBackgroundSoundCheck() { EnablePictureSoundByMusic(); }

void TDiaConfigDialog::CmMoveUp() {
  const int s = PictureList->GetSelIndex();
  if (s < 1 || s >= Show->Pictures.Count()) return;
  SyncPictureSelection();
  PictureList->DeleteString(s);
  std::swap(Show->Pictures[s], Show->Pictures[s - 1]);
  PictureList->InsertString(Show->Pictures[s - 1].PictureFile.c_str(), s - 1);
  PictureList->SetSelIndex(s - 1);
  ShownEntry = -1;
  SyncPictureSelection();
}

void TDiaConfigDialog::CmMoveDown() {
  const int s = PictureList->GetSelIndex();
  if (static_cast<unsigned>(s) >= static_cast<unsigned>(Show->Pictures.Count() - 1)) return;
  SyncPictureSelection();
  PictureList->DeleteString(s);
  std::swap(Show->Pictures[s], Show->Pictures[s + 1]);
  PictureList->InsertString(Show->Pictures[s + 1].PictureFile.c_str(), s + 1);
  PictureList->SetSelIndex(s + 1);
  ShownEntry = -1;
  SyncPictureSelection();
}

void RunDiaConfigDialog(TWindow* parent, TDiaOption& show) {
  TDiaConfigDialog dialog(parent, &show);
  dialog.Execute();
}
