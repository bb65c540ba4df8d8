#include "database/core/qxexpr.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>

#include "database/core/queryexpr.h"
#include "foundation/core/index/keycompare.h"

namespace {
char g_empty[1] = {0};

std::ostream& Line(std::ostream& os, int indent) {
  QX_Utilities::Indent(os, indent);
  return os;
}
std::ostream& EndLine(std::ostream& os) { return os << std::endl; }

char* NewText(size_t n) { return new (std::nothrow) char[n + 1]; }
}  // namespace

void QX_Delete(QX_Expression*& node) {
  if (!node) return;
  if (QX_ASSERT(node->magic == QX_Expression::kMagic)) delete node;
  node = nullptr;
}

uint64_t QX_OwnedBytes(const QX_Expression* v) {
  if (!v || v->type() != STR_EXP) return 0;
  auto* s = static_cast<const QX_StrExpr*>(v);
  return s->shared ? 0 : std::strlen(s->str) + 1;
}

// Value nodes ----------------------------------------------------------------

QX_Error QX_Expression::getNum(long double& out) const {
  if (type() == NUM_EXP) {
    out = static_cast<const QX_NumExpr*>(this)->value;
    return nullptr;
  }
  if (!QX_ASSERT(type() == STR_EXP)) return QX_Err(3);
  const char* text = static_cast<const QX_StrExpr*>(this)->str;
  if (QX_Error e = QX_ChargeText(std::strlen(text))) return e;
  return StrToNum(text, out);
}

QX_Error QX_Expression::getInt(int32_t& out) const {
  long double v = 0;
  if (QX_Error e = getNum(v)) return e;
  return NumToInt(v, out);
}

bool QX_Expression::isTrue() const {
  if (type() == NUM_EXP) return static_cast<const QX_NumExpr*>(this)->value != 0.0L;
  if (type() == STR_EXP) return static_cast<const QX_StrExpr*>(this)->str[0] != 0;
  return false;
}

QX_Error QX_NumExpr::evaluate(QX_Expression** result) {
  *result = new QX_NumExpr(value);
  return nullptr;
}

std::ostream& QX_NumExpr::print(std::ostream& os, int indent) const {
  return EndLine(Line(os, indent) << "num(" << value << ")");
}

QX_StrExpr::QX_StrExpr(char* text, bool sh) : shared(sh ? 1 : 0), str(text) {
  if (!QX_ASSERT(text)) {
    str = g_empty;
    shared = 1;
  }
}

QX_StrExpr* QX_StrExpr::Copy(const char* text) {
  const size_t n = std::strlen(text);
  char* p = NewText(n);
  if (!p) return nullptr;
  std::memcpy(p, text, n + 1);
  return new QX_StrExpr(p, false);
}

QX_StrExpr::~QX_StrExpr() {
  if (!shared) delete[] str;
}

void QX_StrExpr::makeOwn() {
  if (!shared) return;
  const size_t n = std::strlen(str);
  char* p = new char[n + 1];
  std::memcpy(p, str, n + 1);
  str = p;
  shared = 0;
}

QX_Error QX_StrExpr::evaluate(QX_Expression** result) {
  *result = new QX_StrExpr(str, true);
  return nullptr;
}

std::ostream& QX_StrExpr::print(std::ostream& os, int indent) const {
  return EndLine(Line(os, indent) << "str(\"" << str << "\"," << static_cast<bool>(shared) << ")");
}

QX_Error QX_NopExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  return nullptr;
}

std::ostream& QX_NopExpr::print(std::ostream& os, int indent) const { return EndLine(Line(os, indent) << "nop()"); }

// Bases ----------------------------------------------------------------------

QX_Expression* QX_AsNum(QX_Expression* e) { return e->isNum() ? e : new QX_ToNumExpr(e); }
QX_Expression* QX_AsStr(QX_Expression* e) { return e->isStr() ? e : new QX_ToStrExpr(e); }

QX_UnaryExpr::QX_UnaryExpr(QX_Expression* e) : a(e) { Adopt(a); }
QX_UnaryExpr::~QX_UnaryExpr() { QX_Delete(a); }
std::ostream& QX_UnaryExpr::print(std::ostream& os, int indent) const {
  EndLine(Line(os, indent) << name() << "(");
  a->print(os, indent + 1);
  return EndLine(Line(os, indent) << ")");
}

