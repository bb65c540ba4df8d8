// What the index-file store and the packed archive need from the world
// outside the portable core. The Win32 side (foundation/index/) supplies it
// over Windows paths (TFile and Win32 calls); tests, fuzzers and native tools
// use the in-memory host (memhost.h). Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

namespace tsl {

// Opening and flushing files; enough for the index-file store.
class TIndexFiles {
public:
  enum OpenMode {
    ReadOnly,   // existing file, reading
    ReadWrite,  // existing file, reading and writing
    Create,     // created or truncated, reading and writing
  };
  virtual ~TIndexFiles() = default;
  // Null when the file cannot be opened.
  virtual std::unique_ptr<ByteStream> Open(const char* path, OpenMode mode) = 0;
  // Writes the stream's buffers through to the file.
  virtual bool Flush(ByteStream& f) = 0;
  // The system's text for the last failure, or "no syserror".
  virtual std::string ErrorText() = 0;
};

// Everything the packed archive reaches outside its file.
class TPackHost : public TIndexFiles {
public:
  virtual bool FileExists(const char* path) = 0;
  // (Not "DeleteFile": the Windows headers make that a macro.)
  virtual bool RemoveFile(const char* path) = 0;
  // Creates the missing folders of a path; only folders followed by a
  // backslash are made.
  virtual bool CreateDirectoryPath(const char* path) = 0;
  // A file's packed date and time (DOS date in the high word, DOS time in
  // the low word, local time).
  virtual bool GetFileStamp(const char* path, uint32_t& stamp) = 0;
  virtual bool SetFileStamp(const char* path, uint32_t stamp) = 0;
  // The files of a folder matching any of the patterns: in the order the
  // directory search finds them, or sorted by full path. Each result is the
  // full path (folder, a backslash, the name).
  virtual std::vector<string> ListFolder(const char* folder, const std::vector<string>& patterns,
                                         bool sorted) = 0;
  // The program's folder with its trailing backslash, and the program file.
  virtual string ProgramDirectory() = 0;
  virtual string ProgramPath() = 0;
  // Creates an empty temporary file named with the prefix; its full path.
  virtual string MakeTempFileName(const char* prefix) = 0;
  // A message box without caption and with one OK button.
  virtual void ShowMessage(const char* text) = 0;
  // Starts a file with the shell's "open" verb.
  virtual bool ShellOpen(const char* file, const char* parameters, const char* folder) = 0;
};

}  // namespace tsl
