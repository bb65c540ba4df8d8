#include "engine/core/history.h"

THistoryStack::THistoryStack() {
  for (auto& s : Steps) s = std::make_unique<TUndoStep>(11, 0, 10);
}

TUndoStep& THistoryStack::Push() {
  ++Index_;
  if (Index_ < kHistoryDepth) return *Steps[static_cast<size_t>(Index_)];
  Steps[0]->Flush(tsl::DeleteType::Delete);
  for (size_t i = 1; i < Steps.size(); ++i) {
    TUndoStep& from = *Steps[i];
    TUndoStep& to = *Steps[i - 1];
    while (from.GetItemsInContainer() > 0) {
      TUndoActionInfo* e = from[0];
      from.Detach(0, tsl::DeleteType::NoDelete);
      to.Add(e);
    }
  }
  Index_ = kHistoryDepth - 1;
  return *Steps[static_cast<size_t>(Index_)];
}

TUndoStep* THistoryStack::Current() { return Index_ >= 0 ? Steps[static_cast<size_t>(Index_)].get() : nullptr; }

void THistoryStack::Pop() {
  if (Index_ < 0) return;
  Steps[static_cast<size_t>(Index_)]->Flush(tsl::DeleteType::Delete);
  --Index_;
}

void THistoryStack::Clear() {
  for (auto& s : Steps) s->Flush(tsl::DeleteType::Delete);
  Index_ = -1;
}
