#include "actions/core/zipextract.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <cstring>

namespace {

bool IsSep(char c) { return c == '/' || c == '\\'; }

// minizip's file access over the host's streams.
voidpf ZCALLBACK IoOpen(voidpf opaque, const void* name, int mode) {
  auto* host = static_cast<TZipHost*>(opaque);
  TZipOpenMode m = TZipOpenMode::Read;
  if (mode & ZLIB_FILEFUNC_MODE_CREATE)
    m = TZipOpenMode::Create;
  else if (mode & ZLIB_FILEFUNC_MODE_EXISTING && (mode & ZLIB_FILEFUNC_MODE_WRITE))
    m = TZipOpenMode::Append;
  if (!name) return nullptr;
  return host->OpenFile(static_cast<const char*>(name), m).release();
}
uLong ZCALLBACK IoRead(voidpf, voidpf stream, void* buf, uLong size) {
  return static_cast<tsl::ByteStream*>(stream)->Read(buf, uint32_t(size));
}
uLong ZCALLBACK IoWrite(voidpf, voidpf stream, const void* buf, uLong size) {
  return static_cast<tsl::ByteStream*>(stream)->Write(buf, uint32_t(size));
}
ZPOS64_T ZCALLBACK IoTell(voidpf, voidpf stream) {
  const int64_t p = static_cast<tsl::ByteStream*>(stream)->Position();
  return p < 0 ? ZPOS64_T(-1) : ZPOS64_T(p);
}
long ZCALLBACK IoSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  const tsl::ByteStream::seek_dir dir = origin == ZLIB_FILEFUNC_SEEK_CUR   ? tsl::ByteStream::cur
                                        : origin == ZLIB_FILEFUNC_SEEK_END ? tsl::ByteStream::end
                                                                           : tsl::ByteStream::beg;
  return static_cast<tsl::ByteStream*>(stream)->Seek(int64_t(offset), dir) < 0 ? -1 : 0;
}
int ZCALLBACK IoClose(voidpf, voidpf stream) {
  delete static_cast<tsl::ByteStream*>(stream);
  return 0;
}
int ZCALLBACK IoError(voidpf, voidpf) { return 0; }

zlib_filefunc64_def HostIo(TZipHost& host) {
  zlib_filefunc64_def io;
  io.zopen64_file = IoOpen;
  io.zread_file = IoRead;
  io.zwrite_file = IoWrite;
  io.ztell64_file = IoTell;
  io.zseek64_file = IoSeek;
  io.zclose_file = IoClose;
  io.zerror_file = IoError;
  io.opaque = &host;
  return io;
}

struct TEntry {
  unz_file_info64 info;
  std::string name;  // converted to ANSI when flagged UTF-8
};

int ReadEntry(TZipHost& host, unzFile z, TEntry& e) {
  char name[kZipMaxName + 1];
  const int r = unzGetCurrentFileInfo64(z, &e.info, name, sizeof name, nullptr, 0, nullptr, 0);
  if (r != UNZ_OK) return r;
  e.name.assign(name, std::min<size_t>(e.info.size_filename, kZipMaxName));
  if (e.info.flag & kZipUtf8Flag) e.name = host.Utf8ToAnsi(e.name);
  return UNZ_OK;
}

int32_t ExtractCurrentEntry(TZipHost& host, unzFile z, uint64_t total, const std::string& target, bool withoutFolders,
                            bool overwrite) {
  TEntry e;
  if (const int r = ReadEntry(host, z, e)) return r;
  if (ZipLastComponent(e.name).empty()) return kZipOk;  // folders come with their files
  const std::string out = ZipOutputPath(target, e.name, !withoutFolders);
  if (out.size() > kZipMaxOutputPath) return kZipFileError;
  if (!CreatePathDirectories(host, out)) return kZipFileError;
  // minizip would answer an unknown method with its structure error.
  if (e.info.compression_method != 0 && e.info.compression_method != Z_DEFLATED) return kZipBadMethod;
  if (const int r = unzOpenCurrentFile(z)) return r;
  if (!overwrite && host.Exists(out)) return unzCloseCurrentFile(z);
  std::unique_ptr<tsl::ByteStream> file = host.OpenFile(out, TZipOpenMode::Create);
  if (!file) {
    unzCloseCurrentFile(z);
    return kZipFileError;
  }
  std::vector<uint8_t> buf(kZipBlock);
  for (;;) {
    const int n = unzReadCurrentFile(z, buf.data(), kZipBlock);
    if (n == 0) break;
    if (n < 0) {
      unzCloseCurrentFile(z);
      return kZipFileError;
    }
    if (file->Write(buf.data(), uint32_t(n)) != uint32_t(n)) {
      unzCloseCurrentFile(z);
      return kZipShortWrite;
    }
    if (host.EscapeDown()) {
      unzCloseCurrentFile(z);
      return kZipEscape;
    }
    host.Progress(out, int64_t(total), n);
  }
  file.reset();
  host.SetDosTime(out, uint32_t(e.info.dosDate));
  return unzCloseCurrentFile(z);
}

