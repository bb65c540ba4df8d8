#include "actions/core/bildeintrag.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kFontTrueTypeOnly = 0x00040000;  // the font dialog's CF_TTONLY

const char* const kPageButtons2[] = {"Programmgruppe", "Verzeichnis", "Zur\xFC" "ck", "Weiter", "Beenden"};
const char* const kPageButtons3[] = {"Installieren", "Zur\xFC" "ck", "Beenden"};

bool ReadI32s(int32_t* v, int n, tsl::ByteStream& f) { return ReadFixed(v, 4 * n, f); }

void ReadRect32(TRect32& r, tsl::ByteStream& f) { ReadRect(r, f); }

// Reading bound: a pixel count whose mask would not fit in memory is no
// picture for a setup screen.
constexpr int64_t kMaxMaskBytes = 64ll << 20;

}  // namespace

tsl::FontRecord TBildEintrag::DefaultFont() {
  tsl::FontRecord r;
  r.Flags = kFontTrueTypeOnly;
  r.lfHeight = 24;
  std::strcpy(r.lfFaceName, "Arial");
  return r;
}

tsl::string DefaultPictureName(int n) {
  std::string s;
  if (n < 0 || n >= kPictureEntryCount) return {};
  if (n <= 2) {
    s = "Hintergrund Seite" + std::to_string(n + 1);
  } else if (n <= 8) {
    const int k = n - 3;
    s = std::string("Seite1 ") + (k < 3 ? "Weiter" : "Beenden") + "_" + std::to_string(k % 3 + 1);
  } else if (n <= 23) {
    const int k = n - 9;
    s = std::string("Seite2 ") + kPageButtons2[k / 3] + "_" + std::to_string(k % 3 + 1);
  } else if (n <= 32) {
    const int k = n - 24;
    s = std::string("Seite3 ") + kPageButtons3[k / 3] + "_" + std::to_string(k % 3 + 1);
  } else if (n == 33) {
    s = "Fortschritt Gruppe";
  } else {
    s = "Fortschritt #" + std::to_string(n - 33);
  }
  return tsl::string(s);
}

TBildEintragDatei::TBildEintragDatei() {
  Entries.resize(kPictureEntryCount);
  for (int i = 0; i < kPictureEntryCount; ++i) Entries[i].Number = static_cast<uint16_t>(i);
}

void TBildEintragDatei::SetDefaultNames(const tsl::string& programFolder, const tsl::string& setFolder,
                                        bool leaveOutFolder) {
  for (TBildEintrag& e : Entries) {
    std::string name = programFolder.str();
    if (!leaveOutFolder) name += "BITMAPS\\" + setFolder.str();
    e.FileName = tsl::string(name + DefaultPictureName(e.Number).str() + ".bmp");
  }
}

void TBildEintrag::Read(tsl::ByteStream& f) {
  ReadShortString(FileName, f);
  ReadPoint(Anchor, f);
  ReadRect32(Placed, f);
  ReadFixed(&Number, 2, f);
  ReadFixed(&Alignment, 2, f);
  ReadFixed(&TransparentColour, 4, f);
  ReadFixed(&Shaped, 1, f);
  ReadShortString(Caption, f);
  ReadRect32(TextRect, f);
  tsl::ReadFontRecord(Font, f);
  int16_t n = 0;
  ReadFixed(&n, 2, f);
  Points.clear();
  for (int i = 0; i < n; ++i) {
    if (f.Remaining() == 0) break;
    int32_t v[2] = {0, 0};
    ReadI32s(v, 2, f);
    // The points of an entry that is not shaped are passed over, so that a
    // following record is read from its start.
    if (Shaped) Points.push_back(TPoint32{v[0], v[1]});
  }
}

bool TBildEintrag::Write(tsl::ByteStream& f, TPictureSource& pictures) {
  bool ok = WriteShortString(FileName, f) && WritePoint(Anchor, f);
  const int64_t placedAt = f.Position();
  ok = ok && WriteRect(Placed, f) && WriteFixed(&Number, 2, f) && WriteFixed(&Alignment, 2, f) &&
       WriteFixed(&TransparentColour, 4, f) && WriteFixed(&Shaped, 1, f) && WriteShortString(Caption, f) &&
       WriteRect(TextRect, f) && tsl::WriteFontRecord(Font, f);
  if (!Shaped) {
    Place(pictures);
    Points.clear();
  } else if (Points.empty()) {
    TraceOutline(pictures);
  }
  const size_t n = std::min(Points.size(), kMaxOutlinePoints);
  const uint16_t count = static_cast<uint16_t>(n);
  ok = ok && WriteFixed(&count, 2, f);
  for (size_t i = 0; ok && i < n; ++i) ok = WritePoint(Points[i], f);
  const int64_t end = f.Position();
  ok = ok && placedAt >= 0 && f.Seek(placedAt) == placedAt && WriteRect(Placed, f) && f.Seek(end) == end;
  return ok;
}

