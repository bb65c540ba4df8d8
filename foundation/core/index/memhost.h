// An in-memory stand-in for the file system, message box and shell that the
// index-file store and the packed archive reach through TPackHost: Windows
// paths (case-insensitive, backslashes) over byte buffers. Used by the
// native tests, the fuzz targets and tools; the player uses the Win32 host.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/core/index/indexhost.h"

namespace tsl {

class TMemPackHost : public TPackHost {
public:
  struct Shell {
    std::string file, parameters, folder;
  };

  TMemPackHost();

  // ---- TIndexFiles --------------------------------------------------------
  std::unique_ptr<ByteStream> Open(const char* path, OpenMode mode) override;
  bool Flush(ByteStream&) override { return true; }
  std::string ErrorText() override { return "no syserror"; }

  // ---- TPackHost ----------------------------------------------------------
  bool FileExists(const char* path) override;
  bool RemoveFile(const char* path) override;
  bool CreateDirectoryPath(const char* path) override;
  bool GetFileStamp(const char* path, uint32_t& stamp) override;
  bool SetFileStamp(const char* path, uint32_t stamp) override;
  std::vector<string> ListFolder(const char* folder, const std::vector<string>& patterns,
                                 bool sorted) override;
  string ProgramDirectory() override { return string(ProgramDir); }
  string ProgramPath() override { return string(ProgramDir + "tslplay32.exe"); }
  string MakeTempFileName(const char* prefix) override;
  void ShowMessage(const char* text) override { Shown.emplace_back(text ? text : ""); }
  bool ShellOpen(const char* file, const char* parameters, const char* folder) override;

  // ---- set-up and inspection ---------------------------------------------
  // Adds or replaces a file (its folders are made too).
  void PutFile(const std::string& path, const std::vector<uint8_t>& bytes, uint32_t stamp = 0);
  void PutFile(const std::string& path, const std::string& text, uint32_t stamp = 0);
  void AddFolder(const std::string& path);
  // Null when there is no such file.
  const std::vector<uint8_t>* File(const std::string& path) const;
  bool FolderExists(const std::string& path) const;
  // Makes every later Open fail (simulated I/O failure) until reset.
  void SetOpenFails(bool fail) { openFails_ = fail; }

  std::string ProgramDir = "C:\\PROG\\";
  std::string TempDir = "C:\\TEMP\\";
  std::vector<std::string> Shown;  // texts of the message boxes
  std::vector<Shell> Started;      // programs started

private:
  struct FileData {
    std::string path;  // as first created
    std::shared_ptr<std::vector<uint8_t>> bytes;
    uint32_t stamp = 0;
    uint64_t order = 0;  // creation order: the order a directory search finds them
  };
  static std::string Norm(const std::string& path);
  static std::string Parent(const std::string& norm);

  std::map<std::string, FileData> files_;
  std::map<std::string, std::string> folders_;  // normalised -> as created
  uint64_t nextOrder_ = 0;
  uint32_t nextTemp_ = 1;
  bool openFails_ = false;
};

}  // namespace tsl
