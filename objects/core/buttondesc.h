// The fixture builder's button statement: an object's data record of the
// button kind written as one line instead of raw data items. The statement
// is expanded into the raw `data` items of the record's stream form before
// the description is parsed (tools/README.md has the syntax).
// Portable: no Windows headers.
#pragma once
#include <string>

// Replaces every `button ...` line of a description by the `data` line of
// its record, at the same indentation. False with the line number (1-based)
// and the reason of the first statement it cannot read.
bool ExpandButtonStatements(const std::string& text, std::string& out, int& errorLine, std::string& error);
