// TDXShowData: the data record of a DirectShow media object (kind 17): one
// media file, played through mvpane, mppane or dspane, with its play
// options in the flags word.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "engine/core/format/objectrecords.h"

// Flag bits of the record (the second base field).
constexpr uint32_t kDXShowLoop = 0x0001;           // at the end the media starts again
constexpr uint32_t kDXShowWindowVisible = 0x0002;  // shows a picture; clear: sound only
constexpr uint32_t kDXShowControllerBar = 0x0008;  // mvpane and mppane show their bar
constexpr uint32_t kDXShowRewind = 0x0010;         // back to the beginning at the end
constexpr uint32_t kDXShowUseDspane = 0x0020;      // dspane instead of mppane (not for QuickTime)
constexpr uint32_t kDXShowFileFlag = 0x1000;       // reported beside the file
constexpr uint32_t kDXShowDefaultFlags = 0x300A;

class TDXShowData : public TData {
public:
  TDXShowData();

  void Init() override;
  void Assign(const TData* other) override;
  // The stored file name is resolved against the open project.
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  bool Has(uint32_t flag) const { return (Flags & flag) != 0; }

  string FileName;
  uint8_t Reserved[16] = {};
};
