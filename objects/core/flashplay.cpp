#include "objects/core/flashplay.h"

#include <limits>

namespace {

// Media commands (the object element's numbering).
enum : int { kCmdPlay = 0, kCmdStop = 1, kCmdPause = 2, kCmdToStart = 3, kCmdToEnd = 4, kCmdResume = 6, kCmdGoTo = 7 };
// Below this width or height the object takes this size.
constexpr int32_t kMinimumSide = 20;

}  // namespace

void TFlashPlay::CreateMovieWindow(const TFlashPlayerData& data) {
  if (Movie_) {
    Lib.DeleteSwfpane(Movie_);
    Movie_ = nullptr;
  }
  Movie_ = Lib.CreateSwfpane(Host.ObjectWindow(), Host.ClientRect());
  if (Movie_) {
    Lib.SetSwfpaneTransparency(Movie_, false);
    Lib.OpenFlashMovie(Movie_, data.FileName.c_str());
    Lib.SetFlashLoop(Movie_, data.Has(kFlashLoop));
    Lib.SetFlashQuality(Movie_, data.Quality);
    Lib.SetFlashScaleMode(Movie_, data.ScaleMode);
  }
  TMediaRect r = Host.ObjectRect();
  if (r.Width() < kMinimumSide || r.Height() < kMinimumSide) {
    r.Right = r.Left + kMinimumSide;
    r.Bottom = r.Top + kMinimumSide;
    Host.SetObjectRect(r);
  }
}

void TFlashPlay::Command(int command, uint32_t argument) {
  switch (command) {
    case kCmdPlay:
      if (Movie_) {
        Lib.SetFlashPlayStatus(Movie_, kFlashStatusRewind);
        Lib.SetFlashPlayStatus(Movie_, kFlashStatusPlay);
      }
      Playing_ = true;
      break;
    case kCmdStop:
    case kCmdPause:
      if (Movie_) Lib.SetFlashPlayStatus(Movie_, kFlashStatusStop);
      Playing_ = false;
      break;
    case kCmdToStart:
      if (Movie_) Lib.SetFlashMovieCurFrame(Movie_, 0);
      break;
    case kCmdToEnd:
      if (Movie_) Lib.SetFlashMovieCurFrame(Movie_, Lib.GetFlashMovieNumFrames(Movie_) - 1);
      break;
    case kCmdResume:
      if (Movie_) Lib.SetFlashPlayStatus(Movie_, kFlashStatusPlay);
      Playing_ = true;
      break;
    case kCmdGoTo:
      // The library counts frames in an int: a larger frame goes to its end.
      if (Movie_) {
        const auto top = static_cast<uint32_t>(std::numeric_limits<int>::max());
        Lib.SetFlashMovieCurFrame(Movie_, static_cast<int>(argument > top ? top : argument));
      }
      break;
    default:
      break;
  }
}

int32_t TFlashPlay::Length() { return Movie_ ? Lib.GetFlashMovieNumFrames(Movie_) : 0; }

int32_t TFlashPlay::Position() { return Movie_ ? Lib.GetFlashMovieCurFrame(Movie_) : 0; }

void TFlashPlay::Release() {
  if (!Movie_) return;
  Lib.SetFlashPlayStatus(Movie_, kFlashStatusStop);
  Lib.DeleteSwfpane(Movie_);
  Movie_ = nullptr;
}
