// The thumbnail cache of the run: for every picture a slide window has
// drawn, the reduced bitmap file it wrote and the temporary file whose name
// that came from. Keys are the pictures' paths lower-cased, so the same
// picture in several windows or pages shares one entry. Both files of every
// entry go at program exit.
// Portable: no Windows headers; the file system comes as functions.
#pragma once
#include <functional>
#include <vector>

#include "platform/core/cstring.h"

struct THotSpot {
  // The key and the bitmap file are kept lower-cased.
  THotSpot(const string& picture, const string& bitmapFile, const string& tempFile);
  string Key;
  string BitmapFile;
  string TempFile;
};

class THotSpotManager {
public:
  // Index of the entry of `picturePath` (any letter case), or -1.
  int Find(const string& picturePath) const;
  // After every entry with a key not above its own.
  bool Add(const THotSpot& entry);
  int Count() const { return static_cast<int>(Entries.size()); }
  const THotSpot& operator[](int i) const { return Entries[static_cast<size_t>(i)]; }
  // Deletes the bitmap file, then the temporary file, of every entry where
  // it exists, and forgets the entries.
  void Cleanup(const std::function<bool(const string&)>& exists,
               const std::function<void(const string&)>& remove);

private:
  std::vector<THotSpot> Entries;  // ascending by key
};

// The cache of the run.
THotSpotManager& ThumbnailCache();
