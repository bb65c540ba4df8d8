// TDiaConfigDialog: the modal dialog on "DIASHOW_CONFIG" in which the user
// edits a slide window's show in place: the pictures with their captions
// and sounds, transition, automatic paging, background and music, global
// captions, keys and the Photo CD load options; "&Test" plays it, the
// "&Datei" menu keeps it in ".DIA" files.
//
// The local controls (102, 106, 108, 109, 111) hold the values of the shown
// entry until the next selection update writes them back; the global
// controls reach the show only through StoreSettings.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "platform/owl/button.h"
#include "platform/owl/combobox.h"
#include "platform/owl/dialog.h"
#include "platform/owl/edit.h"
#include "platform/owl/listbox.h"

class TDiaOption;
class THelpButton;

// Control ids of DIASHOW_CONFIG.
enum : int {
  kDiaCfgInsert = 100,
  kDiaCfgDelete = 101,
  kDiaCfgPictureSound = 102,
  kDiaCfgPictureSoundFile = 103,
  kDiaCfgMoveUp = 104,
  kDiaCfgMoveDown = 105,
  kDiaCfgLocalHeader = 106,
  kDiaCfgLocalHeaderFont = 107,
  kDiaCfgLocalHeaderAlign = 108,
  kDiaCfgLocalFooter = 109,
  kDiaCfgLocalFooterFont = 110,
  kDiaCfgLocalFooterAlign = 111,
  kDiaCfgTransition = 112,
  kDiaCfgTransitionTime = 113,
  kDiaCfgBackground = 114,
  kDiaCfgAdvanceTime = 115,
  kDiaCfgEndless = 116,
  kDiaCfgBackgroundSound = 117,
  kDiaCfgBackgroundSoundFile = 118,
  kDiaCfgHeader = 119,
  kDiaCfgHeaderFont = 120,
  kDiaCfgHeaderAlign = 121,
  kDiaCfgFooter = 122,
  kDiaCfgFooterFont = 123,
  kDiaCfgFooterAlign = 124,
  kDiaCfgNextKey = 125,
  kDiaCfgAbortKey = 126,
  kDiaCfgPreviousKey = 127,
  kDiaCfgPcdResolution = 128,
  kDiaCfgPcdDepth = 129,
  kDiaCfgPictureList = 130,
  kDiaCfgTest = 131,
  kDiaCfgBackgroundLoop = 132,
  kDiaCfgSkipKey = 133,
  kDiaCfgPauseKey = 134,
  kDiaCfgJumpInterval = 135,
  kDiaCfgHelp = 998,
  // Menu "&Datei".
  kDiaCfgFileOpen = 1005,
  kDiaCfgFileSave = 1006,
  kDiaCfgFileSaveAs = 1007,
  kDiaCfgFileNew = 1008,
};

// The show file filter of the "&Datei" commands and the save question.
extern const char* const kDiaFileFilter;
// The sound file filter: both patterns in one group, so MIDI files show.
extern const char* const kDiaSoundFilter;
extern const char* const kDiaSaveQuestion;

class TDiaConfigDialog : public TDialog {
public:
  // `show` stays the caller's and is edited in place.
  TDiaConfigDialog(TWindow* parent, TDiaOption* show);

  void SetupWindow() override;

  void ShowSettings();
  void StoreSettings();
  void FillPictureList();
  void SyncPictureSelection();
  // Asks "Soll ich vorher sichern" and saves on Yes; false when the user
  // cancelled or the file could not be saved.
  bool QuerySaveFirst();

  // Command handlers.
  virtual void CmOk() override;
  virtual void CmTest();
  virtual void CmNew();
  virtual void CmFileOpen();
  virtual void CmFileSave();
  virtual void CmFileSaveAs();
  virtual void CmInsertPictures();
  virtual void CmDeletePicture();
  virtual void CmPictureSoundFile();
  virtual void CmBackgroundSoundFile();
  virtual void CmGlobalHeaderFont();
  virtual void CmGlobalFooterFont();
  virtual void CmLocalHeaderFont();
  virtual void CmLocalFooterFont();
  virtual void CmBackground();
  virtual void CmBackgroundSoundCheck();
  virtual void CmMoveUp();
  virtual void CmMoveDown();

  const std::string& GetFileName() const { return FileName; }
  int GetShownEntry() const { return ShownEntry; }

  TListBox* PictureList;
  TCheckBox* PictureSound;
  TComboBox* TransitionKind;
  TEdit* TransitionTime;
  TEdit* AdvanceTime;
  TCheckBox* Endless;
  TComboBox* PcdResolution;
  TComboBox* PcdDepth;
  TCheckBox* BackgroundSound;
  TCheckBox* BackgroundLoop;
  TEdit* Header;
  TEdit* Footer;
  TComboBox* HeaderAlign;
  TComboBox* FooterAlign;
  TEdit* LocalHeader;
  TEdit* LocalFooter;
  TEdit* JumpInterval;
  TComboBox* LocalHeaderAlign;
  TComboBox* LocalFooterAlign;
  TComboBox* NextKey;
  TComboBox* PreviousKey;
  TComboBox* AbortKey;
  TComboBox* SkipKey;
  TComboBox* PauseKey;
  THelpButton* Help;

private:
  // Writes the show to `path`; false (after the message) when the file
  // could not be created or fully written.
  bool WriteShowFile(const std::string& path);
  // Asks for a name and saves under it; false when the dialog was
  // cancelled or the save failed (nothing adopted then).
  enum class TSaveAs { Saved, Cancelled, Failed };
  TSaveAs SaveUnderChosenName();
  void EnablePictureSoundByMusic();
  void EnableItem(int id, bool enable);
  void SetMainCaption(const std::string& text);

  int ShownEntry = -1;
  TDiaOption* Show;
  std::string FileName;

  DECLARE_RESPONSE_TABLE(TDiaConfigDialog);
};

// Runs the dialog on `show` over `parent` (the slide window's list).
void RunDiaConfigDialog(TWindow* parent, TDiaOption& show);
