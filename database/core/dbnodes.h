// The tree database in memory: categories, data records and the entries that
// place them in a tree, the field list, and the category tree built from the
// entries. Records refer to each other by id only; a link to a missing record
// reads as absent. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/core/hashclass.h"
#include "foundation/core/usstring.h"
#include "platform/core/bytestream.h"
#include "platform/core/containers.h"
#include "platform/core/cstring.h"

const uint32_t kDbdMagic = 0x02DA5B0A;
const int32_t kNoDbId = -1;
const int32_t kNoExtras = 0x7FFFFFFF;
const unsigned kDbTableBuckets = 65929;

struct TDBCategory {
  int32_t Id = kNoDbId;
  int32_t ParentId = kNoDbId;
  uint32_t Value = 0;
  string Name;
  string SearchText;
  uint8_t Open = 0;
};

struct TDBData {
  TDBData() : Values(TUSStrings::kInitialCapacity, TUSStrings::kGrowth) { Values.Flag = 1; }
  int32_t Id = kNoDbId;
  string Name;
  TUSStrings Values;
  uint32_t Value = 1;
};

struct TDBCategoryData {
  int32_t EntryId = kNoDbId;
  int32_t CategoryId = kNoDbId;
  int32_t DataId = kNoDbId;
  uint8_t IsCategory = 0;
  int32_t Position = -1;
  int32_t PictureExtrasId = kNoExtras;
  int32_t SecondExtrasId = kNoExtras;
  int32_t ActionExtrasId = kNoExtras;
  uint8_t HitBits = 0;
  uint8_t SecondHitBits = 0;
};

struct TDBFieldInfo {
  string Name;
  uint16_t FieldNumber = 0xFFFF;
  uint8_t Flag = 0;
};

// A node of the category tree. Category nodes and the root hold a positional
// child array whose slots may be empty (null); data nodes hold none. A node
// does not own the nodes in its array: the manager owns every node.
struct TDBNode {
  int32_t EntryId = kNoDbId;
  int32_t CategoryId = kNoDbId;
  std::unique_ptr<std::vector<TDBNode*>> Children;
  uint8_t IsCategory = 0;
  TDBNode* Parent = nullptr;
  // The entry record the node showed when it was made (a walk's shortcut
  // past the table; trusted only while its id is the node's).
  TDBCategoryData* Entry = nullptr;

  TDBNode() = default;
  TDBNode(const TDBNode&) = delete;
  // Takes the other node's ids and parent and a copy of its slots (empty
  // ones too), re-parenting each child to this node; the nodes this one
  // held are let go, not deleted. The is-category flag stays.
  TDBNode& operator=(const TDBNode& other);

  // The first non-empty slot whose node shows `entryId`, with its index in
  // `slot`; null (slot untouched) when there is none or no child array.
  TDBNode* FindChild(int32_t entryId, int* slot = nullptr) const;
  int SlotCount() const { return Children ? static_cast<int>(Children->size()) : 0; }

  // Where this node stood among its parent's slots when last seen; checked
  // before use, so edits of the slots only cost a rescan.
  mutable int32_t SlotHint = -1;
};

// Compares two texts for sorting: below 0, 0 or above 0.
using TDbCompare = std::function<int(const char*, const char*)>;

// The text orders of a sort: without the locale option the case-insensitive
// comparison, with it the locale's collation (the Win32 side hands in the
// system's own).
struct TDbSortCompare {
  TDbCompare Caseless;
  TDbCompare Collate;
};

// Where DrawOutline draws: a text at a point, transparent background.
class TDbOutlineCanvas {
public:
  virtual ~TDbOutlineCanvas() = default;
  virtual void DrawText(int x, int y, const char* text) = 0;
};

class TDBNodeManager {
public:
  using Table = TIHashTableImp<HashClass>;

  TDBNodeManager();
  ~TDBNodeManager();
  TDBNodeManager(const TDBNodeManager&) = delete;
  TDBNodeManager& operator=(const TDBNodeManager&) = delete;

  // Reads a .dbd file; the manager is emptied first. A wrong magic leaves it
  // empty. Counts and positions from the file never size an allocation.
  void Load(tsl::ByteStream& f);
  bool Save(tsl::ByteStream& f) const;
  // Deletes every record and node; the counters and header stay.
  void Clear();

  // Filing records: the manager takes ownership. Duplicate ids are all kept
  // (and saved); a lookup finds the one filed first.
  void AddCategory(std::unique_ptr<TDBCategory> c);
  void AddData(std::unique_ptr<TDBData> d);  // normalises the value count
  void AddEntry(std::unique_ptr<TDBCategoryData> e);
  void AddField(const TDBFieldInfo& field) { Fields.push_back(field); }

