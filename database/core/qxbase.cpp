#include "database/core/qxbase.h"

#include <cerrno>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

#include "database/core/qxlibc.h"
#include "foundation/core/check.h"

// Code page 1252, as the player shows them.
const char* const QX_ErrDefs[QX_ERRCOUNT] = {
    "Speicherreservierung fehlgeschlagen",
    "keine g\xFC" "ltige Abfrage definiert",
    "leerer Eingabestring",
    "numerisches Argument erwartet",
    "Gleitkomma-Argument nicht im erlaubten Bereich",
    "Gleitkomma-Wertebereich \xFC" "berschritten",
    "Gleitkomma-Wertebereich unterschritten",
    "Division durch 0",
    "Arithmetischer Fehler",
    "Integer-Wertebereich \xFC" "berschritten",
    "String-Argument erwartet",
    "'var' erwartet",
    "Variablen-Name erwartet",
    "maximal m\xF6" "gliche Anzahl an Definitionen \xFC" "berschritten",
    "Identifier ist bereits definiert",
    "unbekannter Identifier",
    "illegaler Feldindex",
    "Feld-Zugriff fehlgeschlagen",
    "Zuweisung fehlgeschlagen",
    "Zuweisung an schreibgesch\xFC" "tztes Feld",
    "Eingabe-Name zu lang",
    "Eingabe-String zu lang",
    "fehlendes Anf\xFC" "hrungszeichen am Stringende",
    "illegales Zeichen",
    "Syntax Fehler",
    "illegale Zuweisung",
    "':=' Zuweisung",
    "'dann' erwartet",
    "'mache' erwartet",
    "'bis' erwartet",
    "';' erwartet",
    "':' erwartet",
    "'}' erwartet",
    "')' erwartet",
    "'[' erwartet",
    "']' erwartet",
    "'(' als Anfang der Parameterliste erwartet",
    "',' bzw. Parameter erwartet",
    "')' als Ende der Parameterliste erwartet",
    "Abbruch durch Benutzer!",
};

int QX_ErrNumber(QX_Error e) {
  for (int i = 0; i < QX_ERRCOUNT; ++i)
    if (QX_ErrDefs[i] == e) return i;
  return -1;
}

void QX_AssertFail(const char* condition, int line) { tsl::ReportCheckViolation(condition, "qx_expr", line); }

namespace {
bool IsBlank(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the decimal literal at `s` (optional sign, digits, optional
// fraction, optional exponent), 0 when there is none. strtold alone would
// also take "inf", "nan" and hexadecimal forms.
size_t DecimalPrefix(const char* s) {
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (IsDigit(s[i])) ++i, ++digits;
  if (s[i] == '.') {
    ++i;
    while (IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (s[i] == 'e' || s[i] == 'E') {
    size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') ++j;
    if (IsDigit(s[j])) {
      while (IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}
}  // namespace

void QX_Utilities::ClearMathErrors() {
  errno = 0;
  qxlibc::ClearFlags();
}

QX_Error QX_Utilities::FloatError(long double v) {
  const int e = errno;
  // glibc reports a pole (log(0), pow(0, -1)) as ERANGE; the language counts
  // it as an argument outside the domain, as the divide-by-zero flag tells.
  if (e == EDOM || std::isnan(v)) return QX_Err(4);
  if (e == ERANGE && qxlibc::DivByZeroRaised()) return QX_Err(4);
  if (e == ERANGE || v > LDBL_MAX || v < -LDBL_MAX) return v == 0 ? QX_Err(6) : QX_Err(5);
  return QX_Err(3);
}

QX_Error QX_Utilities::MathResult(long double v) {
  if (errno != 0 || !std::isfinite(v)) return FloatError(v);
  return nullptr;
}

QX_Error QX_Utilities::StrToNum(const char* text, long double& out) {
  while (IsBlank(static_cast<unsigned char>(*text))) ++text;
  out = 0;
  const size_t n = DecimalPrefix(text);
  if (n == 0) return nullptr;
  const std::string lit(text, n);
  ClearMathErrors();
  const long double v = qxlibc::StrToLd(lit.c_str(), nullptr);
  if (errno != 0) {
    out = 0;
    return FloatError(v);
  }
  out = v;
  return nullptr;
}

QX_Error QX_Utilities::NumToInt(long double v, int32_t& out) {
  if (!(v <= 2147483647.0L && v >= -2147483648.0L)) return QX_Err(9);
  out = static_cast<int32_t>(v);
  return nullptr;
}

void QX_Utilities::NumToStr(long double v, char* buf) { qxlibc::FormatLd(buf, 32, "%.18Lg", v); }

void QX_Utilities::Indent(std::ostream& os, int n) {
  for (int i = 0; i < n; ++i) os << "  ";
}

namespace {
int64_t g_budget = QX_EVALBUDGET;
uint64_t g_textRest = 0;  // bytes not yet charged as a whole step
}  // namespace

namespace {
uint64_t g_held = 0;
}  // namespace

bool QX_MayHold(uint64_t add, uint64_t drop) { return g_held - (drop < g_held ? drop : g_held) + add <= QX_MAXHELD; }

void QX_Hold(uint64_t add, uint64_t drop) { g_held = g_held - (drop < g_held ? drop : g_held) + add; }

void QX_ResetBudget() {
  g_budget = QX_EVALBUDGET;
  g_textRest = 0;
}

QX_Error QX_Charge(int64_t steps) {
  if (g_budget < steps) {
    g_budget = 0;
    return QX_Err(39);
  }
  g_budget -= steps;
  return nullptr;
}

QX_Error QX_ChargeText(uint64_t bytes) {
  g_textRest += bytes;
  const uint64_t steps = g_textRest / QX_BYTESPERSTEP;
  g_textRest %= QX_BYTESPERSTEP;
  return QX_Charge(static_cast<int64_t>(steps));
}
