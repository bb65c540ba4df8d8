// Loading the database a page is bound to: tells the table format from the
// tree format by the named file's first bytes and replaces the page
// manager's tree database. Files go through the host the Win32 side
// supplies. Portable: no Windows headers.
#pragma once
#include <memory>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"
#include "engine/core/format/dbaseinfo.h"
#include "foundation/core/index/indexhost.h"

class TKeyEntryArrayManager;

// The tree database of a page manager: the tree and its extras, and for the
// table format its key catalogue and the descriptor naming the columns.
struct TDbSlot {
  std::unique_ptr<TDBNodeManager>& Nodes;
  std::unique_ptr<TDBSpecialManager>& Specials;
  std::unique_ptr<TKeyEntryArrayManager>* Catalogue = nullptr;
  const TdBaseInfo* Info = nullptr;
};

// True when `path` names a table-format database: all 12 header bytes
// present, the tag "DBD" in any case, version 1 and 0..33 fields.
bool IsDbdTableFile(tsl::TPackHost& host, const string& path);

// Replaces the tree database by the one `path` names: the .dbd and .dbi
// files of the same name (a missing one leaves its part empty), or by the
// conversion of a table-format database (dbtable.h), which keeps the
// extras. False only for an empty path, after the managers were replaced.
bool LoadTreeDatabase(TDbSlot slot, const string& path, tsl::TPackHost& host);