QX_BinaryExpr::QX_BinaryExpr(QX_Expression* x, QX_Expression* y) : a(x), b(y) {
  Adopt(a);
  Adopt(b);
}
QX_BinaryExpr::~QX_BinaryExpr() {
  QX_Delete(a);
  QX_Delete(b);
}
std::ostream& QX_BinaryExpr::print(std::ostream& os, int indent) const {
  EndLine(Line(os, indent) << name() << "(");
  a->print(os, indent + 1);
  b->print(os, indent + 1);
  return EndLine(Line(os, indent) << ")");
}

QX_Error QX_BinaryExpr::evaluateBoth(QX_Expression*& va, QX_Expression*& vb) {
  va = vb = nullptr;
  QX_Error e = a->evaluate(&va);
  if (!e) e = b->evaluate(&vb);
  if (e) {
    QX_Delete(va);
    QX_Delete(vb);
  }
  return e;
}

QX_TernaryExpr::QX_TernaryExpr(QX_Expression* cc, QX_Expression* xx, QX_Expression* yy) : c(cc), x(xx), y(yy) {
  Adopt(c);
  Adopt(x);
  Adopt(y);
}
QX_TernaryExpr::~QX_TernaryExpr() {
  QX_Delete(c);
  QX_Delete(x);
  QX_Delete(y);
}
std::ostream& QX_TernaryExpr::print(std::ostream& os, int indent) const {
  EndLine(Line(os, indent) << name() << "(");
  c->print(os, indent + 1);
  x->print(os, indent + 1);
  if (y) y->print(os, indent + 1);
  return EndLine(Line(os, indent) << ")");
}

// Operators ------------------------------------------------------------------

QX_Error QX_ArithExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression *va, *vb;
  if (QX_Error e = evaluateBoth(va, vb)) return e;
  auto* x = static_cast<QX_NumExpr*>(va);
  QX_Error e = compute(x->value, static_cast<QX_NumExpr*>(vb)->value);
  // A result beyond the finite range would poison every later step.
  if (!e && !std::isfinite(x->value)) e = QX_Err(5);
  QX_Delete(vb);
  if (e) {
    QX_Delete(va);
    return e;
  }
  *result = va;
  return nullptr;
}

QX_Error QX_AddExpr::compute(long double& x, long double y) const {
  x += y;
  return nullptr;
}
QX_Error QX_SubExpr::compute(long double& x, long double y) const {
  x -= y;
  return nullptr;
}
QX_Error QX_MulExpr::compute(long double& x, long double y) const {
  x *= y;
  return nullptr;
}
QX_Error QX_DivExpr::compute(long double& x, long double y) const {
  if (y == 0) return QX_Err(7);
  x /= y;
  return nullptr;
}

QX_AppExpr::QX_AppExpr(QX_Expression* x, QX_Expression* y) : QX_BinaryExpr(QX_AsStr(x), QX_AsStr(y)) {}

QX_Error QX_AppExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression *va, *vb;
  if (QX_Error e = evaluateBoth(va, vb)) return e;
  const char* sa = static_cast<QX_StrExpr*>(va)->str;
  const char* sb = static_cast<QX_StrExpr*>(vb)->str;
  const size_t la = std::strlen(sa), lb = std::strlen(sb);
  QX_Error e = la + lb > QX_MAXTEXT ? QX_Err(0) : QX_ChargeText(la + lb);
  char* p = e ? nullptr : NewText(la + lb);
  if (!e && !p) e = QX_Err(0);
  if (p) {
    std::memcpy(p, sa, la);
    std::memcpy(p + la, sb, lb + 1);
    *result = new QX_StrExpr(p, false);
  }
  QX_Delete(va);
  QX_Delete(vb);
  return e;
}

QX_SearchExpr::QX_SearchExpr(QX_Expression* x, QX_Expression* y) : QX_BinaryExpr(QX_AsStr(x), QX_AsStr(y)) {}

QX_Error QX_SearchExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression *va, *vb;
  if (QX_Error e = evaluateBoth(va, vb)) return e;
  QX_Error e = nullptr;
  if (va->type() == STR_EXP && vb->type() == STR_EXP) {
    const char* sa = static_cast<QX_StrExpr*>(va)->str;
    const char* sb = static_cast<QX_StrExpr*>(vb)->str;
    e = QX_ChargeText(std::strlen(sa) + std::strlen(sb));
    if (!e) *result = new QX_NumExpr(std::strstr(sa, sb) ? 1 : 0);
  } else {
    e = QX_Err(10);
  }
  QX_Delete(va);
  QX_Delete(vb);
  return e;
}

