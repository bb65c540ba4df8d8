// The fixture language's text statement: a text object's data record
// written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe, in the order
// the kind's writer stores it. Throws TDescriptionFailure for a statement it
// cannot read.
std::string TextStatementData(const std::vector<std::string>& words);
