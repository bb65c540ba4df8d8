#include "platform/qtml/movielayer.h"

#include <vector>

#include "platform/qtml/quartzplayer.h"

namespace qtml {

namespace {

// A movie over a quartz graph. The graph keeps running after its media has
// ended; the movie stops there, like a movie whose rate fell to 0, and
// stands at its duration until it is moved.
class TQuartzMovie : public TMovieSource {
 public:
  HRESULT Open(LPCWSTR path, HWND owner) {
    const HRESULT hr = player_.Open(path, owner);
    if (IsLoadedResult(hr)) {
      player_.DrainTo(owner);
      const long long d = player_.Duration();
      // Rounded: a container's duration is often a few 100 ns off the frames'.
      duration_ = static_cast<long>((d * kMovieTimeScale + kHundredNsPerSecond / 2) / kHundredNsPerSecond);
    }
    return hr;
  }

  SIZE NaturalSize() const override { return player_.NaturalSize(); }
  long Duration() const override { return duration_; }
  long Time() override {
    Idle();
    if (atEnd_) return duration_;
    const long t = UnitsFromHundredNs(player_.Position());
    return t < duration_ ? t : duration_;
  }
  void SetTime(long time) override {
    atEnd_ = false;
    player_.Seek(HundredNsFromUnits(time < 0 ? 0 : time > duration_ ? duration_ : time));
    player_.TakeEvents();
  }
  void Start() override {
    if (atEnd_) return;
    player_.Run();
  }
  void Stop() override { player_.Pause(); }
  bool Running() const override { return player_.Running(); }
  void Place(const RECT& box) override { player_.PlaceVideo(box); }
  void Update() override { player_.Repaint(); }
  void Idle() override {
    if (player_.TakeEvents()) {
      atEnd_ = true;
      player_.Pause();
    }
  }

 private:
  TQuartzPlayer player_;
  long duration_ = 0;
  bool atEnd_ = false;
};

class TQuartzLayer : public TMovieLayer {
 public:
  long Start() override { return CanBuildGraph() ? 0 : kNoGraph; }
  void Stop() override {}
  bool Present() override { return CanBuildGraph(); }
  std::unique_ptr<TMovieSource> Open(const std::string& path, HWND owner, long* error) override {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1);
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    auto movie = std::make_unique<TQuartzMovie>();
    const HRESULT hr = movie->Open(wide.data(), owner);
    if (!IsLoadedResult(hr)) {
      if (error) *error = static_cast<long>(hr);
      return nullptr;
    }
    return movie;
  }

 private:
  // Start's code when no filter graph can be made.
  static constexpr long kNoGraph = -2093;
};

TQuartzLayer g_quartz;
TMovieLayer* g_layer = &g_quartz;

}  // namespace

TMovieLayer& CurrentMovieLayer() { return *g_layer; }

TMovieLayerScope::TMovieLayerScope(TMovieLayer& layer) : previous_(g_layer) { g_layer = &layer; }
TMovieLayerScope::~TMovieLayerScope() { g_layer = previous_; }

}  // namespace qtml
