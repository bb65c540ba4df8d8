#include "engine/recordgdi.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "imaging/core/dibfile.h"
#include "platform/owl/dc.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"

bool LoadPictureFileDib(const string& path, std::vector<uint8_t>& dib) {
  dib.clear();
  if (path.is_null()) return false;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  TDib picture(path.c_str());
  if (!picture.IsOK()) return false;
  const SIZE_T size = ::GlobalSize(picture.GetHandle());
  const void* p = ::GlobalLock(picture.GetHandle());
  if (!p) return false;
  dib.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
  ::GlobalUnlock(picture.GetHandle());
  int32_t w, h;
  if (!tsl::PackedDibSize(dib, w, h)) {
    dib.clear();
    return false;
  }
  return true;
}

namespace {

// Where the pixels of a packed DIB start, or 0 when the block cannot hold
// them all.
size_t PixelOffset(const std::vector<uint8_t>& dib) {
  int32_t width, height;
  if (!tsl::PackedDibSize(dib, width, height)) return 0;
  uint32_t headerSize;
  std::memcpy(&headerSize, dib.data(), 4);
  uint16_t bits;
  uint32_t compression = BI_RGB, sizeImage = 0;
  if (headerSize == 12) {
    std::memcpy(&bits, dib.data() + 10, 2);
  } else {
    if (headerSize < 40 || dib.size() < 40) return 0;
    std::memcpy(&bits, dib.data() + 14, 2);
    std::memcpy(&compression, dib.data() + 16, 4);
    std::memcpy(&sizeImage, dib.data() + 20, 4);
  }
  const uint32_t fileOffset = tsl::PackedDibBitsOffset(dib.data(), dib.size());
  if (fileOffset < 14 + headerSize) return 0;
  const size_t offset = fileOffset - 14;
  if (offset >= dib.size()) return 0;
  const uint64_t available = dib.size() - offset;
  if (compression == BI_RGB || compression == BI_BITFIELDS) {
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (stride * static_cast<uint64_t>(height) > available) return 0;
  } else if (compression == BI_RLE8 || compression == BI_RLE4) {
    if (sizeImage == 0 || sizeImage > available) return 0;
  } else {
    return 0;
  }
  return offset;
}

}  // namespace

bool DrawPackedDib(HDC dc, const std::vector<uint8_t>& dib, int srcX, int srcY, int srcW, int srcH, int dstX,
                   int dstY, int dstW, int dstH) {
  const size_t offset = PixelOffset(dib);
  if (!offset || srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0) return false;
  int32_t width, height;
  tsl::PackedDibSize(dib, width, height);
  int32_t storedHeight = height;
  uint32_t headerSize;
  std::memcpy(&headerSize, dib.data(), 4);
  if (headerSize >= 40) std::memcpy(&storedHeight, dib.data() + 8, 4);
  // Bottom-up pictures count source rows from their bottom line.
  const int y = storedHeight > 0 ? height - (srcY + srcH) : srcY;
  const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
  const int lines = ::StretchDIBits(dc, dstX, dstY, dstW, dstH, srcX, y, srcW, srcH, dib.data() + offset,
                                    reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, SRCCOPY);
  ::SetStretchBltMode(dc, oldMode);
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

namespace {
void EdgeLine(TDC& dc, int x1, int y1, int x2, int y2, int dx, int dy, bool raised) {
  const TColor first = raised ? TColor(RGB(255, 255, 255)) : TColor(RGB(0, 0, 0));
  const TColor second = raised ? TColor(RGB(0, 0, 0)) : TColor(RGB(255, 255, 255));
  TPen a(first), b(second);
  dc.SelectObject(a);
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectObject(b);
  dc.MoveTo(x1 + dx, y1 + dy);
  dc.LineTo(x2 + dx, y2 + dy);
  dc.RestorePen();
}
}  // namespace

void DrawEdgeLineH(TDC& dc, int left, int right, int y, bool raised) {
  EdgeLine(dc, left, y, right, y, 0, 1, raised);
}

void DrawEdgeLineV(TDC& dc, int top, int bottom, int x, bool raised) {
  EdgeLine(dc, x, top, x, bottom, 1, 0, raised);
}

void DrawEdgeFrame(TDC& dc, const TRect& rect, bool raised) {
  DrawEdgeLineH(dc, rect.left, rect.right, rect.top, raised);
  DrawEdgeLineH(dc, rect.left, rect.right, rect.bottom - 2, raised);
  DrawEdgeLineV(dc, rect.top, rect.bottom, rect.left, raised);
  DrawEdgeLineV(dc, rect.top, rect.bottom, rect.right - 2, raised);
}
