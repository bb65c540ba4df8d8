#include "database/searchdlg.h"

#include <vector>

#include "actions/progressdlg.h"
#include "database/core/dbsearch.h"
#include "database/core/searchtext.h"
#include "database/searchfields.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/core/pathstr.h"
#include "foundation/resstring.h"
#include "foundation/sysinfo.h"
#include "foundation/winutil.h"
#include "platform/owl/button.h"
#include "platform/owl/combobox.h"
#include "platform/owl/edit.h"
#include "platform/owl/profile.h"
#include "platform/owl/static.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_database.h"

namespace {

constexpr const char* kIniSection = "SEARCHDIALOG_RC";
// An ini value is read into 256 bytes.
constexpr unsigned kIniValueSize = 256;
constexpr const char* kProgressText = "Durchsuche Datenbank...";
// The search dialog's hits use slot 0 of the hit bits.
constexpr int32_t kSearchSlot = 0;

std::string IniPathOverride;
// The serial of the hits, over the whole run: with no label field the hit
// array keeps the order in which hits were found.
int32_t HitSerial = 0;

// The cursor and the mouse capture of a running search, given back on every
// way out.
// A message box while the dialog holds the mouse could not be clicked: the
// search lets go before it reports.
class TSearchCursor {
public:
  explicit TSearchCursor(HWND dialog) {
    ::SetCapture(dialog);
    Previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  }
  ~TSearchCursor() { Release(); }
  void Release() {
    if (Released) return;
    Released = true;
    ::SetCursor(Previous);
    ::ReleaseCapture();
  }
  TSearchCursor(const TSearchCursor&) = delete;
  TSearchCursor& operator=(const TSearchCursor&) = delete;

private:
  HCURSOR Previous;
  bool Released = false;
};

// The query state of one search, left as every search leaves it: no query
// object, query mode off.
class TSearchQueryScope {
public:
  TSearchQueryScope() {
    TSearchTextState& s = SearchTextState();
    s.QueryMode = false;
    s.QueryError = false;
  }
  ~TSearchQueryScope() {
    TSearchTextState& s = SearchTextState();
    s.Query.reset();
    s.QueryMode = false;
  }
  TSearchQueryScope(const TSearchQueryScope&) = delete;
  TSearchQueryScope& operator=(const TSearchQueryScope&) = delete;
};

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The dialog painted again before the walk goes on, whatever it had to
// paint (it is disabled meanwhile and the pump takes only one message).
void RepaintNow(HWND w) { ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

std::string Resource(uint id) { return LoadResString(id).c_str(); }

void ShowQueryError(const std::string& errorText) {
  SearchTextState().Query.reset();
  const std::string text = errorText.empty() ? Resource(IDS_SEARCH_BAD_QUERY) : errorText;
  UiMessageBox(nullptr, text.c_str(), ProgramTitle(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

TSearchDialogState& SearchDialogState() {
  static TSearchDialogState state;
  return state;
}

std::string SearchDialogIniPath() {
  if (!IniPathOverride.empty()) return IniPathOverride;
  string folder = SystemInfo().ProgramDirectory;
  AddTrailingBackslash(folder);
  return std::string(folder.c_str()) + "TSLPLAY32.INI";
}

void SetSearchDialogIniPath(const std::string& path) { IniPathOverride = path; }

DEFINE_RESPONSE_TABLE1(TSearchDialog, TSearchDialogBase)
  EV_EN_CHANGE(kSearchWordId, SearchWordChanged),
  EV_CBN_SELCHANGE(kHitListId, HitSelected),
  EV_COMMAND(kSearchHelpId, Help),
  EV_COMMAND(kShowHitId, ShowButtonClicked),
END_RESPONSE_TABLE;

TSearchDialog::TSearchDialog(TWindow* parent, const TActionStruct& action, TBookStruct* book)
    : TSearchDialogBase(parent, "IDD_SUCHE", TSearchDialogKind::Search),
      WordEdit(new TEdit(this, kSearchWordId)),
      MatchCaseBox(new TCheckBox(this, kMatchCaseId)),
      WholeWordBox(new TCheckBox(this, kWholeWordId)),
      ClearHitsBox(new TCheckBox(this, kClearHitsId)),
      HitList(new TComboBox(this, kHitListId)),
      WordLabel(new TStatic(this, kSearchWordLabelId)),
      HitLabel(new TStatic(this, kHitListLabelId)),
      Book(book),
      Action(std::make_unique<TActionStruct>(action)),
      HitArray(std::make_unique<TSearchWordArray>(101, 0, 100)),
      AllPages((action.Flags2 & kSearchAllPages) != 0) {}

TSearchDialog::~TSearchDialog() = default;

void TSearchDialog::SetupWindow() {
  TSearchDialogBase::SetupWindow();
  if (HWND ok = GetDlgItem(IDOK)) ::SetFocus(ok);
  CenterWindow(HWindow, nullptr);
  if (HWND show = GetDlgItem(kShowHitId)) ::ShowWindow(show, (Action->Flags2 & kSearchShowButton) ? SW_SHOW : SW_HIDE);
  ReadIniTexts();
  const TSearchDialogState& s = SearchDialogState();
  WordEdit->SetText(s.LastWord.c_str());
  MatchCaseBox->SetCheck(s.MatchCase ? BST_CHECKED : BST_UNCHECKED);
  WholeWordBox->SetCheck(s.WholeWord ? BST_CHECKED : BST_UNCHECKED);
  ClearHitsBox->SetCheck(s.EmptyBeforeSearch ? BST_CHECKED : BST_UNCHECKED);
  SearchWordChanged();
}

void TSearchDialog::ReadIniTexts() {
  IniTexts = TSearchDialogTexts();
  const std::string path = SearchDialogIniPath();
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  const TProfile ini(kIniSection, path.c_str());
  auto value = [&ini](const char* key) {
    char buffer[kIniValueSize] = {};
    ini.GetString(key, buffer, sizeof buffer, "");
    return std::string(buffer);
  };
  auto caption = [this, &value](const char* key, int id) {
    const std::string text = value(key);
    if (text.empty()) return;
    if (id) ::SetDlgItemTextA(HWindow, id, text.c_str());
    else SetCaption(text.c_str());
  };
  caption("CAPTION", 0);
  caption("TITLE_SEARCHWORD", kSearchWordLabelId);
  caption("TITLE_WHOLEWORD", kWholeWordId);
  caption("TITLE_CASESENSITIVE", kMatchCaseId);
  caption("TITLE_EXCLUSIVE", kClearHitsId);
  caption("TITLE_RESULT", kHitListLabelId);
  caption("TITLE_OK_BUTTON", IDOK);
  caption("TITLE_CANCEL_BUTTON", IDCANCEL);
  caption("TITLE_HELP_BUTTON", kSearchHelpId);
  IniTexts.Help = value("TITLE_HELP_TEXT");
  for (char& c : IniTexts.Help) {
    if (c == '\xA7') c = '\t';  // the section sign
    else if (c == '$') c = '\n';
  }
  IniTexts.Error = value("TITLE_ERR_MSG");
  IniTexts.Messages.NotFound = value("TITLE_NOT_FOUND");
  IniTexts.Messages.NoneNew = value("TITLE_NEWENTRY_NOT_FOUND");
  IniTexts.Messages.OneFound = value("TITLE_ONE_ENTRY_FOUND");
  IniTexts.Messages.ManyFound = value("TITLE_MULTIPLE_ENTRIES_FOUND");
}

void TSearchDialog::SearchWordChanged() {
  if (HWND ok = GetDlgItem(IDOK)) ::EnableWindow(ok, WordEdit->GetTextLen() > 0);
}

void TSearchDialog::HitSelected() {
  if (!(Action->Flags2 & kSearchShowButton)) ShowSelectedHit();
}

void TSearchDialog::ShowButtonClicked() { ShowSelectedHit(); }

void TSearchDialog::ShowSelectedHit() {
  const int index = HitList->GetSelIndex();
  if (index < 0 || !Book) return;
  const auto* hit = reinterpret_cast<const TSearchTripelWord*>(HitList->GetItemData(index));
  if (!hit || reinterpret_cast<LPARAM>(hit) == CB_ERR) return;
  // The page change ends this dialog (after this handler) and may refill
  // nothing, but the record is read before it all the same.
  const int32_t entry = hit->EntryId;
  const int32_t page = hit->PageIndex;
  TBusyScope busy(*this, false);
  if (AllPages && page != -1 && page != Book->CurrentPage) Book->GotoPage(page, 0, entry, 1);
  Book->GotoDBRecord(entry, 1);
}

void TSearchDialog::ClearHits() { HitArray->Flush(tsl::DeleteType::Delete); }

void TSearchDialog::Help() {
  TBusyScope busy(*this, false);
  if (IniTexts.Help.empty()) IniTexts.Help = Resource(IDS_SEARCH_HELP);
  UiMessageBox(HWindow, IniTexts.Help.c_str(), ProgramTitle(), MB_OK | MB_ICONINFORMATION);
}

int TSearchDialog::Message(const std::string& text) {
  return UiMessageBox(HWindow, text.c_str(), ProgramTitle(), MB_OK | MB_ICONINFORMATION);
}

void TSearchDialog::RefillHitList() {
  // Emptied every time, with or without a label field: the array holds
  // every hit still listed.
  HitList->SendMessage(WM_SETREDRAW, FALSE);
  HitList->ClearList();
  for (TSearchTripelWord* w : *HitArray) {
    const int at = HitList->AddString(w->Word.c_str());
    if (at >= 0) HitList->SetItemData(at, reinterpret_cast<LPARAM>(w));
  }
  HitList->SendMessage(WM_SETREDRAW, TRUE);
  HitList->Invalidate();
}

void TSearchDialog::Search() {
  // The dialog is disabled while it walks the pages; a second "&Suchen"
  // sent meanwhile waits for nothing and is dropped.
  if (IsBusy() || IsEnding() || !Book) return;
  TBusyScope busy(*this, AllPages);
  int before = HitList->GetCount();
  if (ClearHitsBox->IsChecked()) {
    ClearHits();
    HitList->ClearList();
    before = 0;
  }
  TSearchCursor cursor(HWindow);
  TSearchDialogState& state = SearchDialogState();
  state.LastWord = WordEdit->GetText();
  state.MatchCase = MatchCaseBox->IsChecked();
  state.WholeWord = WholeWordBox->IsChecked();
  if (Action->Flags2 & kSearchEmptyList) HitList->ClearList();
  if (AllPages && !HiddenPage) {
    HiddenPage = new TObjectWindow(false, this);
    HiddenPage->Attr.Style &= ~WS_VISIBLE;
    HiddenPage->Attr.X = HiddenPage->Attr.Y = HiddenPage->Attr.W = HiddenPage->Attr.H = 0;
    if (HiddenPage->Create()) HiddenPage->Show(SW_HIDE);
  }
  TSearchQueryScope queryScope;
  const std::string userWord = Trimmed(state.LastWord);
  state.LastWord = userWord;
  std::string searchText = userWord;
  switch (PrepareSearchInput(searchText, state.WholeWord, state.MatchCase)) {
    case TSearchInput::OddQuotes:
      cursor.Release();
      Message(IniTexts.Error.empty() ? Resource(IDS_SEARCH_ODD_QUOTES) : IniTexts.Error);
      return;
    case TSearchInput::Query: SearchTextState().QueryMode = true; break;
    case TSearchInput::Plain: break;
  }
  SearchTextState().FieldText.clear();
  SearchTextState().Query = std::make_unique<QX_QueryCache>(this);

  const TDBNodeManager::MatchFn match = [](const char* text, void* context, uint8_t matchCase, uint8_t wholeWord) {
    return MatchSearchText(text, static_cast<const char*>(context), matchCase != 0, wholeWord != 0);
  };
  TSearchObjectInfos infos;
  bool found = false;
  const int pages = Book->GetPageCount();
  for (int p = 0; p < pages; ++p) {
    if (!AllPages && p == 1) break;
    std::unique_ptr<TObjectManager> temporary;
    TObjectManager* manager = Book->ObjectManager.get();
    if (AllPages) {
      temporary = std::make_unique<TObjectManager>(HiddenPage);
      manager = temporary.get();
      manager->Stream = Book->ObjectManager ? Book->ObjectManager->Stream : nullptr;
      LoadStandardData(manager);
      uint32_t offset = 0;
      TRecordHeader header;
      TObjectInfo pageInfo;
      TdBaseInfo db;
      // Descriptors stand in page records from file version 2.8 on.
      const bool withDb = Book->IsVersionAbove(2, 7);
      if (manager->Stream && Book->GetPageOffset(p, offset) && manager->ReadRecordHeader(offset, header) &&
          ReadPageInfoAt(*manager->Stream, offset, pageInfo, withDb ? &db : nullptr)) {
        manager->DbInfo = db;
        db.RequestLoad(manager);
        std::vector<uint32_t> table;
        if (manager->LoadObjectTable(header.ObjectListOffset, header.ObjectCount, table)) {
          for (uint32_t at : table) {
            TObjectInfo info;
            if (!manager->ReadObjectInfo(at, info)) break;
            infos.push_back(std::move(info));
          }
        }
      }
    }
    if (!manager || !(manager->DbInfo.Flags & kDbInUse)) continue;
    std::vector<int32_t> results;
    results.reserve(500);
    TSearchFieldTargets set;
    if (TDBNodeManager* db = manager->DBNodeManager.get()) {
      RunDatabaseSearch(set, *Action, *db, infos, manager, AllPages, true);
      ClearSearchHitBit(*db, kSearchSlot);
      SearchDBTree(*db, kSearchSlot, &db->Root(), searchText.c_str(), (Action->Flags & kSearchTestNames) ? 1 : 0,
                   state.WholeWord ? 1 : 0, state.MatchCase ? 1 : 0, static_cast<int16_t>(set.Fields.Indexes.size()),
                   set.Fields.Indexes.data(), set.TargetArgs.data(), results, match, SearchFieldTransform(set),
                   AllPages ? 1 : 0, nullptr);
      if (SearchTextState().QueryError) {
        // The walk ends here: its progress box must not outlive it.
        if (AllPages) ReportProgress(100, "");
        cursor.Release();
        ShowQueryError(IniTexts.Error);
        return;
      }
      const int32_t label = set.Fields.LabelField;
      for (size_t i = 0; i < results.size(); ++i) {
        std::string word;
        if (label < 0) {
          word = ::HitLabel(userWord, static_cast<int>(i) + 1);
        } else if (const char* text = GetEntryFieldText(*db, results[i], label)) {
          word = text;
        }
        const uint8_t byWord = label < 0 ? 0 : (Action->Flags2 & kSearchEmptyList) ? 1 : 0;
        HitArray->Add(new TSearchTripelWord(results[i], p, string(word.c_str()), byWord, HitSerial++));
      }
      RefillHitList();
    }
    found = !results.empty();
    temporary.reset();
    if (AllPages) {
      ReportProgress(p * 100 / pages, kProgressText);
      RepaintNow(HWindow);
    }
  }
  if (AllPages) {
    ReportProgress(100, "");
    RepaintNow(HWindow);
  }
  const int now = HitList->GetCount();
  const bool grew = now > before;
  if (grew) HitList->SetSelIndex(before);
  if (!(Action->Flags2 & kSearchShowButton) && !AllPages) ShowSelectedHit();
  cursor.Release();
  Message(SearchResultMessage(IniTexts.Messages, grew || found, now - before, Resource(IDS_SEARCH_NOT_FOUND)));
}
