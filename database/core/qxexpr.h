// The query language's expression nodes. Evaluating a node yields a fresh
// value node (QX_NumExpr or QX_StrExpr) owned by the caller, or no value for
// statements; errors come back as values of QX_ErrDefs. Every node knows the
// depth of its subtree: the parser bounds it, so evaluation, printing and
// deletion never recurse deeper than QX_MAXDEPTH levels.
#pragma once
#include <cstdint>
#include <iosfwd>

#include "database/core/qxbase.h"
#include "database/core/qxsymtab.h"

enum { STR_EXP = 0, NUM_EXP = 1, NOP_EXP = 2 };

class QX_Expression : public QX_Utilities {
public:
  static constexpr uint32_t kMagic = 0xC2D3E4F5u;
  QX_Expression() = default;
  QX_Expression(const QX_Expression&) = delete;
  QX_Expression& operator=(const QX_Expression&) = delete;
  virtual ~QX_Expression() { magic = 0; }
  virtual bool isStr() const { return false; }
  virtual bool isNum() const { return false; }
  virtual bool canAss() const { return false; }
  virtual int type() const = 0;
  virtual const char* name() const = 0;
  virtual QX_Error evaluate(QX_Expression** result) = 0;
  virtual std::ostream& print(std::ostream& os, int indent) const = 0;
  virtual QX_Error assign(QX_Expression* value) { return QX_Err(25); }

  // Value nodes only.
  QX_Error getNum(long double& out) const;
  QX_Error getInt(int32_t& out) const;
  bool isTrue() const;

  int depth() const { return depth_; }
  // Nodes in the subtree: what one evaluation of it may run.
  uint32_t size() const { return size_; }
  uint32_t magic = kMagic;

protected:
  // Takes a child into the depth and the size.
  void Adopt(const QX_Expression* child) {
    if (!child) return;
    if (child->depth_ + 1 > depth_) depth_ = child->depth_ + 1;
    size_ += child->size_;
  }
  int depth_ = 1;
  uint32_t size_ = 1;
};

// Bytes of text a stored value owns (0 for numbers and borrowed texts).
uint64_t QX_OwnedBytes(const QX_Expression* value);

// Deletes a node after checking its magic word and clears the pointer.
void QX_Delete(QX_Expression*& node);
template <class T>
void QX_Delete(T*& node) {
  QX_Expression* e = node;
  QX_Delete(e);
  node = nullptr;
}

