#include "database/core/qxparse.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "database/core/queryexpr.h"
#include "database/core/qxexpr.h"
#include "database/core/qxlibc.h"

// Keywords ------------------------------------------------------------------

namespace {
QX_KeywordLoader g_loader = nullptr;
bool g_loaded = false;
// The texts live for the whole run: symbols of the global table refer to them.
std::deque<std::string>& KeywordStore() {
  static std::deque<std::string> store;
  return store;
}
const char* g_kw[11];

// Load order of the string ids and the token each keyword stands for.
struct KeywordEntry {
  unsigned id;
  int16_t token;
};
constexpr KeywordEntry kKeywords[11] = {
    {QX_KW_FELD, 5},      {QX_KW_UND, 12},         {QX_KW_ODER, 13}, {QX_KW_NICHT, 14},
    {QX_KW_SOLANGE, 70},  {QX_KW_MACHE, 71},       {QX_KW_WIEDERHOLE, 72},
    {QX_KW_BIS, 73},      {QX_KW_WENN, 61},        {QX_KW_DANN, 62}, {QX_KW_SONST, 63},
};

long double Mod(long double a, long double b) { return fmodl(a, b); }
long double Pow(long double a, long double b) { return powl(a, b); }
long double Abs(long double a) { return fabsl(a); }
long double Acos(long double a) { return acosl(a); }
long double Asin(long double a) { return asinl(a); }
long double Atan(long double a) { return atanl(a); }
long double Ceil(long double a) { return ceill(a); }
long double Cosh(long double a) { return coshl(a); }
long double Cos(long double a) { return cosl(a); }
long double Exp(long double a) { return expl(a); }
long double Floor(long double a) { return floorl(a); }
long double Log10(long double a) { return log10l(a); }
long double Log(long double a) { return logl(a); }
long double Sinh(long double a) { return sinhl(a); }
long double Sin(long double a) { return sinl(a); }
long double Sqrt(long double a) { return sqrtl(a); }
long double Tanh(long double a) { return tanhl(a); }
long double Tan(long double a) { return tanl(a); }

struct Builtin {
  const char* name;
  int16_t token;
  QX_Fn1 f1;  // stand-ins for glibc's routines of the name with "l" appended
  QX_Fn2 f2;
};
constexpr Builtin kBuiltins[18] = {
    {"abs", 40, Abs, nullptr},     {"acos", 41, Acos, nullptr},   {"asin", 42, Asin, nullptr},
    {"atan", 43, Atan, nullptr},   {"ceil", 44, Ceil, nullptr},   {"cosh", 45, Cosh, nullptr},
    {"cos", 46, Cos, nullptr},     {"exp", 47, Exp, nullptr},     {"floor", 48, Floor, nullptr},
    {"log10", 49, Log10, nullptr}, {"log", 50, Log, nullptr},     {"mod", 51, nullptr, Mod},
    {"pow", 52, nullptr, Pow},     {"sinh", 53, Sinh, nullptr},   {"sin", 54, Sin, nullptr},
    {"sqrt", 55, Sqrt, nullptr},   {"tanh", 56, Tanh, nullptr},   {"tan", 57, Tan, nullptr},
};
const Builtin* FindBuiltin(int32_t token) {
  return token >= 40 && token <= 57 ? &kBuiltins[token - 40] : nullptr;
}

// glibc's long-double routine ("sqrtl", "fmodl"), looked up once.
QX_Fn1 Routine1(const Builtin& b) {
  static QX_Fn1 cache[18];
  QX_Fn1& f = cache[b.token - 40];
  if (!f) f = qxlibc::Math1((std::string(b.token == 40 ? "fabs" : b.name) + "l").c_str());
  if (!f) f = b.f1;
  return f;
}
QX_Fn2 Routine2(const Builtin& b) {
  static QX_Fn2 cache[18];
  QX_Fn2& f = cache[b.token - 40];
  if (!f) f = qxlibc::Math2((std::string(b.token == 51 ? "fmod" : b.name) + "l").c_str());
  if (!f) f = b.f2;
  return f;
}

bool IsBlank(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 127; }
bool EndsRun(unsigned char c) {
  return c == 0 || IsBlank(c) || IsNameStart(c) || IsDigit(c) || c == '"' ||
         std::strchr("@?:+-*/&<>=^#$(){}[],;", c) != nullptr;
}
}  // namespace

