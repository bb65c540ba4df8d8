#include "imaging/core/gifcodec.h"

#include <cstring>

#include "imaging/core/picinput.h"

using tsl::ByteStream;
using tsl::GetLe16;
using tsl::PictureInput;

namespace {

uint32_t ColourRef(const uint8_t* rgb) { return uint32_t(rgb[0]) | uint32_t(rgb[1]) << 8 | uint32_t(rgb[2]) << 16; }

bool Put(ByteStream* f, const void* p, uint32_t n) { return f && f->Write(p, n) == n; }

// The string table of the decoder: each code's last byte, first byte,
// length and prefix code; roots are their own single byte.
struct LzwTables {
  uint16_t prefix[4096];
  uint16_t length[4096];
  uint8_t suffix[4096];
  uint8_t first[4096];
};

uint32_t BitLength(uint32_t v) {
  uint32_t n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

}  // namespace

TGIF::TGIF(const tsl::DibPlatform& platform) : TBitmap_Base(platform) {
  MinimumCodeSize = CodeWidth = CodeMask = ClearCode = EndCode = NextCode = 0;
  PreviousCode = kNoCode;
  GlobalTableBits = 0;
  std::memset(LocalColourTable, 0, sizeof LocalColourTable);
  std::memset(GlobalColourTable, 0, sizeof GlobalColourTable);
  NextBlockPosition = 0;
  RequestedFrame = 0;
  HasGlobalTable = 0;
  BackgroundColour = kWhite;
  LoopCount = 0;
  GlobalColourCount = 0;
  std::memset(&Frame, 0, sizeof Frame);
  ApplicationBlockWritten = 0;
  FramesDecoded = -1;
  ResumePosition = -1;
  SequentialMode = 0;
}

int TGIF::ReadHeader(ByteStream* f, const char*) {
  if (!f || f->Seek(StartOffset) < 0) return kBitmapShortRead;
  uint8_t h[13];
  if (f->Read(h, 6) != 6) return kBitmapShortRead;
  if (std::memcmp(h, "GIF", 3) != 0 || (std::memcmp(h + 3, "87a", 3) != 0 && std::memcmp(h + 3, "89a", 3) != 0))
    return kBitmapBadSignature;
  if (f->Read(h + 6, 7) != 7) return kBitmapShortRead;
  Width = GetLe16(h + 6);
  Height = GetLe16(h + 8);
  const uint8_t flags = h[10], background = h[11];
  GlobalTableBits = (flags & 7u) + 1;
  BitsPerPixel = GlobalTableBits == 1 ? 1 : GlobalTableBits <= 4 ? 4 : 8;
  HasGlobalTable = 0;
  GlobalColourCount = 0;
  std::memset(GlobalColourTable, 0, sizeof GlobalColourTable);
  if (flags & 0x80) {
    GlobalColourCount = uint16_t(1u << GlobalTableBits);
    if (f->Read(GlobalColourTable, 3u * GlobalColourCount) != 3u * GlobalColourCount) return kBitmapShortRead;
    HasGlobalTable = 1;
    BackgroundColour = ColourRef(GlobalColourTable + 3 * background);
  }
  if (Width == 0 || Height == 0) return kBitmapBadSize;
  const int64_t at = f->Position();
  if (at < 0 || at > 0x7FFFFFFF) return kBitmapShortRead;
  NextBlockPosition = int32_t(at);
  // The depth must hold every frame's colours: files often carry a small
  // global table (or none) and full local tables, which a depth taken from
  // the global table alone would refuse. The next frame of a sequential
  // run keeps the depth its file's first frame found.
  if (!(SequentialMode && ResumePosition >= 0)) LocalTableBits = LargestLocalTableBits(f, at);
  const uint32_t localBits = LocalTableBits;
  if (!HasGlobalTable && localBits) GlobalTableBits = localBits;
  const uint32_t needed = localBits > GlobalTableBits ? localBits : GlobalTableBits;
  BitsPerPixel = needed == 1 ? 1 : needed <= 4 ? 4 : 8;
  Colours = ColoursForBits(BitsPerPixel);
  if (!ComputeSizes()) return kBitmapNoMemory;
  return kBitmapOk;
}

uint32_t TGIF::LargestLocalTableBits(ByteStream* f, int64_t from) {
  if (f->Seek(from) < 0) return 0;
  PictureInput in(f, PictureEnd(f));
  uint32_t bits = 0;
  auto skipSubBlocks = [&in] {
    for (;;) {
      const int size = in.Byte();
      if (size <= 0) return size == 0;
      if (!in.Skip(uint32_t(size))) return false;
    }
  };
  for (;;) {
    const int c = in.Byte();
    if (c == 0x21) {
      if (in.Byte() < 0 || !skipSubBlocks()) break;
    } else if (c == 0x2C) {
      uint8_t d[9];
      if (!in.Read(d, 9)) break;
      if (d[8] & 0x80) {
        const uint32_t b = (d[8] & 7u) + 1;
        if (b > bits) bits = b;
        if (!in.Skip(3u << b)) break;
      }
      if (in.Byte() < 0 || !skipSubBlocks()) break;
    } else if (c != 0) {
      break;  // the trailer, the end, or a byte the reader itself refuses
    }
  }
  f->Seek(from);
  return bits;
}

int TGIF::ReadPalette(ByteStream*, tsl::DibRgbQuad* table) {
  const uint8_t* src = Frame.HasLocalTable ? LocalColourTable : GlobalColourTable;
  uint32_t count = Frame.HasLocalTable ? Frame.LocalColourCount : GlobalColourCount;
  if (count == 0 || count > Colours) count = Colours;
  if (table)
    for (uint32_t i = 0; i < count; ++i) table[i] = {src[3 * i + 2], src[3 * i + 1], src[3 * i], 0};
  if (Frame.Transparent) {
    if (Frame.TransparentIndex > 255) Frame.TransparentIndex = 255;
    Frame.TransparentColour = ColourRef(src + 3 * Frame.TransparentIndex);
  }
  return kBitmapOk;
}

int TGIF::ReadData(ByteStream* f, uint8_t* bits) {
  // Outside sequential mode every load walks the file from its first block.
  if (!SequentialMode) FramesDecoded = -1;
  graphicControlPending_ = false;
  const int64_t start = SequentialMode && ResumePosition >= 0 ? ResumePosition : NextBlockPosition;
  if (!f || f->Seek(start) < 0) return kBitmapShortRead;
  PictureInput in(f, PictureEnd(f));
  bool reached = false;
  int result = kBitmapOk;
  for (;;) {
    const int c = in.Byte();
    if (c < 0) {
      result = kBitmapShortRead;
      break;
    }
    if (c == 0x21) {
      result = ReadExtension(in);
      if (result != kBitmapOk) break;
    } else if (c == 0x2C) {
      result = ReadImage(in, bits);
      ++FramesDecoded;
      if (result != kBitmapOk) break;
    } else if (c == 0x3B) {
      break;
    } else if (c != 0) {
      result = kBitmapBadDepth;
      break;
    }
    if (FramesDecoded == int32_t(RequestedFrame)) {
      if (SequentialMode) {
        ++RequestedFrame;
        const int64_t at = in.Position();
        ResumePosition = at <= 0x7FFFFFFF ? int32_t(at) : -1;
      }
      reached = true;
      break;
    }
  }
  f->Seek(in.Position());
  if (result != kBitmapOk) return result;
  return reached ? kBitmapOk : kBitmapNoSuchFrame;
}

int TGIF::ReadExtension(PictureInput& in) {
  const int label = in.Byte();
  if (label < 0) return kBitmapShortRead;
  uint8_t block[255];
  bool netscape = false;
  if (label == 0xFE) Comment = string();
  for (int index = 0;; ++index) {
    const int size = in.Byte();
    if (size <= 0) break;
    const int64_t at = in.Position();
    if (!in.Read(block, uint32_t(size))) break;
    if (label == 0xF9 && index == 0 && size >= 4) {
      Frame.Transparent = block[0] & 1;
      Frame.UserInput = block[0] & 2;
      Frame.Disposal = (block[0] >> 2) & 7;
      Frame.Delay = uint32_t(GetLe16(block + 1)) * 10;
      Frame.TransparentIndex = block[3];
      graphicControlAt_ = at;
      graphicControlPending_ = true;
    } else if (label == 0xFF) {
      if (index == 0)
        netscape = size == 11 && std::memcmp(block, "NETSCAPE2.0", 11) == 0;
      else if (index == 1 && netscape && size >= 3)
        LoopCount = GetLe16(block + 1);
    } else if (label == 0xFE) {
      Comment.append(reinterpret_cast<const char*>(block), size_t(size));
    }
  }
  return kBitmapOk;
}

int TGIF::ReadImage(PictureInput& in, uint8_t* bits) {
  Frame.HasLocalTable = 0;
  // A graphic control block governs the one image after it: a frame
  // without its own is opaque, shown without delay and not disposed of.
  if (!graphicControlPending_) {
    Frame.Transparent = 0;
    Frame.UserInput = 0;
    Frame.Disposal = 0;
    Frame.Delay = 0;
    Frame.TransparentIndex = 0;
    Frame.TransparentColour = 0;
  }
  graphicControlPending_ = false;
  uint8_t d[9];
  if (!in.Read(d, 9)) return kBitmapShortRead;
  const uint32_t left = GetLe16(d), top = GetLe16(d + 2), w = GetLe16(d + 4), h = GetLe16(d + 6);
  const uint8_t flags = d[8];
  Frame.Interlaced = flags & 0x40;
  Frame.StoredLeft = left;
  Frame.StoredTop = top;
  if (flags & 0x80) {
    const uint32_t count = 2u << (flags & 7);
    if (count > (1u << BitsPerPixel)) return kBitmapNoSuccessor;
    if (!in.Read(LocalColourTable, 3 * count)) return kBitmapShortRead;
    Frame.HasLocalTable = 1;
    Frame.LocalColourCount = uint16_t(count);
  } else {
    Frame.LocalColourCount = GlobalColourCount;
    if (!HasGlobalTable) return kBitmapNoSuccessor;
  }

  // The frame's pixels, in a block that grows with what the data really
  // decodes to, so a frame size the data cannot fill costs no memory.
  const uint64_t total = uint64_t(w) * h;
  if (total + 256 > tsl::kMaxDibBytes) return kBitmapNoMemory;
  FrameBuffer pixels(Platform(), total + 256);
  const int decoded = DecodeLzw(in, pixels, total);
  if (decoded != kBitmapOk) return decoded;

  // Below 8 bits a frame starts on a byte boundary of the DIB.
  const uint32_t depth = BitsPerPixel;
  const uint32_t drawnLeft = (left * depth & ~7u) / depth;
  if (top >= uint32_t(Height) || drawnLeft >= uint32_t(Width)) return kBitmapOutsideScreen;
  Frame.Left = drawnLeft;
  Frame.Top = top;
  Frame.Width = w < uint32_t(Width) - drawnLeft ? w : uint32_t(Width) - drawnLeft;
  Frame.Height = h < uint32_t(Height) - top ? h : uint32_t(Height) - top;
  DrawFrame(pixels.Data(), w, h, bits);
  ReadPalette(nullptr, ColourTable);
  return kBitmapOk;
}

int TGIF::DecodeLzw(PictureInput& in, FrameBuffer& buffer, uint64_t total) {
  const int m = in.Byte();
  // The data, joined from its sub-blocks.
  std::vector<uint8_t> data;
  for (;;) {
    if (in.Buffered() >= 256) {
      // Fast path: whole sub-blocks straight from the buffer.
      const uint8_t* p = in.Data();
      const uint32_t size = p[0];
      if (size == 0) {
        in.Consume(1);
        break;
      }
      data.insert(data.end(), p + 1, p + 1 + size);
      in.Consume(size + 1);
      continue;
    }
    const int size = in.Byte();
    if (size <= 0) break;
    const size_t at = data.size();
    data.resize(at + size_t(size));
    if (!in.Read(data.data() + at, uint32_t(size))) {
      data.resize(at);
      break;
    }
  }
  if (m < 1 || m > 8) return kBitmapCorruptData;

  MinimumCodeSize = uint32_t(m);
  ClearCode = 1u << m;
  EndCode = ClearCode + 1;
  auto tables = std::make_unique<LzwTables>();
  for (uint32_t c = 0; c < ClearCode; ++c) {
    tables->length[c] = 1;
    tables->first[c] = uint8_t(c);
    tables->suffix[c] = uint8_t(c);
    tables->prefix[c] = 0;
  }
  const uint32_t clear = ClearCode, end = EndCode;
  uint32_t width = uint32_t(m) + 1, next = clear + 2, prev = kNoCode;
  const uint8_t* src = data.data();
  const size_t n = data.size();
  size_t ip = 0;
  uint64_t acc = 0;
  uint32_t have = 0;
  uint64_t pos = 0;
  bool bad = false;
  uint8_t* out = buffer.Data();
  for (;;) {
    if (have < width) {
      if (ip + 8 <= n) {
        // Top up to at least 56 bits in one go.
        uint64_t word;
        std::memcpy(&word, src + ip, 8);
        acc |= word << have;
        const uint32_t take = (63 - have) >> 3;
        ip += take;
        have += take * 8;
      } else {
        while (have < width && ip < n) {
          acc |= uint64_t(src[ip++]) << have;
          have += 8;
        }
        if (have < width) break;  // the data ended without an end code
      }
    }
    const uint32_t code = uint32_t(acc) & ((1u << width) - 1);
    acc >>= width;
    have -= width;
    if (code == clear) {
      width = uint32_t(m) + 1;
      next = clear + 2;
      prev = kNoCode;
      continue;
    }
    if (code == end) break;
    if (prev == kNoCode) {
      if (code > clear || pos >= total) {
        bad = true;
        break;
      }
      if (!buffer.Reserve(pos + 1)) return kBitmapNoMemory;
      out = buffer.Data();
      out[pos++] = uint8_t(code);
      prev = code;
      continue;
    }
    uint32_t len, c = code;
    uint8_t* p;
    if (code < next) {
      len = tables->length[code];
      if (pos + len > total) {
        bad = true;
        break;
      }
      if (!buffer.Reserve(pos + len)) return kBitmapNoMemory;
      out = buffer.Data();
      p = out + pos + len - 1;
    } else if (code == next) {
      len = uint32_t(tables->length[prev]) + 1;
      if (pos + len > total) {
        bad = true;
        break;
      }
      if (!buffer.Reserve(pos + len)) return kBitmapNoMemory;
      out = buffer.Data();
      p = out + pos + len - 1;
      *p-- = tables->first[prev];
      c = prev;
    } else {
      bad = true;
      break;
    }
    while (c >= clear) {
      *p-- = tables->suffix[c];
      c = tables->prefix[c];
    }
    *p = uint8_t(c);
    pos += len;
    if (next < 4096) {
      tables->prefix[next] = uint16_t(prev);
      tables->suffix[next] = out[pos - len];
      tables->first[next] = tables->first[prev];
      tables->length[next] = uint16_t(tables->length[prev] + 1);
      ++next;
      if (next == (1u << width) && width < 12) ++width;
    }
    prev = code;
  }
  CodeWidth = width;
  CodeMask = (1u << width) - 1;
  NextCode = next;
  PreviousCode = prev;
  if (bad || pos != total) return kBitmapCorruptData;
  return buffer.Reserve(total ? total : 1) ? kBitmapOk : kBitmapNoMemory;
}

void TGIF::DrawFrame(const uint8_t* pixels, uint32_t frameWidth, uint32_t frameHeight, uint8_t* bits) {
  const uint32_t dw = Frame.Width, dh = Frame.Height, x0 = Frame.Left;
  const uint64_t rowBytes = uint64_t(RowBytes());
  std::vector<uint32_t> storedRow;
  if (Frame.Interlaced) {
    storedRow.resize(frameHeight);
    uint32_t i = 0;
    const uint32_t passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : passes)
      for (uint32_t r = pass[0]; r < frameHeight; r += pass[1]) storedRow[r] = i++;
  }
  for (uint32_t r = 0; r < dh; ++r) {
    const uint8_t* s = pixels + uint64_t(Frame.Interlaced ? storedRow[r] : r) * frameWidth;
    uint8_t* d = bits + uint64_t(uint32_t(Height) - 1 - Frame.Top - r) * rowBytes;
    switch (BitsPerPixel) {
      case 8:
        std::memcpy(d + x0, s, dw);
        break;
      case 4: {
        d += x0 / 2;
        uint32_t x = 0;
        for (; x + 1 < dw; x += 2) *d++ = uint8_t((s[x] & 15) << 4 | (s[x + 1] & 15));
        if (x < dw) *d = uint8_t((*d & 0x0F) | (s[x] & 15) << 4);
        break;
      }
      default: {
        d += x0 / 8;
        uint32_t x = 0;
        for (; x + 8 <= dw; x += 8) {
          uint8_t b = 0;
          for (int k = 0; k < 8; ++k) b = uint8_t(b << 1 | (s[x + k] & 1));
          *d++ = b;
        }
        if (x < dw) {
          const uint32_t k = dw - x;
          uint8_t b = 0;
          for (uint32_t j = 0; j < k; ++j) b |= uint8_t((s[x + j] & 1) << (7 - j));
          const uint8_t keep = uint8_t(0xFF >> k);
          *d = uint8_t((*d & keep) | b);
        }
        break;
      }
    }
  }
}

