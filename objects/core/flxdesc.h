// The fixture language's animation statement: an animation object's data
// record written as one line (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// The `data` line of the record; throws TDescriptionFailure for a statement
// it cannot read.
std::string AnimationStatementData(const std::vector<std::string>& words);
