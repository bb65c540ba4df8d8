// The object kinds' own statements, written below an object instead of its
// raw `data` items (tools/README.md has their syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line that spells out the record a kind's statement describes
// (`button ...`, `text ...`, `picture ...`); empty for any other statement.
// Throws TDescriptionFailure for a kind's statement it cannot read.
std::string ObjectStatementData(const std::vector<std::string>& words);
