#include "foundation/core/index/packfile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "foundation/core/pathstr.h"
#include "foundation/core/streamenc.h"

namespace {

void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The picture extensions, in the order the picture loader tests them.
const char* const kPictureExtensions[] = {".WMF", ".EMF", ".BMP", ".DIB", ".PCX",
                                          ".TGA", ".GIF", ".TIF", ".PCD", ".JPG"};

// The picture test of the picture loader: the part from the last dot on,
// upper-cased, is one of the ten.
bool IsPictureFileName(const char* name) {
  if (!name) return false;
  const char* dot = std::strrchr(name, '.');
  if (!dot) return false;
  string ext(dot);
  ext.to_upper();
  for (const char* e : kPictureExtensions)
    if (ext.str() == e) return true;
  return false;
}

// Name and extension of a path; empty when it has none.
string FileNamePart(const char* path) {
  string name;
  ExtractFileName(string(path), name);
  return name;
}

// The index key of a name: lower-cased, cut to what the entry can hold.
string KeyOf(const char* name) {
  string key(name);
  key.to_lower();
  if (key.length() > TPackEntry::kKeyBytes - 1) key.resize(TPackEntry::kKeyBytes - 1);
  return key;
}

}  // namespace

// ---- TPackEntry --------------------------------------------------------------

void TPackEntry::SetName(const char* name) {
  std::memset(Name, 0, sizeof Name);
  for (uint32_t i = 0; name && i + 1 < kKeyBytes && name[i]; ++i) Name[i] = name[i];
}

void TPackEntry::Encode(uint8_t* p) const {
  std::memcpy(p, Name, kKeyBytes);
  p[kKeyBytes - 1] = 0;
  PutU32(p + 260, Offset);
  PutU32(p + 264, Length);
  PutU32(p + 268, TimeStamp);
}

void TPackEntry::Decode(const uint8_t* p) {
  std::memcpy(Name, p, kKeyBytes);
  Name[kKeyBytes - 1] = 0;
  Offset = GetU32(p + 260);
  Length = GetU32(p + 264);
  TimeStamp = GetU32(p + 268);
}

// ---- TPackFile ---------------------------------------------------------------

TPackFile::TPackFile(tsl::TPackHost& host, bool privateFolder) : host_(host) {
  if (!privateFolder) {
    extractFolder_ = host_.ProgramDirectory();
    return;
  }
  const string temp = host_.MakeTempFileName("tsl");
  string base;
  GetPathDriveDir(temp, base);
  if (!temp.is_null()) host_.RemoveFile(temp.c_str());
  extractFolder_ = base;
  for (int n = 1; n <= 1000; ++n) {
    const string folder = base + "tslplay_" + string(std::to_string(n)) + "\\";
    if (!host_.FileExists(folder.c_str())) {
      extractFolder_ = folder;
      break;
    }
  }
}

TPackFile::~TPackFile() = default;

uint32_t TPackFile::Classify(const char* name) {
  if (!name) return kPackUnclassified;
  if (ContainsNoCase(name, ".rtf")) return kPackRtf;
  if (ContainsNoCase(name, ".txt")) return kPackText;
  if (ContainsNoCase(name, ".html") || ContainsNoCase(name, ".htm") || ContainsNoCase(name, ".asp"))
    return kPackHtml;
  if (IsPictureFileName(name)) return kPackPicture;
  if (ContainsNoCase(name, ".abp") || ContainsNoCase(name, ".flx") || ContainsNoCase(name, ".gif"))
    return kPackAnimation;
  return kPackUnclassified;
}

bool TPackFile::Create(const char* path) {
  Close();
  if (!path || !*path) return false;
  file_ = host_.Open(path, tsl::TIndexFiles::Create);
  if (!file_) return false;
  path_ = path;
  index_.Clear();
  dirOffset_ = 0;
  return true;
}

void TPackFile::Close() { file_.reset(); }

