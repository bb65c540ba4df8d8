#include "database/core/qxlibc.h"

#include <dlfcn.h>

#include <cfenv>
#include <cstdio>
#include <cstdlib>

namespace qxlibc {
namespace {

void* Library(const char* soname) {
  void* h = dlopen(soname, RTLD_NOW | RTLD_NOLOAD);
  return h ? h : dlopen(soname, RTLD_NOW);
}
void* Libc() {
  static void* h = Library("libc.so.6");
  return h;
}
void* Libm() {
  static void* h = Library("libm.so.6");
  return h;
}
template <class F>
F Symbol(void* lib, const char* name) {
  return lib ? reinterpret_cast<F>(dlsym(lib, name)) : nullptr;
}

using StrtoldFn = long double (*)(const char*, char**);
using SnprintfFn = int (*)(char*, size_t, const char*, ...);
using FeFn = int (*)(int);

}  // namespace

long double StrToLd(const char* text, char** end) {
  static const StrtoldFn f = Symbol<StrtoldFn>(Libc(), "strtold");
  return f ? f(text, end) : std::strtold(text, end);
}

int FormatLd(char* buf, size_t size, const char* format, long double v) {
  static const SnprintfFn f = Symbol<SnprintfFn>(Libc(), "snprintf");
  return f ? f(buf, size, format, v) : std::snprintf(buf, size, format, v);
}

void ClearFlags() {
  static const FeFn f = Symbol<FeFn>(Libm(), "feclearexcept");
  if (f) f(FE_ALL_EXCEPT);
  else std::feclearexcept(FE_ALL_EXCEPT);
}

bool DivByZeroRaised() {
  static const FeFn f = Symbol<FeFn>(Libm(), "fetestexcept");
  return (f ? f(FE_DIVBYZERO) : std::fetestexcept(FE_DIVBYZERO)) != 0;
}

#if defined(__x86_64__) || defined(__i386__)
ExtendedPrecision::ExtendedPrecision() {
  __asm__ volatile("fnstcw %0" : "=m"(saved_));
  const unsigned short extended = static_cast<unsigned short>(saved_ | 0x0300);  // precision control 11
  __asm__ volatile("fldcw %0" : : "m"(extended));
}
ExtendedPrecision::~ExtendedPrecision() { __asm__ volatile("fldcw %0" : : "m"(saved_)); }
#else
ExtendedPrecision::ExtendedPrecision() {}
ExtendedPrecision::~ExtendedPrecision() {}
#endif

Fn1 Math1(const char* name) { return Symbol<Fn1>(Libm(), name); }
Fn2 Math2(const char* name) { return Symbol<Fn2>(Libm(), name); }

}  // namespace qxlibc