std::string QX_DefaultKeyword(unsigned id) {
  switch (id) {
    case QX_KW_UND: return "UND";
    case QX_KW_ODER: return "ODER";
    case QX_KW_NICHT: return "NICHT";
    case QX_KW_SONST: return "sonst";
    case QX_KW_FELD: return "Feld";
    case QX_KW_SOLANGE: return "solange";
    case QX_KW_MACHE: return "mache";
    case QX_KW_WIEDERHOLE: return "wiederhole";
    case QX_KW_BIS: return "bis";
    case QX_KW_WENN: return "wenn";
    case QX_KW_DANN: return "dann";
  }
  return std::string();
}

void QX_SetKeywordLoader(QX_KeywordLoader loader) {
  g_loader = loader;
  g_loaded = false;
}

// Scanner -------------------------------------------------------------------

QX_Scanner::QX_Scanner(QX_DataBase* db) : db_(db) {
  QX_ASSERT(db);
  if (!g_loaded) {
    g_loaded = true;
    for (int i = 0; i < 11; ++i) {
      std::string s = g_loader ? g_loader(kKeywords[i].id) : std::string();
      // A missing string must not leave two keywords with the same empty name.
      if (s.empty()) s = QX_DefaultKeyword(kKeywords[i].id);
      KeywordStore().push_back(s);
      g_kw[i] = KeywordStore().back().c_str();
    }
  }
  QX_DataBase& g = QX_DataBase::Global();
  auto reg = [&](const char* name, int16_t token) { g.AddSymbol(name, true, token, nullptr); };
  for (int i = 0; i < 4; ++i) reg(g_kw[i], kKeywords[i].token);
  for (const Builtin& b : kBuiltins) reg(b.name, b.token);
  for (int i = 4; i < 11; ++i) reg(g_kw[i], kKeywords[i].token);
  reg("global", 68);
  reg("var", 69);
}

void QX_Scanner::Start(const char* text) { start_ = inpPtr = text; }

