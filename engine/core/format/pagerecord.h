// The page record of the project file and the project's two shared object
// lists: the one reader and writer of these bytes. The player's page manager,
// the project image of tools and tests, the random-access queries of the open
// project and the fuzz targets all read through here; the page manager only
// adopts what was read.
//
// Page record at its directory offset (all values little-endian, offsets
// absolute unless called relative):
//
//   offset size  meaning
//   0      48    TRecordHeader
//     +0   4       magic 0x79EE9540
//     +4   4       own offset (written, never read)
//     +8   4       length of the whole record
//     +12  4       object list offset
//     +16  4       data list offset
//     +20  4       background offset
//     +24  4       hidden list offset
//     +28  4       page description offset
//     +32  4       extension block offset, -1 for none
//     +36  8       two reserved values, carried through
//     +44  2       object count (i16; negative: none)
//     +46  2       data list count (i16; negative: none)
//   background     TBackground
//   hidden list    u16 count, count u32 object numbers
//   description    TObjectInfo; behind it, above 2.7, the TdBaseInfo
//   object list    u32 base, count u32 record offsets (each moved by
//                  list offset - base), then per object its TObjectInfo and
//                  its kind's data record
//   data list      as the object list; each entry a u32 object number and a
//                  data record of that object's kind
//   extension      above 2.6: six u32 offsets relative to the block (enter,
//                  leave, menu, key list, own options, spare; -1 for a block
//                  not there), then back to back: four enter and four leave
//                  TActionStruct; above 3.1 the menu (u16 flag, i16 count,
//                  TTSLMenuData each), the key list (TLongArray), the own
//                  options (u16 flag, TBookStructOptions)
//
// Shared list at the offsets of the project object-list record: u32 magic,
// u16 count, u32 base, count u32 offsets (moved by offset - base), then the
// records: TObjectInfo and data record in the first list, TObjectInfo only
// in the second.
//
// Tolerance, for every list read here:
//   - a header, background, hidden list, description, list or extension
//     offset outside the file, a wrong magic, or an offset table longer than
//     the bytes left fail the page (shared list: the list);
//   - a table entry outside the file is skipped;
//   - a kind outside 0-21 fails the page (shared list: the list);
//   - a data record that runs past the end of the file drops its object and
//     ends that list; the rest of the page is read;
//   - a data list entry for a number neither the page nor the shared lists
//     hold is skipped unread;
//   - a menu ends where the file ends; fields the file does not hold keep
//     their defaults.
// Each refusal is traced (engine/core/format/trace.h).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/core/format/background.h"
#include "engine/core/format/bookoptions.h"
#include "engine/core/format/dbaseinfo.h"
#include "engine/core/format/menudata.h"
#include "engine/core/format/objectrecords.h"
#include "engine/core/format/projectfile.h"

constexpr uint32_t kNoOffset = 0xFFFFFFFF;

struct TRecordHeader {
  // Reads 48 bytes at the current position; true when the magic is right.
  bool Read(tsl::ByteStream& f);
  void Write(tsl::ByteStream& f) const;

  uint32_t Magic = kProjectMagic;
  uint32_t SelfOffset = kNoOffset;
  uint32_t Length = 0;
  uint32_t ObjectListOffset = kNoOffset;
  uint32_t DataListOffset = kNoOffset;
  uint32_t BackgroundOffset = kNoOffset;
  uint32_t HiddenListOffset = kNoOffset;
  uint32_t InfoOffset = kNoOffset;
  uint32_t ExtensionOffset = kNoOffset;
  uint32_t Reserved1 = 0;
  uint32_t Reserved2 = 0;
  int16_t ObjectCount = 0;
  int16_t DataCount = 0;
};
constexpr uint32_t kRecordHeaderSize = 48;

// Seeks to `offset` and reads the header; false for a failed seek or a wrong
// magic.
bool ReadRecordHeader(tsl::ByteStream& f, uint32_t offset, TRecordHeader& out);
void WriteRecordHeader(tsl::ByteStream& f, uint32_t offset, const TRecordHeader& header);

