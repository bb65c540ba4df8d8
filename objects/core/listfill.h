// What the list kinds (9 and 19) and the combo box (kind 11) list and do:
// pages of the project, the database's entries from a start entry on, or
// the children of a category above the current record; a choice goes to the
// page or the record, and the database lists follow a record made current
// elsewhere. The open project is reached through TListProject, so the
// logic runs on a stub in the tests.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/core/usstring.h"
#include "objects/core/listdata.h"
#include "objects/core/listgrid.h"

class TDBNodeManager;
struct TDBNode;

// What a list needs of the open project.
class TListProject {
public:
  virtual ~TListProject() = default;
  // The current page's tree database, or null.
  virtual TDBNodeManager* Database() = 0;
  // The index of the page with that number, -1 when the project has none.
  virtual int32_t FindPageIndex(uint32_t number) = 0;
  // The two names of the page at `index`; false when its description
  // cannot be read.
  virtual bool PageNames(int32_t index, std::string& first, std::string& second) = 0;
  // -1 without an open project.
  virtual int32_t CurrentPageIndex() = 0;
  // Makes the record current, recording a history step.
  virtual void GotoDBRecord(int32_t entryId) = 0;
  // Posts the kind-8 timed message: go to the page of that index.
  virtual void PostPageChange(int32_t pageIndex) = 0;
};

enum class TListMode { None, FromEntry, Category, Pages };
// 0x010 before 0x020 before the page bits 0x004 and 0x080.
TListMode ListModeOf(uint32_t flags);
inline bool IsDatabaseMode(TListMode m) { return m == TListMode::FromEntry || m == TListMode::Category; }

struct TListItem {
  std::string Text;
  int32_t Value = -1;  // the entry id; -1 in the page modes
};

struct TListFill {
  std::vector<TListItem> Items;
  // Mode 0x020: the item that is the current record or holds it; else -1.
  int32_t Select = -1;
};

TListFill FillListItems(const TListRecordCore& record, TListProject& project);

// The choice of item `index` (below 0: no item, nothing happens). In the
// page modes the index is remembered in `lastChosen`.
void ChooseListItem(const TListRecordCore& record, const std::vector<TListItem>& items, int32_t index,
                    TListProject& project, int32_t& lastChosen);

// Record `entryId` became current. The item to select (-1: leave the
// selection), or `refill` when a category list has no item for it.
int32_t FollowListRecord(const TListRecordCore& record, const std::vector<TListItem>& items, int32_t current,
                         int32_t entryId, TListProject& project, bool& refill);

// Sets `found` when the subtree under `node` holds the entry; null or an
// already set flag do nothing. Walks without recursion: trees read from
// files can be very deep.
void ContainsEntry(const TDBNodeManager& database, const TDBNode* node, int32_t entryId, bool& found);


// The transparent list's rows: one text and one value (an entry id as
// decimal text, "-1" in the page modes) per row, in one column.
class TListWindowDataTrans : public TListWindowData {
public:
  TListWindowDataTrans() : texts_(11, 10), values_(11, 10) {}

  const char* CellText(int16_t key, int32_t row) override;
  const char* ColumnTitle(int16_t) override { return ""; }
  int32_t ColumnCount() override { return 1; }
  int32_t RowCount() override { return texts_.Count(); }
  bool IsValidRow(int32_t row) override { return row >= 0 && row < RowCount(); }

  void Clear();
  void Add(const TListItem& item);
  // The row's value as a number; -1 outside the values.
  int32_t Value(int32_t row) const;
  std::vector<TListItem> Items() const;

private:
  TUSStrings texts_;
  TUSStrings values_;
};
