// The ZIP front end as the player runs it: the file system through Win32
// calls (project paths are Windows paths), the progress through
// ZipExtractProgress, Esc by the key state.
#pragma once
#include "platform/owl/defs.h"

#include <string>
#include <vector>

#include "actions/core/zipextract.h"

// GetKeyState for the Esc test between blocks; tests put their own.
using TKeyStateProc = SHORT(WINAPI*)(int);
extern TKeyStateProc ZipKeyStateProc;

class TWinZipHost : public TZipHost {
public:
  std::unique_ptr<tsl::ByteStream> OpenFile(const std::string& path, TZipOpenMode mode) override;
  bool Exists(const std::string& path) override;
  bool MakeFolder(const std::string& path) override;
  bool Remove(const std::string& path) override;
  void SetDosTime(const std::string& path, uint32_t dosDateTime) override;
  bool GetDosTime(const std::string& path, uint32_t& dosDateTime) override;
  bool EscapeDown() override;
  void Progress(const std::string& name, int64_t total, int64_t bytes) override;
  std::string Utf8ToAnsi(const std::string& utf8) override;
};

// Target null or empty: the archive's own folder. `refused` names an entry
// the sizing pass refused (result kZipUnsafeEntry).
int32_t ExtractZipArchive(const char* archivePath, const char* target, int keepFolders, int overwrite,
                          std::string* refused = nullptr);
bool CreateZipArchive(const char* archivePath, const std::vector<std::string>& files, int append);