QX_Error QX_Scanner::Scan(QX_Token& tok) {
  tok.tokID = 0;
  tok.error = nullptr;
  tok.text[0] = 0;
  tok.position = 0;
  tok.length = 0;
  tok.sym = nullptr;
  tok.number = 0;
  if (!QX_ASSERT(inpPtr)) {
    tok.tokID = 1;
    tok.error = QX_Err(1);
    return tok.error;
  }
  const unsigned char* p = reinterpret_cast<const unsigned char*>(inpPtr);
  while (IsBlank(*p)) ++p;
  tok.position = static_cast<uint32_t>(reinterpret_cast<const char*>(p) - start_);
  uint32_t n = 0;
  auto put = [&](unsigned char c) {
    if (n < QX_TOKTEXT - 1) tok.text[n++] = static_cast<char>(c);
  };
  const unsigned char c = *p;
  if (c == 0) {
    // stays on the NUL: every further call is the end again
  } else if (IsNameStart(c)) {
    size_t len = 0;
    while (IsNameStart(*p) || IsDigit(*p)) put(*p++), ++len;
    tok.text[n] = 0;
    if (len >= QX_TOKTEXT - 1) {
      tok.error = QX_Err(20);
    } else if (QX_Symbol* s = db_->Lookup(tok.text)) {
      tok.tokID = s->type;
      tok.sym = s;
    } else {
      tok.error = QX_Err(15);
    }
  } else if (c == '"') {
    ++p;
    size_t len = 0;
    bool closed = false;
    while (*p) {
      if (*p == '"') {
        ++p;
        closed = true;
        break;
      }
      if (*p == '\\') {
        ++p;
        if (!*p) break;
      }
      put(*p++);
      ++len;
    }
    tok.text[n] = 0;
    if (!closed)
      tok.error = QX_Err(22);
    else if (len >= QX_TOKTEXT - 1)
      tok.error = QX_Err(21);
    else
      tok.tokID = 3;
  } else if (IsDigit(c)) {
    const unsigned char* q = p;
    while (IsDigit(*q)) ++q;
    if (*q == '.') {
      ++q;
      while (IsDigit(*q)) ++q;
    }
    if (*q == 'e' || *q == 'E') {
      const unsigned char* r = q + 1;
      if (*r == '+' || *r == '-') ++r;
      if (IsDigit(*r)) {
        while (IsDigit(*r)) ++r;
        q = r;
      }
    }
    const size_t len = static_cast<size_t>(q - p);
    while (p < q) put(*p++);
    tok.text[n] = 0;
    // A literal with no room in the token text is refused whole.
    if (len >= QX_TOKTEXT - 1) {
      tok.error = QX_Err(21);
    } else {
      errno = 0;
      tok.number = qxlibc::StrToLd(tok.text, nullptr);
      if (errno != 0)
        tok.error = QX_Err(5);
      else
        tok.tokID = 2;
    }
  } else {
    const unsigned char d = p[1];
    int id = 0, two = 0;
    switch (c) {
      case '*': id = d == '=' ? (two = 1, 25) : 65; break;
      case ':': id = d == '=' ? (two = 1, 64) : 11; break;
      case '<': id = d == '=' ? (two = 1, 20) : d == '>' ? (two = 1, 22) : 19; break;
      case '>': id = d == '=' ? (two = 1, 23) : 24; break;
      case '#': id = 27; break;
      case '$': id = 28; break;
      case '&': id = 67; break;
      case '(': id = 29; break;
      case ')': id = 30; break;
      case '+': id = 16; break;
      case ',': id = 37; break;
      case '-': id = 15; break;
      case '/': id = 66; break;
      case ';': id = 60; break;
      case '=': id = 21; break;
      case '?': id = 10; break;
      case '@': id = 4; break;
      case '[': id = 34; break;
      case ']': id = 35; break;
      case '^': id = 26; break;
      case '{': id = 31; break;
      case '}': id = 33; break;
    }
    if (id) {
      put(*p++);
      if (two) put(*p++);
      tok.tokID = id;
    } else {
      tok.error = QX_Err(23);
      put(*p++);
      while (!EndsRun(*p) && n < QX_TOKTEXT - 1) put(*p++);
    }
    tok.text[n] = 0;
  }
  if (tok.error) tok.tokID = 1;
  tok.length = n;
  inpPtr = reinterpret_cast<const char*>(p);
  return tok.error;
}

// Parser --------------------------------------------------------------------

struct QX_Nest {
  explicit QX_Nest(QX_Parser& p) : p_(p) { ++p_.nest_; }
  ~QX_Nest() { --p_.nest_; }
  QX_Parser& p_;
};

QX_Parser::QX_Parser(QX_DataBase* db, QueryExpr* owner) : QX_Scanner(db), owner_(owner) {}

QX_Error QX_Parser::Enter() { return nest_ > QX_MAXDEPTH ? QX_Err(24) : nullptr; }

QX_Error QX_Parser::Built(QX_Expression* node, Out out) {
  // A deeper tree would make evaluation, printing and deletion recurse
  // without bound on typed input such as 1+1+...+1.
  if (node->depth() > QX_MAXDEPTH) {
    QX_Delete(node);
    out = nullptr;
    return QX_Err(24);
  }
  out = node;
  return nullptr;
}

bool QX_Parser::isCmpTok() const { return actTok.tokID >= 19 && actTok.tokID <= 25; }
bool QX_Parser::isUnaTok() const {
  const int t = actTok.tokID;
  return t == 14 || t == 26 || t == 27 || t == 28 || t == 16 || t == 15;
}
bool QX_Parser::isFldTok() const { return actTok.tokID == 5 || actTok.tokID == 4 || actTok.tokID == QX_SYM_FIELD; }
bool QX_Parser::isOpnTok() const { return actTok.tokID >= 40 && actTok.tokID <= 57; }