int TGIF::Write(ByteStream*, tsl::DibHandle) { return kBitmapOk; }

uint8_t TGIF::PaletteIndexOf(uint32_t colour, const tsl::DibRgbQuad* palette, uint32_t count) const {
  if (!palette) return 0;
  for (uint32_t i = 0; i < count && i < 256; ++i) {
    const uint32_t c =
        uint32_t(palette[i].rgbRed) | uint32_t(palette[i].rgbGreen) << 8 | uint32_t(palette[i].rgbBlue) << 16;
    if (c == (colour & 0xFFFFFF)) return uint8_t(i);
  }
  return 0;
}

int TGIF::WriteGifHeader(ByteStream* f, uint32_t width, uint32_t height, uint32_t bits,
                         const tsl::DibRgbQuad* palette) {
  if (bits < 1 || bits > 8) return kBitmapBadDepth;
  uint32_t count = 1u << bits;
  if (GlobalColourCount) {
    if (count > GlobalColourCount)
      count = GlobalColourCount;
    else
      GlobalColourCount = 0;
  }
  const uint32_t tableBits = BitLength(count) - 1;
  if (count < 2 || count != 1u << tableBits) return kBitmapBadDepth;
  std::vector<uint8_t> h = {'G', 'I', 'F', '8', '9', 'a'};
  h.resize(13);
  tsl::PutLe16(&h[6], uint16_t(width));
  tsl::PutLe16(&h[8], uint16_t(height));
  h[10] = uint8_t((palette ? 0x80 : 0) + tableBits - 1);
  h[11] = PaletteIndexOf(BackgroundColour, palette, count);
  h[12] = 0;
  if (palette)
    for (uint32_t i = 0; i < count; ++i)
      h.insert(h.end(), {palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue});
  if (!Put(f, h.data(), uint32_t(h.size()))) return kBitmapShortWrite;
  writeColours_ = count;
  ApplicationBlockWritten = 0;
  const int64_t at = f->Position();
  NextBlockPosition = at >= 0 && at <= 0x7FFFFFFF ? int32_t(at) : 0;
  return kBitmapOk;
}