int32_t ExtractAllEntries(TZipHost& host, unzFile z, const std::string& target, bool withoutFolders, bool overwrite,
                          std::string* refused) {
  unz_global_info64 gi;
  if (const int r = unzGetGlobalInfo64(z, &gi)) return r;
  // Sizing pass: the total for the progress bar, and every name checked
  // before anything is written.
  uint64_t total = 0;
  for (ZPOS64_T i = 0; i < gi.number_entry; ++i) {
    TEntry e;
    if (const int r = ReadEntry(host, z, e)) return r;
    TZipNameFault fault = e.info.size_filename > kZipMaxName ? TZipNameFault::TooLong : CheckZipEntryName(e.name);
    if (fault != TZipNameFault::None) {
      if (refused) *refused = e.name;
      return kZipUnsafeEntry;
    }
    if (!ZipLastComponent(e.name).empty() && ZipOutputPath(target, e.name, !withoutFolders).size() > kZipMaxOutputPath)
      return kZipFileError;
    total += e.info.uncompressed_size;
    if (i + 1 < gi.number_entry)
      if (const int r = unzGoToNextFile(z)) return r;
  }
  if (gi.number_entry == 0) return kZipOk;
  if (const int r = unzGoToFirstFile(z)) return r;
  for (ZPOS64_T i = 0; i < gi.number_entry; ++i) {
    if (const int32_t r = ExtractCurrentEntry(host, z, total, target, withoutFolders, overwrite)) return r;
    if (i + 1 < gi.number_entry)
      if (const int r = unzGoToNextFile(z)) return r;
  }
  return kZipOk;
}

void AppendUtf8Latin1(std::string& out, uint32_t cp) { out += cp <= 0xFF ? char(cp) : '_'; }

}  // namespace

std::string TZipHost::Utf8ToAnsi(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const uint8_t c = uint8_t(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= s.size() + (extra == 0)) {
      out += '_';
      ++i;
      continue;
    }
    uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const uint8_t t = uint8_t(s[i + k]);
      if ((t & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (!ok) {
      out += '_';
      ++i;
      continue;
    }
    AppendUtf8Latin1(out, cp);
    i += size_t(extra) + 1;
  }
  return out;
}

TZipNameFault CheckZipEntryName(const std::string& name) {
  if (name.size() > kZipMaxName) return TZipNameFault::TooLong;
  if (!name.empty() && IsSep(name[0])) return TZipNameFault::Absolute;
  if (name.find(':') != std::string::npos) return TZipNameFault::Drive;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSep(name[end])) ++end;
    const std::string comp = name.substr(start, end - start);
    // Windows drops trailing dots and blanks of a component, so ". ." and
    // "..." lead to the parent as ".." does.
    const bool onlyDots = !comp.empty() && comp.find_first_not_of(". ") == std::string::npos;
    if (onlyDots && std::count(comp.begin(), comp.end(), '.') >= 2) return TZipNameFault::ParentFolder;
    start = end + 1;
  }
  return TZipNameFault::None;
}

const char* ZipNameFaultText(TZipNameFault f) {
  switch (f) {
    case TZipNameFault::None: return "safe";
    case TZipNameFault::Absolute: return "absolute";
    case TZipNameFault::Drive: return "drive or colon";
    case TZipNameFault::ParentFolder: return "parent folder";
    case TZipNameFault::TooLong: return "too long";
  }
  return "?";
}

std::string ZipLastComponent(const std::string& name) {
  size_t i = name.size();
  while (i > 0 && !IsSep(name[i - 1])) --i;
  return name.substr(i);
}

