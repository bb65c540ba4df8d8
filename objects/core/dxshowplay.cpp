#include "objects/core/dxshowplay.h"

#include <limits>

#include "foundation/core/mediakind.h"
#include "foundation/core/pathstr.h"

namespace {

// Player library modes.
enum : int { kPlay = 0, kStop = 1, kToStart = 2, kToEnd = 3, kPause = 4 };
// Media commands (the object element's numbering).
enum : int { kCmdPlay = 0, kCmdStop = 1, kCmdPause = 2, kCmdToStart = 3, kCmdToEnd = 4, kCmdResume = 6, kCmdGoTo = 7 };

// mvpane takes a signed time: a larger position goes to its end.
int32_t MovieTime(uint32_t argument) {
  return argument > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                                 : static_cast<int32_t>(argument);
}

}  // namespace

void TDXShowPlayer::Setup(const TDXShowData& data, bool keepFrame) {
  if (data.Has(kDXShowUseDspane) && Element_ < 0) Element_ = Lib.DSP_AddEle(Host.ObjectWindow());
  LoadMedia(data, keepFrame);
}

void TDXShowPlayer::TakeSize(int32_t width, int32_t height) {
  Host.SizeWindow(width, height);
  TMediaRect r = Host.ObjectRect();
  r.Right = r.Left + width;
  r.Bottom = r.Top + height;
  Host.SetObjectRect(r);
}

void TDXShowPlayer::LoadMedia(const TDXShowData& data, bool keepFrame) {
  const char* file = data.FileName.c_str();
  const bool quickTime = IsQuickTimeFile(file);
  const TMediaLibraries::Window window = Host.ObjectWindow();
  if (!quickTime && Movie_) {
    Lib.DeleteMvpane(Movie_);
    Movie_ = nullptr;
  }
  if (Player_) {
    Lib.DeleteMppane(Player_);
    Player_ = nullptr;
  }
  if (Element_ >= 0) Lib.DSP_ShowEle(Element_, false);

  if (quickTime) {
    const TMediaRect r = Host.ClientRect();
    if (!Movie_) {
      Movie_ = Lib.CreateMvpane(window, r);
    } else {
      Lib.ShowMvpane(Movie_, true);
    }
    if (Movie_) {
      Lib.SetMvpaneTransparency(Movie_, false);
      Lib.OpenQTMovie(Movie_, file);
      Lib.SetQTMsgWindow(Movie_, window, kMediaEndMessage);
      const bool bar = data.Has(kDXShowControllerBar);
      const int16_t barHeight = Lib.GetQTControllerBarHeight(Movie_);
      if (!keepFrame) {
        TMediaRect m;
        Lib.GetQTMovieRect(Movie_, m);
        if (bar) m.Bottom += barHeight;
        TakeSize(m.Width(), m.Height());
        Lib.SizeMvpane(Movie_, m, bar);
      } else {
        Lib.SizeMvpane(Movie_, r, bar);
      }
    }
    ApplyWindowVisibility(data);
  } else if (!data.Has(kDXShowUseDspane)) {
    const TMediaRect r = Host.ClientRect();
    Player_ = Lib.CreateMppane(window, r);
    if (Player_) {
      Lib.SetMppaneTransparency(Player_, false);
      if (!keepFrame) Lib.SetMPAutoSize(Player_, true);
      Lib.OpenMPMovie(Player_, file);
      Lib.SetMPMsgWindow(Player_, window, kMediaEndMessage);
      Lib.ShowMPControllerBar(Player_, data.Has(kDXShowControllerBar));
      if (!keepFrame) {
        const TMediaRect w = Lib.MppaneWindowRect(Player_);
        TakeSize(w.Width(), w.Height());
      } else {
        Lib.SetMPAutoSize(Player_, false);
      }
    }
    ApplyWindowVisibility(data);
  } else {
    if (Element_ < 0) Element_ = Lib.DSP_AddEle(window);
    Lib.DSP_Load(Element_, file, window, data.Has(kDXShowWindowVisible));
    if (!keepFrame) {
      int w = 0, h = 0;
      if (Lib.DSP_GetVideoSize(Element_, w, h)) {
        TakeSize(w, h);
      } else {
        // Sound only: the object takes no room on the page.
        TakeSize(0, 0);
        Lib.DSP_ShowEle(Element_, false);
        return;
      }
    }
    Lib.DSP_ShowEle(Element_, true);
    ApplyWindowVisibility(data);
  }
}

