// The page manager's part that loads and saves pages: the fields of the
// current page (record header, background, hidden list, its own description
// and database descriptor, key list, extension block with enter and leave
// actions, menu and own options) and its objects. It never decodes a byte
// itself: TPageRecord and TSharedObjects (engine/core/format/pagerecord.h)
// read the records, this class resets the page first and then adopts what
// was read; for saving it hands its fields and objects to the same
// records' writers.
//
// The objects themselves belong to the derived manager: the player's
// TObjectManager holds page objects with windows (engine/objectmanager.h),
// the portable TPageModel (pagemodel.h) plain records for tools and tests.
// They meet this class through the few operations under "The page's
// objects" below.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/core/format/pagerecord.h"

class TDBNodeManager;
class TDBSpecialManager;

class TObjectManager;

// Whether the page read before the current one had its own options (the
// page build compares it with the new page's).
extern uint8_t PreviousPageHadOwnOptions;

// The rectangle of a stored object under a page scale. Only when both
// factors differ from 1.0: with property flag 0x80 every corner is scaled,
// without it only the position, the size kept. Results are truncated toward
// zero and held inside the 32-bit range.
TObjectRect ScaleObjectRect(const TObjectRect& stored, uint32_t propertyFlags, double scaleX, double scaleY);

class TPageManagerCore;

// What the project reader does after the header, for the player and for
// every tool, test and fuzz target that loads a project as it does: the page
// directory at header[0], the object-list record at header[1] and, when
// there are pages, both shared lists into `manager` (whose stream becomes
// `f`), scaled as `pageScale` says for the first page (1.0 when it says
// false or is not given). False when a shared list could not be read whole;
// the objects read before the damage stay and the pages play.
bool ReadProjectBody(tsl::ByteStream& f, const TProjectHeader& header, TPageDirectory& directory,
                     TPageManagerCore& manager,
                     const std::function<bool(uint32_t pageOffset, double& scaleX, double& scaleY)>& pageScale = {});

class TPageManagerCore {
public:
  TPageManagerCore();
  virtual ~TPageManagerCore();
  TPageManagerCore(const TPageManagerCore&) = delete;
  TPageManagerCore& operator=(const TPageManagerCore&) = delete;

  // ---- record readers on the project stream (false for a failed seek; the
  // header also for a wrong signature) ----
  bool ReadRecordHeader(uint32_t offset, TRecordHeader& out);
  bool WriteRecordHeader(uint32_t offset, const TRecordHeader& header);
  bool ReadObjectInfo(uint32_t offset, TObjectInfo& out);

  // ---- page loading: TPageRecord reads, the manager adopts ----
  // Resets the page's fields (`header` null: the manager's own header), then
  // reads the page record at `pageOffset` and adopts it: objects made and
  // scaled, data records handed to their objects, actions, menu, key list
  // and own options taken over; then the database is asked for, the menu bar
  // built and the pointer state cleared. False when the record could not be
  // read or an object not made: the page's fields are then those of the
  // empty page; objects made before an object failed are the caller's to
  // end (the page change does), those of a record that could not be read
  // are never made.
  bool ReadPage(uint32_t pageOffset, TRecordHeader* header, double scaleX, double scaleY);
  // The page's fields back to those of the empty page; the previous page's
  // own-options state is kept for the page build.
  void ResetPage(TRecordHeader* header = nullptr);
  // The relocated offset table of an object list, nothing made; the stream
  // is left at its end.
  bool LoadObjectTable(uint32_t listOffset, int16_t count, std::vector<uint32_t>& table);
  // The project's shared lists: objects on every page with their data, and
  // objects on every page whose data each page carries. False for a failed
  // seek, a list without the signature, a bad kind or an object that could
  // not be made; the objects read before a failure stay.
  bool LoadSharedObjects(uint32_t offset, double scaleX, double scaleY);
  bool LoadSharedDatalessObjects(uint32_t offset);

