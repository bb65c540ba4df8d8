// TCelArray: a bitmap holding a row of equally sized cels (frames, button
// faces), addressed by index.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "platform/owl/geometry.h"

class TBitmap;
class TDC;

class TCelArray {
public:
  // Takes the strip over; `numCels` cels side by side, each strip width /
  // numCels wide.
  TCelArray(std::unique_ptr<TBitmap> strip, int numCels);
  ~TCelArray();
  TCelArray(const TCelArray&) = delete;
  TCelArray& operator=(const TCelArray&) = delete;

  bool IsValid() const;
  int NumCels() const { return Cels; }
  TSize CelSize() const;
  // Cel `cel` in the strip's coordinates; empty outside 0..NumCels-1.
  TRect CelRect(int cel) const;
  const TBitmap& Bitmap() const { return *Strip; }
  // Copies `source` (strip coordinates) to (x, y) of `dc`.
  bool Draw(TDC& dc, int x, int y, const TRect& source, uint32_t rop = SRCCOPY) const;

private:
  std::unique_ptr<TBitmap> Strip;
  int Cels;
};
