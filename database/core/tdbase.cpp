#include "database/core/tdbase.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <strings.h>

#include "foundation/core/datecalc.h"
#include "foundation/core/pathstr.h"

namespace {
constexpr char kTypes[] = "CDNLMB";
constexpr uint8_t kVersionPlain = 0x03, kVersionMemo = 0x83, kVersionDBase4 = 0x8B;
constexpr uint8_t kHeaderEnd = 0x0D, kEof = 0x1A;
constexpr uint32_t kDBase4Mark = 0x0008FFFF;
constexpr int kMaxFields = (0xFFFF - 33) / 32;

std::unique_ptr<tsl::ByteStream> PosixOpen(const std::string& name, bool create) {
  auto f = std::make_unique<tsl::PosixFileStream>(name, create ? tsl::PosixFileStream::Create
                                                               : tsl::PosixFileStream::ReadOnly);
  if (!f->IsOpen()) return nullptr;
  return f;
}
TDBaseFileOpener g_opener = PosixOpen;

uint32_t GetU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
bool ReadAt(tsl::ByteStream& f, int64_t at, void* buf, uint32_t n) {
  return f.Seek(at) == at && f.Read(buf, n) == n;
}
}  // namespace

void SetDBaseFileOpener(TDBaseFileOpener opener) { g_opener = opener ? opener : PosixOpen; }

void TDBASE::Init() {
  status_ = Usable;
  dbf_.reset();
  dbt_.reset();
  offsets_.clear();
  std::memset(memoBuffer_, 0, sizeof memoBuffer_);
  dBase4_ = 0;
  blockSize_ = kBlockSize;
}

TDBASE::TDBASE(const char* dbfName, uint32_t recordCount, int16_t fieldCount) : dbfName_(dbfName ? dbfName : "") {
  fields_.reserve(11);
  if (fieldCount < 0 || fieldCount > kMaxFields) fieldCount = 0;
  fields_.assign(static_cast<size_t>(fieldCount), TDBASE_FELD_DESCR{});
  tsl::string dbt;
  ReplaceExtension(tsl::string(dbfName_.c_str()), dbt, tsl::string(".DBT"));
  dbtName_ = dbt.c_str();
  SetU32(4, recordCount);
  SetU16(8, static_cast<uint16_t>(32 * fieldCount + 33));
  SetU16(10, 1);
  writable_ = 1;
  Init();
}

TDBASE::TDBASE(const char* dbfName) : dbfName_(dbfName ? dbfName : "") {
  Init();
  tsl::string dbt;
  ReplaceExtension(tsl::string(dbfName_.c_str()), dbt, tsl::string(".DBT"));
  dbtName_ = dbt.c_str();
  dbf_ = g_opener(dbfName_, false);
  if (!dbf_) {
    status_ = FileError;
    return;
  }
  if (!ReadAt(*dbf_, 0, header_, sizeof header_) ||
      (header_[0] != kVersionMemo && header_[0] != kVersionPlain && header_[0] != kVersionDBase4)) {
    status_ = UnknownVersion;
    return;
  }
  if (header_[0] == kVersionDBase4) dBase4_ = 1;
  const int n = HeaderLength() < 33 ? -1 : (HeaderLength() - 33) / 32;
  for (int i = 0; i < n; ++i) {
    TDBASE_FELD_DESCR d;
    if (!ReadAt(*dbf_, 32 + 32 * static_cast<int64_t>(i), &d, sizeof d)) {
      status_ = UnknownVersion;
      return;
    }
    d.name[10] = 0;
    if (d.type == 'F') d.type = 'N';
    fields_.push_back(d);
  }
  if (n < 0 || !CheckOpenedLayout()) {
    fields_.clear();
    status_ = UnknownVersion;
    return;
  }
  ComputeFieldOffsets();
  if (!HasMemo()) return;
  dbt_ = g_opener(dbtName_, false);
  if (!dbt_) return;
  const int64_t len = dbt_->Length();
  uint8_t b[4];
  if (!dBase4_ && len > kBlockSize && ReadAt(*dbt_, kBlockSize, b, 4) && GetU32(b) == kDBase4Mark) dBase4_ = 1;
  if (dBase4_) {
    uint8_t s[2];
    const uint16_t size = ReadAt(*dbt_, 20, s, 2) ? GetU16(s) : 0;
    // A block size the file cannot have leaves the memos unreadable.
    if (size == 0 || size > 0x7FFF) dbt_.reset();
    else blockSize_ = static_cast<int16_t>(size);
  }
}

