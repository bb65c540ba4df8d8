// TSearchDialog ("Suchfunktion"): the free-text search over the tree
// database of the current page or of every page. The user types a word or
// a small query of quoted words joined by und / oder; the hits go into a
// drop-down list, and choosing one makes its entry current (changing the
// page first when it lies on another). Modeless, opened by code 32.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>

#include "database/core/searchrun.h"
#include "database/core/searchwords.h"
#include "database/searchdialogs.h"
#include "engine/core/format/actionstruct.h"

class TBookStruct;
class TCheckBox;
class TComboBox;
class TEdit;
class TObjectWindow;
class TStatic;

// Controls of IDD_SUCHE.
constexpr int kSearchWordId = 101;
constexpr int kWholeWordId = 102;
constexpr int kMatchCaseId = 103;
constexpr int kHitListId = 104;
constexpr int kClearHitsId = 105;
constexpr int kSearchHelpId = 106;
constexpr int kSearchWordLabelId = 107;
constexpr int kHitListLabelId = 108;
constexpr int kShowHitId = 109;

// Bits of the action's search-option word.
constexpr uint32_t kSearchEmptyList = 0x01;  // the list is emptied at every search
constexpr uint32_t kSearchAllPages = 0x08;
constexpr uint32_t kSearchShowButton = 0x10; // "&Anzeigen" shows a hit, choosing it does not
// Action flag: entries' search names are tested too.
constexpr uint32_t kSearchTestNames = 0x800;

// What survives the dialog for the next one.
struct TSearchDialogState {
  std::string LastWord;
  bool MatchCase = false;
  bool WholeWord = false;
  bool EmptyBeforeSearch = true;  // read, never stored back
};
TSearchDialogState& SearchDialogState();

// The texts from section "SEARCHDIALOG_RC" that replace the built-in ones.
struct TSearchDialogTexts {
  std::string Help, Error;
  TSearchMessageTexts Messages;
};

// The ini file the search dialogs read their texts from: "TSLPLAY32.INI"
// in the program folder, unless a test names another.
std::string SearchDialogIniPath();
void SetSearchDialogIniPath(const std::string& path);

class TSearchDialog : public TSearchDialogBase {
public:
  TSearchDialog(TWindow* parent, const TActionStruct& action, TBookStruct* book);
  ~TSearchDialog() override;

  void SetupWindow() override;
  // "&Suchen" (the default button).
  void CmOk() override { Search(); }
  void Search();
  void SearchWordChanged();
  void HitSelected();
  void ShowButtonClicked();
  void ShowSelectedHit();
  void ClearHits();
  void Help();

  const TSearchWordArray& Hits() const { return *HitArray; }
  const TSearchDialogTexts& Texts() const { return IniTexts; }
  TObjectWindow* HiddenPageWindow() const { return HiddenPage; }

private:
  void ReadIniTexts();
  void RefillHitList();
  int Message(const std::string& text);

  TEdit* WordEdit;
  TCheckBox* MatchCaseBox;
  TCheckBox* WholeWordBox;
  TCheckBox* ClearHitsBox;
  TComboBox* HitList;
  TStatic* WordLabel;
  TStatic* HitLabel;
  TBookStruct* Book;
  std::unique_ptr<TActionStruct> Action;
  std::unique_ptr<TSearchWordArray> HitArray;
  bool AllPages;
  TSearchDialogTexts IniTexts;
  TObjectWindow* HiddenPage = nullptr;  // a child window: the dialog deletes it

  DECLARE_RESPONSE_TABLE(TSearchDialog);
};
