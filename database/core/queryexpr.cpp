#include "database/core/queryexpr.h"

#include <cstring>
#include <iostream>

#include "database/core/qxexpr.h"
#include "database/core/qxlibc.h"

QueryExpr::QueryExpr() : dataBase(new QX_DataBase(512, 1024)), parser(new QX_Parser(dataBase.get(), this)) {}

QueryExpr::~QueryExpr() {
  Drop();
  parser.reset();
  dataBase.reset();
}

QX_Error QueryExpr::GetField(char** text, int) {
  *text = nullptr;
  return QX_Err(17);
}

QX_Error QueryExpr::SetField(int, const char*) { return QX_Err(18); }

void QueryExpr::Drop() { QX_Delete(tree_); }

QX_Error QueryExpr::Compile(const char* text) {
  Drop();
  if (!QX_ASSERT(text)) return QX_Err(2);
  qxlibc::ExtendedPrecision extended;
  return parser->Parse(text, tree_);
}

QX_Error QueryExpr::Run(QX_Expression*& value) {
  value = nullptr;
  if (!tree_) return QX_Err(1);
  QX_ResetBudget();
  qxlibc::ExtendedPrecision extended;
  QX_Error e = tree_->evaluate(&value);
  if (e) QX_Delete(value);
  return e;
}

QX_Error QueryExpr::Evaluate(bool& result) {
  QX_Expression* v = nullptr;
  if (QX_Error e = Run(v)) return e;
  result = v && v->isTrue();
  QX_Delete(v);
  return nullptr;
}

QX_Error QueryExpr::EvaluateToText(std::string& text) {
  QX_Expression* v = nullptr;
  if (QX_Error e = Run(v)) return e;
  if (!v) {
    text.clear();
  } else if (v->type() == STR_EXP) {
    text = static_cast<QX_StrExpr*>(v)->str;
  } else {
    char buf[32];
    NumToStr(static_cast<QX_NumExpr*>(v)->value, buf);
    text = buf;
  }
  QX_Delete(v);
  return nullptr;
}

QX_Error QueryExpr::EvaluateToText(char*& text) {
  std::string s;
  if (QX_Error e = EvaluateToText(s)) return e;
  text = new char[s.size() + 1];
  std::memcpy(text, s.c_str(), s.size() + 1);
  return nullptr;
}

void QueryExpr::Print() const { Print(std::cout); }

void QueryExpr::Print(std::ostream& os) const {
  if (tree_) tree_->print(os, 1);
}

QX_Error QueryExpr::AddFunction(const char* name, bool global, QX_Function func, void* datum, int npar) {
  return dataBase->AddFunction(name, global, func, datum, npar);
}

QX_Error QueryExpr::AddField(const char* name, bool global, int32_t index) {
  return dataBase->AddField(name, global, index);
}

QX_Error QueryExpr::SetVariable(const char* name, bool global, const char* text) {
  QX_Expression* v = new QX_StrExpr(const_cast<char*>(text), true);
  QX_Error e = dataBase->AddVariable(name, global, v, nullptr);
  if (e) QX_Delete(v);
  return e;
}

QX_Error QueryExpr::SetVariable(const char* name, bool global, long double value) {
  qxlibc::ExtendedPrecision extended;
  QX_Expression* v = new QX_NumExpr(value);
  QX_Error e = dataBase->AddVariable(name, global, v, nullptr);
  if (e) QX_Delete(v);
  return e;
}

uint32_t QueryExpr::ErrorPosition() const { return parser->actTok.position; }
const char* QueryExpr::ErrorText() const { return parser->actTok.text; }
