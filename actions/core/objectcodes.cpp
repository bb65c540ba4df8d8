#include "actions/core/objectcodes.h"

#include "actions/core/navcodes.h"

void RunObjectMessageCode(TActionRun& run, TObjectMessageHost& host) {
  const TActionStruct& a = run.Action;
  switch (static_cast<TActionCode>(static_cast<int16_t>(a.Code))) {
    case TActionCode::HideObject: host.HideObject(a.Target); break;
    case TActionCode::ShowObject: host.ShowObject(a.Target); break;
    case TActionCode::SoundOff:
      host.StopAllSounds();
      GlobalSoundOff = 1;
      break;
    // The two data-folder fields carry the author's caption and text here.
    case TActionCode::ShowMessageBox: host.InformationBox(a.Text3.str(), a.Text4.str()); break;
    case TActionCode::SetRepeatInterval: host.SetRepeatInterval(a.Value1); break;
    case TActionCode::NotImplemented: host.NotImplementedBox(); break;
    case TActionCode::CopyTextToClipboard:
      // The one code that stops an exception (memory exhaustion, a file
      // read) itself: the dispatcher's after-work still runs.
      try {
        if (const std::optional<std::string> text = host.ObjectText(a.Target)) host.TextToClipboard(*text);
      } catch (...) {
      }
      break;
    case TActionCode::EnableTooltips: host.SetTooltips(true); break;
    case TActionCode::DisableTooltips: host.SetTooltips(false); break;
    default: break;
  }
}
