// One media file played by a quartz filter graph: the movie layer under
// mvpane, and the player the DirectShow-based panes share. Wine renders the
// files through GStreamer; what GStreamer cannot decode does not open.
#pragma once
#include <windows.h>

struct IGraphBuilder;
struct IMediaControl;
struct IMediaSeeking;
struct IMediaEventEx;
struct IVideoWindow;
struct IBasicVideo;
struct IBaseFilter;

namespace qtml {

// A graph that has loaded (S_OK, or VFW_S_PARTIAL_RENDER: a sound track
// without an audio device still plays its picture and its clock).
bool IsLoadedResult(HRESULT hr);

// True when a filter graph can be made on this thread (COM is initialised
// and quartz is present).
bool CanBuildGraph();

class TQuartzPlayer {
 public:
  TQuartzPlayer() = default;
  ~TQuartzPlayer();
  TQuartzPlayer(const TQuartzPlayer&) = delete;
  TQuartzPlayer& operator=(const TQuartzPlayer&) = delete;

  // Builds the graph for `path` with its picture in a child window of
  // `owner` (with owner 0 the graph's default renderer shows it in a window
  // of its own); the graph is paused on the first frame.
  // Returns the RenderFile result; on a failure nothing is kept.
  HRESULT Open(LPCWSTR path, HWND owner);
  void Close();
  bool IsOpen() const { return graph_ != nullptr; }

  bool HasVideo() const { return video_ != nullptr; }
  SIZE NaturalSize() const { return natural_; }
  // The picture's place in the owner's client area; an empty rectangle hides it.
  void PlaceVideo(const RECT& r);
  void Repaint();
  // Mouse and key messages of the picture go to `window` (screen position in
  // the message's point, as for the owner's own messages).
  void DrainTo(HWND window);

  void Run();
  void Pause();
  bool Running() const { return running_; }

  // Positions in 100 ns units and in seconds.
  LONGLONG Duration() const;
  LONGLONG Position() const;
  void Seek(LONGLONG position);
  double DurationSeconds() const { return Duration() / 1e7; }
  double PositionSeconds() const { return Position() / 1e7; }
  void SeekSeconds(double s) { Seek(static_cast<LONGLONG>(s * 1e7 + 0.5)); }

  // The graph posts `message` to `window` while events wait; TakeEvents
  // reads them all and tells whether the end of the media was among them.
  void NotifyTo(HWND window, UINT message);
  bool TakeEvents();

 private:
  IGraphBuilder* graph_ = nullptr;
  IMediaControl* control_ = nullptr;
  IMediaSeeking* seeking_ = nullptr;
  IMediaEventEx* events_ = nullptr;
  IVideoWindow* video_ = nullptr;
  SIZE natural_{0, 0};
  bool running_ = false;
};

}  // namespace qtml
