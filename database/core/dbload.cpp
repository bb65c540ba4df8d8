#include "database/core/dbload.h"

#include <cctype>

#include "database/core/dbtable.h"
#include "foundation/core/pathstr.h"

bool IsDbdTableFile(tsl::TPackHost& host, const string& path) {
  if (path.is_null() || !host.FileExists(path.c_str())) return false;
  std::unique_ptr<tsl::ByteStream> f = host.Open(path.c_str(), tsl::TIndexFiles::ReadOnly);
  if (!f) return false;
  uint8_t h[12];
  if (f->Read(h, sizeof h) != sizeof h) return false;
  const int16_t fields = static_cast<int16_t>(h[4] | h[5] << 8);
  const int16_t version = static_cast<int16_t>(h[6] | h[7] << 8);
  return std::toupper(h[0]) == 'D' && std::toupper(h[1]) == 'B' && std::toupper(h[2]) == 'D' && version == 1 &&
         fields >= 0 && fields <= 33;
}

bool LoadTreeDatabase(TDbSlot slot, const string& path, tsl::TPackHost& host) {
  if (IsDbdTableFile(host, path)) return LoadIndexedDatabase(slot, path, host);
  // A catalogue kept by a table database before has no entries of this one.
  if (slot.Catalogue) *slot.Catalogue = std::make_unique<TKeyEntryArrayManager>();
  slot.Specials.reset();
  slot.Nodes.reset();
  slot.Nodes = std::make_unique<TDBNodeManager>();
  slot.Specials = std::make_unique<TDBSpecialManager>();
  if (path.is_null()) return false;
  string dbd, dbi;
  ReplaceExtension(path, dbd, ".dbd");
  ReplaceExtension(path, dbi, ".dbi");
  if (host.FileExists(dbd.c_str()))
    if (auto f = host.Open(dbd.c_str(), tsl::TIndexFiles::ReadOnly)) slot.Nodes->Load(*f);
  if (host.FileExists(dbi.c_str()))
    if (auto f = host.Open(dbi.c_str(), tsl::TIndexFiles::ReadOnly)) slot.Specials->Load(*f);
  return true;
}
