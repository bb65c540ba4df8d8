#include "database/searchlist.h"

#include <string>
#include <vector>

#include "database/core/dbsearch.h"
#include "database/core/searchlist.h"
#include "database/core/searchtext.h"
#include "database/searchdlg.h"
#include "database/searchfields.h"
#include "database/searchwalk.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "foundation/winutil.h"
#include "platform/owl/edit.h"
#include "platform/owl/listbox.h"
#include "platform/owl/profile.h"
#include "platform/owl/static.h"

namespace {

constexpr const char* kIniSection = "SEARCHDIALOG_RC";
// An ini value is read into 256 bytes.
constexpr unsigned kIniValueSize = 256;
constexpr const char* kProgressText = "Lade Datenbankinformation...";
// The list set-up gathers texts: slot 255 has no hit bit, and the search
// text is never tested.
constexpr int32_t kCollectSlot = 255;
constexpr const char* kCollectText = "testlauf";
// What the lists reserve before they are filled.
constexpr int kStorageItems = 32000;
constexpr int kStorageBytesPerItem = 60;
constexpr uint kMovePlace = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// The mouse capture and the wait cursor of the set-up, given back on every
// way out.
class TWaitCursor {
public:
  explicit TWaitCursor(HWND dialog) {
    ::SetCapture(dialog);
    Previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  }
  ~TWaitCursor() {
    ::SetCursor(Previous);
    ::ReleaseCapture();
  }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
  HCURSOR Previous;
};

// Without "show on request" the entry shows as the selection changes:
// "Anzeigen" goes and "Abbruch" stands in the middle.
void CentreCancelButton(TDialog& dialog, bool onRequest) {
  if (onRequest) return;
  if (HWND ok = dialog.GetDlgItem(IDOK)) ::ShowWindow(ok, SW_HIDE);
  HWND cancel = dialog.GetDlgItem(IDCANCEL);
  if (!cancel) return;
  RECT client{}, button{};
  ::GetClientRect(dialog.HWindow, &client);
  ::GetWindowRect(cancel, &button);
  ::MapWindowPoints(nullptr, dialog.HWindow, reinterpret_cast<POINT*>(&button), 2);
  const int x = (client.right - client.left) / 2 - (button.right - button.left) / 2;
  ::SetWindowPos(cancel, nullptr, x, button.top, 0, 0, kMovePlace);
}

void ReadIniCaptions(TDialog& dialog) {
  const std::string path = SearchDialogIniPath();
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  const TProfile ini(kIniSection, path.c_str());
  char buffer[kIniValueSize] = {};
  ini.GetString("CAPTION", buffer, sizeof buffer, "");
  if (*buffer) dialog.SetCaption(buffer);
  buffer[0] = 0;
  ini.GetString("TITLE_SEARCHWORD", buffer, sizeof buffer, "");
  if (*buffer) ::SetDlgItemTextA(dialog.HWindow, kListLabelId, buffer);
}

TObjectWindow* MakeHiddenPage(TWindow* dialog) {
  auto* page = new TObjectWindow(false, dialog);
  page->Attr.Style &= ~WS_VISIBLE;
  page->Attr.X = page->Attr.Y = page->Attr.W = page->Attr.H = 0;
  if (page->Create()) page->Show(SW_HIDE);
  return page;
}

// Every text of the searched fields (and the entries' search names when the
// action asks) on the pages of the walk, with the entry it belongs to.
using TTextSink = std::function<void(const TDBNodeManager& db, int32_t labelField, const TSearchTripelWord& where,
                                     const string& text)>;

void CollectTexts(TBookStruct& book, const TActionStruct& action, bool allPages, TObjectWindow* hiddenPage,
                  const TTextSink& sink) {
  const TDBNodeManager::MatchFn match = [](const char* text, void* context, uint8_t matchCase, uint8_t wholeWord) {
    return MatchSearchText(text, static_cast<const char*>(context), matchCase != 0, wholeWord != 0);
  };
  TSearchObjectInfos infos;
  WalkSearchPages(book, allPages, hiddenPage, infos, kProgressText,
                  [&](int page, TObjectManager& manager, TDBNodeManager& db) {
                    TSearchFieldTargets set;
                    RunDatabaseSearch(set, action, db, infos, &manager, allPages, true);
                    std::vector<int32_t> results;
                    std::vector<string> texts;
                    SearchDBTree(db, kCollectSlot, &db.Root(), kCollectText, (action.Flags & kSearchTestNames) ? 1 : 0,
                                 0, 0, static_cast<int16_t>(set.Fields.Indexes.size()), set.Fields.Indexes.data(),
                                 set.TargetArgs.data(), results, match, SearchFieldTransform(set), allPages ? 1 : 0,
                                 &texts);
                    const size_t n = std::min(results.size(), texts.size());
                    for (size_t i = 0; i < n; ++i)
                      sink(db, set.Fields.LabelField, TSearchTripelWord(results[i], allPages ? page : 0, string(), 1, 0),
                           texts[i]);
                    return true;
                  });
}

// Shows the entry a list line leads to, on its page when it lies on
// another; the record is read before the page change ends the dialog.
void ShowRecord(TSearchDialogBase& dialog, TBookStruct* book, bool allPages, const TSearchTripelWord* record) {
  if (!book || !record) return;
  const int32_t entry = record->EntryId;
  const int32_t page = record->PageIndex;
  TSearchDialogBase::TBusyScope busy(dialog, false);
  if (allPages && page != -1 && page != book->CurrentPage) book->GotoPage(page, 0, entry, 1);
  book->GotoDBRecord(entry, 1);
}

// The record behind the selected line, or null.
template <class Record>
const Record* SelectedRecord(const TListBox& list) {
  const int index = list.GetSelIndex();
  if (index < 0) return nullptr;
  const LPARAM data = list.GetItemData(index);
  return data == LB_ERR ? nullptr : reinterpret_cast<const Record*>(data);
}

void ListRedraw(TListBox& list, bool on) {
  list.SendMessage(WM_SETREDRAW, on ? TRUE : FALSE);
  if (on) list.Invalidate(true);
}

}  // namespace

