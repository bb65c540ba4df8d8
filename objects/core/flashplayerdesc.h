// The fixture language's Flash statement: a Flash object's data record
// written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe. Throws
// TDescriptionFailure for a statement it cannot read.
std::string FlashStatementData(const std::vector<std::string>& words);
