// What the two search list dialogs decide without a window: the text of a
// list line and which words a typed beginning selects. Portable.
#pragma once
#include <string>

#include "database/core/searchwords.h"

// Lines of the lists show at most this many characters of a word or label.
constexpr size_t kSearchListLineLength = 59;

// The line a word or label is listed as.
std::string SearchListLine(const string& word);

// True when `word` begins with `typed`, both lower-cased as Windows
// lower-cases code page 1252; the empty text begins every word.
bool BeginsWithTyped(const char* word, const char* typed);

// Index of the first record (in array order) whose word begins with
// `typed`, or -1.
template <class Array>
int FindTypedWord(const Array& words, const char* typed) {
  for (int i = 0; i < words.GetItemsInContainer(); ++i)
    if (BeginsWithTyped(words[i]->Word.c_str(), typed)) return i;
  return -1;
}