std::string ZipOutputPath(const std::string& target, const std::string& name, bool keepFolders) {
  std::string out = target;
  while (!out.empty() && out.back() == '\\') out.pop_back();
  out += '\\';
  out += keepFolders ? name : ZipLastComponent(name);
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

std::string ZipFolderOf(const std::string& path) {
  const size_t i = path.find_last_of("\\/:");
  return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

bool CreatePathDirectories(TZipHost& host, const std::string& path) {
  size_t from = 3;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // "\\server\share\": neither the server nor the share is a folder to make.
    size_t seps = 0;
    for (from = 2; from < path.size() && seps < 2; ++from)
      if (path[from] == '\\') ++seps;
  }
  for (size_t i = from; i < path.size(); ++i) {
    if (path[i] != '\\') continue;
    const std::string prefix = path.substr(0, i);
    if (!host.Exists(prefix) && !host.MakeFolder(prefix)) return false;
  }
  return true;
}

int32_t ExtractZipArchive(TZipHost& host, const char* archivePath, const char* target, int keepFolders,
                          int overwrite, std::string* refused) {
  if (!archivePath || std::strlen(archivePath) > kZipMaxArchivePath) return kZipFileError;
  zlib_filefunc64_def io = HostIo(host);
  unzFile z = unzOpen2_64(archivePath, &io);
  if (!z) return kZipFileError;
  const std::string to = target && *target ? std::string(target) : ZipFolderOf(archivePath);
  host.Progress("", -1, -1);
  const int32_t r = ExtractAllEntries(host, z, to, !keepFolders, overwrite != 0, refused);
  host.Progress("", -2, -2);
  unzClose(z);
  return r;
}

bool CreateZipArchive(TZipHost& host, const char* archivePath, const std::vector<std::string>& files, int append) {
  if (!archivePath) return false;
  zlib_filefunc64_def io = HostIo(host);
  zipFile z = zipOpen2_64(archivePath, append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE, nullptr, &io);
  if (!z) return false;
  auto fail = [&]() {
    zipClose(z, nullptr);
    // An archive appended to keeps what it held; a new one goes.
    if (!append) host.Remove(archivePath);
    return false;
  };
  std::vector<uint8_t> buf(16384);
  for (const std::string& f : files) {
    zip_fileinfo zi{};
    uint32_t dos = 0;
    if (host.GetDosTime(f, dos)) zi.dosDate = dos;
    std::unique_ptr<tsl::ByteStream> in = host.OpenFile(f, TZipOpenMode::Read);
    if (!in) return fail();
    if (zipOpenNewFileInZip(z, f.c_str(), &zi, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9) != ZIP_OK) return fail();
    for (;;) {
      const uint32_t n = in->Read(buf.data(), uint32_t(buf.size()));
      if (n == 0) break;
      if (zipWriteInFileInZip(z, buf.data(), n) != ZIP_OK) return fail();
    }
    if (zipCloseFileInZip(z) != ZIP_OK) return fail();
  }
  return zipClose(z, nullptr) == ZIP_OK;
}

namespace {

// A file of the memory host: reads and writes its entry in the map.
class TMemoryFile : public tsl::ByteStream {
public:
  TMemoryFile(std::vector<uint8_t>& data, int64_t limit) : data_(data), limit_(limit) {}
  uint32_t Read(void* buffer, uint32_t count) override {
    const size_t n = pos_ < data_.size() ? std::min<size_t>(count, data_.size() - pos_) : 0;
    if (n) std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return uint32_t(n);
  }
  uint32_t Write(const void* buffer, uint32_t count) override {
    size_t n = count;
    if (limit_ >= 0) n = pos_ < size_t(limit_) ? std::min<size_t>(n, size_t(limit_) - pos_) : 0;
    if (data_.size() < pos_ + n) data_.resize(pos_ + n);
    if (n) std::memcpy(data_.data() + pos_, buffer, n);
    pos_ += n;
    return uint32_t(n);
  }
  int64_t Position() const override { return int64_t(pos_); }
  int64_t Length() const override { return int64_t(data_.size()); }
  int64_t Seek(int64_t offset, seek_dir origin) override {
    const int64_t base = origin == beg ? 0 : origin == cur ? int64_t(pos_) : int64_t(data_.size());
    if (base + offset < 0) return -1;
    pos_ = size_t(base + offset);
    return int64_t(pos_);
  }

private:
  std::vector<uint8_t>& data_;
  size_t pos_ = 0;
  int64_t limit_;
};

}  // namespace

std::unique_ptr<tsl::ByteStream> TMemoryZipHost::OpenFile(const std::string& path, TZipOpenMode mode) {
  auto it = Files.find(path);
  if (mode == TZipOpenMode::Create) {
    Files[path].clear();
    Created.push_back(path);
    return std::make_unique<TMemoryFile>(Files[path], WriteLimit);
  }
  if (it == Files.end()) return nullptr;
  return std::make_unique<TMemoryFile>(it->second, mode == TZipOpenMode::Read ? -1 : WriteLimit);
}

bool TMemoryZipHost::GetDosTime(const std::string& path, uint32_t& t) {
  auto it = Times.find(path);
  if (it == Times.end()) return Files.count(path) != 0;
  t = it->second;
  return true;
}
