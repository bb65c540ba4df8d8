// The database side of a page: making an entry current, showing its fields
// in the objects bound to them, telling the objects the entry, queuing the
// entry's actions, and the navigation requests of the timed messages. The
// page is reached through TRecordPage, which the page manager's Win32 side
// implements. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"
#include "engine/core/format/dbaseinfo.h"

// Flags of a database-navigation message (its Param4).
constexpr uint32_t kDbNavGoto = 0x80;          // go to the entry OwnerId
constexpr uint32_t kDbNavStep = 0x100;         // step Param3 entries from the current one
constexpr uint32_t kDbNavWrap = 0x8000;        // with kDbNavStep: wrap at the ends
constexpr uint32_t kDbNavDeep = 0x100000;      // with kDbNavStep: through the whole tree

class TRecordPage {
public:
  virtual ~TRecordPage() = default;
  // Objects in page order; an index may hold no object.
  virtual int ObjectCount() const = 0;
  virtual bool HasObject(int index) const = 0;
  // The field the object is bound to (its property text); empty: none.
  virtual string BoundFieldName(int index) const = 0;
  virtual void SetObjectText(int index, string& text) = 0;
  virtual void SelectEntry(int index, int32_t entryId) = 0;
  // A database tree is shown: a category may then stay current.
  virtual bool ShowsDatabaseTree() const = 0;
  // Queues the used slots (null for the others) as one chain.
  virtual void QueueActions(const std::vector<const TActionStruct*>& slots) = 0;
};

// The page's database: descriptor and the two managers (either may be null).
struct TRecordSource {
  const TdBaseInfo& Info;
  TDBNodeManager* Nodes;
  const TDBSpecialManager* Specials;
  bool Bound() const { return (Info.Flags & kDbInUse) && Nodes; }
};

// Case-insensitive equality of field names in code page 1252.
bool SameFieldName(const char* a, const char* b);

void SendToNamedObjects(TRecordPage& page, const TdBaseInfo& info, const string& field, const string& text);
// The first object bound to field n (0..29, named by column n + 3), -1 when none.
int FindObjectBoundToField(TRecordPage& page, const TdBaseInfo& info, int n);
void BroadcastToPageObjects(TRecordPage& page, int32_t entryId);
void QueueRecordActions(TRecordPage& page, const TDBSpecialManager* specials, int32_t extrasId);

// Shows entry `id` (the steps after the history step of going to a record):
// false, with the bound objects emptied and no current entry, when the
// entry or its data record is missing.
bool ShowRecord(TRecordPage& page, const TRecordSource& db, int32_t id);

// The entry a navigation message asks for (Param4 flags, OwnerId, Param3),
// -1 when it asks for none or the walk ends.
int32_t NavigationTarget(const TRecordSource& db, uint32_t flags, uint32_t ownerId, int32_t step);
