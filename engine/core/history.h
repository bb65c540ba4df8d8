// Navigation history: a back stack and a forward stack of steps. A step is a
// list of entries, each saying how to restore one thing (the page, the
// database record, both, or a document object's file). Each stack holds at
// most 25 steps; a push onto a full stack drops the oldest.
// Portable: the replay of an entry belongs to the open project.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "platform/core/containers.h"
#include "platform/core/cstring.h"

// Entry kinds.
enum : uint32_t { kUndoPage = 0, kUndoRecord = 1, kUndoDocument = 2, kUndoPageRecord = 3 };

struct TUndoActionInfo {
  TUndoActionInfo() = default;
  TUndoActionInfo(uint32_t kind, int32_t page, int32_t record, int32_t object, const string& file = string())
      : Kind(kind), Page(page), Record(record), Object(object), File(file) {}

  uint32_t Kind = kUndoPage;
  int32_t Page = -1;    // page index (kinds 0 and 3)
  int32_t Record = -1;  // database record id (kinds 1 and 3)
  int32_t Object = -1;  // document object number (kind 2)
  string File;          // the file the document object showed (kind 2)
};

using TUndoStep = TIArrayAsVector<TUndoActionInfo>;

constexpr int kHistoryDepth = 25;

class THistoryStack {
public:
  THistoryStack();
  THistoryStack(const THistoryStack&) = delete;
  THistoryStack& operator=(const THistoryStack&) = delete;

  // Opens a new, empty step and returns it; on a full stack the oldest step
  // goes and the others keep their order.
  TUndoStep& Push();
  // The current step; null while the stack is empty.
  TUndoStep* Current();
  int32_t Index() const { return Index_; }
  // Empties the current step and makes the one below it current.
  void Pop();
  // Empties every step; the stack is then empty.
  void Clear();
  // The list of step `i` (0 the oldest), for tests.
  const TUndoStep& Step(int i) const { return *Steps[static_cast<size_t>(i)]; }

private:
  std::array<std::unique_ptr<TUndoStep>, kHistoryDepth> Steps;
  int32_t Index_ = -1;
};
