// Helpers for the query language tests: a query whose field 0 is a string
// the test sets, and compact forms of results and tree prints.
#pragma once
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "database/core/queryexpr.h"
#include "database/core/qxexpr.h"

class FieldQuery : public QueryExpr {
public:
  std::string field;
  bool noText = false;  // GetField hands out no text
  int writes = 0;
  QX_Error GetField(char** text, int index) override {
    if (index != 0) return QX_Err(16);
    if (noText) {
      *text = nullptr;
      return nullptr;
    }
    // A text handed out stays as it is while values may borrow it.
    if (handed_.empty() || *handed_.back() != field) handed_.push_back(std::make_unique<std::string>(field));
    *text = &(*handed_.back())[0];
    return nullptr;
  }
  QX_Error SetField(int index, const char* text) override {
    ++writes;
    field = text;
    return nullptr;
  }

private:
  std::vector<std::unique_ptr<std::string>> handed_;
};

// "E<n>" for an error, else the value's text.
inline std::string Result(QueryExpr& q, const std::string& text) {
  if (QX_Error e = q.Compile(text.c_str())) return "compile E" + std::to_string(QX_ErrNumber(e));
  std::string out;
  if (QX_Error e = q.EvaluateToText(out)) return "E" + std::to_string(QX_ErrNumber(e));
  return out;
}

// The tree print with its lines trimmed and joined by one blank.
inline std::string Compact(const std::string& print) {
  std::istringstream in(print);
  std::string line, out;
  while (std::getline(in, line)) {
    const size_t b = line.find_first_not_of(' ');
    if (b == std::string::npos) continue;
    if (!out.empty()) out += ' ';
    out += line.substr(b);
  }
  return out;
}

inline std::string Tree(QueryExpr& q, const std::string& text) {
  if (QX_Error e = q.Compile(text.c_str())) return "E" + std::to_string(QX_ErrNumber(e));
  std::ostringstream os;
  q.Print(os);
  return Compact(os.str());
}
