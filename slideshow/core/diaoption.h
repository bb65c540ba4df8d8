// One slide show: its ordered pictures with their sounds and captions, the
// background, transition, automatic page change, background music, the
// global captions and the five input assignments, and its stored form (the
// whole of a ".DIA" file, embedded unchanged in the slide window's record).
//
// Stored form, little-endian, no padding:
//   u32  magic 0x024DD1DD
//   u16  picture count, read as signed (negative: no pictures)
//   per picture (at least kDiaPictureMinBytes):
//        PictureFile, SoundFile (short strings), u16 SoundEnabled,
//        HeaderText, FooterText (short strings), HeaderFont, FooterFont
//        (82-byte font records), u16 HeaderAlign, u16 FooterAlign
//   TBackground's own record (its u32 length first)
//   u16 Endless, u16 TransitionKind, u32 TransitionDuration (ms),
//   u32 AdvanceInterval (ms), u16 PcdResolution, u16 PcdColourDepth,
//   u16 BackgroundSoundEnabled, BackgroundSoundFile, HeaderText, FooterText
//   (short strings), HeaderFont, FooterFont, u16 HeaderAlign, u16
//   FooterAlign, u16 NextKey, u16 PreviousKey, u16 AbortKey,
//   u16 BackgroundSoundOnce, u16 SkipKey, u16 PauseKey (these three in file
//   order, not in memory order), u16 JumpInterval, 24 reserved bytes.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/format/background.h"
#include "foundation/core/streamenc.h"

constexpr uint32_t kDiaMagic = 0x024DD1DD;
// The smallest stored picture: four empty strings, three u16 and two font
// records.
constexpr uint32_t kDiaPictureMinBytes = 4 * 2 + 3 * 2 + 2 * tsl::kFontRecordSize;
// The count is stored in 16 bits and read as signed: a longer list would
// read back as negative.
constexpr int kDiaMaxPictures = 32767;
constexpr size_t kDiaReservedBytes = 24;

// Inputs of the show (the key fields hold these).
enum TShowKeyCode : int16_t {
  kShowKeyF1 = 0,  // .. 9: F1 .. F10
  kShowKeyF10 = 9,
  kShowKeyEscape = 10,
  kShowKeyEnter = 11,
  kShowKeyLeftButton = 12,
  kShowKeyRightButton = 13,
  kShowKeyPause = 14,
  kShowKeyTab = 15,
  kShowKeyNone = 100,  // any other input: matches no field
};

// Caption alignment.
enum : uint16_t { kDiaAlignLeft = 0, kDiaAlignCentre = 1, kDiaAlignRight = 2 };

// The caption font of a new picture or show: Arial, white, `points` pt.
tsl::FontRecord DiaCaptionFont(int32_t points);
// The drawn height of a caption font: -|PointSize / 10| logical units.
int32_t DiaCaptionHeight(const tsl::FontRecord& font);

// Texts of a new show's global captions (string table 2157 and 2158 hold
// the same).
extern const char* const kDiaDefaultHeader;
extern const char* const kDiaDefaultFooter;

struct TDiaFileInfo {
  TDiaFileInfo();
  // Same picture: the picture paths are equal ignoring case.
  bool operator==(const TDiaFileInfo& o) const;

  string PictureFile;
  string SoundFile;
  uint16_t SoundEnabled = 0;
  string HeaderText;
  string FooterText;
  tsl::FontRecord HeaderFont;
  tsl::FontRecord FooterFont;
  uint16_t HeaderAlign = kDiaAlignCentre;
  uint16_t FooterAlign = kDiaAlignCentre;
};

// The ordered, owning picture list.
class TDiaPictureList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  TDiaFileInfo& operator[](int i) { return *items_[static_cast<size_t>(i)]; }
  const TDiaFileInfo& operator[](int i) const { return *items_[static_cast<size_t>(i)]; }
  // False (the entry dropped) once the list holds kDiaMaxPictures.
  bool Add(std::unique_ptr<TDiaFileInfo> entry);
  bool Insert(int index, std::unique_ptr<TDiaFileInfo> entry);
  void Remove(int index);
  void Flush() { items_.clear(); }
  // Index of the first entry with the same picture (ignoring case), or -1.
  int Find(const TDiaFileInfo& probe) const;
  int Find(const string& pictureFile) const;

private:
  std::vector<std::unique_ptr<TDiaFileInfo>> items_;
};

class TDiaOption {
public:
  TDiaOption();
  TDiaOption(const TDiaOption& o) : TDiaOption() { Assign(o); }
  TDiaOption& operator=(const TDiaOption& o) { return Assign(o); }
  // An independent deep copy of `o`.
  TDiaOption& Assign(const TDiaOption& o);

  // Reads the stored form over this show. A wrong magic, or a picture count
  // the bytes left cannot hold, leaves the show as it was. Otherwise the
  // list is replaced, and reading stops at the first value the stream cuts
  // short: what was read stays, the rest keeps its earlier values. False
  // when the read stopped early or was refused.
  bool Read(tsl::ByteStream& f);
  // False when a write failed.
  bool Write(tsl::ByteStream& f);

  TDiaPictureList Pictures;
  TBackground Background;
  uint16_t Endless = 1;
  int16_t TransitionKind = 0;
  uint32_t TransitionDuration = 2000;
  uint32_t AdvanceInterval = 10000;
  uint16_t PcdResolution = 3;
  uint16_t PcdColourDepth = 2;
  uint16_t BackgroundSoundEnabled = 0;
  string BackgroundSoundFile;
  string HeaderText;
  string FooterText;
  tsl::FontRecord HeaderFont;
  tsl::FontRecord FooterFont;
  uint16_t HeaderAlign = kDiaAlignCentre;
  uint16_t FooterAlign = kDiaAlignCentre;
  int16_t NextKey = kShowKeyLeftButton;
  int16_t PreviousKey = kShowKeyRightButton;
  int16_t AbortKey = kShowKeyEscape;
  int16_t PauseKey = kShowKeyPause;
  int16_t SkipKey = kShowKeyF1;
  uint16_t BackgroundSoundOnce = 0;
  uint16_t JumpInterval = 10;
  uint8_t Reserved[kDiaReservedBytes] = {};
};

// The file names chosen at once in the multiple-selection open dialog; the
// holder owns them whatever path the inserting code takes.
struct TMultiFileSelContainer {
  std::vector<string> Names;
};
