// The fixture language's statements of the fast search field
// (`quicksearch`, kind 14) and the help register (`helpregister`, kind 20),
// written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe. Throws
// TDescriptionFailure for a statement it cannot read.
std::string FastSearchStatementData(const std::vector<std::string>& words);
std::string HelpRegisterStatementData(const std::vector<std::string>& words);