// ---- TSearchListDialog ----

DEFINE_RESPONSE_TABLE1(TSearchListDialog, TSearchDialogBase)
  EV_EN_CHANGE(kListWordId, EvSearchWordChange),
  EV_LBN_SELCHANGE(kListHitsId, EvHitListSelChange),
  EV_LBN_DBLCLK(kListHitsId, ShowSelectedHit),
END_RESPONSE_TABLE;

TSearchListDialog::TSearchListDialog(TWindow* parent, const TActionStruct& action, TBookStruct* book)
    : TSearchDialogBase(parent, "IDD_SUCHLISTE", TSearchDialogKind::SearchList),
      WordEdit(new TEdit(this, kListWordId)),
      WordList(new TListBox(this, kListHitsId)),
      WordLabel(new TStatic(this, kListLabelId)),
      Book(book),
      Action(std::make_unique<TActionStruct>(action)),
      WordArray(std::make_unique<TSearchWordArray>(101, 0, 100)) {}

TSearchListDialog::~TSearchListDialog() = default;

void TSearchListDialog::SetupWindow() {
  TSearchDialogBase::SetupWindow();
  WordList->InitStorage(kStorageItems, kStorageBytesPerItem);
  CenterWindow(HWindow, nullptr);
  CentreCancelButton(*this, (Action->Flags2 & kSearchListOnRequest) != 0);
  AllPages = (Action->Flags2 & kSearchAllPages) != 0;
  ReadIniCaptions(*this);
  {
    TBusyScope busy(*this, AllPages);
    TWaitCursor cursor(HWindow);
    WordList->ClearList();
    WordArray->Flush(tsl::DeleteType::Delete);
    if (AllPages && !HiddenPage) HiddenPage = MakeHiddenPage(this);
    TSearchWordArray& cache = SearchWordCache();
    const bool fillCache = AllPages && cache.GetItemsInContainer() == 0;
    if (AllPages && !fillCache) {
      for (const TSearchTripelWord* w : cache) WordArray->Add(new TSearchTripelWord(*w));
    } else if (Book) {
      CollectTexts(*Book, *Action, AllPages, HiddenPage,
                   [this](const TDBNodeManager&, int32_t, const TSearchTripelWord& where, const string& text) {
                     AddTextWords(*WordArray, where, text, Action->Flags2, static_cast<char>(Action->Separator));
                   });
      if (AllPages) ::UpdateWindow(HWindow);
    }
    ListRedraw(*WordList, false);
    for (TSearchTripelWord* w : *WordArray) {
      const int at = WordList->AddString(SearchListLine(w->Word).c_str());
      if (at >= 0) WordList->SetItemData(at, reinterpret_cast<LPARAM>(w));
      if (fillCache) cache.Add(new TSearchTripelWord(*w));
    }
    ListRedraw(*WordList, true);
  }
  if (!AllPages) {
    WordList->SetSelIndex(0);
    EvHitListSelChange();
  }
}

