// The fixture language's abp statement: an animated picture's data record
// written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record; throws TDescriptionFailure for a statement
// it cannot read.
std::string AbpStatementData(const std::vector<std::string>& words);