// The header's sizes must fit the file: fields inside the record, records
// inside the file (a count beyond it is cut to the records present).
bool TDBASE::CheckOpenedLayout() {
  const int64_t len = dbf_->Length();
  if (len < HeaderLength() || RecordLength() < 1) return false;
  uint32_t sum = 1;
  for (const auto& d : fields_) sum += d.length;
  if (sum > RecordLength()) return false;
  const uint64_t room = static_cast<uint64_t>(len - HeaderLength()) / RecordLength();
  if (RecordCount() > room) SetU32(4, static_cast<uint32_t>(room));
  return true;
}

TDBASE::~TDBASE() = default;

uint32_t TDBASE::RecordCount() const { return GetU32(header_ + 4); }
uint16_t TDBASE::HeaderLength() const { return GetU16(header_ + 8); }
uint16_t TDBASE::RecordLength() const { return GetU16(header_ + 10); }
void TDBASE::SetU16(int at, uint16_t v) {
  header_[at] = static_cast<uint8_t>(v);
  header_[at + 1] = static_cast<uint8_t>(v >> 8);
}
void TDBASE::SetU32(int at, uint32_t v) { PutU32(header_ + at, v); }

bool TDBASE::SetField(int i, const char* name, int typeIndex, int length, int decimals) {
  if (i < 0 || i >= FieldCount() || typeIndex < 0 || typeIndex > 5) return false;
  TDBASE_FELD_DESCR d{};
  if (name) std::strncpy(d.name, name, 10);
  d.type = kTypes[typeIndex];
  if (length < 1) length = 1;
  // The length byte holds at most 255: longer texts go to the memo file.
  if (length > 255) d.type = 'M';
  if (d.type == 'M') length = 10;
  else if (d.type == 'D') length = 8;
  else if (d.type == 'L') length = 1;
  d.length = static_cast<uint8_t>(length);
  d.decimals = static_cast<uint8_t>(decimals);
  uint32_t sum = 1;
  for (int k = 0; k < FieldCount(); ++k) sum += k == i ? d.length : fields_[k].length;
  if (sum > 0xFFFF) return false;
  fields_[i] = d;
  SetU16(10, static_cast<uint16_t>(sum));
  return true;
}

bool TDBASE::GetFieldDescr(int i, TDBASE_FELD_DESCR& out) const {
  if (i < 0 || i >= FieldCount()) return false;
  out = fields_[i];
  return true;
}

bool TDBASE::HasMemo() const {
  for (const auto& d : fields_)
    if (d.type == 'M' || d.type == 'B') return true;
  return false;
}

void TDBASE::ComputeFieldOffsets() {
  offsets_.assign(fields_.size(), 0);
  uint32_t at = 0;
  for (size_t i = 0; i < fields_.size(); ++i) {
    offsets_[i] = static_cast<uint16_t>(at);
    at += fields_[i].length;
  }
}

int32_t TDBASE::FieldPosition(uint32_t record, int field) const {
  if (field < 0 || field >= FieldCount() || record >= RecordCount() || offsets_.size() != fields_.size()) return -1;
  const int64_t pos = static_cast<int64_t>(RecordLength()) * record + HeaderLength() + offsets_[field] + 1;
  return pos > INT32_MAX ? -1 : static_cast<int32_t>(pos);
}

bool TDBASE::CreateFiles() {
  if (status_ != Usable || !writable_) return false;
  dbf_ = g_opener(dbfName_, true);
  if (!dbf_) {
    status_ = FileError;
    return false;
  }
  if (HasMemo()) {
    dbt_ = g_opener(dbtName_, true);
    if (!dbt_) {
      status_ = FileError;
      return false;
    }
  }
  SetUpdateDate();
  ComputeFieldOffsets();
  WriteHeader();
  WriteBlankRecords();
  WriteEofMarker();
  return true;
}

void TDBASE::SetUpdateDate() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  header_[1] = static_cast<uint8_t>((t.tm_year + 1900) % 100);
  header_[2] = static_cast<uint8_t>(t.tm_mon + 1);
  header_[3] = static_cast<uint8_t>(t.tm_mday);
}

