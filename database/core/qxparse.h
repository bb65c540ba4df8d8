// The query language's scanner and recursive-descent parser. Keywords are
// German words of the program's string table, handed in by an installed
// loader (the player's resource strings; a fixed table by default).
#pragma once
#include <cstdint>
#include <string>

#include "database/core/qxbase.h"
#include "database/core/qxsymtab.h"

class QX_Expression;
class QueryExpr;

// String ids of the keywords.
enum : unsigned {
  QX_KW_UND = 2091,
  QX_KW_ODER = 2092,
  QX_KW_NICHT = 2093,
  QX_KW_SONST = 2095,
  QX_KW_FELD = 2098,
  QX_KW_SOLANGE = 2105,
  QX_KW_MACHE = 2106,
  QX_KW_WIEDERHOLE = 2107,
  QX_KW_BIS = 2108,
  QX_KW_WENN = 2109,
  QX_KW_DANN = 2110,
};
// Returns the text of a keyword string; empty when it is missing.
using QX_KeywordLoader = std::string (*)(unsigned id);
// Installs the loader for the keywords; the next scanner loads them again.
// Null restores the fixed German table.
void QX_SetKeywordLoader(QX_KeywordLoader loader);
std::string QX_DefaultKeyword(unsigned id);

constexpr uint32_t QX_TOKTEXT = 1024;

struct QX_Token {
  int32_t tokID = 0;
  QX_Error error = nullptr;
  uint32_t position = 0;
  uint32_t length = 0;
  QX_Symbol* sym = nullptr;
  long double number = 0;
  char text[QX_TOKTEXT] = {};
};

class QX_Scanner {
public:
  explicit QX_Scanner(QX_DataBase* db);
  void Start(const char* text);
  QX_Error Scan(QX_Token& tok);

protected:
  QX_DataBase* db_;
  const char* start_ = nullptr;
  const char* inpPtr = nullptr;

public:
  QX_Token actTok;
};

class QX_Parser : public QX_Scanner {
public:
  QX_Parser(QX_DataBase* db, QueryExpr* owner);
  QX_Error Parse(const char* text, QX_Expression*& tree);

private:
  using Out = QX_Expression*&;
  QX_Error Next() { return Scan(actTok); }
  // Bounds the nesting of the routines below and the depth of the tree.
  QX_Error Enter();
  QX_Error Built(QX_Expression* node, Out out);
  bool isCmpTok() const;
  bool isUnaTok() const;
  bool isFldTok() const;
  bool isOpnTok() const;

  QX_Error ParseProgram(Out out);
  QX_Error ParseBlock(Out out);
  QX_Error ParseStatement(Out out);
  QX_Error ParseIf(Out out);
  QX_Error ParseWhile(Out out);
  QX_Error ParseRepeat(Out out);
  QX_Error ParseDeclaration(Out out);
  QX_Error ParseExprStatement(Out out);
  QX_Error ParseAssignment(Out out);
  QX_Error ParseConditional(Out out);
  QX_Error ParseOr(Out out);
  QX_Error ParseAnd(Out out);
  QX_Error ParseComparison(Out out);
  QX_Error ParseConcat(Out out);
  QX_Error ParseAdditive(Out out);
  QX_Error ParseMultiplicative(Out out);
  QX_Error ParseUnary(Out out);
  QX_Error ParsePrimary(Out out);
  QX_Error ParseParenthesis(Out out);
  QX_Error ParseField(Out out);
  QX_Error ParseFieldArray(Out out);
  QX_Error ParseFieldIndex(Out out);
  QX_Error ParseVariable(Out out);
  QX_Error ParseCall(Out out);
  QX_Error ParseBuiltin(Out out);
  // Statements until `}` or the end, combined from the left.
  QX_Error ParseStatements(Out out, bool block);

  QueryExpr* owner_;
  int nest_ = 0;
  friend struct QX_Nest;
};
