// Loading the database a page is bound to: tells the table format from the
// tree format by the named file's first bytes and replaces the page
// manager's tree database. Files go through the host the Win32 side
// supplies. Portable: no Windows headers.
#pragma once
#include <memory>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"
#include "foundation/core/index/indexhost.h"

// The tree database of a page manager: the tree and its extras.
struct TDbSlot {
  std::unique_ptr<TDBNodeManager>& Nodes;
  std::unique_ptr<TDBSpecialManager>& Specials;
};

// True when `path` names a table-format database: all 12 header bytes
// present, the tag "DBD" in any case, version 1 and 0..33 fields.
bool IsDbdTableFile(tsl::TPackHost& host, const string& path);

// Replaces the tree database by the one `path` names: the .dbd and .dbi
// files of the same name (a missing one leaves its part empty). A table-
// format database is not read here and leaves the slot as it was. False only
// for an empty path, after the managers were replaced.
bool LoadTreeDatabase(TDbSlot slot, const string& path, tsl::TPackHost& host);
