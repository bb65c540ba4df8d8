// glibc's own routines for 80-bit numbers. Under winelib the C library calls
// of a unit bind to Wine's msvcrt, whose printf and strtold treat long double
// as double (and whose math and floating-point flags are its own): the query
// language takes these from glibc by name, natively and under Wine alike.
#pragma once
#include <cstddef>

namespace qxlibc {

long double StrToLd(const char* text, char** end);
// "%.18Lg" (or any format of one long double) into buf.
int FormatLd(char* buf, size_t size, const char* format, long double v);
void ClearFlags();
bool DivByZeroRaised();

using Fn1 = long double (*)(long double);
using Fn2 = long double (*)(long double, long double);
// glibc's libm routine of that name ("sqrtl"), null when it is missing.
Fn1 Math1(const char* name);
Fn2 Math2(const char* name);

// Sets the x87 unit to its 64-bit mantissa while it lives: Windows threads
// (and so Wine's) run it at 53 bits, which makes every long double
// operation a double one.
class ExtendedPrecision {
public:
  ExtendedPrecision();
  ~ExtendedPrecision();
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

private:
  unsigned short saved_ = 0;
};

}  // namespace qxlibc
