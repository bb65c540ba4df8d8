// The page record of the project file: its 48-byte header, the page's
// background, hidden list, own description and database descriptor, the
// object list and the data list with their relocatable offset tables, and
// the extension block (enter and leave actions, menu, key list, own
// options); and the two project-level shared object lists. This is the
// stream form: the page manager makes page objects from what these readers
// read.
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

// The parts of a page's extension block, as the page record and the page
// manager both hold them.
struct TExtensionParts {
  uint32_t* Offsets;  // six relative offsets, filled by the writer
  TActionStruct* Enter;  // four
  TActionStruct* Leave;  // four
  uint16_t MenuFlag;
  std::vector<TTSLMenuData*> MenuItems;  // at most 0x7FFF are written
  TLongArray* KeyList;
  uint16_t OwnOptionsFlag;
  TBookStructOptions* Options;
};
// Writes the extension block at the stream's end and enters its position in
// `header`; the stream is left at the block's end.
void WriteExtensionBlock(tsl::ByteStream& f, TRecordHeader& header, TExtensionParts& parts);
// Completes a page record written from `start` to the stream's end: length
// and own offset go into `header`, which is written again at `start`.
void FinishPageRecord(tsl::ByteStream& f, TRecordHeader& header, int64_t start);

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
  std::unique_ptr<TData> Data;
  int64_t DataOffset = -1;
};

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

  // Reads the page record at `offset` in the order of the page loading, with
  // the version gates of the open project (database descriptor above 2.7,
  // extension block above 2.6, menu, key list and own options above 3.1).
  // False at the first failure (what was read stays); data records come from
  // `creator`, data overrides find their kinds in the page and in `shared`.
  bool Read(tsl::ByteStream& f, uint32_t offset, const TDataCreator& creator,
            const TSharedObjects* shared = nullptr);
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
  bool ReadObjectList(tsl::ByteStream& f, const TDataCreator& creator);
  bool ReadDataList(tsl::ByteStream& f, const TDataCreator& creator, const TSharedObjects* shared);
  int KindOf(uint32_t number, const TSharedObjects* shared) const;
};