// Reads a relocatable offset table at the list offset: the stored base, then
// `count` offsets, each moved by (listOffset - base). A negative count is an
// empty table; false for a failed seek or a table the file cannot hold.
bool ReadOffsetTable(tsl::ByteStream& f, uint32_t listOffset, int count, std::vector<uint32_t>& table);
// Writers of a list's offset table: placeholders at the end of the stream
// (returns their position), then the real offsets patched in once known.
int64_t WriteTablePlaceholder(tsl::ByteStream& f, size_t count);
void PatchTable(tsl::ByteStream& f, int64_t at, const std::vector<uint32_t>& table);
// A data record, or an empty base record for an object without one.
void WriteDataRecord(TData* data, tsl::ByteStream& f);

// An object as the writers take it: its description and data record,
// borrowed from whoever holds them (a record read here, or the page
// manager's objects).
struct TObjectRef {
  TObjectInfo* Info;
  TData* Data;
};

// The fields of a page as the page writer takes them, borrowed. Written in
// the order of the byte table above; the offsets, counts and length go into
// `Header`, the extension block's offsets into `Ext`.
struct TPageParts {
  TRecordHeader* Header;
  TBackground* Background;
  TLongArray* HiddenList;
  TObjectInfo* Info;
  TdBaseInfo* DbInfo;
  std::vector<TObjectRef> Objects;  // at most 0x7FFF are written
  std::vector<TObjectRef> Data;     // object number and data record each; at most 0x7FFF
  uint32_t* Ext;                    // six
  TActionStruct* Enter;             // four
  TActionStruct* Leave;             // four
  uint16_t MenuFlag;
  std::vector<TTSLMenuData*> MenuItems;  // at most 0x7FFF are written
  TLongArray* KeyList;
  uint16_t OwnOptionsFlag;
  TBookStructOptions* Options;
};
// Writes a page record at the end of the stream; its offset is returned.
void WritePageRecord(tsl::ByteStream& f, TPageParts& page, uint32_t& outOffset);
// Writes a shared list at the end of the stream (at most 0xFFFF objects, with
// or without their data records); its offset is returned.
void WriteSharedList(tsl::ByteStream& f, const std::vector<TObjectRef>& objects, bool withData,
                     uint32_t& outOffset);

// Makes the data record of an object kind, ready to read itself.
using TDataCreator = std::function<std::unique_ptr<TData>(int16_t kind)>;
// The creator for kinds without a class of their own: a TRawData.
std::unique_ptr<TData> CreateRawData(int16_t kind);

// An object as stored: its description and its kind's data record (none in
// the shared dataless list).
struct TObjectRecord {
  TObjectInfo Info;
  std::unique_ptr<TData> Data;
  int64_t DataOffset = -1;  // where the data record began in the file
};

// A page's data record for a shared dataless object.
struct TDataOverride {
  uint32_t Number = 0;
  int16_t Kind = -1;  // the kind the record was read as; not stored
  std::unique_ptr<TData> Data;
  int64_t DataOffset = -1;
};

// The kind of an object by number outside the page record (the shared
// lists'), or -1.
using TKindLookup = std::function<int(uint32_t number)>;

// Reads one object record at the current position: its description, the
// kind test (0-21) and, when `creator` is given, its data record. Result:
// Ok, BadKind (the list ends with a failure) or Dropped (the data record runs
// past the end of the file: the object is dropped and the list ends).
enum class ObjectReadResult { Ok, BadKind, Dropped };
ObjectReadResult ReadObjectRecord(tsl::ByteStream& f, TObjectRecord& out, const TDataCreator* creator);

// The project's two shared lists: objects on every page with their data
// (flag 0x01), and objects on every page whose data each page carries (flag
// 0x02).
class TSharedObjects {
public:
  // Magic, u16 count, u32 base, the table relocated by (offset - base), the
  // records; false for a failed seek, a wrong magic or a bad kind.
  bool ReadShared(tsl::ByteStream& f, uint32_t offset, const TDataCreator& creator);
  bool ReadDataless(tsl::ByteStream& f, uint32_t offset);
  // At the end of the stream; the list's offset is returned.
  void WriteShared(tsl::ByteStream& f, uint32_t& outOffset);
  void WriteDataless(tsl::ByteStream& f, uint32_t& outOffset);
  // The kind of a shared object by number, or -1.
  int KindOf(uint32_t number) const;

