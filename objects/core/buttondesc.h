// The fixture language's button statement: a button's data record written
// as one line, `button STYLE OPTION...` (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe. Throws
// TDescriptionFailure with the reason for a statement it cannot read.
std::string ButtonStatementData(const std::vector<std::string>& words);