  // ---- writers (authoring side) ----
  // Each writes at the end of the stream. The page's objects are written
  // from the top one down (the last of the array first): reading puts every
  // object beneath those of its layer read before it, so the array comes
  // back as it was.
  // The page goes through the page record's writer: objects with property
  // flag 0x04 into its object list, those with 0x02 into its data list.
  bool WritePage(uint32_t& outOffset, TRecordHeader* header);
  bool WritePage(tsl::ByteStream& f, uint32_t& outOffset, TRecordHeader* header);
  // Objects with flag 0x01 with their data / with 0x02 without.
  void WriteSharedObjects(uint32_t& outOffset);
  void WriteSharedObjects(tsl::ByteStream& f, uint32_t& outOffset);
  void WriteSharedDatalessObjects(uint32_t& outOffset);
  void WriteSharedDatalessObjects(tsl::ByteStream& f, uint32_t& outOffset);
  // Both shared lists; their offsets go into the project object-list record.
  void WriteSharedObjectLists();
  void WriteSharedObjectLists(tsl::ByteStream& f);

  // ---- queries of the page ----
  // The first object, from index 0, with this number; -1 when none.
  int FindObjectIndexById(uint32_t number);
  // Counts each object once by the first of its flags 0x04, 0x01, 0x02.
  void CountObjectGroups(uint16_t& local, uint16_t& group1, uint16_t& group2);

  // ---- the page's fields ----
  tsl::ByteStream* Stream = nullptr;  // the project stream; not owned
  TRecordHeader RecordHeader;
  TProjectListRecord ProjectObjects;  // object counter, the shared lists' offsets
  TObjectInfo PageInfo;
  TBackground Background;
  TLongArray HiddenList;
  TLongArray KeyList;
  int32_t KeyIndex = -1;
  TBookStructOptions PageOptions;
  uint16_t OwnOptions = 0;
  uint32_t ExtOffsets[6];
  TActionStruct EnterActions[4];
  TActionStruct LeaveActions[4];
  std::unique_ptr<TIArrayAsVector<TTSLMenuData>> MenuItems;  // made by the set-up
  uint16_t MenuFlag = 0;
  TdBaseInfo DbInfo;
  // The tree database the page is bound to; it stays through pages that
  // bind none, until the next load replaces it. The extras go first.
  std::unique_ptr<TDBNodeManager> DBNodeManager;
  std::unique_ptr<TDBSpecialManager> DBSpecialManager;

protected:
  // ---- the page's objects ----
  // A new data record of a kind with its defaults (the factory's).
  virtual std::unique_ptr<TData> CreateKindData(int16_t kind) = 0;
  // Makes the object for a stored description and puts it into the page
  // (description and data record taken over; null: the object makes its own). With
  // `stored` the object's data offset and design rectangle are set. False
  // when no object could be made.
  virtual bool AddStoredObject(TObjectInfo&& info, std::unique_ptr<TData> data, bool stored, int64_t dataOffset,
                               const TObjectRect& designRect) = 0;
  // Objects in array order; an index may hold nothing (null description).
  virtual int StoredObjectCount() const = 0;
  virtual TObjectInfo* StoredObjectInfo(int index) = 0;
  virtual TData* StoredObjectData(int index) = 0;
  // A page's data list replaces the data record of the object at `index`.
  virtual void ReplaceObjectData(int index, std::unique_ptr<TData> data, int64_t dataOffset, bool refresh) = 0;
  // Which objects go into which list; by the property flags.
  virtual bool InObjectList(int index);
  virtual bool InDataList(int index);
  virtual bool InSharedList(int index);
  virtual bool InDatalessList(int index);
  // The target handed to the database descriptor's reader (null: the open
  // project's current page manager).
  virtual TObjectManager* DatabaseTarget() { return nullptr; }
  // After a page was read: the menu bar, the page's pointer state.
  virtual void BuildMenuBar() {}
  virtual void ResetPageState();
  // A page record was written.
  virtual void PageWritten() {}

private:
  TDataCreator Creator();
  // Makes the objects of stored records (taking their data records), scaled;
  // with `stored` their data offsets and design rectangles are set.
  bool AdoptObjects(std::vector<TObjectRecord>& records, bool stored, double scaleX, double scaleY);
  bool AdoptPage(TPageRecord& record, TRecordHeader& header, double scaleX, double scaleY);
  void ClearPageFields(TRecordHeader* header);
  // The objects that `in` chooses, at most `most`, as the writers take them.
  std::vector<TObjectRef> ObjectsIn(bool (TPageManagerCore::*in)(int), size_t most);
};
