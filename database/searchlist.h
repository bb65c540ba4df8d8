// The two search list dialogs, the index-style searches of a presentation:
// TSearchListDialog lists every word of the database texts, sorted, one
// line per word and entry; typing jumps to the first word with that
// beginning and choosing a word shows its entry. TSearchListDialog2 lists
// each word once, marked while it begins with the typed text, and the
// topics (labelled entries) of the marked words below. Both read the
// databases once, when they are set up; over all pages the words are kept
// for the rest of the run. Modeless, opened by code 32.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "database/core/searchwords.h"
#include "database/searchdialogs.h"
#include "engine/core/format/actionstruct.h"

class TBookStruct;
class TEdit;
class TListBox;
class TObjectWindow;
class TStatic;

// Controls of IDD_SUCHLISTE and IDD_SUCHLISTE2.
constexpr int kListWordId = 100;
constexpr int kListHitsId = 101;     // the words, or the topics of the three steps
constexpr int kListLabelId = 102;
constexpr int kListMarkingId = 103;  // the three steps' marking list

// Bits of the action's search-option word read by the list dialogs.
constexpr uint32_t kSearchListOnRequest = 0x20;  // only "Anzeigen" or a double click shows an entry

class TSearchListDialog : public TSearchDialogBase {
public:
  TSearchListDialog(TWindow* parent, const TActionStruct& action, TBookStruct* book);
  ~TSearchListDialog() override;

  void SetupWindow() override;
  void CleanupWindow() override;
  // "Anzeigen", or Enter.
  void CmOk() override { CmShow(); }
  void CmShow();
  void EvSearchWordChange();
  void EvHitListSelChange();
  void ShowSelectedHit();

  const TSearchWordArray& Words() const { return *WordArray; }

private:
  TEdit* WordEdit;
  TListBox* WordList;
  TStatic* WordLabel;
  TBookStruct* Book;
  std::unique_ptr<TActionStruct> Action;
  std::unique_ptr<TSearchWordArray> WordArray;
  bool AllPages = false;
  TObjectWindow* HiddenPage = nullptr;  // a child window: the dialog deletes it

  DECLARE_RESPONSE_TABLE(TSearchListDialog);
};

class TSearchListDialog2 : public TSearchDialogBase {
public:
  TSearchListDialog2(TWindow* parent, const TActionStruct& action, TBookStruct* book);
  ~TSearchListDialog2() override;

  void SetupWindow() override;
  void CleanupWindow() override;
  void CmOk() override { CmShow(); }
  void CmShow();
  void EvSearchWordChange();
  void EvHitListSelChange();
  void EvWordListSelChange();
  void FilterWordList(const char* text);
  void ShowSelectedHit();

  const TSearchWordArray2& Words() const { return *WordArray; }

private:
  TEdit* WordEdit;
  TListBox* TopicList;
  TListBox* MarkingList;
  TStatic* WordLabel;
  TBookStruct* Book;
  std::unique_ptr<TActionStruct> Action;
  std::unique_ptr<TSearchWordArray2> WordArray;
  bool AllPages = false;
  TObjectWindow* HiddenPage = nullptr;

  DECLARE_RESPONSE_TABLE(TSearchListDialog2);
};
