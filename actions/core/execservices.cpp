#include "actions/core/execservices.h"

#include <cstring>
#include <string>

void SplitCommandLine(string& command, string& arguments) {
  if (command.is_null() || !arguments.is_null()) return;
  std::string text = command.str();
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  const size_t blank = text.find(' ');
  if (blank == std::string::npos) {
    command = text.c_str();
    return;
  }
  arguments = text.substr(blank + 1).c_str();
  command = text.substr(0, blank).c_str();
}

string MakeProgramCommandLine(const char* program, const char* arguments) {
  std::string line = program ? program : "";
  // An unquoted path with a blank would start the program named by its
  // first word.
  if (line.find(' ') != std::string::npos && line.front() != '"') line = "\"" + line + "\"";
  if (arguments) {
    line += ' ';
    line += arguments;
  }
  return string(line.c_str());
}

string ProgramWorkingFolder(const char* program) {
  const std::string path = program ? program : "";
  std::string p = path;
  if (p.size() >= 2 && p.front() == '"' && p.back() == '"') p = p.substr(1, p.size() - 2);
  const size_t slash = p.find_last_of("\\/");
  if (slash == std::string::npos) return string("");
  return string(p.substr(0, slash + 1).c_str());
}