int TGIF::WriteGifFrameExtensions(ByteStream* f, const GifFrameInfo& info, const tsl::DibRgbQuad* palette) {
  Frame = info;
  if (!ApplicationBlockWritten) {
    uint8_t a[19] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    tsl::PutLe16(a + 16, uint16_t(LoopCount));
    if (!Put(f, a, sizeof a)) return kBitmapShortWrite;
    ApplicationBlockWritten = 1;
  }
  uint8_t g[8] = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
  g[3] = uint8_t((info.Transparent ? 1 : 0) | (info.UserInput ? 2 : 0) | (info.Disposal & 7) << 2);
  tsl::PutLe16(g + 4, uint16_t(info.Delay / 10));
  g[6] = palette ? PaletteIndexOf(info.TransparentColour, palette, writeColours_ ? writeColours_ : 256)
                 : uint8_t(info.TransparentIndex);
  return Put(f, g, sizeof g) ? kBitmapOk : kBitmapShortWrite;
}

int TGIF::WriteGifComment(ByteStream* f) {
  if (Comment.is_null()) return kBitmapOk;
  std::vector<uint8_t> c = {0x21, 0xFE};
  const std::string& text = Comment.str();
  for (size_t at = 0; at < text.size(); at += 255) {
    const size_t n = text.size() - at < 255 ? text.size() - at : 255;
    c.push_back(uint8_t(n));
    c.insert(c.end(), text.begin() + long(at), text.begin() + long(at + n));
  }
  c.push_back(0);
  return Put(f, c.data(), uint32_t(c.size())) ? kBitmapOk : kBitmapShortWrite;
}

