// The fixture language's document statement: the data record of a document
// object (kinds 8 and 15) written as one line (tools/README.md has the
// syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe. Throws
// TDescriptionFailure for a statement it cannot read.
std::string DocumentStatementData(const std::vector<std::string>& words);
