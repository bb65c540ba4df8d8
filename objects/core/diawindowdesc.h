// The fixture language's slides statement: a slide window's data record,
// written by the record's own writer (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record the statement's words describe. Throws
// TDescriptionFailure for a statement it cannot read.
std::string SlidesStatementData(const std::vector<std::string>& words);
