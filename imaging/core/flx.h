// TFLX: Autodesk FLI/FLC animations, read frame by frame into one 8-bit
// picture, and written from a sequence of 8-bit pictures. Portable: the
// picture is a packed DIB in a byte vector (40-byte header, 256 colours,
// bottom-up rows of `RowStride()` bytes); drawing goes through a canvas
// that the Win32 side implements over a device context.
//
// File header (128 bytes, little endian); the reader uses:
//   4  u16  magic: 0xAF11 FLI, 0xAF12 FLC
//   6  u16  frames (the ring frame after the last is not counted)
//   8  u16  width        10 u16 height
//   16 u16/u32 speed: FLI in 1/70 s (u16), FLC in ms (u32)
//   80 u32  FLC only: offset of frame 1 (FLI: frame 1 follows the header)
// The writer also fills 0 size, 12 depth 8, 14 flags 3, 34 0x4853, 38/40
// aspect 1:1 and 84 the offset of frame 2.
// Frame: u32 size (header included), u16 0xF1FA, u16 chunk count, 8 unused
// bytes, then chunks of u32 size (header included), u16 type, data.
//
// Tolerance: a frame whose size is below 16 or runs past the data fails the
// step and leaves the picture as it was; a chunk below 6 bytes or running
// past its frame ends the frame; every chunk reader stays inside its chunk;
// writes outside the picture are dropped and decoding goes on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/dib.h"
#include "platform/core/bytestream.h"

namespace tsl {

constexpr uint16_t kFliMagic = 0xAF11;
constexpr uint16_t kFlcMagic = 0xAF12;
constexpr uint16_t kFlxFrameMagic = 0xF1FA;
constexpr uint32_t kFlxHeaderBytes = 128;
constexpr uint32_t kFlxFrameHeaderBytes = 16;
constexpr uint32_t kFlxChunkHeaderBytes = 6;
// A delay of 0 in the file plays at this many milliseconds per frame.
constexpr uint32_t kFlxDefaultDelay = 71;
// Larger pictures are refused: no animation of the system comes near, and
// a hostile header must not reserve gigabytes.
constexpr uint64_t kFlxMaxPixels = uint64_t(8192) * 8192;

enum TFlxChunk : uint16_t {
  kFlxColor256 = 4,
  kFlxWordDelta = 7,   // SS2
  kFlxColor64 = 11,
  kFlxByteDelta = 12,  // LC
  kFlxBlack = 13,
  kFlxByteRun = 15,    // BRUN
  kFlxCopy = 16,
  kFlxStamp = 18,
};

// Where the frames are drawn; the Win32 side draws on a device context.
class TFlxCanvas {
public:
  virtual ~TFlxCanvas() = default;
  // A packed DIB drawn unstretched with its top-left corner at (x, y).
  virtual void DrawPicture(const uint8_t* dib, size_t size, int x, int y) = 0;
};

class TFLX {
public:
  // A writer (Create / CreateOnFile), or a reader without a file.
  TFLX() = default;
  // Reads the animation from the start of `file`, which the reader owns.
  TFLX(std::unique_ptr<ByteStream> file, bool loadIntoMemory);
  // Reads the animation that starts at the current position of `file`
  // (data inside another file); the reader owns the file from now on. With
  // `use` false nothing is read.
  TFLX(std::unique_ptr<ByteStream> file, bool use, bool unused, bool loadIntoMemory);
  ~TFLX();
  TFLX(const TFLX&) = delete;
  TFLX& operator=(const TFLX&) = delete;

  // Frame 1 into a new picture; false (and no picture) when it is not there.
  bool Rewind();
  // The next frame of the file: 1, 2, ..., N, ring, 2, 3, ...
  bool NextFrame();
  void DrawFirstFrame(TFlxCanvas& dc, int x, int y);
  void DrawLastFrame(TFlxCanvas& dc, int x, int y);
  // Steps and draws; false exactly when the last frame (not the ring) is shown.
  bool DrawNextFrame(TFlxCanvas& dc, int x, int y);
  void Draw(TFlxCanvas& dc, int x, int y) const;

  // Writer. `picture` is a packed DIB of 8 bits with 256 colours.
  bool Create(std::unique_ptr<ByteStream> file, uint32_t delay, const uint8_t* picture, size_t size);
  bool CreateOnFile(ByteStream* file, uint32_t delay, const uint8_t* picture, size_t size);
  bool AddFrame(const uint8_t* picture, size_t size);
  // Adds the last (ring) frame, normally the first picture again, and
  // writes the header.
  bool Finish(const uint8_t* picture, size_t size);

  bool Valid() const { return valid_; }
  uint32_t Delay() const { return delay_; }
  uint16_t FrameCount() const { return frameCount_; }
  uint16_t CurrentFrame() const { return currentFrame_; }
  uint16_t Width() const { return width_; }
  uint16_t Height() const { return height_; }
  uint32_t RowStride() const { return rowStride_; }
  bool HasPicture() const { return !picture_.empty(); }
  // The packed DIB of the frame in the picture; empty without one.
  const std::vector<uint8_t>& Picture() const { return picture_; }
  const DibRgbQuad* Palette() const;
  // Row y of the animation (top first); null without a picture.
  const uint8_t* Line(uint32_t y) const;
  bool InMemory() const { return memory_ != nullptr; }

private:
  bool ReadHeader();
  void LoadIntoMemory();
  int64_t SeekData(int64_t offset);  // relative to the base offset
  int64_t DataPosition() const;
  uint32_t ReadData(void* buffer, uint32_t count);
  // Reads one frame header and body at the current position and applies it.
  bool ReadFrame();
  void ApplyFrame(const uint8_t* body, uint32_t size);
  uint8_t* LinePtr(uint32_t y);

  bool WriteFrame(const uint8_t* picture, size_t size, bool first);
  bool WriteHeader();

  std::unique_ptr<ByteStream> owned_;
  ByteStream* file_ = nullptr;
  std::unique_ptr<MemoryStream> memory_;
  uint32_t delay_ = 0;
  uint16_t frameCount_ = 0;
  uint16_t currentFrame_ = 0;
  uint16_t width_ = 0;
  uint16_t height_ = 0;
  uint32_t firstFrameOffset_ = 0;
  uint32_t restartOffset_ = 0;
  int64_t baseOffset_ = 0;
  std::vector<uint8_t> picture_;
  bool valid_ = false;
  bool headerOk_ = false;
  uint32_t rowStride_ = 0;
  // Writer state.
  std::vector<uint8_t> previous_;
  uint32_t framesWritten_ = 0;
};

}  // namespace tsl
