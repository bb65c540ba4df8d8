// What the movie calls stand on: a layer that opens media files into
// movies. The quartz layer is the real one; tests put a layer of their own
// in its place for the life of a TMovieLayerScope.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace qtml {

// Every movie runs on one time scale: 600 units per second.
constexpr long kMovieTimeScale = 600;

// One loaded movie. Times are in movie units (1/600 s).
class TMovieSource {
 public:
  virtual ~TMovieSource() = default;
  // The picture's size; 0 x 0 for a movie without one.
  virtual SIZE NaturalSize() const = 0;
  virtual long Duration() const = 0;
  // The current time; at the end of the media it is the duration.
  virtual long Time() = 0;
  virtual void SetTime(long time) = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
  // The picture's rectangle in the owner window's client area.
  virtual void Place(const RECT& box) = 0;
  virtual void Update() = 0;
  // Called on every idle tick: reads what the media reports.
  virtual void Idle() = 0;
};

class TMovieLayer {
 public:
  virtual ~TMovieLayer() = default;
  // 0 when movies can be made.
  virtual long Start() = 0;
  virtual void Stop() = 0;
  virtual bool Present() = 0;
  // The movie of `path` drawing into `owner`; null with *error set when the
  // file does not open.
  virtual std::unique_ptr<TMovieSource> Open(const std::string& path, HWND owner, long* error) = 0;
};

TMovieLayer& CurrentMovieLayer();

class TMovieLayerScope {
 public:
  explicit TMovieLayerScope(TMovieLayer& layer);
  ~TMovieLayerScope();
  TMovieLayerScope(const TMovieLayerScope&) = delete;
  TMovieLayerScope& operator=(const TMovieLayerScope&) = delete;

 private:
  TMovieLayer* previous_;
};

// 1/600 s and 100 ns units.
constexpr long long kHundredNsPerSecond = 10000000;
inline long UnitsFromHundredNs(long long t) { return static_cast<long>(t * kMovieTimeScale / kHundredNsPerSecond); }
inline long long HundredNsFromUnits(long units) {
  return static_cast<long long>(units) * kHundredNsPerSecond / kMovieTimeScale;
}

}  // namespace qtml
