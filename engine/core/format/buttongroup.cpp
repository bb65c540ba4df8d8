#include "engine/core/format/buttongroup.h"

#include "engine/core/format/objectrecords.h"

void PressGroupDefaults(const std::vector<TGroupButton*>& objects) {
  TLongArray handled;
  for (TGroupButton* b : objects) {
    if (!b) continue;
    const uint16_t group = b->GetButtonGroup();
    int at;
    if (group == kNoButtonGroup || !b->IsGroupDefault() || handled.Find(group, at)) continue;
    handled.Add(group);
    b->SetGroupState(true);
    ReleaseButtonGroup(objects, *b);
  }
}

void ReleaseButtonGroup(const std::vector<TGroupButton*>& objects, const TGroupButton& button) {
  const uint16_t group = button.GetButtonGroup();
  if (group == kNoButtonGroup) return;
  for (TGroupButton* b : objects)
    if (b && b->GetObjectNumber() != button.GetObjectNumber() && b->GetButtonGroup() == group)
      b->SetGroupState(false);
}
