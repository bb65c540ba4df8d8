#include "slideshow/core/thumbcache.h"

#include <algorithm>

namespace {
string Lower(const string& s) {
  string t = s;
  return t.to_lower();
}
bool KeyLess(const THotSpot& a, const string& key) { return a.Key.str() < key.str(); }
}  // namespace

THotSpot::THotSpot(const string& picture, const string& bitmapFile, const string& tempFile)
    : Key(Lower(picture)), BitmapFile(Lower(bitmapFile)), TempFile(tempFile) {}

int THotSpotManager::Find(const string& picturePath) const {
  const string key = Lower(picturePath);
  const auto it = std::lower_bound(Entries.begin(), Entries.end(), key, KeyLess);
  if (it == Entries.end() || it->Key.str() != key.str()) return -1;
  return static_cast<int>(it - Entries.begin());
}

bool THotSpotManager::Add(const THotSpot& entry) {
  const auto it = std::upper_bound(Entries.begin(), Entries.end(), entry.Key,
                                   [](const string& key, const THotSpot& e) { return key.str() < e.Key.str(); });
  Entries.insert(it, entry);
  return true;
}

void THotSpotManager::Cleanup(const std::function<bool(const string&)>& exists,
                              const std::function<void(const string&)>& remove) {
  for (const THotSpot& e : Entries) {
    if (exists(e.BitmapFile)) remove(e.BitmapFile);
    if (exists(e.TempFile)) remove(e.TempFile);
  }
  Entries.clear();
}

THotSpotManager& ThumbnailCache() {
  static THotSpotManager cache;
  return cache;
}