void TDXShowPlayer::ApplyWindowVisibility(const TDXShowData& data) {
  if (!data.Has(kDXShowWindowVisible)) {
    if (Movie_) Lib.ShowMvpane(Movie_, false);
    if (Player_) Lib.ShowMppane(Player_, false);
    TakeSize(0, 0);
    return;
  }
  TMediaRect r = Host.ObjectRect();
  if (r.Width() < 20 || r.Height() < 20) {
    r.Right = r.Left + 20;
    r.Bottom = r.Top + 20;
    Host.SetObjectRect(r);
  }
}

void TDXShowPlayer::Command(int command, uint32_t argument) {
  if (Movie_) {
    switch (command) {
      case kCmdPlay: Lib.PlayBackQTMovie(Movie_, kToStart); Lib.PlayBackQTMovie(Movie_, kPlay); Playing_ = true; break;
      case kCmdStop: Lib.PlayBackQTMovie(Movie_, kStop); Playing_ = false; break;
      case kCmdPause: Lib.PlayBackQTMovie(Movie_, kStop); Playing_ = false; break;
      case kCmdToStart: Lib.PlayBackQTMovie(Movie_, kToStart); break;
      case kCmdToEnd: Lib.PlayBackQTMovie(Movie_, kToEnd); break;
      case kCmdResume: Lib.PlayBackQTMovie(Movie_, kPlay); Playing_ = true; break;
      case kCmdGoTo: Lib.SetQTMovieCurTimePos(Movie_, MovieTime(argument)); break;
    }
  } else if (Player_) {
    switch (command) {
      case kCmdPlay: Lib.PlayBackMPMovie(Player_, kToStart); Lib.PlayBackMPMovie(Player_, kPlay); Playing_ = true; break;
      case kCmdStop: Lib.PlayBackMPMovie(Player_, kStop); Playing_ = false; break;
      case kCmdPause: Lib.PlayBackMPMovie(Player_, kPause); Playing_ = false; break;
      case kCmdToStart: Lib.PlayBackMPMovie(Player_, kToStart); break;
      case kCmdToEnd: Lib.PlayBackMPMovie(Player_, kToEnd); break;
      case kCmdResume: Lib.PlayBackMPMovie(Player_, kPlay); Playing_ = true; break;
      case kCmdGoTo: Lib.SetMPMovieCurTimePos(Player_, static_cast<double>(argument)); break;
    }
  } else if (Element_ >= 0) {
    switch (command) {
      case kCmdPlay:
      case kCmdResume: Lib.DSP_StartEle(Element_); Playing_ = true; break;
      case kCmdStop: Lib.DSP_StopEle(Element_); Playing_ = false; break;
      case kCmdPause: Lib.DSP_PauseEle(Element_); Playing_ = false; break;
      case kCmdToStart: Lib.DSP_SeekToBegin(Element_); break;
      case kCmdToEnd: Lib.DSP_SeekToEnd(Element_); break;
      case kCmdGoTo:
        // Not playing: it stays paused at the new place.
        if (!Playing_) {
          Lib.DSP_StartEle(Element_);
          Lib.DSP_Seek(Element_, static_cast<double>(argument));
          Lib.DSP_PauseEle(Element_);
        } else {
          Lib.DSP_Seek(Element_, static_cast<double>(argument));
        }
        break;
    }
  }
}

