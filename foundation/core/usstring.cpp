#include "foundation/core/usstring.h"

#include <algorithm>

#include "foundation/core/check.h"
#include "foundation/core/streamenc.h"

namespace {
const char kUnit[] = "srcpool\\usstring";
const string kEmpty;
}  // namespace

TUSStrings::TUSStrings(int capacity, int /*growth: the vector grows as needed*/) {
  items_.reserve(capacity > 0 ? static_cast<size_t>(capacity) : 0);
}

TUSStrings::TUSStrings(const TUSStrings& other) : TUSStrings(kInitialCapacity, kGrowth) {
  Append(other);
  Flag = other.Flag;
}

TUSStrings& TUSStrings::operator=(const TUSStrings& other) {
  if (this != &other) {
    items_ = other.items_;
    Flag = other.Flag;
  }
  return *this;
}

void TUSStrings::Append(const TUSStrings& other) {
  if (this == &other) {
    const std::vector<string> copy = items_;
    items_.insert(items_.end(), copy.begin(), copy.end());
    return;
  }
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
}

string& TUSStrings::operator[](int index) {
  if (index < 0 || index >= Count()) {
    tsl::ReportCheckViolation("CheckIndex(loc)", kUnit, 33);
    scratch_ = string();
    return scratch_;
  }
  return items_[static_cast<size_t>(index)];
}

const string& TUSStrings::ItemAt(int index) const {
  if (index < 0 || index >= Count()) {
    tsl::ReportCheckViolation("CheckIndex(loc)", kUnit, 34);
    return kEmpty;
  }
  return items_[static_cast<size_t>(index)];
}

std::unique_ptr<TUSStrings> SplitString(const string& text, char delimiter) {
  auto list = std::make_unique<TUSStrings>();
  const std::string& s = text.str();
  size_t start = 0;
  for (;;) {
    const size_t cut = s.find(delimiter, start);
    const bool last = cut == std::string::npos;
    string piece = string(s.substr(start, last ? std::string::npos : cut - start)).strip(string::Both, ' ');
    if (last) {
      if (!piece.is_null()) list->Add(piece);
      break;
    }
    list->Add(piece);
    start = cut + 1;
  }
  return list;
}

void ReadStringArray(TUSStrings& list, tsl::ByteStream& f) {
  list.Flush();
  int16_t count = 0;
  if (!ReadFixed(&count, 2, f)) return;
  for (int i = 0; i < count; ++i) {
    // A string needs at least its two length bytes; a list that claims more
    // strings than the stream holds ends where the stream does.
    const int64_t left = f.Remaining();
    if (left >= 0 && left < 2) break;
    string s;
    ReadShortString(s, f);
    list.Add(s);
  }
}

bool WriteStringArray(const TUSStrings& list, tsl::ByteStream& f) {
  const int count = std::min(list.Count(), kMaxStringArrayCount);
  const int16_t n = static_cast<int16_t>(count);
  bool ok = WriteFixed(&n, 2, f);
  for (int i = 0; i < count; ++i) ok = WriteShortString(list.ItemAt(i), f) && ok;
  return ok;
}
