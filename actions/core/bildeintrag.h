// The setup screen's pictures (`TBildEintrag`, `TBildEintragDatei`): 44
// entries with position, alignment, caption and, for pictures with a
// transparent colour, an outline traced from the picture. The player only
// creates, copies and deletes the table with every description; reading,
// writing, tracing and placement serve the authoring side.
//
// Picture record (little endian; strings u16 length + characters):
//   str  file name
//   2 x i32  anchor
//   4 x i32  placed rectangle   written again at the end (tracing moves it)
//   u16  number, u16 alignment
//   u32  transparent colour (0x00BBGGRR)
//   u8   shaped
//   str  caption
//   4 x i32  text rectangle
//   82   font record
//   i16  outline point count n, then n x (2 x i32)
// Portable: no Windows headers; the outline's region is made on the Win32
// side from the points.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/core/streamenc.h"
#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

struct TPoint32 {
  int32_t x = 0, y = 0;
  bool operator==(const TPoint32& o) const { return x == o.x && y == o.y; }
};
struct TRect32 {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TRect32& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// A loaded picture as a DIB: rows bottom-up, each padded to 4 bytes;
// palette entries as RGBQUAD (blue, green, red, 0).
struct TPictureBits {
  int32_t Width = 0, Height = 0;
  int BitCount = 0;
  std::vector<uint8_t> Pixels;
  std::vector<uint8_t> Palette;
};
// Where pictures come from (Win32 files in the player, fakes in tests).
class TPictureSource {
public:
  virtual ~TPictureSource() = default;
  // False when the file is missing or not a readable picture.
  virtual bool Load(const tsl::string& file, TPictureBits& out) = 0;
};

constexpr int kPictureEntryCount = 44;
// The stored count is read as a signed 16-bit value.
constexpr size_t kMaxOutlinePoints = 0x7FFF;

// Which point of the picture lies on the anchor.
enum class TPictureAlign : uint16_t {
  TopLeft = 0, TopCentre, TopRight, LeftCentre, Centre, RightCentre, BottomLeft, BottomCentre, BottomRight
};

class TBildEintrag {
public:
  tsl::string FileName;
  TRect32 Placed;
  TPoint32 Anchor;
  uint16_t Number = 0;
  uint16_t Alignment = 0;
  uint32_t TransparentColour = 0;  // black
  std::vector<TPoint32> Points;
  uint8_t Shaped = 1;
  tsl::string Caption;
  TRect32 TextRect;
  tsl::FontRecord Font = DefaultFont();

  static tsl::FontRecord DefaultFont();

  void Read(tsl::ByteStream& f);
  // Places an entry that is not shaped (and drops its points) and traces a
  // shaped one that has no points yet, then writes the record.
  bool Write(tsl::ByteStream& f, TPictureSource& pictures);
  // Traces the outline of a shaped entry from its picture, then places it.
  void TraceOutline(TPictureSource& pictures);
  void Place(TPictureSource& pictures);
  // Placement from a known size rectangle (the points' bounds or the
  // picture's 0, 0, w, h).
  void PlaceSize(const TRect32& size);
};

class TBildEintragDatei {
public:
  TBildEintragDatei();  // the 44 defaults, numbered 0 to 43
  std::vector<TBildEintrag> Entries;

  // program folder + "BITMAPS\" + set folder + name + ".bmp", or without
  // the two folders in the middle when `leaveOutFolder` is set.
  void SetDefaultNames(const tsl::string& programFolder, const tsl::string& setFolder, bool leaveOutFolder);
};

// The name of default entry `number` ("Seite2 Zurück_3"), code page 1252.
tsl::string DefaultPictureName(int number);

// The mask of a picture: width x height bytes, row 0 at the top, 0 where
// the pixel has the transparent colour. Only 8- and 24-bit pictures are
// traced: false for others and for sizes that do not fit the pixels.
bool BuildOutlineMask(const TPictureBits& bits, uint32_t transparent, std::vector<uint8_t>& mask);
// The clockwise contour of the first set pixel's shape, starting there;
// empty when there is none, when that pixel stands alone, or when the walk
// does not come back within width x height - 1 steps.
std::vector<TPoint32> TraceContour(const std::vector<uint8_t>& mask, int32_t width, int32_t height);
// The points' bounds (largest values inclusive); 0, 0, 0, 0 without points.
TRect32 OutlineBounds(const std::vector<TPoint32>& points);