void TDXShowPlayer::Restart() {
  if (Movie_) {
    Lib.PlayBackQTMovie(Movie_, kToStart);
    Lib.PlayBackQTMovie(Movie_, kPlay);
  } else if (Player_) {
    Lib.PlayBackMPMovie(Player_, kToStart);
    Lib.PlayBackMPMovie(Player_, kPlay);
  } else if (Element_ >= 0) {
    Lib.DSP_StartEle(Element_);
  }
}

bool TDXShowPlayer::MediaEnded(uintptr_t wParam, const TDXShowData& data) {
  if (wParam == 0 && !Playing_) return false;
  Playing_ = false;
  if (data.Has(kDXShowLoop)) {
    Restart();
    Playing_ = true;
    return false;
  }
  if (Movie_) Lib.PlayBackQTMovie(Movie_, kStop);
  if (data.Has(kDXShowRewind)) {
    if (Movie_) {
      Lib.PlayBackQTMovie(Movie_, kToStart);
    } else if (Player_) {
      Lib.PlayBackMPMovie(Player_, kToStart);
    } else if (Element_ >= 0) {
      Lib.DSP_Seek(Element_, 0.0);
    }
  }
  return true;
}

void TDXShowPlayer::Resize(const TDXShowData& data) {
  const TMediaRect r = data.Has(kDXShowWindowVisible) ? Host.ClientRect() : TMediaRect{};
  if (Movie_) {
    Lib.SizeMvpane(Movie_, r, data.Has(kDXShowControllerBar));
  } else if (!Player_ && Element_ >= 0) {
    Lib.DSP_SetEleRect(Element_, r);
  }
}

void TDXShowPlayer::Refresh() {
  if (Movie_) Lib.RefreshQTWindow(Movie_);
}

int32_t TDXShowPlayer::Length() {
  if (Movie_) return Lib.GetQTMovieDuration(Movie_);
  if (Player_) return static_cast<int32_t>(Lib.GetMPMovieDuration(Player_));
  if (Element_ >= 0) return static_cast<int32_t>(Lib.DSP_GetPlayTime(Element_));
  return 0;
}

int32_t TDXShowPlayer::Position() {
  if (Movie_) return Lib.GetQTMovieCurTimePos(Movie_);
  if (Player_) return static_cast<int32_t>(Lib.GetMPMovieCurTimePos(Player_));
  if (Element_ >= 0) return static_cast<int32_t>(Lib.DSP_GetCurPos(Element_));
  return 0;
}

bool TDXShowPlayer::VideoSize(int32_t& width, int32_t& height) {
  TMediaRect r;
  if (Movie_) {
    if (!Lib.GetQTMovieRect(Movie_, r)) return false;
  } else if (Player_) {
    if (!Lib.GetMPMovieRect(Player_, r)) return false;
  } else if (Element_ >= 0) {
    int w = 0, h = 0;
    if (!Lib.DSP_GetVideoSize(Element_, w, h)) return false;
    r.Right = w;
    r.Bottom = h;
  } else {
    return false;
  }
  width = r.Width();
  height = r.Height();
  return true;
}

void TDXShowPlayer::Cleanup() {
  if (Movie_) {
    Lib.PlayBackQTMovie(Movie_, kStop);
    Lib.DeleteMvpane(Movie_);
    Movie_ = nullptr;
  }
  if (Player_) {
    Lib.PlayBackMPMovie(Player_, kStop);
    Lib.DeleteMppane(Player_);
    Player_ = nullptr;
  }
}

void TDXShowPlayer::Release() {
  if (Element_ >= 0) Lib.DSP_DeleteEle(Element_);
  Element_ = -1;
}

bool IsAudioFile(const char* name) {
  const tsl::ExtensionList audio = tsl::AudioExtensions();
  for (size_t i = 0; i < audio.count; ++i)
    if (ContainsNoCase(name, audio.items[i])) return true;
  return false;
}