void TSearchListDialog::CleanupWindow() {
  TSearchDialogBase::CleanupWindow();
  WordArray->Flush(tsl::DeleteType::Delete);
}

void TSearchListDialog::CmShow() {
  if (Action->Flags2 & kSearchListOnRequest) {
    ShowSelectedHit();
  } else if (!IsBusy()) {
    ShutDownWindow(IDOK);
  }
}

void TSearchListDialog::EvHitListSelChange() {
  if (!(Action->Flags2 & kSearchListOnRequest)) ShowSelectedHit();
}

void TSearchListDialog::ShowSelectedHit() {
  ShowRecord(*this, Book, AllPages, SelectedRecord<TSearchTripelWord>(*WordList));
}

void TSearchListDialog::EvSearchWordChange() {
  const std::string text = WordEdit->GetText();
  if (text.empty()) {
    WordList->SetSelIndex(0);
    EvHitListSelChange();
    return;
  }
  const int at = FindTypedWord(*WordArray, text.c_str());
  if (at < 0) return;
  // The line of the found record: the list sorts by its own rule, so the
  // line's index need not be the record's.
  const LPARAM record = reinterpret_cast<LPARAM>((*WordArray)[at]);
  const int lines = WordList->GetCount();
  for (int i = 0; i < lines; ++i)
    if (WordList->GetItemData(i) == record) {
      WordList->SetSelIndex(i);
      return;
    }
}

// ---- TSearchListDialog2 ----

DEFINE_RESPONSE_TABLE1(TSearchListDialog2, TSearchDialogBase)
  EV_EN_CHANGE(kListWordId, EvSearchWordChange),
  EV_LBN_SELCHANGE(kListHitsId, EvHitListSelChange),
  EV_LBN_SELCHANGE(kListMarkingId, EvWordListSelChange),
  EV_LBN_DBLCLK(kListHitsId, ShowSelectedHit),
END_RESPONSE_TABLE;

TSearchListDialog2::TSearchListDialog2(TWindow* parent, const TActionStruct& action, TBookStruct* book)
    : TSearchDialogBase(parent, "IDD_SUCHLISTE2", TSearchDialogKind::SearchList2),
      WordEdit(new TEdit(this, kListWordId)),
      TopicList(new TListBox(this, kListHitsId)),
      MarkingList(new TListBox(this, kListMarkingId)),
      WordLabel(new TStatic(this, kListLabelId)),
      Book(book),
      Action(std::make_unique<TActionStruct>(action)),
      WordArray(std::make_unique<TSearchWordArray2>(101, 0, 100)) {}

TSearchListDialog2::~TSearchListDialog2() = default;