QX_UpcaseExpr::QX_UpcaseExpr(QX_Expression* e) : QX_UnaryExpr(QX_AsStr(e)) {}

QX_Error QX_UpcaseExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression* v = nullptr;
  if (QX_Error e = a->evaluate(&v)) return e;
  if (v->type() != STR_EXP) {
    QX_Delete(v);
    return QX_Err(10);
  }
  auto* s = static_cast<QX_StrExpr*>(v);
  if (s->shared) {
    if (QX_Error e = QX_ChargeText(std::strlen(s->str))) {
      QX_Delete(v);
      return e;
    }
    s->makeOwn();
  }
  // Only a to z: umlauts and the sharp s stay as they are.
  for (char* p = s->str; *p; ++p)
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  *result = v;
  return nullptr;
}

QX_Error QX_ToNumExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression* v = nullptr;
  if (QX_Error e = a->evaluate(&v)) return e;
  if (!v) return QX_Err(3);
  if (v->type() == NUM_EXP) {
    *result = v;
    return nullptr;
  }
  long double n = 0;
  QX_Error e = v->getNum(n);
  QX_Delete(v);
  if (!e) *result = new QX_NumExpr(n);
  return e;
}

QX_Error QX_ToStrExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression* v = nullptr;
  if (QX_Error e = a->evaluate(&v)) return e;
  if (!v) return QX_Err(10);
  if (v->type() == STR_EXP) {
    *result = v;
    return nullptr;
  }
  char buf[32];
  NumToStr(static_cast<QX_NumExpr*>(v)->value, buf);
  QX_Delete(v);
  *result = QX_StrExpr::Copy(buf);
  return *result ? nullptr : QX_Err(0);
}

QX_Opn1Expr::QX_Opn1Expr(const char* nm, QX_Fn1 fn, QX_Expression* e) : QX_UnaryExpr(QX_AsNum(e)), nm_(nm), fn_(fn) {}

QX_Error QX_Opn1Expr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression* v = nullptr;
  if (QX_Error e = a->evaluate(&v)) return e;
  auto* n = static_cast<QX_NumExpr*>(v);
  ClearMathErrors();
  n->value = fn_(n->value);
  if (QX_Error e = MathResult(n->value)) {
    QX_Delete(v);
    return e;
  }
  *result = v;
  return nullptr;
}

QX_Opn2Expr::QX_Opn2Expr(const char* nm, QX_Fn2 fn, QX_Expression* x, QX_Expression* y)
    : QX_BinaryExpr(QX_AsNum(x), QX_AsNum(y)), nm_(nm), fn_(fn) {}

QX_Error QX_Opn2Expr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression *va, *vb;
  if (QX_Error e = evaluateBoth(va, vb)) return e;
  auto* n = static_cast<QX_NumExpr*>(va);
  ClearMathErrors();
  n->value = fn_(n->value, static_cast<QX_NumExpr*>(vb)->value);
  QX_Error e = MathResult(n->value);
  QX_Delete(vb);
  if (e) {
    QX_Delete(va);
    return e;
  }
  *result = va;
  return nullptr;
}

// Variables, fields, assignment, calls --------------------------------------

namespace {
// The text a value stores into a field: its own, or a number formatted.
const char* FieldText(QX_Expression* value, char* buf) {
  if (value->type() == STR_EXP) return static_cast<QX_StrExpr*>(value)->str;
  QX_Utilities::NumToStr(static_cast<QX_NumExpr*>(value)->value, buf);
  return buf;
}

QX_Error ReadField(QueryExpr* own, int32_t idx, QX_Expression** result) {
  char* text = nullptr;
  if (QX_Error e = own->GetField(&text, idx)) return e;
  *result = new QX_StrExpr(text ? text : g_empty, true);
  return nullptr;
}
}  // namespace

int QX_VarExpr::type() const { return var->expr->type(); }

QX_Error QX_VarExpr::evaluate(QX_Expression** result) { return var->expr->evaluate(result); }

std::ostream& QX_VarExpr::print(std::ostream& os, int indent) const {
  return EndLine(Line(os, indent) << "var('" << var->name << "')");
}