void TDBASE::WriteHeader() {
  header_[0] = HasMemo() ? kVersionMemo : kVersionPlain;
  dbf_->Seek(0);
  dbf_->Write(header_, sizeof header_);
  for (const auto& d : fields_) dbf_->Write(&d, sizeof d);
  dbf_->Write(&kHeaderEnd, 1);
  if (dbt_) {
    uint8_t block[kBlockSize] = {};
    PutU32(block, 1);
    dbt_->Seek(0);
    dbt_->Write(block, sizeof block);
  }
}

void TDBASE::WriteBlankRecords() {
  dbf_->Seek(0, tsl::ByteStream::end);
  const std::string blank(RecordLength(), ' ');
  for (uint32_t r = 0; r < RecordCount(); ++r) dbf_->Write(blank.data(), static_cast<uint32_t>(blank.size()));
}

void TDBASE::WriteEofMarker() { dbf_->Write(&kEof, 1); }

void TDBASE::WriteSpace(tsl::ByteStream& file) { file.Write(" ", 1); }

void TDBASE::PutField(uint32_t record, int field, const char* text, int length) {
  if (status_ != Usable || !writable_ || !dbf_ || !text || length <= 0) return;
  const int32_t pos = FieldPosition(record, field);
  if (pos < 0) return;
  const TDBASE_FELD_DESCR& d = fields_[field];
  const std::string value(text, strnlen(text, static_cast<size_t>(length)));
  const uint32_t width = d.length;
  dbf_->Seek(pos);
  switch (d.type) {
    case 'L': {
      const char c = std::strtol(value.c_str(), nullptr, 10) != 0 ? 'Y' : 'N';
      dbf_->Write(&c, 1);
      break;
    }
    case 'D': {
      int day = 0, month = 0, year = 0;
      char sep = 0;
      ParseDateText(value.c_str(), day, month, year, sep);
      char v[9];
      std::memset(v, ' ', 8);
      char buf[16];
      if (year > 0 && year <= 9999) {
        const int n = std::snprintf(buf, sizeof buf, "%d", year);
        std::memcpy(v, buf, static_cast<size_t>(n));
      }
      if (month > 0 && month < 100) {
        std::snprintf(buf, sizeof buf, "%02d", month);
        std::memcpy(v + 4, buf, 2);
      }
      if (day > 0 && day < 100) {
        std::snprintf(buf, sizeof buf, "%02d", day);
        std::memcpy(v + 6, buf, 2);
      }
      dbf_->Write(v, 8);
      break;
    }
    case 'M': {
      if (!dbt_) break;
      const int64_t end = dbt_->Seek(0, tsl::ByteStream::end);
      if (end < 0) break;
      const uint32_t block = static_cast<uint32_t>(end / blockSize_);
      dbt_->Write(value.data(), static_cast<uint32_t>(value.size()));
      dbt_->Write(&kEof, 1);
      const uint64_t used = value.size() + 1;
      const uint32_t pad = static_cast<uint32_t>((blockSize_ - used % blockSize_) % blockSize_);
      for (uint32_t left = pad; left > 0;) {
        const uint32_t n = left < sizeof memoBuffer_ ? left : sizeof memoBuffer_;
        dbt_->Write(memoBuffer_, n);
        left -= n;
      }
      uint8_t next[4];
      PutU32(next, static_cast<uint32_t>(dbt_->Length() / blockSize_));
      dbt_->Seek(0);
      dbt_->Write(next, 4);
      char num[16];
      const int n = std::snprintf(num, sizeof num, "%u", block);
      dbf_->Write(num, static_cast<uint32_t>(n) < width ? static_cast<uint32_t>(n) : width);
      break;
    }
    case 'C':
      // Never past the field: a text keeps its first characters.
      dbf_->Write(value.data(), static_cast<uint32_t>(value.size() < width ? value.size() : width));
      break;
    case 'N': {
      // Right-aligned; a text too long keeps its last characters.
      const size_t n = value.size() < width ? value.size() : width;
      dbf_->Seek(pos + static_cast<int64_t>(width - n));
      dbf_->Write(value.data() + value.size() - n, static_cast<uint32_t>(n));
      break;
    }
    default:
      break;
  }
}

