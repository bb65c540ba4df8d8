// TDirList: the one directory walker of the player. Given a start folder and
// name patterns it collects the matching files (or folders) with their sizes,
// in the order found or sorted by full path, optionally through all
// subfolders, or hands each match to a callback instead.
#pragma once
#include <cstdint>

#include "foundation/core/usstring.h"
#include "platform/core/containers.h"
#include "platform/core/cstring.h"

// One entry found.
struct TFileInfo {
  TFileInfo(const string& path, uint32_t size) : Path(path), Size(size) {}
  string Path;            // folder + "\" + name as found
  uint32_t Size;          // bytes, as the directory search reports them
  uint32_t Reserved = 0;  // always 0
  bool operator==(const TFileInfo& o) const { return Path == o.Path; }
  bool operator<(const TFileInfo& o) const { return Path < o.Path; }
};

class TDirList {
public:
  // Receives each match instead of the result lists.
  using Callback = void (*)(void* context, const char* path);

  TDirList() = default;
  TDirList(const TDirList&) = delete;
  TDirList& operator=(const TDirList&) = delete;

  // Walks `folder` (one trailing backslash is dropped) and then sums the
  // sizes. `foldersOnly` counts only entries with the folder attribute, "."
  // and ".." among them.
  void Scan(const char* folder, bool foldersOnly, void* context = nullptr, Callback callback = nullptr);
  // One folder: its own matches, pattern by pattern, then (Recursive) its
  // subfolders depth first. `folder` is restored on return.
  void Walk(string& folder, bool foldersOnly, void* context, Callback callback);
  // TotalSize := sum over SortedFiles when Sorted, else over Files.
  void SumSizes();

  TUSStrings Patterns;                    // e.g. "*.*"; filled by the caller
  TIArrayAsVector<TFileInfo> Files;       // in the order found
  TISArrayAsVector<TFileInfo> SortedFiles;  // ascending full path
  uint32_t ScanCount = 0;                 // entries counted by the last walk
  uint32_t TotalSize = 0;
  bool Sorted = false;
  bool Recursive = false;
};
