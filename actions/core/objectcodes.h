// The small codes that act on one object of the page or on the player's own
// switches: hiding and showing an object, switching sound off, the author's
// message box, the repeat interval, the not-implemented notice and the
// tooltip switch.
// Portable: what the codes need of the open project comes through
// TObjectMessageHost (the player's over TBookStruct, the tests' fakes).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "actions/core/dispatch.h"

class TObjectMessageHost {
public:
  virtual ~TObjectMessageHost() = default;
  // Hide (erase, update) and Show (update, force) on the object numbered
  // `target` of the current page; nothing when there is none.
  virtual void HideObject(uint32_t target) = 0;
  virtual void ShowObject(uint32_t target) = 0;
  virtual void StopAllSounds() = 0;
  // An information box owned by the page window.
  virtual void InformationBox(const std::string& caption, const std::string& text) = 0;
  // The interval of the first pending repeating database-navigation action.
  // "Diese Funktion ist noch nicht implementiert!" in an information box
  // owned by the page window, captioned with the program title.
  virtual void NotImplementedBox() = 0;
  virtual void SetRepeatInterval(uint32_t milliseconds) = 0;
  // The text code 72 copies from the object numbered `target`: a text
  // object's text, a document's plain text (its file's, for a file
  // reference) or its stored source; nothing for a missing object or one of
  // another kind.
  virtual std::optional<std::string> ObjectText(uint32_t target) = 0;
  // Opens the clipboard for the page window, empties it, puts a non-empty
  // `text` on it as CF_TEXT and closes it again on every path.
  virtual void TextToClipboard(const std::string& text) = 0;
  // Sets the tooltip switch, which every page build hands to its page's
  // tooltips, and hands it to the current page's tooltips at once.
  virtual void SetTooltips(bool on) = 0;
};

// Runs one code of the family on the dispatcher's copy of the action.
void RunObjectMessageCode(TActionRun& run, TObjectMessageHost& host);