QX_Error QX_Parser::Parse(const char* text, QX_Expression*& tree) {
  tree = nullptr;
  nest_ = 0;
  Start(text);
  if (QX_Error e = Next()) return e;
  if (actTok.tokID == 0) return QX_Err(2);
  return ParseProgram(tree);
}

QX_Error QX_Parser::ParseProgram(Out out) { return ParseStatements(out, false); }

QX_Error QX_Parser::ParseStatements(Out out, bool block) {
  out = nullptr;
  QX_Expression* tree = nullptr;
  while (actTok.tokID != 0 && !(block && actTok.tokID == 33)) {
    QX_Expression* s = nullptr;
    QX_Error e = ParseStatement(s);
    if (!e && s) {
      if (tree)
        e = Built(new QX_SeqExpr(tree, s), tree);
      else
        tree = s;
    }
    if (e) {
      QX_Delete(tree);
      return e;
    }
  }
  out = tree;
  return nullptr;
}

QX_Error QX_Parser::ParseBlock(Out out) {
  out = nullptr;
  if (QX_Error e = Next()) return e;
  QX_Expression* tree = nullptr;
  if (QX_Error e = ParseStatements(tree, true)) return e;
  QX_Error e = actTok.tokID != 33 ? QX_Err(32) : Next();
  if (e) {
    QX_Delete(tree);
    return e;
  }
  out = tree;
  return nullptr;
}

QX_Error QX_Parser::ParseStatement(Out out) {
  out = nullptr;
  QX_Nest nest(*this);
  if (QX_Error e = Enter()) return e;
  switch (actTok.tokID) {
    case 31: return ParseBlock(out);
    case 61: return ParseIf(out);
    case 68:
    case 69: return ParseDeclaration(out);
    case 70: return ParseWhile(out);
    case 72: return ParseRepeat(out);
  }
  return ParseExprStatement(out);
}

namespace {
// An empty block where a statement is required stands as an empty statement.
QX_Expression* OrNop(QX_Expression* s) { return s ? s : new QX_NopExpr; }
}  // namespace

QX_Error QX_Parser::ParseIf(Out out) {
  out = nullptr;
  QX_Expression *c = nullptr, *s1 = nullptr, *s2 = nullptr;
  QX_Error e = Next();
  if (!e) e = ParseAssignment(c);
  if (!e) e = actTok.tokID != 62 ? QX_Err(27) : Next();
  if (!e) e = ParseStatement(s1);
  if (!e && actTok.tokID == 63) {
    e = Next();
    if (!e) e = ParseStatement(s2);
  }
  if (e) {
    QX_Delete(c);
    QX_Delete(s1);
    QX_Delete(s2);
    return e;
  }
  return Built(new QX_CondExpr(c, OrNop(s1), s2), out);
}

QX_Error QX_Parser::ParseWhile(Out out) {
  out = nullptr;
  QX_Expression *c = nullptr, *s = nullptr;
  QX_Error e = Next();
  if (!e) e = ParseAssignment(c);
  if (!e) e = actTok.tokID != 71 ? QX_Err(28) : Next();
  if (!e) e = ParseStatement(s);
  if (e) {
    QX_Delete(c);
    QX_Delete(s);
    return e;
  }
  return Built(new QX_WhileExpr(c, OrNop(s)), out);
}

QX_Error QX_Parser::ParseRepeat(Out out) {
  out = nullptr;
  QX_Expression *c = nullptr, *s = nullptr;
  QX_Error e = Next();
  if (!e) e = ParseStatement(s);
  if (!e) e = actTok.tokID != 73 ? QX_Err(29) : Next();
  if (!e) e = ParseAssignment(c);
  if (!e) e = actTok.tokID != 60 ? QX_Err(30) : Next();
  if (e) {
    QX_Delete(c);
    QX_Delete(s);
    return e;
  }
  return Built(new QX_RepeatExpr(OrNop(s), c), out);
}