  TDBCategory* FindCategory(int32_t id) const;
  TDBData* FindData(int32_t id) const;
  // Asks the processor early for what testing `e`'s fields will read: its
  // data record (stage 0), the field strings (1), their characters (2).
  // Each stage reads only what the stage before asked for.
  void PrefetchEntryFields(const TDBCategoryData* e, int stage, int16_t fieldCount,
                           const int32_t* fieldIndexes) const;
  TDBCategoryData* FindEntry(int32_t id) const;
  // The node of a category (the first one made for that id), or null.
  TDBNode* FindCategoryNode(int32_t categoryId) const;
  // The node of an entry: its category node, or for a data entry its slot
  // among the category node's children; null for top-level data entries.
  TDBNode* FindTreeNode(const TDBCategoryData* entry) const;
  int32_t GetFirstTopLevelId() const;

  const char* GetEntryName(const TDBCategoryData* e) const;
  const char* GetEntrySearchName(const TDBCategoryData* e) const;
  const char* GetCategoryName(const TDBCategoryData* e) const;

  // Places every pending entry in the tree; returns with the list empty.
  void BuildTree(std::vector<TDBCategoryData*>& pending);
  // Discards the node tree and builds it again from all entries.
  void RebuildTree();
  // Inserts `node` into `parent`'s slots at `position` (-1: append).
  void InsertChild(TDBNode* parent, TDBNode* node, int32_t position);

  // Every entry of the tree in tree order (pre-order, slot order).
  void CollectEntries(std::vector<TDBCategoryData*>& out) const;
  // Removes empty slots below `node` and stores each entry's slot index as
  // its position, so a save and reload keep the order.
  void RenumberPositions(TDBNode* node);

  // Reorders the children of the entry's node (-1: the root) by their
  // display names, numerically (leading decimal number) or as text, every
  // category below it too when `recursive`; equal keys keep their order.
  // The new order is written back into the positions. An entry id without
  // a node sorts nothing.
  void SortSubtree(int32_t entryId, bool ascending, bool text, bool locale, bool recursive,
                   const TDbSortCompare& compare);
  void SortChildren(TDBNode* node, bool ascending, bool text, bool locale, const TDbSortCompare& compare);

  // Editing aids; none of them reaches outside the manager.
  // Moves the entry's node one slot up or down among its siblings (empty
  // slots on the way are dropped). At the end of its list `atEnd` is called
  // and nothing moves; false then, or when the entry was not found.
  bool MoveEntry(TDBNode* node, const TDBCategoryData* entry, bool up, const std::function<void()>& atEnd);
  // Copies the category entry's subtree below `node` as new records under
  // the category `parentId`: categories and entries get new ids, data
  // records are shared. The node tree changes only with RebuildTree.
  void CopySubtree(TDBNode* node, const TDBCategoryData* entry, bool copying, int32_t parentId);
  // Empties every slot below `node` that shows the category node's
  // category; the nodes stay with the manager.
  void DetachCategoryNode(TDBNode* node, const TDBNode* categoryNode);
  // The subtree as an indented outline: each node 20 lower, each level 60
  // further right; y ends at the last line, x where it started.
  void DrawOutline(const TDBNode* node, TDbOutlineCanvas& canvas, int& x, int& y) const;
  void DrawEntryText(const TDBNode* node, TDbOutlineCanvas& canvas, int x, int y) const;

  // The search's per-entry test. `match` gets (text, context, option B,
  // option A); `transform`, when given, may rewrite each field value before
  // it is tested. With `collect` the non-empty texts are gathered instead
  // and true is never returned.
  using MatchFn = std::function<bool(const char* text, void* context, uint8_t optB, uint8_t optA)>;
  using TransformFn = std::function<void(uint8_t flag, string& text, int32_t arg)>;
  bool MatchEntry(const TDBCategoryData* entry, void* context, uint8_t testNames, uint8_t optA,
                  uint8_t optB, int16_t fieldCount, const int32_t* fieldIndexes,
                  const int32_t* transformArgs, std::vector<int32_t>& results, const MatchFn& match,
                  const TransformFn& transform, uint8_t transformFlag,
                  std::vector<string>* collect) const;

  // Table sizes and the tables in their stored order.
  int CategoryCount() const { return categories_->GetItemsInContainer(); }
  int DataCount() const { return data_->GetItemsInContainer(); }
  int EntryCount() const { return entries_->GetItemsInContainer(); }
  template <class F> void ForEachCategory(F f) const { ForEachIn<TDBCategory>(*categories_, f); }
  template <class F> void ForEachData(F f) const { ForEachIn<TDBData>(*data_, f); }
  template <class F> void ForEachEntry(F f) const { ForEachIn<TDBCategoryData>(*entries_, f); }

