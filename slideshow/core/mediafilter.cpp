#include "slideshow/core/mediafilter.h"

#include <vector>

#include "foundation/core/mediakind.h"
#include "imaging/core/picname.h"

namespace {
// Collects extensions for a pattern; the Add* helpers fill it.
struct TPattern {
  std::vector<std::string> items;
  void Add(const tsl::string& ext) { items.push_back(ext.str()); }
  std::string Joined() const {
    std::string out;
    for (const std::string& e : items) {
      if (!out.empty()) out += ';';
      out += '*' + e;
    }
    return out;
  }
};

void AddPictures(TPattern& p) {
  TArrayAsVector<string> list;
  AddPictureExtensions(list);
  for (int i = 0; i < list.GetItemsInContainer(); ++i) p.Add(list[i]);
}

void Group(std::string& filter, const char* label, const TPattern& p) {
  filter += label;
  filter += p.Joined();
  filter += '|';
}
}  // namespace

std::string BuildMediaFilter(uint32_t kinds) {
  std::string f;
  auto has = [kinds](uint32_t bit) { return (kinds & bit) != 0; };
  if (has(mkFlash)) f += "Shockwave-Flash-Dateien|*.swf|";
  if (has(mkPictures)) {
    TPattern p;
    AddPictures(p);
    Group(f, "Bitmap-Dateien|", p);
  }
  if (has(mkWebPictures)) {
    TPattern p;
    AddWebPictureExtensions(p);
    Group(f, "Webfreundliche-Dateien|", p);
  }
  if (has(mkText)) {
    TPattern p;
    AddTextExtensions(p);
    Group(f, "Text- oder RTF-Dateien|", p);
  }
  if (has(mkRtf)) f += "RTF-Dateien|*.rtf|";
  if (has(mkWebPages)) f += "Webseiten|*.htm;*.html|";
  if (has(mkAudio)) {
    TPattern p;
    AddAudioExtensions(p);
    Group(f, "Audio-Formate|", p);
  }
  if (has(mkFlic)) {
    TPattern p;
    AddFlicExtensions(p);
    Group(f, "AutoDesk Animationen|", p);
  }
  if (has(mkAnimation)) {
    TPattern p;
    AddAnimationExtensions(p);
    Group(f, "TSL Animationen|", p);
  }
  if (has(mkVideo)) {
    TPattern p;
    AddVideoExtensions(p);
    Group(f, "Video-Formate|", p);
  }
  if (has(mkAudioVideo)) {
    TPattern p;
    AddAudioExtensions(p);
    AddVideoExtensions(p);
    Group(f, "Unterst\xFCtzte Formate|", p);
  }
  if (has(mkAllSupported)) {
    TPattern p;
    AddAudioExtensions(p);
    AddVideoExtensions(p);
    AddPictures(p);
    AddTextExtensions(p);
    AddFlicExtensions(p);
    AddAnimationExtensions(p);
    p.Add(".htm");
    p.Add(".html");
    Group(f, "Unterst\xFCtzte Formate|", p);
  }
  f += "Alle Dateien (*.*)|*.*|";
  return f;
}

bool IsMediaTextMode(uint32_t kinds) {
  return (kinds & (mkText | mkRtf | mkWebPages)) != 0 || kinds == mkAllSupported;
}

bool IsMediaTextOnly(uint32_t kinds) { return kinds == mkText || kinds == mkRtf || kinds == mkWebPages; }

int MediaTemplateId(uint32_t kinds) {
  return IsMediaTextMode(kinds) ? kMediaTemplateText : kMediaTemplatePictures;
}

bool WantsMediaBrowser(uint32_t kinds) {
  return ((kinds & mkWebPages) != 0 || kinds == mkAllSupported) && IsMediaTextMode(kinds);
}
