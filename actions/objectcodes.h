// The object, message, sound and tooltip codes as the player runs them: the
// family routine over the open project (actions/core/objectcodes.h holds
// the codes themselves).
#pragma once
#include "actions/core/objectcodes.h"

class TBookStruct;

// The family's routine in the dispatcher's table.
void ObjectMessageFamily(TActionRun& run);

// The open project as the codes see it.
class TBookObjectMessageHost : public TObjectMessageHost {
public:
  explicit TBookObjectMessageHost(TBookStruct* book) : Book(book) {}
  void HideObject(uint32_t target) override;
  void ShowObject(uint32_t target) override;
  void StopAllSounds() override;
  void InformationBox(const std::string& caption, const std::string& text) override;
  void NotImplementedBox() override;
  void SetRepeatInterval(uint32_t milliseconds) override;
  std::optional<std::string> ObjectText(uint32_t target) override;
  void TextToClipboard(const std::string& text) override;
  void SetTooltips(bool on) override;

private:
  TBookStruct* Book;
};
