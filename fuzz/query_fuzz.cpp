// The query language on typed text, as the search field hands it over
// unescaped: every input must end, quickly, with a result or an error of the
// table. The input is the query, then after the first line feed the field
// text it is evaluated against.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "database/core/queryexpr.h"
#include "database/core/qxsymtab.h"

namespace {

// Keeps every text it hands out unchanged while values may borrow it, as
// the field source must.
class FuzzQuery : public QueryExpr {
public:
  std::string field;
  QX_Error GetField(char** text, int index) override {
    if (index != 0) return QX_Err(16);
    if (handed_.empty() || *handed_.back() != field) handed_.push_back(std::make_unique<std::string>(field));
    *text = &(*handed_.back())[0];
    return nullptr;
  }
  QX_Error SetField(int, const char* text) override {
    field = text;
    return nullptr;
  }

private:
  std::vector<std::unique_ptr<std::string>> handed_;
};

class NullBuf : public std::streambuf {
protected:
  int overflow(int c) override { return c; }
};

void CheckError(QX_Error e) {
  if (e && QX_ErrNumber(e) < 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // "global var" would carry values from one input into the next: a finding
  // could then not be replayed alone, and held texts would pile up.
  struct FreshRun {
    ~FreshRun() { QX_DataBase::ResetGlobal(); }
  } fresh;
  const std::string in(reinterpret_cast<const char*>(data), size);
  const size_t nl = in.find('\n');
  // The texts end at their first NUL, as C strings do.
  const std::string query = in.substr(0, nl).c_str();
  FuzzQuery q;
  q.field = nl == std::string::npos ? std::string("Hausboot") : std::string(in.substr(nl + 1).c_str());
  QX_Error e = q.Compile(query.c_str());
  CheckError(e);
  if (e) {
    if (q.Compiled()) std::abort();
    if (q.ErrorPosition() > query.size()) std::abort();
    return 0;
  }
  NullBuf nb;
  std::ostream null(&nb);
  q.Print(null);
  bool truth = false;
  CheckError(q.Evaluate(truth));
  std::string text;
  CheckError(q.EvaluateToText(text));
  return 0;
}
