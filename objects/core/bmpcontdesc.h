// The fixture language's slideoverview statement: a bitmap container
// object's data record written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record; throws TDescriptionFailure for a statement
// it cannot read.
std::string SlideOverviewStatementData(const std::vector<std::string>& words);
