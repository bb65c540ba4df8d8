// Basic types of the framework layer: message parameter and result types,
// resource ids that are either numbers or names, and the auto-delete switch
// of the handle wrappers.
#pragma once
// windows.h must not define min and max: the standard library uses the names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>

typedef unsigned int uint;
typedef LRESULT TResult;
typedef WPARAM TParam1;
typedef LPARAM TParam2;

// Whether a wrapper destroys the handle it was given.
enum TAutoDelete { NoAutoDelete, AutoDelete };

// A resource identifier: an integer id or a name. Names are not copied; they
// must outlive the TResId (string literals, as resource names usually are).
class TResId {
public:
  TResId() = default;
  TResId(const char* name) : Id(name) {}
  TResId(int id) : Id(MAKEINTRESOURCEA(id)) {}
  TResId(unsigned id) : Id(MAKEINTRESOURCEA(id)) {}
  TResId(uint16_t id) : Id(MAKEINTRESOURCEA(id)) {}

  operator LPCSTR() const { return Id; }
  bool IsNull() const { return Id == nullptr; }
  bool IsString() const { return Id && !IS_INTRESOURCE(Id); }
  uint16_t GetInt() const { return static_cast<uint16_t>(reinterpret_cast<uintptr_t>(Id)); }

private:
  LPCSTR Id = nullptr;
};
