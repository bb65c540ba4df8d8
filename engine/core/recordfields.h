// The values a database record hands to the page's field-bound objects.
// Portable.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/core/cstring.h"

// One field of the database: the name of the objects it fills and the
// column of its value in a data record's value list.
struct TFieldBinding {
  string Name;
  uint16_t Column = 0xFFFF;
};

// Column number of a field without a column.
constexpr uint16_t kNoFieldColumn = 0xFFFF;

// (field name, value with blanks stripped at both ends) for field i, i
// below both the number of fields and the number of values. A field whose
// column is kNoFieldColumn or lies beyond the value list is skipped.
std::vector<std::pair<string, string>> BoundFieldValues(const std::vector<TFieldBinding>& fields,
                                                        const std::vector<string>& values);
