// TUSStrings: the program's small list of strings with index checks, and the
// splitter that cuts a delimited text into such a list.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/cstring.h"

class TUSStrings {
public:
  TUSStrings() : TUSStrings(kInitialCapacity, kGrowth) {}
  TUSStrings(int capacity, int growth);
  TUSStrings(const TUSStrings& other);
  TUSStrings& operator=(const TUSStrings& other);
  ~TUSStrings() = default;

  // Appends copies of all elements of `other`, in order.
  void Append(const TUSStrings& other);
  void Add(const string& s) { items_.push_back(s); }
  void Add(string&& s) { items_.push_back(std::move(s)); }
  // Removes the last element; nothing happens on an empty list.
  void RemoveLast() { if (!items_.empty()) items_.pop_back(); }
  void Flush() { items_.clear(); }

  int Count() const { return static_cast<int>(items_.size()); }
  int GetItemsInContainer() const { return Count(); }
  bool IsEmpty() const { return items_.empty(); }

  // Element access; an index outside 0..Count()-1 is reported and yields an
  // empty string.
  string& operator[](int index);
  const string& ItemAt(int index) const;

  // The list's flag byte (kept in memory only).
  uint8_t Flag = 0;

  static const int kInitialCapacity = 11;
  static const int kGrowth = 10;

private:
  std::vector<string> items_;
  string scratch_;  // what an out-of-range access yields
};

namespace tsl { class ByteStream; }

// The string list as the project's records store it: a signed 16-bit count,
// then that many short strings. Reading empties the list first and stops at
// the first string the stream no longer holds, keeping the ones read; a
// count of 0 or below is an empty list. Writing stores at most 32767
// strings, since a reader takes a larger count as negative.
void ReadStringArray(TUSStrings& list, tsl::ByteStream& f);
bool WriteStringArray(const TUSStrings& list, tsl::ByteStream& f);
const int kMaxStringArrayCount = 32767;

// Cuts `text` at every `delimiter`; each piece is stripped of blanks at both
// ends; an empty last piece is dropped. The caller owns the result.
std::unique_ptr<TUSStrings> SplitString(const string& text, char delimiter);