int TGIF::WriteGifImage(ByteStream* f, const GifFrameInfo& info, const uint8_t* dib, size_t size) {
  if (!dib || !size) return kBitmapNothingToWrite;
  std::vector<uint8_t> copy(dib, dib + size);
  tsl::DibView v;
  if (!tsl::ParseDib(copy.data(), copy.size(), v) || v.Compressed()) return kBitmapNothingToWrite;
  if (v.bitCount != 1 && v.bitCount != 4 && v.bitCount != 8) return kBitmapBadDepth;
  if (v.width > 0xFFFF || v.height > 0xFFFF) return kBitmapBadSize;
  Frame = info;
  uint32_t tableBits = 1;
  while ((1u << tableBits) < v.numColours && tableBits < 8) ++tableBits;
  std::vector<uint8_t> out = {0x2C};
  out.resize(10);
  tsl::PutLe16(&out[1], uint16_t(info.Left));
  tsl::PutLe16(&out[3], uint16_t(info.Top));
  tsl::PutLe16(&out[5], uint16_t(v.width));
  tsl::PutLe16(&out[7], uint16_t(v.height));
  out[9] = uint8_t((info.HasLocalTable ? 0x80 : 0) | (info.Interlaced ? 0x40 : 0) | (tableBits - 1));
  if (info.HasLocalTable)
    for (uint32_t i = 0; i < (1u << tableBits); ++i) {
      const tsl::DibRgbQuad e = i < v.numColours ? v.colours[i] : tsl::DibRgbQuad{0, 0, 0, 0};
      out.insert(out.end(), {e.rgbRed, e.rgbGreen, e.rgbBlue});
    }
  // Rows top-down (interlaced: by the four passes), one byte per pixel.
  const uint32_t w = uint32_t(v.width), h = uint32_t(v.height);
  std::vector<uint8_t> pixels;
  pixels.reserve(size_t(w) * h);
  auto addRow = [&](uint32_t r) {
    const uint8_t* s = v.Row(int32_t(h - 1 - r));
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t p;
      if (v.bitCount == 8)
        p = s[x];
      else if (v.bitCount == 4)
        p = (x & 1) ? s[x / 2] & 15 : s[x / 2] >> 4;
      else
        p = (s[x / 8] >> (7 - (x & 7))) & 1;
      pixels.push_back(p);
    }
  };
  if (info.Interlaced) {
    const uint32_t passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : passes)
      for (uint32_t r = pass[0]; r < h; r += pass[1]) addRow(r);
  } else {
    for (uint32_t r = 0; r < h; ++r) addRow(r);
  }
  const uint32_t minimum = v.bitCount == 1 ? 2 : v.bitCount;
  out.push_back(uint8_t(minimum));
  const std::vector<uint8_t> lzw = tsl::GifLzwEncode(pixels.data(), pixels.size(), minimum);
  out.insert(out.end(), lzw.begin(), lzw.end());
  return Put(f, out.data(), uint32_t(out.size())) ? kBitmapOk : kBitmapShortWrite;
}

