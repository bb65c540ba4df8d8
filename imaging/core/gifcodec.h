// The GIF codec: GIF 87a and 89a files into packed DIBs, one chosen frame
// or frame after frame (sequential mode, for animated GIFs), with the facts
// of the last decoded frame; and a GIF89a writer. Portable.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/bitmapbase.h"
#include "platform/core/cstring.h"

namespace tsl {
class PictureInput;
}

#pragma pack(push, 1)
// The facts of one frame as the animated picture needs them.
struct GifFrameInfo {
  uint32_t TransparentColour;  // COLORREF, black by default
  uint32_t Width;              // as drawn (cut to the screen)
  uint32_t Height;
  uint32_t Left;               // as drawn (byte-aligned below 8 bits)
  uint32_t Top;
  uint32_t StoredLeft;         // as the image descriptor says
  uint32_t StoredTop;
  uint32_t Delay;              // milliseconds
  uint8_t Interlaced;          // 0 or 0x40
  uint8_t Transparent;         // 0 or 1
  uint8_t Disposal;            // 0..7
  uint8_t UserInput;           // 0 or 2
  uint8_t HasLocalTable;
  uint16_t LocalColourCount;
  uint32_t TransparentIndex;
};
#pragma pack(pop)
static_assert(sizeof(GifFrameInfo) == 43, "GifFrameInfo is 43 bytes");

class TGIF : public TBitmap_Base {
public:
  static constexpr uint32_t kWhite = 0xFFFFFF;
  static constexpr uint32_t kNoCode = 4096;

  explicit TGIF(const tsl::DibPlatform& platform = tsl::DefaultDibPlatform());

  int ReadHeader(tsl::ByteStream* f, const char* options) override;
  int ReadPalette(tsl::ByteStream* f, tsl::DibRgbQuad* table) override;
  int ReadData(tsl::ByteStream* f, uint8_t* bits) override;
  // GIFs are written through the operations below; this writes nothing.
  int Write(tsl::ByteStream* f, tsl::DibHandle dib) override;

  // The writer, in the order a file is written. Each returns 0, or the
  // code of the failure (9 short write, 10 nothing to write, 13 a colour
  // count or depth it cannot write).
  int WriteGifHeader(tsl::ByteStream* f, uint32_t width, uint32_t height, uint32_t bits,
                     const tsl::DibRgbQuad* palette);
  int WriteGifFrameExtensions(tsl::ByteStream* f, const GifFrameInfo& info, const tsl::DibRgbQuad* palette);
  int WriteGifComment(tsl::ByteStream* f);
  // A packed DIB of 1, 4 or 8 bits as one image.
  int WriteGifImage(tsl::ByteStream* f, const GifFrameInfo& info, const uint8_t* dib, size_t size);
  int WriteGifTrailer(tsl::ByteStream* f);
  // Rewrites the transparency flag and index of the graphic-control
  // extension that the reader met last; 10 when it met none.
  int PatchGifTransparency(tsl::ByteStream* f, bool transparent, uint8_t index);

  // Decoder state (kept as fields: the animated picture reads them).
  uint32_t MinimumCodeSize;
  uint32_t CodeWidth;
  uint32_t CodeMask;
  uint32_t ClearCode;
  uint32_t EndCode;
  uint32_t NextCode;
  uint32_t PreviousCode;
  uint32_t GlobalTableBits;
  uint8_t LocalColourTable[768];
  uint8_t GlobalColourTable[768];
  int32_t NextBlockPosition;
  uint32_t RequestedFrame;
  uint32_t HasGlobalTable;
  uint32_t BackgroundColour;
  uint32_t LoopCount;
  uint16_t GlobalColourCount;
  GifFrameInfo Frame;
  uint32_t ApplicationBlockWritten;
  int32_t FramesDecoded;
  int32_t ResumePosition;
  uint32_t SequentialMode;
  string Comment;

private:
  int ReadExtension(tsl::PictureInput& in);
  int ReadImage(tsl::PictureInput& in, uint8_t* bits);
  // The bits of the largest local colour table from `from` on (0 when no
  // image has one); leaves the file at `from`.
  uint32_t LargestLocalTableBits(tsl::ByteStream* f, int64_t from);
  // A frame's pixels in a platform block that grows as decoding needs.
  class FrameBuffer {
  public:
    FrameBuffer(const tsl::DibPlatform& p, uint64_t most) : p_(p), most_(most) {}
    ~FrameBuffer() { Release(); }
    FrameBuffer(const FrameBuffer&) = delete;
    FrameBuffer& operator=(const FrameBuffer&) = delete;
    // At least n bytes (zero beyond what was written); false without memory.
    bool Reserve(uint64_t n);
    uint8_t* Data() { return data_; }

  private:
    void Release();
    const tsl::DibPlatform& p_;
    uint64_t most_;
    tsl::DibHandle h_ = nullptr;
    uint8_t* data_ = nullptr;
    uint64_t size_ = 0;
  };
  // Decodes the image data (code size byte and sub-blocks) into the
  // buffer: 0, 17 when the data is corrupt or does not fill exactly
  // `total` pixels, 1 without memory.
  int DecodeLzw(tsl::PictureInput& in, FrameBuffer& buffer, uint64_t total);
  void DrawFrame(const uint8_t* pixels, uint32_t frameWidth, uint32_t frameHeight, uint8_t* bits);
  uint8_t PaletteIndexOf(uint32_t colour, const tsl::DibRgbQuad* palette, uint32_t count) const;

  int64_t graphicControlAt_ = -1;  // file position of the last extension's flags byte
  bool graphicControlPending_ = false;  // read, and its image not yet
  uint32_t LocalTableBits = 0;          // of the file's largest local table
  uint32_t writeColours_ = 0;      // global table entries written by the header
};

namespace tsl {
// GIF variable-length-code compression of one byte per pixel at a minimum
// code size of 2..8, as sub-blocks with their terminator.
std::vector<uint8_t> GifLzwEncode(const uint8_t* pixels, size_t n, uint32_t minimumCodeSize);
}  // namespace tsl
