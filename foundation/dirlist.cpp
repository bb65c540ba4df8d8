#include "foundation/dirlist.h"

#include <cstring>
#include <new>

#include "platform/rtl.h"

void TDirList::Scan(const char* folder, bool foldersOnly, void* context, Callback callback) {
  ScanCount = 0;
  if (!folder) {  // no folder: nothing to walk (not the current drive's root)
    SumSizes();
    return;
  }
  string start(folder);
  if (start.length() && start[start.length() - 1] == '\\') start.resize(start.length() - 1);
  Walk(start, foldersOnly, context, callback);
  SumSizes();
}

void TDirList::Walk(string& folder, bool foldersOnly, void* context, Callback callback) {
  const uint32_t mask = foldersOnly ? tsl::FA_DIREC : tsl::FA_RDONLY | tsl::FA_HIDDEN | tsl::FA_SYSTEM;
  for (int i = 0; i < Patterns.Count(); ++i) {
    const string pattern = folder + "\\" + Patterns.ItemAt(i);
    tsl::ffblk found;
    for (int r = tsl::findfirst(pattern.c_str(), &found, mask); r == 0; r = tsl::findnext(&found)) {
      if (foldersOnly && !(found.ff_attrib & tsl::FA_DIREC)) continue;
      const string path = folder + "\\" + found.ff_name;
      ++ScanCount;
      if (callback) {
        callback(context, path.c_str());
        continue;
      }
      TFileInfo* info = new (std::nothrow) TFileInfo(path, found.ff_fsize);
      if (!info) continue;
      if (Sorted)
        SortedFiles.Add(info);
      else
        Files.Add(info);
    }
  }
  if (!Recursive) return;
  const string all = folder + "\\*.*";
  tsl::ffblk found;
  for (int r = tsl::findfirst(all.c_str(), &found, tsl::FA_DIREC); r == 0; r = tsl::findnext(&found)) {
    if (!(found.ff_attrib & tsl::FA_DIREC)) continue;
    if (!std::strcmp(found.ff_name, ".") || !std::strcmp(found.ff_name, "..")) continue;
    const size_t saved = folder.length();
    folder += "\\";
    folder += found.ff_name;
    Walk(folder, foldersOnly, context, callback);
    folder.resize(saved);
  }
}

void TDirList::SumSizes() {
  uint32_t total = 0;
  const TIArrayAsVector<TFileInfo>& list = Sorted ? SortedFiles : Files;
  for (const TFileInfo* f : list)
    if (f) total += f->Size;
  TotalSize = total;
}
