// ZIP archives for the unpacking action: extraction of every entry into a
// folder, with a sizing pass that refuses unsafe entry names before
// anything is written, and the writing of a new archive. Over minizip, whose
// file access goes through the host (the player's: Win32 files; tests and
// fuzzing: memory), as does everything else that touches the file system.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/core/bytestream.h"

// Result codes, shared by all extraction operations. Other negative codes
// are minizip's, passed through (-102 bad parameter, -103 bad archive
// structure, -105 CRC mismatch of an entry).
constexpr int32_t kZipOk = 0;
constexpr int32_t kZipShortWrite = -1;     // an output file was not written completely
constexpr int32_t kZipNoBuffer = -104;     // also minizip's internal error
constexpr int32_t kZipBadMethod = -107;    // neither stored (0) nor deflated (8)
constexpr int32_t kZipFileError = -200;    // paths, opening, creating, reading
constexpr int32_t kZipEscape = -201;       // the user held down Esc
constexpr int32_t kZipUnsafeEntry = -202;  // an entry name leads outside the target

constexpr size_t kZipMaxName = 259;         // stored names are read into 260 bytes
constexpr size_t kZipMaxArchivePath = 260;  // 261 characters or more are refused
constexpr size_t kZipMaxOutputPath = 259;   // folder prefixes are built in 260 characters
constexpr uint32_t kZipBlock = 8192;
constexpr uint32_t kZipUtf8Flag = 1u << 11;  // general purpose bit 11: the name is UTF-8

// Why an entry name is refused; None for a safe one.
enum class TZipNameFault { None, Absolute, Drive, ParentFolder, TooLong };
TZipNameFault CheckZipEntryName(const std::string& name);
const char* ZipNameFaultText(TZipNameFault f);

// What follows the stored name's last "/" or "\"; empty for a folder entry.
std::string ZipLastComponent(const std::string& name);
// The target with its trailing backslashes removed, "\", then the whole
// name (keep folders) or its last component, every "/" made "\".
std::string ZipOutputPath(const std::string& target, const std::string& name, bool keepFolders);
// The drive and folder of a path, with its separator ("C:\a\b.zip" -> "C:\a\").
std::string ZipFolderOf(const std::string& path);

enum class TZipOpenMode { Read, Create, Append };

class TZipHost {
public:
  virtual ~TZipHost() = default;
  virtual std::unique_ptr<tsl::ByteStream> OpenFile(const std::string& path, TZipOpenMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool MakeFolder(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // DOS date in the high 16 bits, time in the low 16 bits.
  virtual void SetDosTime(const std::string& path, uint32_t dosDateTime) = 0;
  virtual bool GetDosTime(const std::string& path, uint32_t& dosDateTime) = 0;
  virtual bool EscapeDown() = 0;
  // The protocol: begin ("", -1, -1), one call per written block (output
  // path, total, block bytes), end ("", -2, -2).
  virtual void Progress(const std::string& name, int64_t total, int64_t bytes) = 0;
  // Names flagged UTF-8 are converted to the ANSI code page; the default
  // takes code points up to 255 as they are and others as "_".
  virtual std::string Utf8ToAnsi(const std::string& utf8);
};

// At every backslash from position 3 on (past a drive root, and past the
// share of a UNC path), the folder before it is created when missing. The
// last component is never created.
bool CreatePathDirectories(TZipHost& host, const std::string& path);

// Extracts every entry into `target` (null or empty: the archive's folder).
// `refused` receives the name of an entry refused by the sizing pass
// (result kZipUnsafeEntry); nothing is written then.
int32_t ExtractZipArchive(TZipHost& host, const char* archivePath, const char* target, int keepFolders,
                          int overwrite, std::string* refused = nullptr);

// Writes the files (named as passed) deflated at level 9 with their dates
// into a new archive, or appends them. A new archive that fails half-way is
// closed and deleted.
bool CreateZipArchive(TZipHost& host, const char* archivePath, const std::vector<std::string>& files, int append);

// A host over memory, for tests and fuzzing: paths are plain keys; folders
// are a set. The seams count Esc checks and fail writes.
class TMemoryZipHost : public TZipHost {
public:
  std::map<std::string, std::vector<uint8_t>> Files;
  std::map<std::string, uint32_t> Times;
  std::set<std::string> Folders;
  std::vector<std::string> Created;  // files in creation order
  struct Call {
    std::string name;
    int64_t total, bytes;
  };
  std::vector<Call> Calls;
  int EscapeAfter = -1;     // Esc is down from this check on (0 = the first)
  int64_t WriteLimit = -1;  // bytes an output file accepts
  int EscapeChecks = 0;

  std::unique_ptr<tsl::ByteStream> OpenFile(const std::string& path, TZipOpenMode mode) override;
  bool Exists(const std::string& path) override { return Files.count(path) || Folders.count(path); }
  bool MakeFolder(const std::string& path) override { return Folders.insert(path).second; }
  bool Remove(const std::string& path) override { return Files.erase(path) != 0; }
  void SetDosTime(const std::string& path, uint32_t t) override { Times[path] = t; }
  bool GetDosTime(const std::string& path, uint32_t& t) override;
  bool EscapeDown() override { return EscapeAfter >= 0 && EscapeChecks++ >= EscapeAfter; }
  void Progress(const std::string& name, int64_t total, int64_t bytes) override {
    Calls.push_back({name, total, bytes});
  }
};