QX_Error QX_Parser::ParseDeclaration(Out out) {
  out = nullptr;
  const bool global = actTok.tokID == 68;
  if (global) {
    if (QX_Error e = Next()) return e;
    if (actTok.tokID != 69) return QX_Err(11);
  }
  QX_Error e = Next();
  QX_VarRecord* var = nullptr;
  if (actTok.tokID == QX_SYM_VARIABLE) {
    var = static_cast<QX_VarRecord*>(actTok.sym->pntr);
  } else if (e == QX_Err(15)) {
    QX_Expression* zero = new QX_NumExpr(0);
    e = db_->AddVariable(actTok.text, global, zero, &var);
    if (e) {
      QX_Delete(zero);
      return e;
    }
  } else if (e) {
    return e;
  } else {
    return QX_Err(12);
  }
  if ((e = Next())) return e;
  if (actTok.tokID != 64) return QX_Err(26);
  if ((e = Next())) return e;
  QX_Expression* value = nullptr;
  if ((e = ParseExprStatement(value))) return e;
  return Built(new QX_AssExpr(new QX_VarExpr(var), value), out);
}

QX_Error QX_Parser::ParseExprStatement(Out out) {
  out = nullptr;
  QX_Expression* e0 = nullptr;
  QX_Error e = ParseAssignment(e0);
  if (!e) e = actTok.tokID != 60 ? QX_Err(30) : Next();
  if (e) {
    QX_Delete(e0);
    return e;
  }
  out = e0;
  return nullptr;
}

QX_Error QX_Parser::ParseAssignment(Out out) {
  out = nullptr;
  QX_Nest nest(*this);
  if (QX_Error e = Enter()) return e;
  QX_Expression *a = nullptr, *b = nullptr;
  if (QX_Error e = ParseConditional(a)) return e;
  if (actTok.tokID != 64) {
    out = a;
    return nullptr;
  }
  QX_Error e = a->canAss() ? Next() : QX_Err(25);
  if (!e) e = ParseAssignment(b);
  if (e) {
    QX_Delete(a);
    return e;
  }
  return Built(new QX_AssExpr(a, b), out);
}

QX_Error QX_Parser::ParseConditional(Out out) {
  out = nullptr;
  QX_Expression *c = nullptr, *x = nullptr, *y = nullptr;
  if (QX_Error e = ParseOr(c)) return e;
  if (actTok.tokID != 10) {
    out = c;
    return nullptr;
  }
  QX_Error e = Next();
  if (!e) e = ParseAssignment(x);
  if (!e) e = actTok.tokID != 11 ? QX_Err(31) : Next();
  if (!e) e = ParseAssignment(y);
  if (e) {
    QX_Delete(c);
    QX_Delete(x);
    QX_Delete(y);
    return e;
  }
  return Built(new QX_IfExpr(c, x, y), out);
}


QX_Error QX_Parser::ParseOr(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  if (QX_Error e = ParseAnd(a)) return e;
  while (actTok.tokID == 13) {
    QX_Expression* b = nullptr;
    QX_Error e = Next();
    if (!e) e = ParseAnd(b);
    if (!e) e = Built(new QX_OrExpr(a, b), a);
    else QX_Delete(a);
    if (e) return e;
  }
  out = a;
  return nullptr;
}

QX_Error QX_Parser::ParseAnd(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  if (QX_Error e = ParseComparison(a)) return e;
  while (actTok.tokID == 12) {
    QX_Expression* b = nullptr;
    QX_Error e = Next();
    if (!e) e = ParseComparison(b);
    if (!e) e = Built(new QX_AndExpr(a, b), a);
    else QX_Delete(a);
    if (e) return e;
  }
  out = a;
  return nullptr;
}

