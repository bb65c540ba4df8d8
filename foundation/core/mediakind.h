// Media file kinds by name: the extension lists that the media dialogs offer
// and the two name tests. The tests are case-insensitive substring tests:
// "notes.au.txt" is a media file because ".au" occurs in it.
// Portable: no Windows headers.
#pragma once
#include <cstddef>

#include "platform/core/cstring.h"

namespace tsl {
// One list of extensions, lower case, in the order the lists are appended.
struct ExtensionList {
  const char* const* items;
  size_t count;
};
ExtensionList TextExtensions();
ExtensionList WebPictureExtensions();
ExtensionList AnimationExtensions();
ExtensionList FlicExtensions();
ExtensionList AudioExtensions();  // includes ".wmv"
ExtensionList VideoExtensions();

template <class List>
void AppendExtensions(List& list, ExtensionList ext) {
  for (size_t i = 0; i < ext.count; ++i) list.Add(string(ext.items[i]));
}
}  // namespace tsl

// Append the kind's extensions to a string list (TUSStrings or a string
// array with Add); nothing is removed or de-duplicated.
template <class List>
void AddTextExtensions(List& list) { tsl::AppendExtensions(list, tsl::TextExtensions()); }
template <class List>
void AddWebPictureExtensions(List& list) { tsl::AppendExtensions(list, tsl::WebPictureExtensions()); }
template <class List>
void AddAnimationExtensions(List& list) { tsl::AppendExtensions(list, tsl::AnimationExtensions()); }
template <class List>
void AddFlicExtensions(List& list) { tsl::AppendExtensions(list, tsl::FlicExtensions()); }
template <class List>
void AddAudioExtensions(List& list) { tsl::AppendExtensions(list, tsl::AudioExtensions()); }
template <class List>
void AddVideoExtensions(List& list) { tsl::AppendExtensions(list, tsl::VideoExtensions()); }

// An audio or video extension occurs in the name; false for null.
bool IsMediaFile(const char* name);
// ".RTF" or ".TXT" occurs in the name; true for null.
bool IsTextFile(const char* name);