void TSearchListDialog2::SetupWindow() {
  TSearchDialogBase::SetupWindow();
  TopicList->InitStorage(kStorageItems, kStorageBytesPerItem);
  MarkingList->InitStorage(kStorageItems, kStorageBytesPerItem);
  CenterWindow(HWindow, nullptr);
  CentreCancelButton(*this, (Action->Flags2 & kSearchListOnRequest) != 0);
  AllPages = (Action->Flags2 & kSearchAllPages) != 0;
  ReadIniCaptions(*this);
  {
    TBusyScope busy(*this, AllPages);
    TWaitCursor cursor(HWindow);
    TopicList->ClearList();
    WordArray->Flush(tsl::DeleteType::Delete);
    if (AllPages && !HiddenPage) HiddenPage = MakeHiddenPage(this);
    TSearchWordArray2& cache = SearchWordCache2();
    const bool fillCache = AllPages && cache.GetItemsInContainer() == 0;
    if (AllPages && !fillCache) {
      for (const TSearchTripelWord2* w : cache) WordArray->Add(new TSearchTripelWord2(*w));
    } else if (Book) {
      CollectTexts(*Book, *Action, AllPages, HiddenPage,
                   [this](const TDBNodeManager& db, int32_t labelField, const TSearchTripelWord& where,
                          const string& text) {
                     const char* label = nullptr;
                     if (labelField < 0) label = db.GetCategoryName(db.FindEntry(where.EntryId));
                     else label = GetEntryFieldText(db, where.EntryId, labelField);
                     AddTextWords2(*WordArray, where, text, string(label ? label : ""), Action->Flags2,
                                   static_cast<char>(Action->Separator));
                   });
      if (AllPages) ::UpdateWindow(HWindow);
    }
    if (fillCache)
      for (const TSearchTripelWord2* w : *WordArray) cache.Add(new TSearchTripelWord2(*w));
  }
  // All words listed and marked, their topics below and, without all pages,
  // the first topic shown (once: a second showing would record a second
  // history step for the same entry).
  FilterWordList("");
}

void TSearchListDialog2::CleanupWindow() {
  TSearchDialogBase::CleanupWindow();
  WordArray->Flush(tsl::DeleteType::Delete);
}

void TSearchListDialog2::CmShow() {
  if (Action->Flags2 & kSearchListOnRequest) {
    ShowSelectedHit();
  } else if (!IsBusy()) {
    ShutDownWindow(IDOK);
  }
}

void TSearchListDialog2::EvHitListSelChange() {
  if (!(Action->Flags2 & kSearchListOnRequest)) ShowSelectedHit();
}

void TSearchListDialog2::ShowSelectedHit() {
  ShowRecord(*this, Book, AllPages, SelectedRecord<TSearchTripelWord>(*TopicList));
}

void TSearchListDialog2::EvSearchWordChange() { FilterWordList(WordEdit->GetText().c_str()); }

void TSearchListDialog2::FilterWordList(const char* text) {
  MarkingList->ClearList();
  ListRedraw(*MarkingList, false);
  for (TSearchTripelWord2* w : *WordArray) {
    if (!BeginsWithTyped(w->Word.c_str(), text)) continue;
    const int at = MarkingList->AddString(SearchListLine(w->Word).c_str());
    if (at < 0) continue;
    MarkingList->SetItemData(at, reinterpret_cast<LPARAM>(w));
    MarkingList->SetSel(at, true);
  }
  ListRedraw(*MarkingList, true);
  EvWordListSelChange();
}

void TSearchListDialog2::EvWordListSelChange() {
  TopicList->ClearList();
  ListRedraw(*TopicList, false);
  std::vector<int> marked(static_cast<size_t>(MarkingList->GetCount()) + 1);
  const int n = MarkingList->GetSelIndexes(marked.data(), static_cast<int>(marked.size()));
  for (int i = 0; i < n; ++i) {
    const LPARAM data = MarkingList->GetItemData(marked[i]);
    if (data == LB_ERR || !data) continue;
    const auto* word = reinterpret_cast<const TSearchTripelWord2*>(data);
    for (TSearchTripelWord* topic : *word->Topics) {
      const int at = TopicList->AddString(SearchListLine(topic->Word).c_str());
      if (at >= 0) TopicList->SetItemData(at, reinterpret_cast<LPARAM>(topic));
    }
  }
  TopicList->SetSelIndex(0);
  ListRedraw(*TopicList, true);
  if (!AllPages) EvHitListSelChange();
}