QX_Error QX_Parser::ParseComparison(Out out) {
  out = nullptr;
  QX_Expression *a = nullptr, *b = nullptr;
  if (QX_Error e = ParseConcat(a)) return e;
  if (!isCmpTok()) {
    out = a;
    return nullptr;
  }
  const int t = actTok.tokID;
  QX_Error e = Next();
  if (!e) e = ParseConcat(b);
  if (e) {
    QX_Delete(a);
    return e;
  }
  QX_Expression* n = nullptr;
  switch (t) {
    case 19: n = new QX_LtExpr(a, b); break;
    case 20: n = new QX_LeExpr(a, b); break;
    case 21: n = new QX_EqExpr(a, b); break;
    case 22: n = new QX_NeExpr(a, b); break;
    case 23: n = new QX_GeExpr(a, b); break;
    case 24: n = new QX_GtExpr(a, b); break;
    default: n = new QX_SearchExpr(a, b); break;
  }
  return Built(n, out);
}

QX_Error QX_Parser::ParseConcat(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  if (QX_Error e = ParseAdditive(a)) return e;
  while (actTok.tokID == 67) {
    QX_Expression* b = nullptr;
    QX_Error e = Next();
    if (!e) e = ParseAdditive(b);
    if (!e) e = Built(new QX_AppExpr(a, b), a);
    else QX_Delete(a);
    if (e) return e;
  }
  out = a;
  return nullptr;
}

QX_Error QX_Parser::ParseAdditive(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  if (QX_Error e = ParseMultiplicative(a)) return e;
  while (actTok.tokID == 16 || actTok.tokID == 15) {
    const bool plus = actTok.tokID == 16;
    QX_Expression* b = nullptr;
    QX_Error e = Next();
    if (!e) e = ParseMultiplicative(b);
    if (!e) e = Built(plus ? static_cast<QX_Expression*>(new QX_AddExpr(a, b)) : new QX_SubExpr(a, b), a);
    else QX_Delete(a);
    if (e) return e;
  }
  out = a;
  return nullptr;
}

QX_Error QX_Parser::ParseMultiplicative(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  if (QX_Error e = ParseUnary(a)) return e;
  while (actTok.tokID == 65 || actTok.tokID == 66) {
    const bool times = actTok.tokID == 65;
    QX_Expression* b = nullptr;
    QX_Error e = Next();
    if (!e) e = ParseUnary(b);
    if (!e) e = Built(times ? static_cast<QX_Expression*>(new QX_MulExpr(a, b)) : new QX_DivExpr(a, b), a);
    else QX_Delete(a);
    if (e) return e;
  }
  out = a;
  return nullptr;
}

QX_Error QX_Parser::ParseUnary(Out out) {
  out = nullptr;
  QX_Nest nest(*this);
  if (QX_Error e = Enter()) return e;
  if (!isUnaTok()) return ParsePrimary(out);
  const int t = actTok.tokID;
  if (QX_Error e = Next()) return e;
  if (t == 15 || t == 16) {
    // A sign belongs to a number literal and adds no node.
    if (actTok.tokID != 2) return QX_Err(3);
    const long double v = t == 15 ? -actTok.number : actTok.number;
    if (QX_Error e = Next()) return e;
    out = new QX_NumExpr(v);
    return nullptr;
  }
  QX_Expression* a = nullptr;
  if (QX_Error e = ParseUnary(a)) return e;
  QX_Expression* n = nullptr;
  switch (t) {
    case 14: n = new QX_NotExpr(a); break;
    case 26: n = new QX_UpcaseExpr(a); break;
    case 27: n = new QX_ToNumExpr(a); break;
    default: n = new QX_ToStrExpr(a); break;
  }
  return Built(n, out);
}

QX_Error QX_Parser::ParsePrimary(Out out) {
  out = nullptr;
  switch (actTok.tokID) {
    case 2:
    case 3: {
      QX_Expression* n = actTok.tokID == 2 ? static_cast<QX_Expression*>(new QX_NumExpr(actTok.number))
                                           : QX_StrExpr::Copy(actTok.text);
      if (!n) return QX_Err(0);
      if (QX_Error e = Next()) {
        QX_Delete(n);
        return e;
      }
      out = n;
      return nullptr;
    }
    case 29: return ParseParenthesis(out);
    case QX_SYM_FUNCTION: return ParseCall(out);
    case QX_SYM_VARIABLE: return ParseVariable(out);
  }
  if (isFldTok()) return ParseField(out);
  if (isOpnTok()) return ParseBuiltin(out);
  return QX_Err(24);
}