bool TPackFile::AddFile(const char* name, int32_t kind) {
  if (!name || !*name) return true;
  if (!file_) return false;
  const string key = KeyOf(name);
  if (index_.Find(key.c_str(), 0)) return true;
  if (!host_.FileExists(name)) {
    messages_ << "Kann Datei " << name << " nicht finden!" << std::endl;
    return false;
  }
  const uint32_t k = kind >= 0 ? static_cast<uint32_t>(kind) : Classify(name);
  std::unique_ptr<char[]> data;
  uint32_t size = 0, stamp = 0;
  if (k >= kPackFolderAll && k <= kPackFolderPicturesSorted) {
    std::vector<string> patterns;
    if (k == kPackFolderAll || k == kPackFolderAllSorted) {
      patterns.emplace_back("*.*");
    } else {
      for (const char* e : kPictureExtensions) patterns.push_back(string("*") + e);
    }
    const bool sorted = k == kPackFolderAllSorted || k == kPackFolderPicturesSorted;
    std::string listing;
    for (const string& found : host_.ListFolder(name, patterns, sorted)) {
      AddFile(found.c_str(), kPackPicture);
      listing.append(found.str());
      listing.push_back('\0');
    }
    size = static_cast<uint32_t>(listing.size());
    data.reset(new (std::nothrow) char[listing.size() + 1]);
    if (!data) return false;
    std::memcpy(data.get(), listing.data(), listing.size());
  } else if (!LoadDiskFile(name, data, size, stamp)) {
    return false;
  }
  const int64_t offset = file_->Seek(0, tsl::ByteStream::end);
  if (offset < 0 || static_cast<uint64_t>(offset) + 8 + size > UINT32_MAX) return false;
  uint8_t head[8];
  PutU32(head, k);
  PutU32(head + 4, size);
  if (file_->Write(head, 8) != 8) return false;
  if (size && file_->Write(data.get(), size) != size) return false;
  if (k == kPackUnpack) unpackNames_.Add(string(name));
  TPackEntry e;
  e.SetName(key.c_str());
  e.Offset = static_cast<uint32_t>(offset);
  e.Length = 8 + size;
  e.TimeStamp = stamp;
  return index_.Insert(e, 0);
}

bool TPackFile::WriteDirectory() {
  if (!file_) return false;
  const int64_t at = file_->Seek(0, tsl::ByteStream::end);
  bool ok = at >= 0 && at <= UINT32_MAX;
  dirOffset_ = ok ? static_cast<uint32_t>(at) : 0;
  ok = ok && WriteLong(marker_, *file_) && WriteShortString(Title, *file_);
  ok = ok && WriteLong(static_cast<uint32_t>(unpackNames_.GetItemsInContainer()), *file_);
  for (const string& n : unpackNames_) ok = ok && WriteShortString(n, *file_);
  const uint32_t count = index_.Count();
  ok = ok && WriteLong(count, *file_);
  for (uint32_t i = 0; ok && i < count; ++i) {
    TPackEntry e;
    uint8_t b[TPackEntry::kBytes];
    ok = index_.GetAt(static_cast<int32_t>(i), e);
    e.Encode(b);
    ok = ok && file_->Write(b, sizeof b) == sizeof b;
  }
  ok = ok && WriteLong(dirOffset_, *file_);
  Close();
  return ok;
}

bool TPackFile::ReadDirectory() {
  if (!file_) return false;
  const int64_t len = file_->Length();
  if (len < 8 || len > UINT32_MAX) return false;
  const int64_t end = len - 4;  // the trailer
  uint8_t b[TPackEntry::kBytes];
  if (file_->Seek(end) != end || file_->Read(b, 4) != 4) return false;
  const uint32_t at = GetU32(b);
  if (static_cast<int64_t>(at) + 4 > end) return false;
  if (file_->Seek(at) != at || file_->Read(b, 4) != 4 || GetU32(b) != kMarker) return false;

  // Everything read from here on is checked against the bytes before the
  // trailer; a failure leaves the archive without a directory.
  const string oldTitle = Title;
  const int oldNames = unpackNames_.GetItemsInContainer();
  auto fail = [&]() {
    Title = oldTitle;
    while (unpackNames_.GetItemsInContainer() > oldNames) unpackNames_.Detach(unpackNames_.GetItemsInContainer() - 1);
    index_.Clear();
    return false;
  };
  auto left = [&]() { return end - file_->Position(); };
  string title;
  ReadShortString(title, *file_);
  Title = title;
  if (left() < 4 || file_->Read(b, 4) != 4) return fail();
  const uint32_t names = GetU32(b);
  if (names > left() / 2) return fail();
  for (uint32_t i = 0; i < names; ++i) {
    string n;
    ReadShortString(n, *file_);
    unpackNames_.Add(n);
  }
  if (left() < 4 || file_->Read(b, 4) != 4) return fail();
  const uint32_t count = GetU32(b);
  if (count > left() / TPackEntry::kBytes) return fail();
  index_.Clear();
  for (uint32_t i = 0; i < count; ++i) {
    if (file_->Read(b, sizeof b) != sizeof b) return fail();
    TPackEntry e;
    e.Decode(b);
    // A record lies before the directory and holds at least its head.
    if (e.Length < 8 || static_cast<uint64_t>(e.Offset) + e.Length > at) return fail();
    if (!index_.Insert(e, 0)) return fail();
  }
  dirOffset_ = at;
  return true;
}

