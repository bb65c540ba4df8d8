#include "platform/owl/celarray.h"

#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"

TCelArray::TCelArray(std::unique_ptr<TBitmap> strip, int numCels)
    : Strip(std::move(strip)), Cels(numCels > 0 ? numCels : 1) {}

TCelArray::~TCelArray() = default;

bool TCelArray::IsValid() const { return Strip && Strip->GetHandle() && Strip->Width() > 0; }

TSize TCelArray::CelSize() const { return IsValid() ? TSize(Strip->Width() / Cels, Strip->Height()) : TSize(0, 0); }

TRect TCelArray::CelRect(int cel) const {
  if (cel < 0 || cel >= Cels) return TRect(0, 0, 0, 0);
  const TSize s = CelSize();
  return TRect(cel * s.cx, 0, (cel + 1) * s.cx, s.cy);
}

bool TCelArray::Draw(TDC& dc, int x, int y, const TRect& source, uint32_t rop) const {
  if (!IsValid() || source.Width() <= 0 || source.Height() <= 0) return false;
  TMemoryDC mem(dc);
  mem.SelectObject(*Strip);
  const bool ok = dc.BitBlt(x, y, source.Width(), source.Height(), mem, source.left, source.top, rop);
  mem.RestoreBitmap();
  return ok;
}
