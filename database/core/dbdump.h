// A loaded tree database as text, in tree order, one line per node: depth
// by indentation, the entry's name ("?" for a missing record), its entry id
// and, for data entries, the field values. Tests and tslmake compare it.
#pragma once
#include <string>

#include "database/core/dbnodes.h"

std::string DumpTreeDatabase(const TDBNodeManager& m);