QX_Error QX_VarExpr::assign(QX_Expression* value) {
  if (!value) return QX_Err(25);
  QX_Expression* stored = nullptr;
  if (value->type() == NUM_EXP) {
    stored = new QX_NumExpr(static_cast<QX_NumExpr*>(value)->value);
  } else {
    const char* text = static_cast<QX_StrExpr*>(value)->str;
    const size_t n = std::strlen(text);
    if (QX_Error e = QX_ChargeText(n)) return e;
    if (!QX_MayHold(n + 1, QX_OwnedBytes(var->expr))) return QX_Err(0);
    stored = QX_StrExpr::Copy(text);
    if (!stored) return QX_Err(0);
  }
  QX_Hold(QX_OwnedBytes(stored), QX_OwnedBytes(var->expr));
  QX_Delete(var->expr);
  var->expr = stored;
  return nullptr;
}

QX_FIdxExpr::QX_FIdxExpr(QueryExpr* o, int32_t i) : own(o), idx(i) { QX_ASSERT(i >= 0 && i < QX_FIELDS); }

QX_Error QX_FIdxExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  return ReadField(own, idx, result);
}

std::ostream& QX_FIdxExpr::print(std::ostream& os, int indent) const {
  return EndLine(Line(os, indent) << "@(" << idx << ")");
}

QX_Error QX_FIdxExpr::assign(QX_Expression* value) {
  if (!value) return QX_Err(25);
  char buf[32];
  return own->SetField(idx, FieldText(value, buf));
}

QX_FArrExpr::QX_FArrExpr(QueryExpr* o, QX_Expression* e) : own(o), e0(e) { Adopt(e0); }
QX_FArrExpr::~QX_FArrExpr() { QX_Delete(e0); }

QX_Error QX_FArrExpr::index(int32_t& idx) {
  QX_Expression* v = nullptr;
  QX_Error e = e0->evaluate(&v);
  if (!e && !v) e = QX_Err(3);
  if (!e) e = v->getInt(idx);
  if (!e && (idx < 0 || idx >= QX_FIELDS)) e = QX_Err(16);
  QX_Delete(v);
  return e;
}

QX_Error QX_FArrExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  int32_t idx = 0;
  if (QX_Error e = index(idx)) return e;
  return ReadField(own, idx, result);
}

std::ostream& QX_FArrExpr::print(std::ostream& os, int indent) const {
  EndLine(Line(os, indent) << "field (");
  e0->print(os, indent + 1);
  return EndLine(Line(os, indent) << ")");
}

QX_Error QX_FArrExpr::assign(QX_Expression* value) {
  if (!value) return QX_Err(25);
  int32_t idx = 0;
  if (QX_Error e = index(idx)) return e;
  char buf[32];
  return own->SetField(idx, FieldText(value, buf));
}

QX_AssExpr::QX_AssExpr(QX_Expression* x, QX_Expression* y) : QX_BinaryExpr(x, y) { QX_ASSERT(x->canAss()); }

QX_Error QX_AssExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression* v = nullptr;
  if (QX_Error e = b->evaluate(&v)) return e;
  if (!v) return QX_Err(25);
  // The value may borrow the very text the assignment replaces (x := x;):
  // the result takes its own copy before the target drops the old one.
  if (v->type() == STR_EXP) {
    auto* s = static_cast<QX_StrExpr*>(v);
    if (s->shared) {
      if (QX_Error e = QX_ChargeText(std::strlen(s->str))) {
        QX_Delete(v);
        return e;
      }
      s->makeOwn();
    }
  }
  if (QX_Error e = a->assign(v)) {
    QX_Delete(v);
    return e;
  }
  *result = v;
  return nullptr;
}

QX_FncExpr::QX_FncExpr(QX_FncRecord* f, QX_Expression* const* p) : fnc(f) {
  for (int i = 0; i < fnc->npar && i < QX_PARMAX; ++i) {
    par[i] = QX_AsStr(p[i]);
    Adopt(par[i]);
  }
}

QX_FncExpr::~QX_FncExpr() {
  for (auto& p : par) QX_Delete(p);
}

QX_Error QX_FncExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  QX_Expression* v[QX_PARMAX] = {};
  QX_Error e = nullptr;
  for (int i = 0; i < fnc->npar && !e; ++i) {
    e = par[i]->evaluate(&v[i]);
    if (!e && !v[i]) e = QX_Err(10);
  }
  if (!e) {
    const char* t[QX_PARMAX] = {};
    for (int i = 0; i < QX_PARMAX; ++i)
      if (v[i]) t[i] = static_cast<QX_StrExpr*>(v[i])->str;
    char* out = nullptr;
    e = fnc->func(&out, fnc->datum, t[0], t[1], t[2], t[3]);
    if (!e) {
      if (!out) {
        *result = new QX_StrExpr(g_empty, true);
      } else {
        const size_t n = std::strlen(out);
        e = n > QX_MAXTEXT ? QX_Err(0) : QX_ChargeText(n);
        if (!e) {
          *result = QX_StrExpr::Copy(out);
          if (!*result) e = QX_Err(0);
        }
      }
    }
  }
  for (auto& x : v) QX_Delete(x);
  return e;
}