  std::vector<TObjectRecord> Objects;
  std::vector<TObjectRecord> Dataless;
};

// Indexes of the extension block's offsets.
enum { kExtEnter = 0, kExtLeave = 1, kExtMenu = 2, kExtKeys = 3, kExtOptions = 4, kExtSpare = 5 };

class TPageRecord {
public:
  TPageRecord();
  TPageRecord(const TPageRecord&) = delete;
  TPageRecord& operator=(const TPageRecord&) = delete;

  // Reads the page record at `offset` with the version gates of the open
  // project (database descriptor above 2.7, extension block above 2.6,
  // menu, key list and own options above 3.1), after resetting every field.
  // False at the first failure, by the tolerance rule above; what was read
  // stays for inspection, a caller adopts nothing of a failed page. Data
  // records come from `creator`; data list entries find their kinds in the
  // page and then in `shared` / `kindOf`. The record is taken into memory
  // with one read and parsed there.
  bool Read(tsl::ByteStream& f, uint32_t offset, const TDataCreator& creator,
            const TSharedObjects* shared = nullptr);
  bool Read(tsl::ByteStream& f, uint32_t offset, const TDataCreator& creator, const TKindLookup& kindOf);
  // Back to a fresh record.
  void Reset();
  // Writes the record at the end of the stream; its offset is returned.
  void Write(tsl::ByteStream& f, uint32_t& outOffset);

  TRecordHeader Header;
  TBackground Background;
  TLongArray HiddenList;
  TObjectInfo Info;
  TdBaseInfo DbInfo;
  std::vector<TObjectRecord> Objects;
  std::vector<TDataOverride> DataOverrides;
  uint32_t Ext[6];
  TActionStruct EnterActions[4];
  TActionStruct LeaveActions[4];
  uint16_t MenuFlag = 0;
  TIArrayAsVector<TTSLMenuData> Menu;
  TLongArray KeyList;
  uint16_t OwnOptionsFlag = 0;
  TBookStructOptions Options;

private:
  bool ReadFields(tsl::ByteStream& f, uint32_t offset, const TDataCreator& creator, const TKindLookup& kindOf);
  bool ReadObjectList(tsl::ByteStream& f, const TDataCreator& creator);
  bool ReadDataList(tsl::ByteStream& f, const TDataCreator& creator, const TKindLookup& kindOf);
  bool ReadExtension(tsl::ByteStream& f);
  int KindOf(uint32_t number, const TKindLookup& kindOf) const;
};

// ---- random access to one part of a page record, for the queries of the
// open project; each reads the record header at `pageOffset` first and is
// false when it cannot be read ----

// The page's own description and, with `db`, the database descriptor behind
// it (whatever the file version).
bool ReadPageInfoAt(tsl::ByteStream& f, uint32_t pageOffset, TObjectInfo& out, TdBaseInfo* db = nullptr);
bool ReadPageBackgroundAt(tsl::ByteStream& f, uint32_t pageOffset, TBackground& out);
// The page's own options block: whether it is there, its flag, and (flag
// non-zero) the options into `out`.
struct TOwnOptionsBlock {
  bool Present = false;
  uint16_t Flag = 0;
};
bool ReadPageOwnOptions(tsl::ByteStream& f, uint32_t pageOffset, TBookStructOptions& out, TOwnOptionsBlock& block);
// Object `n` of the first `count` entries of the page's object list, with its
// data record; false for an entry outside the table or the file, a kind
// outside 0-21 or a data record past the end of the file.
bool ReadPageObjectAt(tsl::ByteStream& f, uint32_t pageOffset, int count, int n, const TDataCreator& creator,
                      TObjectRecord& out);
