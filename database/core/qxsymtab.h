// The query language's symbol tables: one global table for the keywords,
// built-ins and everything defined globally, and one per query object.
// Symbols, records and copied names are carved from the table's MemStack and
// freed with it; nothing is removed singly.
#pragma once
#include <cstdint>

#include "database/core/qxbase.h"
#include "foundation/core/memstack.h"

class QX_Expression;
class QueryExpr;

// Token numbers of the named kinds; keywords have their own numbers.
constexpr int16_t QX_SYM_FIELD = 4096;
constexpr int16_t QX_SYM_FUNCTION = 8192;
constexpr int16_t QX_SYM_VARIABLE = 16384;

// out text, user data, up to three parameter texts (null beyond npar).
using QX_Function = QX_Error (*)(char** out, void* datum, const char* p0, const char* p1, const char* p2,
                                 const char* p3);

struct QX_Symbol {
  QX_Symbol* next;
  uint32_t hash;
  int16_t type;
  const char* name;
  void* pntr;
};
struct QX_FncRecord {
  QX_FncRecord* next;
  const char* name;
  QX_Function func;
  void* datum;
  int32_t npar;
};
struct QX_VarRecord {
  QX_VarRecord* next;
  const char* name;
  QX_Expression* expr;  // the current value, owned, never null
};
struct QX_FldRecord {
  QX_FldRecord* next;
  const char* name;
  int32_t index;
};

class QX_DataBase {
public:
  QX_DataBase(uint32_t buckets, uint32_t segmentSize);
  ~QX_DataBase();
  QX_DataBase(const QX_DataBase&) = delete;
  QX_DataBase& operator=(const QX_DataBase&) = delete;

  // Registers `name` (not copied) of a keyword or built-in.
  QX_Symbol* AddSymbol(const char* name, bool global, int16_t type, void* pntr);
  QX_Error AddFunction(const char* name, bool global, QX_Function func, void* datum, int npar);
  // Takes `value` on success; the caller keeps it on failure.
  QX_Error AddVariable(const char* name, bool global, QX_Expression* value, QX_VarRecord** out);
  QX_Error AddField(const char* name, bool global, int32_t index);
  // This table, then the global one.
  QX_Symbol* Lookup(const char* name) const;

  uint32_t SymbolCount() const { return nSymbols_; }
  uint32_t VariableCount() const { return nVariables_; }
  static uint32_t Hash(const char* name);
  static QX_DataBase& Global();
  // Drops the run-wide table with its global variables; the next scanner
  // registers the language's words again. For harnesses whose inputs must
  // each start as a fresh run: no compiled query may outlive it.
  static void ResetGlobal();

private:
  QX_Symbol* Find(const char* name, uint32_t hash) const;
  QX_Symbol* Insert(const char* name, uint32_t hash, int16_t type, void* pntr);
  const char* CopyName(const char* name);

  QX_FncRecord* functions_ = nullptr;
  QX_VarRecord* variables_ = nullptr;
  QX_FldRecord* fields_ = nullptr;
  QX_Symbol** symTab_ = nullptr;
  uint32_t nFunctions_ = 0;
  uint32_t nVariables_ = 0;
  uint32_t nFields_ = 0;
  uint32_t nSymbols_ = 0;
  uint32_t nBuckets_;
  MemStack mem_;
};