std::ostream& QX_FncExpr::print(std::ostream& os, int indent) const {
  EndLine(Line(os, indent) << "fnc '" << fnc->name << "' (");
  for (int i = 0; i < fnc->npar; ++i) par[i]->print(os, indent + 1);
  return EndLine(Line(os, indent) << ")");
}

// Logic, comparison, control ------------------------------------------------

namespace {
// Evaluates `e` and takes its truth; no value counts as false.
QX_Error Truth(QX_Expression* e, bool& t) {
  QX_Expression* v = nullptr;
  if (QX_Error err = e->evaluate(&v)) return err;
  t = v && v->isTrue();
  QX_Delete(v);
  return nullptr;
}
}  // namespace

QX_Error QX_NotExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  bool t = false;
  if (QX_Error e = Truth(a, t)) return e;
  *result = new QX_NumExpr(t ? 0 : 1);
  return nullptr;
}

QX_Error QX_CompareExpr::compare(long double& d) {
  QX_Expression *va, *vb;
  if (QX_Error e = evaluateBoth(va, vb)) return e;
  QX_Error e = nullptr;
  if (!va || !vb) {
    e = QX_Err(3);
  } else if (va->type() == STR_EXP && vb->type() == STR_EXP) {
    const char* sa = static_cast<QX_StrExpr*>(va)->str;
    const char* sb = static_cast<QX_StrExpr*>(vb)->str;
    // The locale comparison weighs every byte on several levels: it costs
    // far more than copying.
    e = QX_ChargeText((std::strlen(sa) + std::strlen(sb)) * 32);
    if (!e) d = tsl::AnsiWordCompare(sa, sb);
  } else {
    long double x = 0, y = 0;
    e = va->getNum(x);
    if (!e) e = vb->getNum(y);
    if (!e) d = x - y;
  }
  QX_Delete(va);
  QX_Delete(vb);
  return e;
}

QX_Error QX_CompareExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  long double d = 0;
  if (QX_Error e = compare(d)) return e;
  *result = new QX_NumExpr(holds(d) ? 1 : 0);
  return nullptr;
}

QX_Error QX_AndExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  bool t = false;
  if (QX_Error e = Truth(a, t)) return e;
  if (t)
    if (QX_Error e = Truth(b, t)) return e;
  *result = new QX_NumExpr(t ? 1 : 0);
  return nullptr;
}

QX_Error QX_OrExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  bool t = false;
  if (QX_Error e = Truth(a, t)) return e;
  if (!t)
    if (QX_Error e = Truth(b, t)) return e;
  *result = new QX_NumExpr(t ? 1 : 0);
  return nullptr;
}

QX_Error QX_IfExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  bool t = false;
  if (QX_Error e = Truth(c, t)) return e;
  return (t ? x : y)->evaluate(result);
}

QX_Error QX_CondExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  bool t = false;
  if (QX_Error e = Truth(c, t)) return e;
  if (t) return x->evaluate(result);
  return y ? y->evaluate(result) : nullptr;
}

namespace {
QX_Error Run(QX_Expression* body) {
  QX_Expression* v = nullptr;
  QX_Error e = body->evaluate(&v);
  QX_Delete(v);
  return e;
}
}  // namespace

QX_Error QX_WhileExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  for (;;) {
    bool t = false;
    if (QX_Error e = Truth(a, t)) return e;
    if (!t) return nullptr;
    // A condition that never changes would run for ever: the budget, which
    // counts the nodes each pass runs, ends it.
    if (QX_Error e = QX_Charge(a->size() + b->size())) return e;
    if (QX_Error e = Run(b)) return e;
  }
}

QX_Error QX_RepeatExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  for (;;) {
    if (QX_Error e = QX_Charge(a->size() + b->size())) return e;
    if (QX_Error e = Run(a)) return e;
    bool t = false;
    if (QX_Error e = Truth(b, t)) return e;
    if (t) return nullptr;
  }
}

QX_Error QX_SeqExpr::evaluate(QX_Expression** result) {
  *result = nullptr;
  if (QX_Error e = Run(a)) return e;
  return b->evaluate(result);
}