bool TPackFile::Open(bool unpackAndStart, const char* path) {
  Close();
  if (!path || !*path) return false;
  file_ = host_.Open(path, tsl::TIndexFiles::ReadOnly);
  if (!file_) return false;
  path_ = path;
  if (!ReadDirectory()) {
    Close();
    return false;
  }
  if (!unpackAndStart) return true;
  for (int i = 0; i < unpackNames_.GetItemsInContainer(); ++i) {
    std::unique_ptr<char[]> data;
    uint32_t size = 0, kind = 0;
    if (!GetEntry(unpackNames_[i].c_str(), &data, &size, &kind, true)) {
      Close();
      return false;
    }
  }
  Close();
  const string parameter = string("-loadexternal_file=") + host_.ProgramPath();
  host_.ShowMessage(Title.c_str());
  const string program = extractFolder_ + FileNamePart(Title.c_str());
  return host_.ShellOpen(program.c_str(), parameter.c_str(), extractFolder_.c_str());
}

bool TPackFile::GetEntry(const char* name, std::unique_ptr<char[]>* data, uint32_t* size,
                         uint32_t* kind, bool load, TPackCallback callback, void* argument) {
  if (!name || !*name || !file_) return false;
  TPackEntry e;
  if (!index_.Find(KeyOf(name).c_str(), 0, &e)) return false;
  lastStamp_ = e.TimeStamp;
  uint8_t head[8];
  if (file_->Seek(e.Offset) != e.Offset || file_->Read(head, 8) != 8) return false;
  const uint32_t k = GetU32(head), n = GetU32(head + 4);
  if (kind) *kind = k;
  if (size) *size = n;
  if (data) data->reset();
  // The record must be the entry's own and lie inside the file.
  if (static_cast<uint64_t>(n) + 8 != e.Length ||
      static_cast<int64_t>(e.Offset) + 8 + n > file_->Length())
    return false;
  if (load) {
    if (k == kPackUnclassified || k > kPackLastKind) return false;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(n) + 1]);
    if (!buffer || file_->Read(buffer.get(), n) != n) return false;
    buffer[n] = 0;
    if (k == kPackUnpack) {
      const string target = extractFolder_ + FileNamePart(e.Name);
      if (!ExtractFile(target.c_str(), buffer.get(), n, e.TimeStamp, false)) return false;
    } else if (data) {
      *data = std::move(buffer);
    }
  }
  if (callback) {
    if (load && file_->Seek(static_cast<int64_t>(e.Offset) + 8) < 0) return false;
    callback(*file_, n, argument);
  }
  return true;
}

bool TPackFile::Contains(const char* name) { return GetEntry(name, nullptr, nullptr, nullptr, false); }

bool TPackFile::LoadDiskFile(const char* path, std::unique_ptr<char[]>& data, uint32_t& size,
                             uint32_t& stamp) {
  data.reset();
  size = 0;
  stamp = 0;
  if (!path || !*path) return false;
  std::unique_ptr<tsl::ByteStream> f = host_.Open(path, tsl::TIndexFiles::ReadOnly);
  if (!f) return false;
  const int64_t len = f->Length();
  if (len < 0 || len >= UINT32_MAX) return false;
  const uint32_t n = static_cast<uint32_t>(len);
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(n) + 1]);
  if (!buffer || f->Read(buffer.get(), n) != n) return false;
  buffer[n] = 0;
  f.reset();
  host_.GetFileStamp(path, stamp);
  data = std::move(buffer);
  size = n;
  return true;
}

bool TPackFile::ExtractFile(const char* path, const char* data, uint32_t size, uint32_t stamp,
                            bool remember) {
  if (!path || !*path) return false;
  if (host_.FileExists(path)) return true;
  if (!host_.CreateDirectoryPath(path)) return false;
  if (remember) remembered_.Add(string(path));
  std::unique_ptr<tsl::ByteStream> f = host_.Open(path, tsl::TIndexFiles::Create);
  if (!f) return false;
  const bool written = size == 0 || f->Write(data, size) == size;
  f.reset();
  if (!written) return false;
  host_.SetFileStamp(path, stamp);
  return true;
}

void TPackFile::AddUnpackName(const char* name) {
  if (name && *name) unpackNames_.Add(string(name));
}
