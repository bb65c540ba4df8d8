// The query language's facade: one query's symbol table, parser and compiled
// tree. The record fields a query reads come from the two virtual field
// operations, which a subclass overrides to supply the text under test.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "database/core/qxbase.h"
#include "database/core/qxparse.h"
#include "database/core/qxsymtab.h"

class QX_Expression;

class QueryExpr : public QX_Utilities {
public:
  QueryExpr();
  virtual ~QueryExpr();
  QueryExpr(const QueryExpr&) = delete;
  QueryExpr& operator=(const QueryExpr&) = delete;

  // The text handed out stays owned by this object and unchanged until the
  // evaluation that read it has finished.
  virtual QX_Error GetField(char** text, int index);
  // `text` is valid during the call only.
  virtual QX_Error SetField(int index, const char* text);

  void Drop();
  QX_Error Compile(const char* text);
  // Truth of the value; no value is false. `result` is untouched on errors.
  QX_Error Evaluate(bool& result);
  // A new text owned by the caller (delete[]).
  QX_Error EvaluateToText(char*& text);
  QX_Error EvaluateToText(std::string& text);
  void Print() const;
  void Print(std::ostream& os) const;
  bool Compiled() const { return tree_ != nullptr; }

  QX_Error AddFunction(const char* name, bool global, QX_Function func, void* datum, int npar);
  QX_Error AddField(const char* name, bool global, int32_t index);
  // A string value that borrows `text`: the caller keeps it alive.
  QX_Error SetVariable(const char* name, bool global, const char* text);
  QX_Error SetVariable(const char* name, bool global, long double value);

  uint32_t ErrorPosition() const;
  const char* ErrorText() const;
  QX_DataBase& Symbols() { return *dataBase; }

private:
  QX_Error Run(QX_Expression*& value);

  std::unique_ptr<QX_DataBase> dataBase;
  std::unique_ptr<QX_Parser> parser;
  QX_Expression* tree_ = nullptr;
};