QX_Error QX_Parser::ParseParenthesis(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  QX_Error e = Next();
  if (!e) e = ParseAssignment(a);
  if (!e) e = actTok.tokID != 30 ? QX_Err(33) : Next();
  if (e) {
    QX_Delete(a);
    return e;
  }
  out = a;
  return nullptr;
}

QX_Error QX_Parser::ParseField(Out out) {
  if (actTok.tokID == 5) return ParseFieldArray(out);
  return ParseFieldIndex(out);
}

QX_Error QX_Parser::ParseFieldArray(Out out) {
  out = nullptr;
  QX_Expression* a = nullptr;
  QX_Error e = Next();
  if (!e) e = actTok.tokID != 34 ? QX_Err(34) : Next();
  if (!e) e = ParseAssignment(a);
  if (!e) e = actTok.tokID != 35 ? QX_Err(35) : Next();
  if (e) {
    QX_Delete(a);
    return e;
  }
  return Built(new QX_FArrExpr(owner_, a), out);
}

QX_Error QX_Parser::ParseFieldIndex(Out out) {
  out = nullptr;
  int32_t idx = 0;
  if (actTok.tokID == QX_SYM_FIELD) {
    idx = static_cast<QX_FldRecord*>(actTok.sym->pntr)->index;
  } else {
    if (QX_Error e = Next()) return e;
    if (actTok.tokID != 2) return QX_Err(3);
    if (QX_Error e = QX_Utilities::NumToInt(actTok.number, idx)) return e;
    if (idx < 0 || idx >= QX_FIELDS) return QX_Err(16);
  }
  if (QX_Error e = Next()) return e;
  out = new QX_FIdxExpr(owner_, idx);
  return nullptr;
}

QX_Error QX_Parser::ParseVariable(Out out) {
  out = nullptr;
  auto* var = static_cast<QX_VarRecord*>(actTok.sym->pntr);
  if (QX_Error e = Next()) return e;
  out = new QX_VarExpr(var);
  return nullptr;
}

QX_Error QX_Parser::ParseCall(Out out) {
  out = nullptr;
  auto* fnc = static_cast<QX_FncRecord*>(actTok.sym->pntr);
  QX_Expression* par[QX_PARMAX] = {};
  QX_Error e = Next();
  if (!e && fnc->npar > 0) {
    e = actTok.tokID != 29 ? QX_Err(36) : Next();
    for (int i = 0; i < fnc->npar && !e; ++i) {
      if (i > 0) e = actTok.tokID != 37 ? QX_Err(37) : Next();
      if (!e) e = ParseAssignment(par[i]);
    }
    if (!e) e = actTok.tokID != 30 ? QX_Err(38) : Next();
  }
  if (e) {
    for (auto& p : par) QX_Delete(p);
    return e;
  }
  return Built(new QX_FncExpr(fnc, par), out);
}

QX_Error QX_Parser::ParseBuiltin(Out out) {
  out = nullptr;
  const Builtin* b = FindBuiltin(actTok.tokID);
  QX_Expression *x = nullptr, *y = nullptr;
  QX_Error e = Next();
  if (!e) e = actTok.tokID != 29 ? QX_Err(36) : Next();
  if (!e) e = ParseAssignment(x);
  if (!e && b->f2) {
    e = actTok.tokID != 37 ? QX_Err(37) : Next();
    if (!e) e = ParseAssignment(y);
  }
  if (!e) e = actTok.tokID != 30 ? QX_Err(38) : Next();
  if (e) {
    QX_Delete(x);
    QX_Delete(y);
    return e;
  }
  if (b->f2) return Built(new QX_Opn2Expr(b->name, Routine2(*b), x, y), out);
  return Built(new QX_Opn1Expr(b->name, Routine1(*b), x), out);
}
