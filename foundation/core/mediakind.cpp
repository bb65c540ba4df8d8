#include "foundation/core/mediakind.h"

#include "foundation/core/pathstr.h"
#include "foundation/core/usstring.h"

namespace tsl {

namespace {
const char* const kText[] = {".rtf", ".txt"};
const char* const kWebPicture[] = {".gif", ".jpg"};
const char* const kAnimation[] = {".gif", ".abp", ".flx"};
const char* const kFlic[] = {".fli", ".flc"};
const char* const kAudio[] = {".mid", ".mp3", ".wav", ".au", ".snd", ".ra",
                              ".rmi", ".wma", ".wmv", ".aif", ".aifc", ".aiff"};
const char* const kVideo[] = {".dat", ".mpg", ".mpeg", ".mp2", ".mpv", ".mpa", ".mpe", ".avi",
                              ".mov", ".qt", ".asx", ".ram", ".rm", ".rmm", ".asf"};
template <size_t N>
ExtensionList Of(const char* const (&a)[N]) { return {a, N}; }
}  // namespace

ExtensionList TextExtensions() { return Of(kText); }
ExtensionList WebPictureExtensions() { return Of(kWebPicture); }
ExtensionList AnimationExtensions() { return Of(kAnimation); }
ExtensionList FlicExtensions() { return Of(kFlic); }
ExtensionList AudioExtensions() { return Of(kAudio); }
ExtensionList VideoExtensions() { return Of(kVideo); }

}  // namespace tsl

bool IsMediaFile(const char* name) {
  if (!name) return false;
  TUSStrings list;
  AddAudioExtensions(list);
  AddVideoExtensions(list);
  for (int i = 0; i < list.Count(); ++i)
    if (ContainsNoCase(name, list.ItemAt(i).c_str())) return true;
  return false;
}

bool IsTextFile(const char* name) {
  if (!name) return true;
  return ContainsNoCase(name, ".RTF") || ContainsNoCase(name, ".TXT");
}