  // ---- navigation (dbstep.cpp) ----
  // FindChild with the same answer, without a scan when the id has one node.
  TDBNode* FindChildOf(const TDBNode* parent, int32_t entryId, int* slot = nullptr) const;
  // The slot of `node` among `parent`'s slots, -1 when it is not there.
  int SlotOf(const TDBNode* parent, const TDBNode* node) const;
  // The first non-empty slot at or after start + |step| (at or before
  // start - |step|), its index in `at`; null when there is none.
  TDBNode* NextChildFrom(const TDBNode* node, int start, int step, int* at = nullptr) const;
  TDBNode* PrevChildFrom(const TDBNode* node, int start, int step, int* at = nullptr) const;
  // The node whose slots hold `node`: null for the root and for a node
  // that is in no tree.
  TDBNode* GetParentNode(const TDBNode* node) const;
  // The nodes from the top level down to the entry's own node; empty when
  // the entry has no node.
  int GetEntryPath(int32_t entryId, std::vector<TDBNode*>& path) const;
  TDBNode* GetAncestor(int32_t entryId, int depth) const;
  // The entry `step` entries away: among the siblings, or with `deep`
  // through the tree in pre-order; -1 when the walk ends.
  int32_t StepEntry(int32_t entryId, int32_t step, bool wrap, bool deep) const;
  TDBNode* StepForward(const TDBNode* node, bool wrap, bool deep) const;
  TDBNode* StepBackward(const TDBNode* node, bool wrap, bool deep) const;
  // The last node of the subtree in pre-order (the node itself when it has
  // no children).
  TDBNode* LastDescendant(const TDBNode* node) const;
  // Sets `found` when `node` or a node below it shows the entry.
  void SubtreeContains(const TDBNode* node, int32_t entryId, bool& found) const;
  // The node of an entry, also for a data entry that stands at the top level.
  TDBNode* FindEntryNode(const TDBCategoryData* entry) const;

  TDBNode& Root() { return root_; }
  const TDBNode& Root() const { return root_; }

  uint16_t HeaderWord = 0;
  uint32_t HeaderValue = 0;
  std::vector<TDBFieldInfo> Fields;
  uint32_t NextCategoryId = 0;
  uint32_t NextDataId = 0;
  uint32_t NextEntryId = 0;
  int32_t CurrentEntryId = kNoDbId;
  int32_t CurrentDataEntryId = kNoDbId;

private:
  template <class R, class F>
  static void ForEachIn(const Table& t, F f) {
    const_cast<Table&>(t).ForEach([&](HashClass& h) { f(*reinterpret_cast<R*>(h.Value())); });
  }
  void File(Table& t, int32_t id, const void* record);
  TDBNode* NewNode(TDBCategoryData* entry, int32_t categoryId, bool isCategory);
  void RegisterCategoryNode(TDBNode* node);
  void DiscardTree();

  std::unique_ptr<Table> categories_, data_, entries_;
  // Records are owned here; the tables refer to them.
  std::vector<std::unique_ptr<TDBCategory>> ownedCategories_;
  std::vector<std::unique_ptr<TDBData>> ownedData_;
  // Data records by id for the ids a search meets per entry; ids at or above
  // kDenseDataIds are found through the table only.
  static constexpr size_t kDenseDataIds = size_t(1) << 20;
  std::vector<TDBData*> dataById_;
  std::vector<std::unique_ptr<TDBCategoryData>> ownedEntries_;
  // Every node but the root, each freed exactly once with the tree; and the
  // tables' keys. Both are kept in blocks: a load makes hundreds of
  // thousands of them.
  std::deque<TDBNode> nodes_;
  std::deque<HashClass> keys_;
  std::unordered_map<int32_t, TDBNode*> categoryNodes_;
  // The node of each entry id; null for an id that several nodes show.
  std::unordered_map<int32_t, TDBNode*> entryNodes_;
  TDBNode root_;
  // Entries of the current build and the empty slots its positions may
  // still open.
  int64_t buildSize_ = 0;
  int64_t padBudget_ = 65536;
  // Set once an entry id was filed twice: then a node's record is the one
  // a lookup finds, not necessarily the entry that made the node.
  bool duplicateEntryIds_ = false;
  std::vector<uint64_t> entryIdsSeen_;  // a bit per id below 2^24
};
