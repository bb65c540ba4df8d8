#include "database/core/searchlist.h"

#include <algorithm>

#include "platform/core/cstring.h"

std::string SearchListLine(const string& word) {
  return std::string(word.c_str(), std::min(word.length(), kSearchListLineLength));
}

bool BeginsWithTyped(const char* word, const char* typed) {
  if (!word || !typed) return false;
  for (; *typed; ++word, ++typed) {
    if (!*word) return false;
    if (tsl::AnsiToLower(static_cast<unsigned char>(*word)) != tsl::AnsiToLower(static_cast<unsigned char>(*typed)))
      return false;
  }
  return true;
}
