// The index-file reader: a B-tree of key entries in an index file that may
// be damaged or hostile (node counts, child numbers, free list, keys without
// their zero, header), read, searched and changed through a small cache; and
// the key catalogue read from the same bytes. Nothing may crash, hang, leak
// or read out of bounds.
// Input: one byte that picks cache, growth and operations, then the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/core/index/fbase.h"
#include "foundation/core/index/indexerr.h"
#include "foundation/core/index/keycat.h"
#include "foundation/core/index/keyentry.h"
#include "foundation/core/index/memhost.h"
#include "foundation/core/index/mtree.h"

namespace {

using FileTree = MTREE<TKeyEntry, BT_FBASE>;
const char kPath[] = "C:\\IDX\\FUZZ.IDX";

void Exercise(FileTree& t, uint8_t ops) {
  const uint32_t count = t.Count();
  const int32_t n = static_cast<int32_t>(count < 100 ? count : 100);
  TKeyEntry e;
  std::vector<std::string> keys;
  for (int32_t i = 0; i < n; ++i)
    if (t.GetAt(i, e)) keys.emplace_back(e.Key);
  for (size_t i = 0; i < keys.size(); ++i)
    for (int mode = -3; mode <= 3; mode += (ops & 1) && i < 20 ? 1 : 3) t.Find(keys[i].c_str(), mode, &e);
  t.Find("", -3);
  t.Find("zzzz", 3);
  if (ops & 2) {
    for (int i = 0; i < 70; ++i) {
      TKeyEntry in(("k" + std::to_string(i * 37 % 101)).c_str());
      in.Value = static_cast<uint32_t>(i);
      t.Insert(in, (i % 3) - 1);
    }
  }
  if (ops & 4) {
    for (int i = 0; i < 40; ++i) t.RemoveAt(i % 2 ? -1 : 0);
    for (const std::string& k : keys) t.FindAndRemove(k.c_str(), 0);
  }
  if (ops & 8 && t.Count() > 0) t.SetAt(0, e);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t ops = data[0];
  const std::vector<uint8_t> file(data + 1, data + size);
  tsl::ClearIndexErrorStream();

  tsl::TMemPackHost host;
  host.PutFile(kPath, file);
  {
    const uint32_t cache = (ops & 0x10) ? 2 * 5258u : 64 * 5258u;
    const int16_t growth = (ops & 0x20) ? 4 : 1;
    FileTree t(nullptr, cache, growth, (ops & 0x40) != 0, host);
    if (t.Open(kPath, (ops & 0x80) ? 3 : 0)) {
      Exercise(t, ops);
      t.Close();
      // What was written must open again.
      if (t.Open(kPath, 3)) {
        Exercise(t, 1);
        t.Close();
      }
    }
  }

  // The catalogue reads the same bytes as its file form.
  tsl::MemoryStream in(file);
  TKeyEntryArrayManager catalogue;
  catalogue.Read(in);
  catalogue.TotalCount();
  tsl::MemoryStream out;
  catalogue.Write(out);
  return 0;
}
