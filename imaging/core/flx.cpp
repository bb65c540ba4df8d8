#include "imaging/core/flx.h"

#include <algorithm>
#include <cstring>

namespace tsl {

namespace {

constexpr uint32_t kPaletteBytes = 256 * 4;
constexpr uint32_t kPictureOffset = kInfoHeaderBytes + kPaletteBytes;

// A bounded little-endian reader over one chunk: reads past the end give 0
// and mark the cursor as run out, so a damaged chunk ends where its data do.
class Cursor {
public:
  Cursor(const uint8_t* p, uint32_t n) : p_(p), n_(n) {}
  bool Ok() const { return !out_; }
  bool AtEnd() const { return pos_ >= n_; }
  uint32_t Left() const { return pos_ < n_ ? n_ - pos_ : 0; }
  uint8_t U8() {
    if (pos_ >= n_) {
      out_ = true;
      return 0;
    }
    return p_[pos_++];
  }
  uint16_t U16() {
    if (Left() < 2) {
      pos_ = n_;
      out_ = true;
      return 0;
    }
    const uint16_t v = GetLe16(p_ + pos_);
    pos_ += 2;
    return v;
  }
  // n bytes, or null when fewer are left (then the cursor has run out).
  const uint8_t* Take(uint32_t n) {
    if (Left() < n) {
      pos_ = n_;
      out_ = true;
      return nullptr;
    }
    const uint8_t* q = p_ + pos_;
    pos_ += n;
    return q;
  }

private:
  const uint8_t* p_;
  uint32_t n_;
  uint32_t pos_ = 0;
  bool out_ = false;
};

// A packed DIB of w x h, 8 bits, 256 colours, all zero.
std::vector<uint8_t> NewPicture(uint16_t w, uint16_t h, uint32_t stride) {
  std::vector<uint8_t> b(kPictureOffset + size_t(stride) * h, 0);
  DibInfoHeader hd{};
  hd.biSize = kInfoHeaderBytes;
  hd.biWidth = w;
  hd.biHeight = h;
  hd.biPlanes = 1;
  hd.biBitCount = 8;
  hd.biCompression = kBiRgb;
  hd.biSizeImage = uint32_t(size_t(stride) * h);
  hd.biXPelsPerMeter = kDefaultPelsPerMeter;
  hd.biYPelsPerMeter = kDefaultPelsPerMeter;
  hd.biClrUsed = 256;
  std::memcpy(b.data(), &hd, sizeof hd);
  return b;
}

// A writer's picture: 8 bits, 256 colours, not compressed.
bool ParseWriterPicture(const uint8_t* dib, size_t size, std::vector<uint8_t>& copy, DibView& v) {
  if (!dib || !size) return false;
  copy.assign(dib, dib + size);
  if (!ParseDib(copy.data(), copy.size(), v)) return false;
  if (v.bitCount != 8 || v.Compressed() || v.numColours != 256) return false;
  if (v.width > 0xFFFF || v.height > 0xFFFF) return false;
  return true;
}

}  // namespace

TFLX::TFLX(std::unique_ptr<ByteStream> file, bool loadIntoMemory) : owned_(std::move(file)) {
  file_ = owned_.get();
  if (!file_) return;
  baseOffset_ = 0;
  if (!ReadHeader()) return;
  if (loadIntoMemory) LoadIntoMemory();
  valid_ = Rewind();
}

TFLX::TFLX(std::unique_ptr<ByteStream> file, bool use, bool, bool loadIntoMemory) : owned_(std::move(file)) {
  file_ = owned_.get();
  if (!file_ || !use) return;
  baseOffset_ = std::max<int64_t>(0, file_->Position());
  if (!ReadHeader()) return;
  if (loadIntoMemory) LoadIntoMemory();
  valid_ = Rewind();
}

TFLX::~TFLX() = default;

bool TFLX::ReadHeader() {
  uint8_t h[kFlxHeaderBytes];
  if (SeekData(0) < 0 || ReadData(h, kFlxHeaderBytes) != kFlxHeaderBytes) return false;
  const uint16_t magic = GetLe16(h + 4);
  if (magic == kFliMagic) {
    delay_ = uint32_t(GetLe16(h + 16)) * 1000 / 70;
    firstFrameOffset_ = kFlxHeaderBytes;
  } else if (magic == kFlcMagic) {
    delay_ = GetLe32(h + 16);
    firstFrameOffset_ = GetLe32(h + 80);
  } else {
    return false;
  }
  if (delay_ == 0) delay_ = kFlxDefaultDelay;
  frameCount_ = GetLe16(h + 6);
  width_ = GetLe16(h + 8);
  height_ = GetLe16(h + 10);
  if (width_ == 0 || height_ == 0 || uint64_t(width_) * height_ > kFlxMaxPixels) return false;
  rowStride_ = (uint32_t(width_) + 3) & ~3u;
  headerOk_ = true;
  return true;
}

void TFLX::LoadIntoMemory() {
  // The bytes from the base offset to the end; a copy that cannot be had
  // whole is not used.
  const int64_t len = file_->Length();
  if (len < baseOffset_ || len - baseOffset_ > int64_t(kMaxDibBytes)) return;
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(size_t(len - baseOffset_));
  } catch (const std::bad_alloc&) {
    return;
  }
  if (file_->Seek(baseOffset_) != baseOffset_) return;
  if (!bytes.empty() && file_->Read(bytes.data(), uint32_t(bytes.size())) != bytes.size()) return;
  memory_ = std::make_unique<MemoryStream>(std::move(bytes));
}

