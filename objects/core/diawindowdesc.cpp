#include "objects/core/diawindowdesc.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "objects/core/diawindowdata.h"
#include "tools/core/desc/descwords.h"

// slides [folder "f"] [thumbs "f"] [ext "bmp"] [cell W H] [flags N]
//        [list C] [selection C] [viewer C]
//        [picture "file" [header "t"] [footer "t"] [sound "f"]]...
//        [endless 0|1] [transition KIND MS] [interval MS] [header "t"]
//        [footer "t"] [music "f" [once]] [keys NEXT PREVIOUS ABORT PAUSE SKIP]
//        [background C]
std::string SlidesStatementData(const std::vector<std::string>& w) {
  const auto fail = [](const std::string& why) { return TDescriptionFailure("slides: " + why); };
  TDiaWindowData d;
  const tsl::SizeL savedSize = TDiaWindowData::ThumbnailSize;
  tsl::SizeL size{kDiaDefaultThumbnail, kDiaDefaultThumbnail};
  TDiaFileInfo* last = nullptr;
  size_t i = 1;
  const auto text = [&]() -> string {
    if (i >= w.size() || !IsQuotedWord(w[i])) throw fail("a quoted text is missing after " + w[i - 1]);
    return string(UnquotedText(w[i++]));
  };
  const auto number = [&]() -> long {
    if (i >= w.size() || !IsNumberWord(w[i])) throw fail("a number is missing after " + w[i - 1]);
    const std::string& v = w[i++];
    if (v[0] != '#') return NumberOf(v);
    // #RRGGBB as the COLORREF 0x00BBGGRR.
    const unsigned long rgb = std::strtoul(v.c_str() + 1, nullptr, 16);
    return static_cast<long>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
  };
  while (i < w.size()) {
    const std::string k = w[i++];
    if (k == "folder") d.PictureFolder = text();
    else if (k == "thumbs") d.ThumbnailFolder = text();
    else if (k == "ext") d.ThumbnailExtension = text();
    else if (k == "cell") { size.cx = number(); size.cy = number(); }
    else if (k == "flags") d.Flags = static_cast<uint32_t>(number());
    else if (k == "list") d.ListColor = static_cast<uint32_t>(number());
    else if (k == "selection") d.SelectionColor = static_cast<uint32_t>(number());
    else if (k == "viewer") d.ViewerColor = static_cast<uint32_t>(number());
    else if (k == "picture") {
      auto e = std::make_unique<TDiaFileInfo>();
      e->PictureFile = text();
      last = e.get();
      if (!d.Option.Pictures.Add(std::move(e))) throw fail("too many pictures");
    } else if (k == "sound" && last) {
      last->SoundFile = text();
      last->SoundEnabled = 1;
    } else if (k == "header") (last ? last->HeaderText : d.Option.HeaderText) = text();
    else if (k == "footer") (last ? last->FooterText : d.Option.FooterText) = text();
    else if (k == "endless") d.Option.Endless = static_cast<uint16_t>(number());
    else if (k == "transition") {
      d.Option.TransitionKind = static_cast<int16_t>(number());
      d.Option.TransitionDuration = static_cast<uint32_t>(number());
    } else if (k == "interval") d.Option.AdvanceInterval = static_cast<uint32_t>(number());
    else if (k == "music") {
      d.Option.BackgroundSoundFile = text();
      d.Option.BackgroundSoundEnabled = 1;
      if (i < w.size() && w[i] == "once") { d.Option.BackgroundSoundOnce = 1; ++i; }
    } else if (k == "keys") {
      d.Option.NextKey = static_cast<int16_t>(number());
      d.Option.PreviousKey = static_cast<int16_t>(number());
      d.Option.AbortKey = static_cast<int16_t>(number());
      d.Option.PauseKey = static_cast<int16_t>(number());
      d.Option.SkipKey = static_cast<int16_t>(number());
    } else if (k == "background") d.Option.Background.Colour1 = static_cast<uint32_t>(number());
    else throw fail("unknown option " + k);
    if (k != "picture" && k != "sound" && k != "header" && k != "footer") last = nullptr;
  }
  // The record's own writer; the base fields go into the data line, whose
  // writer measures the length again.
  TDiaWindowData::ThumbnailSize = size;
  tsl::MemoryStream m;
  d.Write(m);
  TDiaWindowData::ThumbnailSize = savedSize;
  std::ostringstream s;
  s << "data flags " << d.Flags << " value3 " << static_cast<int32_t>(d.Value3) << " value4 "
    << static_cast<int32_t>(d.Value4) << " hex ";
  char hex[3];
  for (size_t b = 16; b < m.Data().size(); ++b) {
    std::snprintf(hex, sizeof hex, "%02X", m.Data()[b]);
    s << hex;
  }
  return s.str();
}
