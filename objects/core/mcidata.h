// TMCIData: the data record of the three MCI media kinds (2 "Video",
// 4 "Sound", 5 "CD-Audio"): which file or which CD tracks the object plays,
// which MCI device class plays them, and the play options.
//
// Stored form, little endian, after the 16-byte TData base:
//   16  i16  device kind (TMediaKind; -1 not yet decided)
//   18  u16  play options (kMciRepeat, kMciSoundOn)
//   20       kind other than 6: the file name, u16 length + characters
//   20       kind 6: u16 track count n (read signed), n × i16 track numbers
//   ..   16  reserved block, carried unread; a kind-6 record of a file of
//            version 2.4 or older has none
// The record length at offset 0 covers everything; the reader continues
// behind it whatever it read.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

// Device kinds of the record.
enum TMediaKind : int16_t {
  kMediaUndecided = -1,
  kMediaAnimation = 0,  // FLI/FLC
  kMediaAvi = 1,
  kMediaQuickTime = 2,
  kMediaMpeg = 3,
  kMediaWave = 4,
  kMediaMidi = 5,
  kMediaCdTracks = 6,
};

// Play options.
constexpr uint16_t kMciRepeat = 0x0004;   // the device restarts at the end instead of reporting it
constexpr uint16_t kMciSoundOn = 0x0010;  // the device's audio is on
// The property bit (TProperty::Flags) the media kinds give their own
// meaning: a new file keeps the object's rectangle instead of taking the
// video's size.
constexpr uint32_t kPropMediaKeepsSize = 0x80;
// Flag bits of the record (the base flags word).
constexpr uint32_t kMciOpenOption = 0x0001;  // handed to the device's open as its show-errors flag
constexpr uint32_t kMciShowSymbol = 0x0004;  // sound and CD objects draw their symbol
constexpr uint32_t kMciFileFlag = 0x1000;    // reported with the file

class TMCIData : public TData {
public:
  static constexpr int kMaxTracks = 99;

  // The base defaults, then the record's.
  TMCIData();

  void Init() override;
  // Another class's record resets this one to its defaults.
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  int16_t DeviceKind = kMediaUndecided;
  uint16_t PlayOptions = kMciSoundOn;
  string FileName;
  uint8_t Reserved[16] = {};
  int32_t TrackCount = 0;  // 0 to 99
  int32_t Tracks[kMaxTracks] = {};
};

// The device kind of a file extension (with its dot, any case): true and
// the kind for the ten media extensions, false and -1 for any other.
bool MediaKindFromExtension(const char* extension, int16_t& kind);
bool IsMediaExtension(const char* extension);
bool IsVideoExtension(const char* extension);
bool IsAnimationExtension(const char* extension);
bool IsAudioExtension(const char* extension);
