// The media file-open dialog's choices that need no window: the file-type
// filter built from the caller's media kinds, and which child template and
// text mode the kinds select. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

enum TMediaKinds : uint32_t {
  mkPictures = 0x001,
  mkText = 0x002,
  mkAudio = 0x004,
  mkFlic = 0x008,
  mkAnimation = 0x010,
  mkVideo = 0x020,
  mkRtf = 0x040,
  mkWebPictures = 0x080,
  mkAllSupported = 0x100,
  mkAudioVideo = 0x200,
  mkWebPages = 0x400,
  mkFlash = 0x800,
};

// The two child templates: the picture one and the larger one with a text
// area.
constexpr int kMediaTemplatePictures = 1510;
constexpr int kMediaTemplateText = 1520;

// The filter as the file dialogs take it: label, "|", pattern, "|" per
// group. Groups follow a fixed order, the last one is always "Alle Dateien
// (*.*)|*.*|", and an extension that two lists share stands twice.
std::string BuildMediaFilter(uint32_t kinds);
// The text area is wanted: text, RTF or web pages are asked for, or the
// mask is mkAllSupported alone.
bool IsMediaTextMode(uint32_t kinds);
// Only text is asked for: the preview pane has nothing to show.
bool IsMediaTextOnly(uint32_t kinds);
int MediaTemplateId(uint32_t kinds);
// A browser element is made (with a text area to host it).
bool WantsMediaBrowser(uint32_t kinds);