int64_t TFLX::SeekData(int64_t offset) {
  if (memory_) return memory_->Seek(offset);
  const int64_t p = file_->Seek(baseOffset_ + offset);
  return p < 0 ? p : p - baseOffset_;
}

int64_t TFLX::DataPosition() const {
  if (memory_) return memory_->Position();
  const int64_t p = file_->Position();
  return p < 0 ? p : p - baseOffset_;
}

uint32_t TFLX::ReadData(void* buffer, uint32_t count) {
  return memory_ ? memory_->Read(buffer, count) : file_->Read(buffer, count);
}

const DibRgbQuad* TFLX::Palette() const {
  return picture_.empty() ? nullptr : reinterpret_cast<const DibRgbQuad*>(picture_.data() + kInfoHeaderBytes);
}

const uint8_t* TFLX::Line(uint32_t y) const {
  if (picture_.empty() || y >= height_) return nullptr;
  return picture_.data() + kPictureOffset + size_t(height_ - 1 - y) * rowStride_;
}

uint8_t* TFLX::LinePtr(uint32_t y) { return picture_.data() + kPictureOffset + size_t(height_ - 1 - y) * rowStride_; }

bool TFLX::Rewind() {
  picture_.clear();
  if (!headerOk_ || !file_) return false;
  if (SeekData(firstFrameOffset_) != int64_t(firstFrameOffset_)) return false;
  picture_ = NewPicture(width_, height_, rowStride_);
  if (!ReadFrame()) {
    picture_.clear();
    return false;
  }
  currentFrame_ = 0;
  const int64_t after = DataPosition();
  restartOffset_ = after < 0 ? 0 : uint32_t(after);
  return true;
}

bool TFLX::NextFrame() {
  if (picture_.empty()) return false;
  const int64_t was = DataPosition();
  const bool wrap = currentFrame_ >= frameCount_;
  if (wrap && SeekData(restartOffset_) != int64_t(restartOffset_)) return false;
  if (!ReadFrame()) {
    if (was >= 0) SeekData(was);
    return false;
  }
  currentFrame_ = wrap ? 1 : uint16_t(currentFrame_ + 1);
  return true;
}

