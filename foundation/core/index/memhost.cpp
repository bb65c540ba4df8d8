#include "foundation/core/index/memhost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tsl {
namespace {

// A stream over one shared byte buffer.
class MemFile : public ByteStream {
public:
  MemFile(std::shared_ptr<std::vector<uint8_t>> bytes, bool writable)
      : bytes_(std::move(bytes)), writable_(writable) {}
  uint32_t Read(void* buffer, uint32_t count) override {
    if (pos_ >= bytes_->size()) return 0;
    const size_t n = std::min<size_t>(count, bytes_->size() - pos_);
    std::memcpy(buffer, bytes_->data() + pos_, n);
    pos_ += n;
    return static_cast<uint32_t>(n);
  }
  uint32_t Write(const void* buffer, uint32_t count) override {
    if (!writable_ || count == 0) return 0;
    if (pos_ + count > bytes_->size()) bytes_->resize(pos_ + count);
    std::memcpy(bytes_->data() + pos_, buffer, count);
    pos_ += count;
    return count;
  }
  int64_t Position() const override { return static_cast<int64_t>(pos_); }
  int64_t Length() const override { return static_cast<int64_t>(bytes_->size()); }
  int64_t Seek(int64_t offset, seek_dir origin) override {
    const int64_t base = origin == beg ? 0 : origin == cur ? static_cast<int64_t>(pos_) : Length();
    if (base + offset < 0) return -1;
    pos_ = static_cast<size_t>(base + offset);
    return base + offset;
  }

private:
  std::shared_ptr<std::vector<uint8_t>> bytes_;
  bool writable_;
  size_t pos_ = 0;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(AnsiToLower(static_cast<unsigned char>(c)));
  return s;
}

// Windows wildcard match ('*' and '?'), case-insensitive; "*.*" matches
// every name.
bool Match(const char* pat, const char* name) {
  if (std::strcmp(pat, "*.*") == 0) return true;
  for (; *pat; ++pat, ++name) {
    if (*pat == '*') {
      for (const char* n = name;; ++n) {
        if (Match(pat + 1, n)) return true;
        if (!*n) return false;
      }
    }
    if (!*name) return false;
    if (*pat != '?' && AnsiToLower(static_cast<unsigned char>(*pat)) !=
                           AnsiToLower(static_cast<unsigned char>(*name)))
      return false;
  }
  return *name == 0;
}

}  // namespace

TMemPackHost::TMemPackHost() {
  AddFolder(ProgramDir);
  AddFolder(TempDir);
}

std::string TMemPackHost::Norm(const std::string& path) {
  std::string s = Lower(path);
  std::replace(s.begin(), s.end(), '/', '\\');
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

std::string TMemPackHost::Parent(const std::string& norm) {
  const size_t slash = norm.find_last_of('\\');
  return slash == std::string::npos ? std::string() : norm.substr(0, slash);
}

bool TMemPackHost::FolderExists(const std::string& path) const {
  const std::string n = Norm(path);
  // Drive roots always exist.
  if (n.size() <= 3 && n.size() >= 2 && n[1] == ':') return true;
  return folders_.count(n) != 0;
}

void TMemPackHost::AddFolder(const std::string& path) {
  std::string n = Norm(path);
  std::string shown = path;
  while (shown.size() > 3 && (shown.back() == '\\' || shown.back() == '/')) shown.pop_back();
  while (n.size() > 2 && !FolderExists(n)) {
    folders_[n] = shown;
    n = Parent(n);
    const size_t slash = shown.find_last_of("\\/");
    shown = slash == std::string::npos ? std::string() : shown.substr(0, slash);
  }
}

void TMemPackHost::PutFile(const std::string& path, const std::vector<uint8_t>& bytes,
                           uint32_t stamp) {
  const std::string n = Norm(path);
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos) AddFolder(path.substr(0, slash));
  FileData& f = files_[n];
  if (!f.bytes) {
    f.path = path;
    f.order = nextOrder_++;
  }
  f.bytes = std::make_shared<std::vector<uint8_t>>(bytes);
  f.stamp = stamp;
}

void TMemPackHost::PutFile(const std::string& path, const std::string& text, uint32_t stamp) {
  PutFile(path, std::vector<uint8_t>(text.begin(), text.end()), stamp);
}

