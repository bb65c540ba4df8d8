// The one tokenizer of the fixture language: the words of a description's
// line, which the description parser and the object kinds' statements read.
#pragma once
#include <string>
#include <vector>

// Why a statement cannot be read; the parser reports it with its line.
struct TDescriptionFailure {
  explicit TDescriptionFailure(std::string message) : Message(std::move(message)) {}
  std::string Message;
};

// Words separated by blanks; a quoted text is one word, kept with its quotes
// and escapes so that it can be written into another statement unchanged. A
// '#' followed by a blank, another '#' or the line's end, or in the place of
// the first word, begins a comment. Throws TDescriptionFailure for a text
// without its closing quote.
std::vector<std::string> DescriptionWords(const std::string& line);

inline bool IsQuotedWord(const std::string& w) { return !w.empty() && w[0] == '"'; }

// A number as the parser reads it: decimal, 0x hexadecimal, negative, or a
// #RRGGBB colour.
bool IsNumberWord(const std::string& w);
long NumberOf(const std::string& w);
// A quoted word's text: escapes resolved, UTF-8 brought to code page 1252.
// Throws TDescriptionFailure for a character code page 1252 cannot hold.
std::string DescriptionText(const std::string& word);
