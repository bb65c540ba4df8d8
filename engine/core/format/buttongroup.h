// The page-start rule of radio-button groups: the first default button of
// each group is pressed and the others of its group released. The page
// manager hands the rule its objects through TGroupButton; objects that are
// no grouped button (every object until the button kind exists) answer
// group 0xFFFF and are never touched.
#pragma once
#include <cstdint>
#include <vector>

constexpr uint16_t kNoButtonGroup = 0xFFFF;

class TGroupButton {
public:
  virtual ~TGroupButton() = default;
  // The object's LinkTarget number.
  virtual uint32_t GetObjectNumber() const = 0;
  // The group of a button of kind 6, kNoButtonGroup for anything else.
  virtual uint16_t GetButtonGroup() const = 0;
  virtual bool IsGroupDefault() const = 0;
  // Sets state and down flag (pressed: 1, released: 0) and shows the button
  // again.
  virtual void SetGroupState(bool pressed) = 0;
};

// For each group in array order, its first default button is pressed and
// the rest of its group released.
void PressGroupDefaults(const std::vector<TGroupButton*>& objects);
// Releases every other button of `button`'s group (a different number, the
// same group); nothing for a button without a group.
void ReleaseButtonGroup(const std::vector<TGroupButton*>& objects, const TGroupButton& button);
