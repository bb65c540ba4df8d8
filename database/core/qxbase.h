// The query language's error values, limits and number conversions. An error
// is a pointer to one message of QX_ErrDefs (null for success) and is
// compared by identity. Portable: no Windows headers; numbers are the 80-bit
// long double of the native compiler, never routed through Wine's msvcrt
// (whose printf and strtold treat long double as double).
#pragma once
#include <cstdint>
#include <iosfwd>

using QX_Error = const char*;

constexpr int QX_ERRCOUNT = 40;
extern const char* const QX_ErrDefs[QX_ERRCOUNT];
inline QX_Error QX_Err(int n) { return QX_ErrDefs[n]; }
// The number of an error value, or -1 for success and foreign pointers.
int QX_ErrNumber(QX_Error e);

// A function takes at most QX_PARMAX - 1 parameters.
constexpr int QX_PARMAX = 4;
// Addressable record fields: only index 0.
constexpr int32_t QX_FIELDS = 1;

// Bounds for typed input (the search field reaches the parser unescaped):
// nesting and tree depth, names per table, the work of one evaluation (each
// loop pass costs the nodes it runs, text costs a step per 512 bytes it
// copies, compares or scans) and the size of one text value.
constexpr int QX_MAXDEPTH = 256;
constexpr uint32_t QX_MAXNAMES = 4096;
constexpr int64_t QX_EVALBUDGET = 250000;
constexpr uint32_t QX_BYTESPERSTEP = 512;
constexpr uint64_t QX_MAXTEXT = 16u * 1024u * 1024u;

// Reports a violated internal contract (never reached from input).
void QX_AssertFail(const char* condition, int line);
#define QX_ASSERT(c) ((c) ? true : (QX_AssertFail(#c, __LINE__), false))

class QX_Utilities {
public:
  // Leading blanks (space, 9..13) skipped; an empty rest or a text without a
  // decimal prefix gives 0; trailing text is ignored.
  static QX_Error StrToNum(const char* text, long double& out);
  // The error of the library call just made (errno and the floating-point
  // exception flags, cleared by ClearMathErrors before it), given its result.
  static QX_Error FloatError(long double value);
  static void ClearMathErrors();
  // Error 4, 5 or 6 when the last call failed, else null.
  static QX_Error MathResult(long double value);
  static QX_Error NumToInt(long double v, int32_t& out);
  // "%.18Lg" into `buf` (at least 32 bytes).
  static void NumToStr(long double v, char* buf);
  static void Indent(std::ostream& os, int n);
};

// The evaluation budget: loop passes and the bytes of text built. Reset by
// the facade before each evaluation; null when there is room, else error 39.
void QX_ResetBudget();
// Text held by variables of all tables, run-wide: variables outlive their
// evaluation (global ones the query), so their sum is bounded too.
constexpr uint64_t QX_MAXHELD = 64u * 1024u * 1024u;
bool QX_MayHold(uint64_t add, uint64_t drop);
void QX_Hold(uint64_t add, uint64_t drop);
QX_Error QX_Charge(int64_t steps);
QX_Error QX_ChargeText(uint64_t bytes);