bool TDBASE::ReadMemo(int64_t offset, bool binary, std::string& text) {
  const int64_t len = dbt_->Length();
  if (offset <= 0 || len < 0 || offset >= len) return false;
  int64_t start = offset, n = 0;
  if (dBase4_) {
    uint8_t head[8];
    if (!ReadAt(*dbt_, offset, head, 8)) return false;
    // The length counts the 8-byte block header, which is no part of the text.
    const uint32_t stored = GetU32(head + 4);
    start = offset + 8;
    n = stored >= 8 ? stored - 8 : 0;
    if (n > len - start) n = len - start;
  } else {
    if (dbt_->Seek(offset) != offset) return false;
    char buf[4096];
    bool found = false;
    for (int64_t at = offset; at < len && !found;) {
      const uint32_t got = dbt_->Read(buf, sizeof buf);
      if (got == 0) break;
      const void* hit = std::memchr(buf, kEof, got);
      if (hit) {
        n += static_cast<const char*>(hit) - buf;
        found = true;
      } else {
        n += got;
      }
      at += got;
    }
    if (!found) return false;
  }
  if (n <= 0) return false;
  text.resize(static_cast<size_t>(n));
  if (!ReadAt(*dbt_, start, &text[0], static_cast<uint32_t>(n))) {
    text.clear();
    return false;
  }
  (void)binary;
  return true;
}

bool TDBASE::GetField(uint32_t record, int field, std::string& text, uint16_t* ok) {
  text.clear();
  if (ok) *ok = 0;
  if (writable_ || status_ != Usable || !dbf_) return false;
  const int32_t pos = FieldPosition(record, field);
  if (pos < 0) return false;
  const TDBASE_FELD_DESCR& d = fields_[field];
  switch (d.type) {
    case 'L':
    case 'D':
    case 'C':
    case 'N': {
      text.resize(d.length);
      if (d.length && !ReadAt(*dbf_, pos, &text[0], d.length)) {
        text.clear();
        return false;
      }
      break;
    }
    case 'M':
    case 'B': {
      char num[11] = {};
      const uint32_t w = d.length < 10 ? d.length : 10;
      if (!dbt_ || w == 0 || !ReadAt(*dbf_, pos, num, w)) return false;
      const unsigned long long block = std::strtoull(num, nullptr, 10);
      if (block == 0 || block > 0xFFFFFFFFull) return false;
      if (!ReadMemo(static_cast<int64_t>(block) * blockSize_, d.type == 'B', text)) return false;
      break;
    }
    default:
      return false;
  }
  if (ok) *ok = 1;
  return true;
}

// TDBaseFieldMap -------------------------------------------------------------

TDBaseFieldMap::TDBaseFieldMap(int16_t count, bool secondColumn)
    : second_(secondColumn), count_(count < 0 ? 0 : count), names_(count_), numbers_(count_, -1),
      seconds_(secondColumn ? count_ : 0, -1) {}

const char* TDBaseFieldMap::GetName(int i) const {
  return i >= 0 && i < count_ ? names_[i].c_str() : nullptr;
}

bool TDBaseFieldMap::SetEntry(int i, const char* name, int32_t number) {
  if (i < 0 || i >= count_ || !name) return false;
  names_[i] = name;
  numbers_[i] = number;
  return true;
}

bool TDBaseFieldMap::GetNumber(int i, int32_t& out) const {
  if (i < 0 || i >= count_) return false;
  out = numbers_[i];
  return true;
}

bool TDBaseFieldMap::GetSecond(int i, int32_t& out) const {
  if (!second_ || i < 0 || i >= count_) return false;
  out = seconds_[i];
  return true;
}

int TDBaseFieldMap::FindByNumber(int32_t n) const {
  for (int i = 0; i < count_; ++i)
    if (numbers_[i] == n) return i;
  return -1;
}

int TDBaseFieldMap::FindByName(const char* name) const {
  if (!name) return -1;
  for (int i = 0; i < count_; ++i)
    if (strcasecmp(names_[i].c_str(), name) == 0) return i;
  return -1;
}

void TDBaseFieldMap::MatchNames(TDBaseFieldMap& other) const {
  if (!other.second_) return;
  for (int k = 0; k < other.count_; ++k) {
    const int i = FindByName(other.names_[k].c_str());
    if (i >= 0) other.seconds_[k] = numbers_[i];
  }
}