class QX_NumExpr : public QX_Expression {
public:
  explicit QX_NumExpr(long double v) : value(v) {}
  bool isNum() const override { return true; }
  int type() const override { return NUM_EXP; }
  const char* name() const override { return "num"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
  long double value;
};

class QX_StrExpr : public QX_Expression {
public:
  // `shared` 1: `text` is borrowed; 0: the node owns it (allocated by new[]).
  QX_StrExpr(char* text, bool shared);
  // A node that owns a copy of `text`.
  static QX_StrExpr* Copy(const char* text);
  ~QX_StrExpr() override;
  bool isStr() const override { return true; }
  int type() const override { return STR_EXP; }
  const char* name() const override { return "str"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
  void makeOwn();
  uint8_t shared;
  char* str;
};

// An empty block where a statement is required (a loop body, after "dann"):
// succeeds with no value.
class QX_NopExpr : public QX_Expression {
public:
  int type() const override { return NOP_EXP; }
  const char* name() const override { return "nop"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
};

// Wraps an operand into a conversion unless it already has the kind.
QX_Expression* QX_AsNum(QX_Expression* e);
QX_Expression* QX_AsStr(QX_Expression* e);

class QX_UnaryExpr : public QX_Expression {
public:
  explicit QX_UnaryExpr(QX_Expression* a);
  ~QX_UnaryExpr() override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_Expression* a;
};

class QX_BinaryExpr : public QX_Expression {
public:
  QX_BinaryExpr(QX_Expression* a, QX_Expression* b);
  ~QX_BinaryExpr() override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_Expression* a;
  QX_Expression* b;

protected:
  // a, then b (only when a succeeded); on an error both are deleted.
  QX_Error evaluateBoth(QX_Expression*& va, QX_Expression*& vb);
};

class QX_TernaryExpr : public QX_Expression {
public:
  QX_TernaryExpr(QX_Expression* c, QX_Expression* x, QX_Expression* y);
  ~QX_TernaryExpr() override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_Expression* c;
  QX_Expression* x;
  QX_Expression* y;  // may be null (cond without "sonst")
};

// Arithmetic and string operators.
class QX_ArithExpr : public QX_BinaryExpr {
public:
  QX_ArithExpr(QX_Expression* a, QX_Expression* b) : QX_BinaryExpr(QX_AsNum(a), QX_AsNum(b)) {}
  bool isNum() const override { return true; }
  QX_Error evaluate(QX_Expression** result) override;

protected:
  virtual QX_Error compute(long double& x, long double y) const = 0;
};
#define QX_ARITH(cls, code, nm)                                                       \
  class cls : public QX_ArithExpr {                                                   \
  public:                                                                             \
    using QX_ArithExpr::QX_ArithExpr;                                                 \
    int type() const override { return code; }                                       \
    const char* name() const override { return nm; }                                  \
                                                                                      \
  protected:                                                                          \
    QX_Error compute(long double& x, long double y) const override;                   \
  };
QX_ARITH(QX_AddExpr, 17, "add")
QX_ARITH(QX_SubExpr, 18, "sub")
QX_ARITH(QX_MulExpr, 15, "mul")
QX_ARITH(QX_DivExpr, 16, "div")
#undef QX_ARITH

class QX_AppExpr : public QX_BinaryExpr {
public:
  QX_AppExpr(QX_Expression* a, QX_Expression* b);
  bool isStr() const override { return true; }
  int type() const override { return 14; }
  const char* name() const override { return "&"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_SearchExpr : public QX_BinaryExpr {
public:
  QX_SearchExpr(QX_Expression* a, QX_Expression* b);
  bool isNum() const override { return true; }
  int type() const override { return 28; }
  const char* name() const override { return "search"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_UpcaseExpr : public QX_UnaryExpr {
public:
  explicit QX_UpcaseExpr(QX_Expression* a);
  bool isStr() const override { return true; }
  int type() const override { return 29; }
  const char* name() const override { return "upcase"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_ToNumExpr : public QX_UnaryExpr {
public:
  using QX_UnaryExpr::QX_UnaryExpr;
  bool isNum() const override { return true; }
  int type() const override { return 30; }
  const char* name() const override { return "tonum"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_ToStrExpr : public QX_UnaryExpr {
public:
  using QX_UnaryExpr::QX_UnaryExpr;
  bool isStr() const override { return true; }
  int type() const override { return 31; }
  const char* name() const override { return "tostr"; }
  QX_Error evaluate(QX_Expression** result) override;
};

using QX_Fn1 = long double (*)(long double);
using QX_Fn2 = long double (*)(long double, long double);

class QX_Opn1Expr : public QX_UnaryExpr {
public:
  QX_Opn1Expr(const char* nm, QX_Fn1 fn, QX_Expression* a);
  bool isNum() const override { return true; }
  int type() const override { return 4; }
  const char* name() const override { return nm_; }
  QX_Error evaluate(QX_Expression** result) override;

private:
  const char* nm_;
  QX_Fn1 fn_;
};

class QX_Opn2Expr : public QX_BinaryExpr {
public:
  QX_Opn2Expr(const char* nm, QX_Fn2 fn, QX_Expression* a, QX_Expression* b);
  bool isNum() const override { return true; }
  int type() const override { return 5; }
  const char* name() const override { return nm_; }
  QX_Error evaluate(QX_Expression** result) override;

private:
  const char* nm_;
  QX_Fn2 fn_;
};

// Variables, fields, assignment, calls.
class QX_VarExpr : public QX_Expression {
public:
  explicit QX_VarExpr(QX_VarRecord* v) : var(v) {}
  bool canAss() const override { return true; }
  int type() const override;
  const char* name() const override { return "var"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_Error assign(QX_Expression* value) override;
  QX_VarRecord* var;
};

class QX_FIdxExpr : public QX_Expression {
public:
  QX_FIdxExpr(QueryExpr* own, int32_t idx);
  bool isStr() const override { return true; }
  bool canAss() const override { return true; }
  int type() const override { return 6; }
  const char* name() const override { return "@"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_Error assign(QX_Expression* value) override;
  QueryExpr* own;
  int32_t idx;
};

class QX_FArrExpr : public QX_Expression {
public:
  QX_FArrExpr(QueryExpr* own, QX_Expression* e0);
  ~QX_FArrExpr() override;
  bool isStr() const override { return true; }
  bool canAss() const override { return true; }
  int type() const override { return 7; }
  const char* name() const override { return "field"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_Error assign(QX_Expression* value) override;
  QueryExpr* own;
  QX_Expression* e0;

private:
  QX_Error index(int32_t& idx);
};

class QX_AssExpr : public QX_BinaryExpr {
public:
  QX_AssExpr(QX_Expression* a, QX_Expression* b);
  bool isStr() const override { return b->isStr(); }
  bool isNum() const override { return b->isNum(); }
  int type() const override { return 12; }
  const char* name() const override { return "ass"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_FncExpr : public QX_Expression {
public:
  // Takes the first fnc->npar nodes of `par`.
  QX_FncExpr(QX_FncRecord* fnc, QX_Expression* const* par);
  ~QX_FncExpr() override;
  bool isStr() const override { return true; }
  int type() const override { return 3; }
  const char* name() const override { return "fnc"; }
  QX_Error evaluate(QX_Expression** result) override;
  std::ostream& print(std::ostream& os, int indent) const override;
  QX_FncRecord* fnc;
  QX_Expression* par[QX_PARMAX] = {};
};

// Logic, comparison, control.
class QX_NotExpr : public QX_UnaryExpr {
public:
  using QX_UnaryExpr::QX_UnaryExpr;
  bool isNum() const override { return true; }
  int type() const override { return 21; }
  const char* name() const override { return "not"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_CompareExpr : public QX_BinaryExpr {
public:
  using QX_BinaryExpr::QX_BinaryExpr;
  bool isNum() const override { return true; }
  QX_Error evaluate(QX_Expression** result) override;

protected:
  QX_Error compare(long double& d);
  virtual bool holds(long double d) const = 0;
};
#define QX_CMP(cls, code, nm, rel)                               \
  class cls : public QX_CompareExpr {                            \
  public:                                                        \
    using QX_CompareExpr::QX_CompareExpr;                        \
    int type() const override { return code; }                  \
    const char* name() const override { return nm; }             \
                                                                 \
  protected:                                                     \
    bool holds(long double d) const override { return d rel 0; } \
  };
QX_CMP(QX_LtExpr, 22, "lt", <)
QX_CMP(QX_LeExpr, 23, "le", <=)
QX_CMP(QX_EqExpr, 24, "eq", ==)
QX_CMP(QX_NeExpr, 25, "ne", !=)
QX_CMP(QX_GeExpr, 26, "ge", >=)
QX_CMP(QX_GtExpr, 27, "gt", >)
#undef QX_CMP

class QX_AndExpr : public QX_BinaryExpr {
public:
  using QX_BinaryExpr::QX_BinaryExpr;
  bool isNum() const override { return true; }
  int type() const override { return 19; }
  const char* name() const override { return "and"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_OrExpr : public QX_BinaryExpr {
public:
  using QX_BinaryExpr::QX_BinaryExpr;
  bool isNum() const override { return true; }
  int type() const override { return 20; }
  const char* name() const override { return "or"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_IfExpr : public QX_TernaryExpr {
public:
  using QX_TernaryExpr::QX_TernaryExpr;
  bool isStr() const override { return x->isStr() && y->isStr(); }
  bool isNum() const override { return x->isNum() && y->isNum(); }
  int type() const override { return 13; }
  const char* name() const override { return "if"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_CondExpr : public QX_TernaryExpr {
public:
  using QX_TernaryExpr::QX_TernaryExpr;
  bool isStr() const override { return y && x->isStr() && y->isStr(); }
  bool isNum() const override { return y && x->isNum() && y->isNum(); }
  int type() const override { return 9; }
  const char* name() const override { return "cond"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_WhileExpr : public QX_BinaryExpr {
public:
  using QX_BinaryExpr::QX_BinaryExpr;
  int type() const override { return 10; }
  const char* name() const override { return "while"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_RepeatExpr : public QX_BinaryExpr {
public:
  using QX_BinaryExpr::QX_BinaryExpr;
  int type() const override { return 11; }
  const char* name() const override { return "repeat"; }
  QX_Error evaluate(QX_Expression** result) override;
};

class QX_SeqExpr : public QX_BinaryExpr {
public:
  using QX_BinaryExpr::QX_BinaryExpr;
  bool isStr() const override { return b->isStr(); }
  bool isNum() const override { return b->isNum(); }
  int type() const override { return 8; }
  const char* name() const override { return "seq"; }
  QX_Error evaluate(QX_Expression** result) override;
};
