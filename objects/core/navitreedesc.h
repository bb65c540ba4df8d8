// The fixture language's database tree statement: a kind-12 record (the
// look of the tree list) written as one line (tools/README.md has the
// syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe, in the order
// the kind's writer stores it. Throws TDescriptionFailure for a statement it
// cannot read.
std::string NaviTreeStatementData(const std::vector<std::string>& words);