void TBildEintrag::TraceOutline(TPictureSource& pictures) {
  if (!Shaped || FileName.length() == 0) return;
  TPictureBits bits;
  if (!pictures.Load(FileName, bits)) return;
  std::vector<uint8_t> mask;
  if (!BuildOutlineMask(bits, TransparentColour, mask)) return;
  Points = TraceContour(mask, bits.Width, bits.Height);
  if (Points.size() > kMaxOutlinePoints) Points.clear();
  Place(pictures);
}

void TBildEintrag::Place(TPictureSource& pictures) {
  if (Shaped) {
    PlaceSize(OutlineBounds(Points));
    return;
  }
  if (FileName.length() == 0) return;
  TPictureBits bits;
  if (!pictures.Load(FileName, bits)) return;
  PlaceSize(TRect32{0, 0, bits.Width, std::abs(bits.Height)});
}

void TBildEintrag::PlaceSize(const TRect32& size) {
  const int32_t w = size.right - size.left, h = size.bottom - size.top;
  const int32_t dx = Anchor.x - size.left, dy = Anchor.y - size.top;
  int32_t mx = 0, my = 0;
  switch (static_cast<TPictureAlign>(Alignment)) {
    case TPictureAlign::TopLeft: break;
    case TPictureAlign::TopCentre: mx = -w / 2; break;
    case TPictureAlign::TopRight: mx = -w; break;
    case TPictureAlign::LeftCentre: my = -h / 2; break;
    case TPictureAlign::Centre: mx = -w / 2; my = -h / 2; break;
    case TPictureAlign::RightCentre: mx = -w; my = -h / 2; break;
    case TPictureAlign::BottomLeft: my = -h; break;
    case TPictureAlign::BottomCentre: mx = -w / 2; my = -h; break;
    case TPictureAlign::BottomRight: mx = -w; my = -h; break;
  }
  Placed = TRect32{dx + mx, dy + my, dx + mx + w, dy + my + h};
}

bool BuildOutlineMask(const TPictureBits& bits, uint32_t transparent, std::vector<uint8_t>& mask) {
  mask.clear();
  if (bits.BitCount != 8 && bits.BitCount != 24) return false;
  const int64_t w = bits.Width, h = std::abs(static_cast<int64_t>(bits.Height));
  if (w <= 0 || h <= 0 || w * h > kMaxMaskBytes) return false;
  const int64_t stride = (w * bits.BitCount + 31) / 32 * 4;
  if (static_cast<int64_t>(bits.Pixels.size()) < stride * h) return false;
  const bool bottomUp = bits.Height > 0;
  mask.assign(static_cast<size_t>(w * h), 1);
  const uint8_t tr = transparent & 0xFF, tg = (transparent >> 8) & 0xFF, tb = (transparent >> 16) & 0xFF;
  for (int64_t y = 0; y < h; ++y) {
    const uint8_t* row = bits.Pixels.data() + (bottomUp ? h - 1 - y : y) * stride;
    for (int64_t x = 0; x < w; ++x) {
      const uint8_t* bgr;
      if (bits.BitCount == 24) {
        bgr = row + 3 * x;
      } else {
        const size_t at = static_cast<size_t>(row[x]) * 4;
        if (at + 3 > bits.Palette.size()) continue;  // no palette entry: not transparent
        bgr = bits.Palette.data() + at;
      }
      if (bgr[0] == tb && bgr[1] == tg && bgr[2] == tr) mask[y * w + x] = 0;
    }
  }
  return true;
}

std::vector<TPoint32> TraceContour(const std::vector<uint8_t>& mask, int32_t width, int32_t height) {
  std::vector<TPoint32> points;
  if (width <= 0 || height <= 0 || mask.size() < static_cast<size_t>(width) * height) return points;
  auto set = [&](int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < width && y < height && mask[static_cast<size_t>(y) * width + x] != 0;
  };
  TPoint32 start;
  bool found = false;
  for (int32_t y = 0; y < height && !found; ++y)
    for (int32_t x = 0; x < width && !found; ++x)
      if (set(x, y)) { start = {x, y}; found = true; }
  if (!found) return points;
  // Clockwise from the upper left.
  static const int kDx[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
  static const int kDy[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
  auto direction = [&](const TPoint32& from, const TPoint32& to) {
    for (int k = 0; k < 8; ++k)
      if (from.x + kDx[k] == to.x && from.y + kDy[k] == to.y) return k;
    return 0;
  };
  points.push_back(start);
  TPoint32 current = start, previous{start.x + 1, start.y - 1};
  const int64_t limit = static_cast<int64_t>(width) * height - 1;
  for (int64_t step = 0; step < limit; ++step) {
    const int k0 = direction(current, previous);
    bool next = false;
    TPoint32 n;
    for (int i = 1; i <= 8; ++i) {
      const int k = (k0 + i) % 8;
      if (set(current.x + kDx[k], current.y + kDy[k])) {
        n = {current.x + kDx[k], current.y + kDy[k]};
        next = true;
        break;
      }
    }
    if (!next) return {};
    if (n == start) return points;
    points.push_back(n);
    previous = current;
    current = n;
  }
  return {};
}

TRect32 OutlineBounds(const std::vector<TPoint32>& points) {
  if (points.empty()) return {};
  TRect32 r{32767, 32767, 0, 0};
  for (const TPoint32& p : points) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}
