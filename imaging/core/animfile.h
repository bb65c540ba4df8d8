// The animation file ("ABP": every frame a picture; "FLX": frame records
// followed by FLC data) and the portable part of the animated bitmap list:
// the header, the frame records and the frames' pictures. Drawing the
// frames is the Win32 list's (imaging/animlist.h). Portable.
//
// Header, 30 bytes, little endian, no padding:
//   0  4  signature "ABP" or "FLX" and a zero byte (byte 3 read as zero)
//   4  1  u8 (1)          5  1  u8 (0)
//   6  4  i32 loop count (-1 endless)
//   10 2  i16 frame count (negative: none)
//   12 1  u8 (0)
//   13 2  i16 width       15 2  i16 height
//   17 4  u32 colour count (0)
//   21 1  u8 type: 0 with "ABP", 1 with "FLX"; other pairings are no animation
//   22 4  u32 (0)
//   26 4  u32 background colour (COLORREF, white)
// Frame record, 72 bytes:
//   0  4  u32 transparent colour (COLORREF, black)
//   4  8  point, two i32, kept with the frame
//   12 8  picture offset, two i32: where the picture lies in the animation
//   20 4  u32 delay in ms (50)
//   24 1  u8 (0)     25 1  u8 transparency flag (1)
//   26 1  u8 (3)     27 1  u8 (0)     28 1  u8 (1)
//   29 4  u32 (0)
//   33 32 name, zero-padded
//   65 7  bytes (0)
// "ABP": each record is followed by its picture block: u32 length counted
// from the length field itself, then an embedded picture ("BM" header and
// packed DIB). "FLX": the records come first, the FLC data follow the last
// one directly, and frame n of the list is FLC frame n + 1.
//
// Tolerance: reading goes on at the end a picture block's length gives; a
// picture that runs past that end, or is no packed DIB, is dropped; a length below its own four bytes,
// or a record the file does not hold whole, ends the list; FLC data that do
// not decode fail the load.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/flx.h"
#include "platform/core/bytestream.h"

namespace tsl {

constexpr uint32_t kAnimHeaderBytes = 30;
constexpr uint32_t kAnimFrameRecordBytes = 72;
constexpr uint8_t kAnimTypePictures = 0;  // "ABP"
constexpr uint8_t kAnimTypeFlc = 1;       // "FLX"

struct TAnimHeader {
  char Signature[4] = {'A', 'B', 'P', 0};
  uint8_t Byte4 = 1;
  uint8_t Byte5 = 0;
  int32_t LoopCount = -1;
  int16_t FrameCount = 0;
  uint8_t Byte12 = 0;
  int16_t Width = 0;
  int16_t Height = 0;
  uint32_t ColourCount = 0;
  uint8_t Type = kAnimTypePictures;
  uint32_t Long22 = 0;
  uint32_t Background = 0xFFFFFF;
};

struct TAnimFrameRecord {
  uint32_t TransparentColour = 0;
  int32_t PointX = 0, PointY = 0;
  int32_t OffsetX = 0, OffsetY = 0;
  uint32_t Delay = 50;
  uint8_t Byte24 = 0;
  uint8_t Transparent = 1;
  uint8_t Byte26 = 3;
  uint8_t Byte27 = 0;
  uint8_t Byte28 = 1;
  uint32_t Long29 = 0;
  char Name[32] = {};
  uint8_t Rest[7] = {};
};

// False when the stream does not hold the whole header or record.
bool ReadAnimHeader(TAnimHeader& h, ByteStream& f);
bool WriteAnimHeader(const TAnimHeader& h, ByteStream& f);
bool ReadAnimFrameRecord(TAnimFrameRecord& r, ByteStream& f);
bool WriteAnimFrameRecord(const TAnimFrameRecord& r, ByteStream& f);
// "ABP" with type 0 or "FLX" with type 1 (byte 3 not looked at).
bool IsPictureAnimation(const TAnimHeader& h);
bool IsFlcAnimation(const TAnimHeader& h);

struct TAnimatedBmpNodeCore {
  TAnimFrameRecord Record;
  std::vector<uint8_t> Picture;  // packed DIB; empty for FLX frames not decoded
};

class TAnimatedBmpListCore {
public:
  TAnimatedBmpListCore() = default;
  virtual ~TAnimatedBmpListCore() = default;
  TAnimatedBmpListCore(const TAnimatedBmpListCore&) = delete;
  TAnimatedBmpListCore& operator=(const TAnimatedBmpListCore&) = delete;

  // Reads the file from its current position; an "FLX" file passes to the
  // list's FLC reader. False (and no frames) for anything but an animation.
  bool Load(std::unique_ptr<ByteStream> file, bool loadIntoMemory);
  // The first frame's picture; empty unless the file is an animation with
  // at least one frame.
  static std::vector<uint8_t> ReadFirstFrame(std::unique_ptr<ByteStream> file);

  void AddFrame(std::vector<uint8_t> picture, const TAnimFrameRecord& record);
  // FLX lists: steps the reader to frame n (rewinding when n lies behind it)
  // and gives node n a copy of its picture. False for n outside the list.
  bool DecodeFrame(int n);
  int FrameCount() const { return int(Frames.size()); }
  bool Has(int n) const { return n >= 0 && n < FrameCount(); }
  const TAnimFrameRecord* FrameRecord(int n) const { return Has(n) ? &Frames[size_t(n)].Record : nullptr; }
  // The frame's picture (FLX frames decoded first); null outside the list.
  const std::vector<uint8_t>* FramePicture(int n);
  bool IsFlc() const { return IsFlcAnimation(Header); }
  bool AnyTransparent() const;
  TFLX* Reader() const { return Flx.get(); }

  TAnimHeader Header;
  std::vector<TAnimatedBmpNodeCore> Frames;
  std::unique_ptr<TFLX> Flx;
  bool Loaded = false;
  // How often DecodeFrame rewound and stepped the reader.
  uint32_t Rewinds = 0;
  uint32_t Steps = 0;

protected:
  // FLX: the node the reader has just left loses what it drew from it.
  virtual void ForgetDecoded(int n) {}
};

// A frame drawn with a transparent colour as two 24-bit pictures of its
// size: `image` with the transparent pixels black (ORed onto the target)
// and `mask` white exactly there (ANDed first). False for a picture that is
// not an uncompressed DIB of 1, 4, 8, 24 or 32 bits.
bool MakeMaskedPair(const std::vector<uint8_t>& picture, uint32_t transparentColorRef, std::vector<uint8_t>& image,
                    std::vector<uint8_t>& mask);

}  // namespace tsl
