#include "imaging/core/animfile.h"

#include <cstring>

#include "foundation/core/streamenc.h"

namespace tsl {

namespace {

class Fields {
public:
  explicit Fields(uint8_t* p) : p_(p) {}
  Fields& U8(uint8_t& v, bool write) { return Raw(&v, 1, write); }
  template <typename T>
  Fields& Le(T& v, bool write) {
    uint8_t b[sizeof(T)];
    if (write) {
      for (size_t i = 0; i < sizeof(T); ++i) b[i] = uint8_t(uint64_t(v) >> (8 * i));
      std::memcpy(p_, b, sizeof(T));
    } else {
      uint64_t u = 0;
      for (size_t i = 0; i < sizeof(T); ++i) u |= uint64_t(p_[i]) << (8 * i);
      v = T(u);
    }
    p_ += sizeof(T);
    return *this;
  }
  Fields& Raw(void* v, size_t n, bool write) {
    if (write)
      std::memcpy(p_, v, n);
    else
      std::memcpy(v, p_, n);
    p_ += n;
    return *this;
  }

private:
  uint8_t* p_;
};

void HeaderFields(TAnimHeader& h, uint8_t* b, bool write) {
  Fields(b)
      .Raw(h.Signature, 4, write)
      .U8(h.Byte4, write)
      .U8(h.Byte5, write)
      .Le(h.LoopCount, write)
      .Le(h.FrameCount, write)
      .U8(h.Byte12, write)
      .Le(h.Width, write)
      .Le(h.Height, write)
      .Le(h.ColourCount, write)
      .U8(h.Type, write)
      .Le(h.Long22, write)
      .Le(h.Background, write);
}

void RecordFields(TAnimFrameRecord& r, uint8_t* b, bool write) {
  Fields(b)
      .Le(r.TransparentColour, write)
      .Le(r.PointX, write)
      .Le(r.PointY, write)
      .Le(r.OffsetX, write)
      .Le(r.OffsetY, write)
      .Le(r.Delay, write)
      .U8(r.Byte24, write)
      .U8(r.Transparent, write)
      .U8(r.Byte26, write)
      .U8(r.Byte27, write)
      .U8(r.Byte28, write)
      .Le(r.Long29, write)
      .Raw(r.Name, sizeof r.Name, write)
      .Raw(r.Rest, sizeof r.Rest, write);
}

bool SignatureIs(const TAnimHeader& h, const char* s) { return std::memcmp(h.Signature, s, 3) == 0; }

}  // namespace

bool ReadAnimHeader(TAnimHeader& h, ByteStream& f) {
  uint8_t b[kAnimHeaderBytes];
  if (f.Read(b, kAnimHeaderBytes) != kAnimHeaderBytes) return false;
  HeaderFields(h, b, false);
  h.Signature[3] = 0;
  return true;
}

bool WriteAnimHeader(const TAnimHeader& h, ByteStream& f) {
  uint8_t b[kAnimHeaderBytes];
  TAnimHeader copy = h;
  HeaderFields(copy, b, true);
  return f.Write(b, kAnimHeaderBytes) == kAnimHeaderBytes;
}

bool ReadAnimFrameRecord(TAnimFrameRecord& r, ByteStream& f) {
  uint8_t b[kAnimFrameRecordBytes];
  if (f.Read(b, kAnimFrameRecordBytes) != kAnimFrameRecordBytes) return false;
  RecordFields(r, b, false);
  return true;
}

bool WriteAnimFrameRecord(const TAnimFrameRecord& r, ByteStream& f) {
  uint8_t b[kAnimFrameRecordBytes];
  TAnimFrameRecord copy = r;
  RecordFields(copy, b, true);
  return f.Write(b, kAnimFrameRecordBytes) == kAnimFrameRecordBytes;
}

bool IsPictureAnimation(const TAnimHeader& h) { return SignatureIs(h, "ABP") && h.Type == kAnimTypePictures; }
bool IsFlcAnimation(const TAnimHeader& h) { return SignatureIs(h, "FLX") && h.Type == kAnimTypeFlc; }

namespace {

// The picture of an "ABP" block at the current position; empty when the
// block is dropped. `next` receives where the following record starts, or
// -1 when the list ends here.
std::vector<uint8_t> ReadPictureBlock(ByteStream& f, int64_t& next) {
  next = -1;
  const int64_t p = f.Position();
  uint8_t lb[4];
  if (p < 0 || f.Read(lb, 4) != 4) return {};
  const uint32_t length = GetLe32(lb);
  if (length < 4) return {};
  next = p + length;
  // A picture wholly inside its block is kept, also when the block is
  // longer; one that runs past the block's end is not this block's.
  std::vector<uint8_t> block;
  const bool read = ReadEmbeddedDib(block, f) && f.Position() <= next;
  if (f.Position() != next && f.Seek(next) != next) next = -1;
  if (!read) return {};
  DibView v;
  if (!ParseDib(block.data(), block.size(), v)) return {};
  return block;
}

}  // namespace

bool TAnimatedBmpListCore::Load(std::unique_ptr<ByteStream> file, bool loadIntoMemory) {
  Frames.clear();
  Flx.reset();
  Loaded = false;
  if (!file || !ReadAnimHeader(Header, *file)) return false;
  const bool pictures = IsPictureAnimation(Header);
  if (!pictures && !IsFlcAnimation(Header)) return false;
  for (int i = 0; i < Header.FrameCount; ++i) {
    TAnimFrameRecord r;
    if (!ReadAnimFrameRecord(r, *file)) break;
    if (!pictures) {
      AddFrame({}, r);
      continue;
    }
    int64_t next;
    std::vector<uint8_t> picture = ReadPictureBlock(*file, next);
    if (!picture.empty()) AddFrame(std::move(picture), r);
    if (next < 0) break;
  }
  if (!pictures) {
    Flx = std::make_unique<TFLX>(std::move(file), true, false, loadIntoMemory);
    if (!Flx->Valid()) {
      Flx.reset();
      Frames.clear();
      return false;
    }
  }
  Loaded = true;
  return true;
}

std::vector<uint8_t> TAnimatedBmpListCore::ReadFirstFrame(std::unique_ptr<ByteStream> file) {
  TAnimHeader h;
  if (!file || !ReadAnimHeader(h, *file) || h.FrameCount <= 0) return {};
  TAnimFrameRecord r;
  if (IsPictureAnimation(h)) {
    if (!ReadAnimFrameRecord(r, *file)) return {};
    int64_t next;
    return ReadPictureBlock(*file, next);
  }
  if (!IsFlcAnimation(h)) return {};
  for (int i = 0; i < h.FrameCount; ++i)
    if (!ReadAnimFrameRecord(r, *file)) return {};
  TFLX flx(std::move(file), true, false, false);
  return flx.Valid() ? flx.Picture() : std::vector<uint8_t>();
}

void TAnimatedBmpListCore::AddFrame(std::vector<uint8_t> picture, const TAnimFrameRecord& record) {
  Frames.push_back({record, std::move(picture)});
}

bool TAnimatedBmpListCore::DecodeFrame(int n) {
  if (!Has(n)) return false;
  if (!Flx) return true;
  const int at = Flx->CurrentFrame();
  if (Has(at)) {
    Frames[size_t(at)].Picture.clear();
    ForgetDecoded(at);
  }
  if (n < Flx->CurrentFrame()) {
    Flx->Rewind();
    ++Rewinds;
  }
  // Bounded: FLC data with fewer frames than the list wrap and never get there.
  for (int left = n; Flx->HasPicture() && Flx->CurrentFrame() < n && left > 0; --left) {
    if (!Flx->NextFrame()) break;
    ++Steps;
  }
  Frames[size_t(n)].Picture = Flx->Picture();
  return true;
}

const std::vector<uint8_t>* TAnimatedBmpListCore::FramePicture(int n) {
  if (!Has(n)) return nullptr;
  if (Flx) DecodeFrame(n);
  return &Frames[size_t(n)].Picture;
}

bool TAnimatedBmpListCore::AnyTransparent() const {
  for (const auto& f : Frames)
    if (f.Record.Transparent) return true;
  return false;
}

namespace {

std::vector<uint8_t> Rgb24(int32_t w, int32_t h) {
  const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
  std::vector<uint8_t> b(kInfoHeaderBytes + size_t(stride) * uint32_t(h), 0);
  DibInfoHeader hd{};
  hd.biSize = kInfoHeaderBytes;
  hd.biWidth = w;
  hd.biHeight = h;
  hd.biPlanes = 1;
  hd.biBitCount = 24;
  hd.biSizeImage = stride * uint32_t(h);
  hd.biXPelsPerMeter = hd.biYPelsPerMeter = kDefaultPelsPerMeter;
  std::memcpy(b.data(), &hd, sizeof hd);
  return b;
}

}  // namespace

bool MakeMaskedPair(const std::vector<uint8_t>& picture, uint32_t transparentColorRef, std::vector<uint8_t>& image,
                    std::vector<uint8_t>& mask) {
  std::vector<uint8_t> copy = picture;
  DibView v;
  if (copy.empty() || !ParseDib(copy.data(), copy.size(), v) || v.Compressed() || v.compression == kBiBitfields)
    return false;
  if (v.bitCount == 16) return false;
  const uint32_t key = (transparentColorRef & 0xFF) << 16 | (transparentColorRef & 0xFF00) | (transparentColorRef >> 16 & 0xFF);
  image = Rgb24(v.width, v.height);
  mask = Rgb24(v.width, v.height);
  const uint32_t stride = (uint32_t(v.width) * 3 + 3) & ~3u;
  for (int32_t row = 0; row < v.height; ++row) {
    const uint8_t* s = v.Row(row);
    uint8_t* d = image.data() + kInfoHeaderBytes + size_t(row) * stride;
    uint8_t* m = mask.data() + kInfoHeaderBytes + size_t(row) * stride;
    for (int32_t x = 0; x < v.width; ++x, d += 3, m += 3) {
      uint32_t rgb;  // 0x00RRGGBB
      if (v.bitCount >= 24) {
        const uint8_t* p = s + size_t(x) * (v.bitCount / 8);
        rgb = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      } else {
        uint32_t idx = v.bitCount == 8 ? s[x] : v.bitCount == 4 ? ((x & 1) ? s[x / 2] & 15 : s[x / 2] >> 4)
                                                                 : (s[x / 8] >> (7 - x % 8)) & 1;
        if (idx >= v.numColours) idx = 0;
        const DibRgbQuad& q = v.colours[idx];
        rgb = uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
      }
      if (rgb == key) {
        m[0] = m[1] = m[2] = 0xFF;
      } else {
        d[0] = uint8_t(rgb);
        d[1] = uint8_t(rgb >> 8);
        d[2] = uint8_t(rgb >> 16);
      }
    }
  }
  return true;
}

}  // namespace tsl
