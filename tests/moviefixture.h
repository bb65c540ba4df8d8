// Movies made by ffmpeg at test time, for the tests of the movie panes and
// of the objects that play movies: ffmpeg's test picture (static colour
// bars, a scrolling gradient below them and a frame counter), 320 x 240 at
// 25 frames per second, 2 seconds, in the containers and codecs the
// platform plays. The reference frames come from ffmpeg's own decoder.
#pragma once
#include "wintest.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace moviefixture {

constexpr int kWidth = 320, kHeight = 240;

enum class TMovieKind { MjpegMov, H264Mp4, MsVideoAvi };

inline const char* Extension(TMovieKind kind) {
  switch (kind) {
    case TMovieKind::MjpegMov: return ".mov";
    case TMovieKind::H264Mp4: return ".mp4";
    case TMovieKind::MsVideoAvi: return ".avi";
  }
  return "";
}

// A Windows path as the Unix path Wine maps it to.
inline std::string UnixPath(const std::string& windowsPath) {
  std::vector<WCHAR> w(windowsPath.size() + 1, 0);
  ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, w.data(), static_cast<int>(w.size()));
  char* unix = wine_get_unix_file_name(w.data());
  if (!unix) return std::string();
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

// Runs a Unix program and waits; true when it exited with 0. Spawned as the
// Unix program it is: Wine's process start does not give its exit status.
inline bool RunUnix(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes the test movie of `kind` to `windowsPath`.
inline bool MakeTestMovie(TMovieKind kind, const std::string& windowsPath) {
  std::vector<std::string> args = {"ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
                                   "testsrc=size=320x240:rate=25"};
  if (kind != TMovieKind::H264Mp4) {
    args.insert(args.end(), {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050"});
  }
  args.insert(args.end(), {"-t", "2"});
  switch (kind) {
    case TMovieKind::MjpegMov:
      args.insert(args.end(), {"-c:v", "mjpeg", "-q:v", "3", "-c:a", "pcm_s16le"});
      break;
    case TMovieKind::H264Mp4:
      args.insert(args.end(), {"-c:v", "libx264", "-pix_fmt", "yuv420p"});
      break;
    case TMovieKind::MsVideoAvi:
      args.insert(args.end(), {"-c:v", "msvideo1", "-c:a", "pcm_s16le"});
      break;
  }
  args.push_back(UnixPath(windowsPath));
  return RunUnix(args);
}

// The frame ffmpeg shows at `seconds`, as RGB triples, top row first.
inline std::vector<uint8_t> ReferenceFrame(const std::string& windowsPath, double seconds) {
  const std::string out = windowsPath + ".rgb";
  if (!RunUnix({"ffmpeg", "-y", "-loglevel", "error", "-ss", std::to_string(seconds), "-i", UnixPath(windowsPath),
                "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", UnixPath(out)})) {
    return {};
  }
  std::vector<uint8_t> frame = wintest::ReadFileBytes(out);
  ::DeleteFileA(out.c_str());
  if (frame.size() != static_cast<size_t>(kWidth) * kHeight * 3) frame.clear();
  return frame;
}

inline COLORREF FramePixel(const std::vector<uint8_t>& frame, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * kWidth + x) * 3;
  return RGB(frame[at], frame[at + 1], frame[at + 2]);
}

inline bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Points of the static colour bars, and of the gradient that scrolls below them.
inline std::vector<POINT> BarPoints() { return {{20, 40}, {100, 40}, {140, 40}, {180, 40}, {220, 40}, {260, 40}}; }
inline std::vector<POINT> GradientPoints() { return {{20, 195}, {80, 195}, {140, 195}, {200, 195}, {260, 195}}; }

}  // namespace moviefixture