const std::vector<uint8_t>* TMemPackHost::File(const std::string& path) const {
  const auto it = files_.find(Norm(path));
  return it == files_.end() ? nullptr : it->second.bytes.get();
}

std::unique_ptr<ByteStream> TMemPackHost::Open(const char* path, OpenMode mode) {
  if (!path || !*path || openFails_) return nullptr;
  const std::string n = Norm(path);
  auto it = files_.find(n);
  if (mode == Create) {
    if (folders_.count(n)) return nullptr;
    const std::string parent = Parent(n);
    if (!parent.empty() && !FolderExists(parent)) return nullptr;
    if (it == files_.end()) {
      FileData f;
      f.path = path;
      f.order = nextOrder_++;
      f.bytes = std::make_shared<std::vector<uint8_t>>();
      it = files_.emplace(n, std::move(f)).first;
    }
    it->second.bytes->clear();
    return std::make_unique<MemFile>(it->second.bytes, true);
  }
  if (it == files_.end()) return nullptr;
  return std::make_unique<MemFile>(it->second.bytes, mode == ReadWrite);
}

bool TMemPackHost::FileExists(const char* path) {
  if (!path) return false;
  const size_t len = std::strlen(path);
  if (len < 2 || len >= 260) return false;
  return files_.count(Norm(path)) != 0 || FolderExists(path);
}

bool TMemPackHost::RemoveFile(const char* path) { return path && files_.erase(Norm(path)) != 0; }

bool TMemPackHost::CreateDirectoryPath(const char* path) {
  if (!path) return false;
  const std::string p(path);
  for (size_t i = 3; i < p.size(); ++i) {
    if (p[i] != '\\') continue;
    const std::string prefix = p.substr(0, i);
    if (FolderExists(prefix)) continue;
    if (files_.count(Norm(prefix)) || !FolderExists(Parent(Norm(prefix)))) return false;
    folders_[Norm(prefix)] = prefix;
  }
  return true;
}

bool TMemPackHost::GetFileStamp(const char* path, uint32_t& stamp) {
  const auto it = path ? files_.find(Norm(path)) : files_.end();
  if (it == files_.end()) return false;
  stamp = it->second.stamp;
  return true;
}

bool TMemPackHost::SetFileStamp(const char* path, uint32_t stamp) {
  const auto it = path ? files_.find(Norm(path)) : files_.end();
  if (it == files_.end()) return false;
  it->second.stamp = stamp;
  return true;
}

std::vector<string> TMemPackHost::ListFolder(const char* folder,
                                             const std::vector<string>& patterns, bool sorted) {
  std::vector<string> out;
  if (!folder) return out;
  std::string base(folder);
  if (!base.empty() && base.back() == '\\') base.pop_back();
  const std::string n = Norm(base);
  for (const string& pattern : patterns) {
    std::vector<const FileData*> found;
    for (const auto& kv : files_)
      if (Parent(kv.first) == n) {
        const std::string& p = kv.second.path;
        const std::string name = p.substr(p.find_last_of("\\/") + 1);
        if (Match(pattern.c_str(), name.c_str())) found.push_back(&kv.second);
      }
    std::sort(found.begin(), found.end(),
              [](const FileData* a, const FileData* b) { return a->order < b->order; });
    for (const FileData* f : found) {
      const std::string& p = f->path;
      out.emplace_back(base + "\\" + p.substr(p.find_last_of("\\/") + 1));
    }
  }
  if (sorted)
    std::stable_sort(out.begin(), out.end(),
                     [](const string& a, const string& b) { return a.str() < b.str(); });
  return out;
}

string TMemPackHost::MakeTempFileName(const char* prefix) {
  char name[32];
  std::snprintf(name, sizeof name, "%.3s%X.TMP", prefix ? prefix : "", nextTemp_++);
  const std::string path = TempDir + name;
  PutFile(path, std::vector<uint8_t>());
  return string(path);
}

bool TMemPackHost::ShellOpen(const char* file, const char* parameters, const char* folder) {
  Started.push_back(Shell{file ? file : "", parameters ? parameters : "", folder ? folder : ""});
  return true;
}

}  // namespace tsl
