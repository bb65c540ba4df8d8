// The stored settings of the bitmap scroll bar (TKVR_Scroller): the part of
// the bar that the MCI control bar's and the RTF documents' data records
// carry, in this order:
//   3 × u32  colours: background, progress before the thumb, after it
//   4 × u32  groove thickness, auto-repeat interval (ms), thumb style,
//            arrow style
//   6 × u16  vertical, scale, transparent, progress fill, auto-repeat,
//            groove border
//   32 bytes reserved block, carried unread
// 82 bytes in all. Values out of range are kept as stored, so that a
// record written back keeps them; the bar interprets them (see Effective*).
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "platform/core/bytestream.h"

struct TKVR_ScrollerSettings {
  static constexpr uint32_t kStoredBytes = 3 * 4 + 4 * 4 + 6 * 2 + 32;

  uint32_t BackgroundColour = 0xC0C0C0;
  uint32_t ProgressColourBefore = 0x00FF00;
  uint32_t ProgressColourAfter = 0x0000FF;
  uint32_t GrooveThickness = 4;
  uint32_t AutoRepeatInterval = 100;
  uint32_t ThumbStyle = 1;
  uint32_t ArrowStyle = 1;
  uint16_t Vertical = 0;
  uint16_t Scale = 0;
  uint16_t Transparent = 0;
  uint16_t ProgressFill = 0;
  uint16_t AutoRepeat = 1;
  uint16_t GrooveBorder = 1;
  uint8_t Reserved[32] = {};

  // Field by field; a stream that ends early leaves the rest as they were
  // (the readers' rule for short records).
  void Read(tsl::ByteStream& f);
  bool Write(tsl::ByteStream& f) const;

  bool operator==(const TKVR_ScrollerSettings& o) const;
  bool operator!=(const TKVR_ScrollerSettings& o) const { return !(*this == o); }
};

// How the bar uses stored values from project files: a thumb style outside
// 1 to 5 draws as 1, an arrow style outside 0 to 2 as 1, repeats come at
// most every 10 ms, and a groove is at most as thick as the bar.
int EffectiveThumbStyle(int32_t stored);
int EffectiveArrowStyle(int32_t stored);
uint32_t EffectiveRepeatInterval(int32_t storedMs);
int EffectiveGrooveThickness(uint32_t stored, int barThickness);