bool TFLX::ReadFrame() {
  uint8_t h[kFlxFrameHeaderBytes];
  if (ReadData(h, kFlxFrameHeaderBytes) != kFlxFrameHeaderBytes) return false;
  if (GetLe16(h + 4) != kFlxFrameMagic) return false;
  const uint32_t size = GetLe32(h);
  if (size < kFlxFrameHeaderBytes) return false;
  const uint32_t body = size - kFlxFrameHeaderBytes;
  const int64_t left = memory_ ? memory_->Remaining() : file_->Remaining();
  if (left >= 0 && body > left) return false;
  std::vector<uint8_t> bytes;
  if (body) {
    try {
      bytes.resize(body);
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (ReadData(bytes.data(), body) != body) return false;
  }
  ApplyFrame(bytes.data(), body);
  return true;
}

void TFLX::ApplyFrame(const uint8_t* body, uint32_t size) {
  const int w = width_, h = height_;
  // Bounds of the writes: a byte run of n at (x, y) and a word run of n.
  auto byteFits = [&](int x, int y, int n) { return x >= 0 && x < w && y >= 0 && y < h && x + n <= w; };
  auto wordFits = [&](int x, int y, int n) { return x >= 0 && y >= 0 && y < h && x + 2 * n <= w; };
  DibRgbQuad* pal = reinterpret_cast<DibRgbQuad*>(picture_.data() + kInfoHeaderBytes);

  uint32_t at = 0;
  while (size - at >= kFlxChunkHeaderBytes) {
    const uint32_t csize = GetLe32(body + at);
    const uint16_t type = GetLe16(body + at + 4);
    if (csize < kFlxChunkHeaderBytes || csize > size - at) break;
    Cursor c(body + at + kFlxChunkHeaderBytes, csize - kFlxChunkHeaderBytes);
    at += csize;
    switch (type) {
      case kFlxColor256:
      case kFlxColor64: {
        const int shift = type == kFlxColor64 ? 2 : 0;
        uint32_t packets = c.U16();
        uint32_t index = 0;
        while (packets-- && c.Ok() && index < 256) {
          index += c.U8();
          uint32_t count = c.U8();
          if (count == 0) count = 256;
          for (; count && index < 256; --count, ++index) {
            const uint8_t* rgb = c.Take(3);
            if (!rgb) break;
            pal[index].rgbRed = uint8_t(rgb[0] << shift);
            pal[index].rgbGreen = uint8_t(rgb[1] << shift);
            pal[index].rgbBlue = uint8_t(rgb[2] << shift);
            pal[index].rgbReserved = 0;
          }
        }
        break;
      }
      case kFlxByteDelta: {
        int y = c.U16();
        uint32_t lines = c.U16();
        for (; lines && c.Ok() && !c.AtEnd(); --lines, ++y) {
          int x = 0;
          uint32_t packets = c.U8();
          while (packets-- && c.Ok()) {
            x += c.U8();
            const int n = int8_t(c.U8());
            if (!c.Ok()) break;
            if (n >= 0) {
              const uint8_t* src = c.Take(uint32_t(n));
              if (!src) break;
              if (byteFits(x, y, n)) std::memcpy(LinePtr(uint32_t(y)) + x, src, size_t(n));
              x += n;
            } else {
              const uint8_t v = c.U8();
              if (!c.Ok()) break;
              if (byteFits(x, y, -n)) std::memset(LinePtr(uint32_t(y)) + x, v, size_t(-n));
              x -= n;
            }
          }
        }
        break;
      }
      case kFlxWordDelta: {
        uint32_t lines = c.U16();
        int y = 0;
        while (lines && c.Ok() && !c.AtEnd()) {
          uint16_t word = c.U16();
          if (!c.Ok()) break;
          if ((word & 0xC000) == 0xC000) {
            y -= int16_t(word);
            continue;
          }
          if ((word & 0xC000) == 0x8000) {
            if (y >= 0 && y < h) LinePtr(uint32_t(y))[w - 1] = uint8_t(word);
            word = c.U16();
            if (!c.Ok()) break;
          }
          int x = 0;
          for (uint32_t packets = word; packets && c.Ok(); --packets) {
            x += c.U8();
            const int n = int8_t(c.U8());
            if (!c.Ok()) break;
            if (n > 0) {
              const uint8_t* src = c.Take(uint32_t(n) * 2);
              if (!src) break;
              if (wordFits(x, y, n)) std::memcpy(LinePtr(uint32_t(y)) + x, src, size_t(n) * 2);
              x += 2 * n;
            } else if (n < 0) {
              const uint8_t* v = c.Take(2);
              if (!v) break;
              if (wordFits(x, y, -n)) {
                uint8_t* p = LinePtr(uint32_t(y)) + x;
                for (int i = 0; i < -n; ++i, p += 2) {
                  p[0] = v[0];
                  p[1] = v[1];
                }
              }
              x += -2 * n;
            }
          }
          ++y;
          --lines;
        }
        break;
      }
      case kFlxBlack:
        std::fill(picture_.begin() + kPictureOffset, picture_.end(), uint8_t(0));
        break;
      case kFlxByteRun:
        // A line decodes until it is full: the packet count byte says too
        // little on lines of more than 255 packets.
        for (int y = 0; y < h && !c.AtEnd(); ++y) {
          c.U8();
          int x = 0;
          while (x < w && !c.AtEnd()) {
            const int n = int8_t(c.U8());
            if (n >= 0) {
              const uint8_t v = c.U8();
              if (!c.Ok()) break;
              if (byteFits(x, y, n)) std::memset(LinePtr(uint32_t(y)) + x, v, size_t(n));
              x += n;
            } else {
              const uint8_t* src = c.Take(uint32_t(-n));
              if (!src) break;
              if (byteFits(x, y, -n)) std::memcpy(LinePtr(uint32_t(y)) + x, src, size_t(-n));
              x -= n;
            }
          }
        }
        break;
      case kFlxCopy:
        for (int y = 0; y < h; ++y) {
          const uint8_t* src = c.Take(uint32_t(w));
          if (!src) break;
          std::memcpy(LinePtr(uint32_t(y)), src, size_t(w));
        }
        break;
      default:  // PSTAMP and unknown chunks
        break;
    }
  }
}

void TFLX::Draw(TFlxCanvas& dc, int x, int y) const {
  if (!picture_.empty()) dc.DrawPicture(picture_.data(), picture_.size(), x, y);
}

void TFLX::DrawFirstFrame(TFlxCanvas& dc, int x, int y) {
  if (currentFrame_ != 0) Rewind();
  Draw(dc, x, y);
}

void TFLX::DrawLastFrame(TFlxCanvas& dc, int x, int y) {
  if (frameCount_ == 0) return Draw(dc, x, y);
  if (currentFrame_ > frameCount_ - 1) Rewind();
  while (HasPicture() && currentFrame_ < frameCount_ - 1)
    if (!NextFrame()) break;
  Draw(dc, x, y);
}

bool TFLX::DrawNextFrame(TFlxCanvas& dc, int x, int y) {
  NextFrame();
  Draw(dc, x, y);
  return currentFrame_ != frameCount_ - 1;
}

// ---- writer ---------------------------------------------------------------

bool TFLX::Create(std::unique_ptr<ByteStream> file, uint32_t delay, const uint8_t* picture, size_t size) {
  if (!file || !picture) return false;
  std::vector<uint8_t> copy;
  DibView v;
  if (!ParseWriterPicture(picture, size, copy, v)) return false;
  owned_ = std::move(file);
  file_ = nullptr;
  return CreateOnFile(owned_.get(), delay, picture, size);
}

bool TFLX::CreateOnFile(ByteStream* file, uint32_t delay, const uint8_t* picture, size_t size) {
  if (!file_) file_ = file;
  if (!file_) return false;
  DibView v;
  if (!ParseWriterPicture(picture, size, previous_, v)) return false;
  baseOffset_ = std::max<int64_t>(0, file_->Position());
  const uint8_t zero[kFlxHeaderBytes] = {};
  if (file_->Write(zero, kFlxHeaderBytes) != kFlxHeaderBytes) return false;
  width_ = uint16_t(v.width);
  height_ = uint16_t(v.height);
  delay_ = delay ? delay : kFlxDefaultDelay;
  rowStride_ = (uint32_t(width_) + 3) & ~3u;
  framesWritten_ = 0;
  frameCount_ = 0;
  return WriteFrame(previous_.data(), previous_.size(), true);
}

bool TFLX::AddFrame(const uint8_t* picture, size_t size) {
  if (!picture || previous_.empty()) return false;
  return WriteFrame(picture, size, false);
}

bool TFLX::Finish(const uint8_t* picture, size_t size) {
  if (!AddFrame(picture, size)) return false;
  return WriteHeader();
}

namespace {

class Out {
public:
  void U8(uint8_t v) { b.push_back(v); }
  void U16(uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  }
  void Raw(const uint8_t* p, size_t n) { b.insert(b.end(), p, p + n); }
  size_t BeginChunk(uint16_t type) {
    const size_t at = b.size();
    U32(0);
    U16(type);
    return at;
  }
  void EndChunk(size_t at) { PutLe32(&b[at], uint32_t(b.size() - at)); }
  std::vector<uint8_t> b;
};

void WritePalette(Out& o, const DibRgbQuad* pal) {
  const size_t at = o.BeginChunk(kFlxColor256);
  o.U16(1);
  o.U8(0);
  o.U8(0);  // 256 colours
  for (int i = 0; i < 256; ++i) {
    o.U8(pal[i].rgbRed);
    o.U8(pal[i].rgbGreen);
    o.U8(pal[i].rgbBlue);
  }
  o.EndChunk(at);
}

// One line of a byte-run chunk.
void WriteRunLine(Out& o, const uint8_t* line, int w) {
  const size_t countAt = o.b.size();
  o.U8(0);
  uint32_t packets = 0;
  int p = 0;
  while (p < w) {
    const int limit = std::min(p + 126, w - 1);
    if (p == w - 1) {
      o.U8(1);
      o.U8(line[p]);
      p += 1;
    } else if (line[p + 1] == line[p]) {
      int q = p + 1;
      while (q < limit && line[q + 1] == line[p]) ++q;
      o.U8(uint8_t(q - p + 1));
      o.U8(line[p]);
      p = q + 1;
    } else {
      // Pixels that each differ from their right neighbour; the last pixel
      // of the line, which has none, joins the stretch that reaches it.
      int q = p;
      while (q < limit && line[q] != line[q + 1]) ++q;
      const int n = q == w - 1 ? q - p + 1 : q - p;
      o.U8(uint8_t(-n));
      o.Raw(line + p, size_t(n));
      p += n;
    }
    ++packets;
  }
  o.b[countAt] = uint8_t(packets);
}

// One changed line of a word-delta chunk: optional last-pixel word, the
// packet count and the packets over the line's words.
void WriteDeltaLine(Out& o, const uint8_t* cur, const uint8_t* prev, int w) {
  if ((w & 1) && cur[w - 1] != prev[w - 1]) o.U16(uint16_t(0x8000 | cur[w - 1]));
  const size_t countAt = o.b.size();
  o.U16(0);
  uint32_t packets = 0;
  const int words = w / 2;
  auto word = [&](const uint8_t* l, int i) { return uint16_t(l[2 * i] | l[2 * i + 1] << 8); };
  auto same = [&](int i) { return word(cur, i) == word(prev, i); };
  int i = 0;
  while (true) {
    int j = i;
    while (j < words && same(j)) ++j;
    if (j == words) break;
    int skip = j - i;
    while (skip > 127) {
      o.U8(254);
      o.U8(0);
      ++packets;
      skip -= 127;
    }
    int k = j;
    while (k < words && !same(k)) ++k;
    int m = j;
    while (m < k) {
      o.U8(uint8_t(2 * skip));
      skip = 0;
      int r = m + 1;
      while (r < k && r - m < 127 && word(cur, r) == word(cur, m)) ++r;
      if (r - m >= 2) {
        o.U8(uint8_t(-(r - m)));
        o.U16(word(cur, m));
      } else {
        r = m + 1;
        while (r < k && r - m < 127 && !(r + 1 < k && word(cur, r) == word(cur, r + 1))) ++r;
        o.U8(uint8_t(r - m));
        o.Raw(cur + 2 * m, size_t(r - m) * 2);
      }
      ++packets;
      m = r;
    }
    i = k;
  }
  PutLe16(&o.b[countAt], uint16_t(packets));
}

}  // namespace

bool TFLX::WriteFrame(const uint8_t* picture, size_t size, bool first) {
  std::vector<uint8_t> cur;
  DibView v;
  if (!ParseWriterPicture(picture, size, cur, v)) return false;
  if (v.width != width_ || v.height != height_) return false;
  const int w = width_, h = height_;
  DibView prevView;
  ParseDib(previous_.data(), previous_.size(), prevView);

  const int64_t start = file_->Position();
  if (start < 0) return false;
  Out o;
  o.b.resize(kFlxFrameHeaderBytes, 0);
  uint16_t chunks = 0;
  if (first) {
    WritePalette(o, v.colours);
    const size_t at = o.BeginChunk(kFlxByteRun);
    for (int y = 0; y < h; ++y) WriteRunLine(o, v.Row(h - 1 - y), w);
    o.EndChunk(at);
    chunks = 2;
  } else {
    if (std::memcmp(v.colours, prevView.colours, kPaletteBytes) != 0) {
      WritePalette(o, v.colours);
      ++chunks;
    }
    const size_t at = o.BeginChunk(kFlxWordDelta);
    const size_t countAt = o.b.size();
    o.U16(0);
    uint32_t changed = 0;
    int unchanged = 0;
    for (int y = 0; y < h; ++y) {
      const uint8_t* c = v.Row(h - 1 - y);
      const uint8_t* p = prevView.Row(h - 1 - y);
      if (std::memcmp(c, p, size_t(w)) == 0) {
        ++unchanged;
        continue;
      }
      // A skip word holds at most 16384 lines (its top two bits are set).
      while (unchanged > 0) {
        const int n = std::min(unchanged, 16384);
        o.U16(uint16_t(-n));
        unchanged -= n;
      }
      WriteDeltaLine(o, c, p, w);
      ++changed;
    }
    if (changed) {
      PutLe16(&o.b[countAt], uint16_t(changed));
      o.EndChunk(at);
      ++chunks;
    } else {
      o.b.resize(at);
    }
  }
  PutLe32(&o.b[0], uint32_t(o.b.size()));
  PutLe16(&o.b[4], kFlxFrameMagic);
  PutLe16(&o.b[6], chunks);
  if (file_->Write(o.b.data(), uint32_t(o.b.size())) != o.b.size()) return false;
  if (first) {
    firstFrameOffset_ = uint32_t(start - baseOffset_);
    restartOffset_ = uint32_t(start - baseOffset_ + int64_t(o.b.size()));
  }
  ++framesWritten_;
  frameCount_ = uint16_t(framesWritten_ - 1);
  previous_ = std::move(cur);
  return true;
}

bool TFLX::WriteHeader() {
  const int64_t end = file_->Position();
  if (end < 0) return false;
  uint8_t h[kFlxHeaderBytes] = {};
  PutLe32(h + 0, uint32_t(end - baseOffset_));
  PutLe16(h + 4, kFlcMagic);
  PutLe16(h + 6, uint16_t(framesWritten_ - 1));
  PutLe16(h + 8, width_);
  PutLe16(h + 10, height_);
  PutLe16(h + 12, 8);
  PutLe16(h + 14, 3);
  PutLe32(h + 16, delay_);
  PutLe32(h + 34, 0x4853);
  PutLe16(h + 38, 1);
  PutLe16(h + 40, 1);
  PutLe32(h + 80, firstFrameOffset_);
  PutLe32(h + 84, restartOffset_);
  if (file_->Seek(baseOffset_) != baseOffset_) return false;
  if (file_->Write(h, kFlxHeaderBytes) != kFlxHeaderBytes) return false;
  return file_->Seek(end) == end;
}

}  // namespace tsl
