// The fixture language's statements of the media kinds' records and of the
// MCI control bar's (tools/README.md has the syntax).
#pragma once
#include <string>
#include <vector>

// `media ...`: the record of a video, sound or CD-audio object.
std::string MediaStatementData(const std::vector<std::string>& words);
// `mcibar ...`: the record of an MCI control bar.
std::string McibarStatementData(const std::vector<std::string>& words);
