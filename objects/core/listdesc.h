// The fixture language's list statements: the record of a list box or
// transparent list (`list`, kinds 9 and 19) and of a combo box (`combo`,
// kind 11), written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe. Throws
// TDescriptionFailure for a statement it cannot read.
std::string ListStatementData(const std::vector<std::string>& words);
