// GoogleTest for winelib test units. winegcc and the Windows headers define
// _WIN32/_WIN64, which would send gtest down its Windows branches while the
// library is the Linux one: hide them while gtest's headers are read.
#pragma once
#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#include <gtest/gtest.h>
#pragma pop_macro("WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")
#include <windows.h>
