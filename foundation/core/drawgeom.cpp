#include "foundation/core/drawgeom.h"

#include <cmath>
#include <cstring>
#include <limits>

int32_t RoundToInt(double x) {
  const double v = x + 0.5;
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

bool FitSizeIntoBox(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight, int32_t& outWidth,
                    int32_t& outHeight) {
  outWidth = 0;
  outHeight = 0;
  if (!width || !height || !boxWidth || !boxHeight) return false;
  const double w = width, h = height, bw = boxWidth, bh = boxHeight;
  double fw, fh;
  if (height >= width) {
    fh = bh;
    fw = bh * w / h;
    if (fw > bw) {
      const double excess = fw / bw;
      fw = bw;
      fh /= excess;
    }
  } else {
    fw = bw;
    fh = bw * h / w;
    if (fh > bh) {
      const double excess = fh / bh;
      fh = bh;
      fw /= excess;
    }
  }
  outWidth = RoundToInt(fw);
  outHeight = RoundToInt(fh);
  return true;
}

int32_t AlignOffset(int32_t alignment, int32_t destExtent, int32_t fittedExtent) {
  switch (alignment) {
    case 1: return destExtent / 2 - fittedExtent / 2;
    case 2: return destExtent - fittedExtent;
    default: return 0;
  }
}

namespace {
int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}
}  // namespace

ContourResult ReadContour(tsl::ByteStream& f, std::vector<ContourPoint>& points) {
  uint8_t head[14];
  if (f.Read(head, 6) != 6 || std::memcmp(head, "KONTUR", 6) != 0) return ContourResult::NoMagic;
  if (f.Read(head + 6, 8) != 8) return ContourResult::BadCount;
  const int32_t count = ReadI32(head + 10);
  // The count comes from the file: it must describe a polygon and fit in
  // what the file still holds.
  const int64_t left = f.Remaining();
  if (count < 3 || left < 0 || static_cast<int64_t>(count) * 8 > left) return ContourResult::BadCount;
  std::vector<uint8_t> raw(static_cast<size_t>(count) * 8);
  if (f.Read(raw.data(), static_cast<uint32_t>(raw.size())) != raw.size()) return ContourResult::BadCount;
  std::vector<ContourPoint> out(static_cast<size_t>(count));
  for (size_t i = 0; i < out.size(); ++i) {
    out[i].x = ReadI32(&raw[8 * i]);
    out[i].y = ReadI32(&raw[8 * i + 4]);
  }
  points.swap(out);
  return ContourResult::Ok;
}

bool IsBmpFileAt(tsl::ByteStream& f) {
  const int64_t at = f.Position();
  uint8_t header[14];
  const uint32_t got = f.Read(header, sizeof header);
  if (at >= 0) f.Seek(at, tsl::ByteStream::beg);
  return got == sizeof header && header[0] == 'B' && header[1] == 'M';
}