int TGIF::WriteGifTrailer(ByteStream* f) { return Put(f, ";", 1) ? kBitmapOk : kBitmapShortWrite; }

int TGIF::PatchGifTransparency(ByteStream* f, bool transparent, uint8_t index) {
  if (graphicControlAt_ < 0) return kBitmapNothingToWrite;
  uint8_t g[4];
  if (!f || f->Seek(graphicControlAt_) < 0 || f->Read(g, 4) != 4) return kBitmapShortRead;
  g[0] = uint8_t((g[0] & ~1u) | (transparent ? 1 : 0));
  g[3] = index;
  if (f->Seek(graphicControlAt_) < 0 || f->Write(g, 4) != 4) return kBitmapShortWrite;
  return kBitmapOk;
}

namespace tsl {

std::vector<uint8_t> GifLzwEncode(const uint8_t* pixels, size_t n, uint32_t minimumCodeSize) {
  const uint32_t m = minimumCodeSize < 2 ? 2 : minimumCodeSize > 8 ? 8 : minimumCodeSize;
  const uint32_t clear = 1u << m, end = clear + 1;
  std::vector<uint8_t> out;
  std::vector<uint8_t> block;
  block.reserve(255);
  uint64_t acc = 0;
  uint32_t have = 0;
  auto flushBlock = [&]() {
    if (block.empty()) return;
    out.push_back(uint8_t(block.size()));
    out.insert(out.end(), block.begin(), block.end());
    block.clear();
  };
  auto emit = [&](uint32_t code, uint32_t width) {
    acc |= uint64_t(code) << have;
    have += width;
    while (have >= 8) {
      block.push_back(uint8_t(acc));
      acc >>= 8;
      have -= 8;
      if (block.size() == 255) flushBlock();
    }
  };
  // (prefix << 8 | byte) → code, open addressing; a generation stamp
  // empties the table on a clear code without touching it.
  constexpr uint32_t kSlots = 8192;
  std::vector<uint32_t> keys(kSlots), codes(kSlots), stamp(kSlots, 0);
  uint32_t generation = 1;
  uint32_t next = clear + 2;
  // The decoder reads each code one table entry behind: its width follows
  // the newest code it knows.
  auto width = [&](uint32_t newest) {
    const uint32_t w = BitLength(newest);
    return w < m + 1 ? m + 1 : w > 12 ? 12 : w;
  };
  emit(clear, m + 1);
  if (n > 0) {
    uint32_t current = pixels[0] & (clear - 1);
    for (size_t i = 1; i < n; ++i) {
      const uint32_t byte = pixels[i] & (clear - 1);
      const uint32_t key = current << 8 | byte;
      uint32_t slot = (key * 2654435761u) >> 19;
      bool found = false;
      while (stamp[slot] == generation) {
        if (keys[slot] == key) {
          found = true;
          break;
        }
        slot = (slot + 1) & (kSlots - 1);
      }
      if (found) {
        current = codes[slot];
        continue;
      }
      emit(current, width(next - 1));
      if (next >= 4096) {
        // Full: start again.
        emit(clear, 12);
        next = clear + 2;
        ++generation;
      } else {
        stamp[slot] = generation;
        keys[slot] = key;
        codes[slot] = next++;
      }
      current = byte;
    }
    emit(current, width(next - 1));
    emit(end, width(next));
  } else {
    emit(end, m + 1);
  }
  if (have > 0) {
    block.push_back(uint8_t(acc));
    if (block.size() == 255) flushBlock();
  }
  flushBlock();
  out.push_back(0);
  return out;
}

}  // namespace tsl

bool TGIF::FrameBuffer::Reserve(uint64_t n) {
  if (n <= size_ && data_) return true;
  if (n > most_) return false;
  uint64_t want = size_ * 2 > n ? size_ * 2 : n;
  if (want < 65536) want = 65536;
  if (want > most_) want = most_;
  tsl::DibHandle h = p_.Alloc(size_t(want), true);
  uint8_t* d = h ? p_.Lock(h) : nullptr;
  if (!d) {
    if (h) p_.Free(h);
    return false;
  }
  if (data_) std::memcpy(d, data_, size_t(size_));
  Release();
  h_ = h;
  data_ = d;
  size_ = want;
  return true;
}

void TGIF::FrameBuffer::Release() {
  if (!h_) return;
  p_.Unlock(h_);
  p_.Free(h_);
  h_ = nullptr;
  data_ = nullptr;
  size_ = 0;
}
