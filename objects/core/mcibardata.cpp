#include "objects/core/mcibardata.h"

#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

int MciBarCelWidth(TMciBarImages set) {
  return set == TMciBarImages::Small ? 3 * kMciBarSmallImageWidth
         : set == TMciBarImages::Large ? 3 * kMciBarLargeImageWidth
                                       : 0;
}

int MciBarCelHeight(TMciBarImages set) {
  return set == TMciBarImages::Small ? kMciBarSmallHeight : set == TMciBarImages::Large ? kMciBarLargeHeight : 0;
}

TMCIBarData::TMCIBarData() {
  TData::Init();
  Init();
}

void TMCIBarData::Init() {
  BarSettings = TKVR_ScrollerSettings();
  Style = kMciBarDefaultStyle;
  ButtonMask = kMciBarDefaultMask;
  MediaObjectId = -1;
  ShowBar = 1;
  std::memset(Reserved, 0, sizeof Reserved);
  Recompute();
}

void TMCIBarData::Assign(const TData* other) {
  if (other == this) return;
  Reset();
  const auto* o = dynamic_cast<const TMCIBarData*>(other);
  if (!o) return;
  TData::Assign(o);
  BarSettings = o->BarSettings;
  Style = o->Style;
  ButtonMask = o->ButtonMask;
  MediaObjectId = o->MediaObjectId;
  ShowBar = o->ShowBar;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
  Recompute();
}

TMciBarImages TMCIBarData::ImageSet() const {
  const int low = Style & 0x0F;
  return low == 0 ? TMciBarImages::Small : (low & 1) ? TMciBarImages::Large : TMciBarImages::None;
}

TMciBarLayout TMCIBarData::Layout() const {
  const uint8_t layout = static_cast<uint8_t>(Style >> 8);
  if (layout & kMciBarRow) return TMciBarLayout::Row;
  if (layout & kMciBarColumn) return TMciBarLayout::Column;
  return TMciBarLayout::None;
}

int TMCIBarData::ButtonCount() const {
  int n = 0;
  for (const TMciBarButton& b : kMciBarButtons) n += (ButtonMask & b.Mask) ? 1 : 0;
  return n;
}

void TMCIBarData::Recompute() {
  for (int i = 0; i < kMciBarButtonCount; ++i) ButtonStates[i] = (ButtonMask & kMciBarButtons[i].Mask) ? 0 : -1;
  const int n = ButtonCount();
  const TMciBarImages set = ImageSet();
  const int w = MciBarCelWidth(set), h = MciBarCelHeight(set);
  switch (set == TMciBarImages::None ? TMciBarLayout::None : Layout()) {
    case TMciBarLayout::Row:
      PanelWidth = w * n / 3;
      PanelHeight = h;
      break;
    case TMciBarLayout::Column:
      PanelWidth = w / 3;
      PanelHeight = h * n;
      break;
    case TMciBarLayout::None:
      PanelWidth = PanelHeight = 100;
      break;
  }
}

int TMCIBarData::ButtonAt(int x, int y) const {
  if (!HasButtons()) return -1;
  const int n = ButtonCount();
  int k;
  if (Layout() == TMciBarLayout::Row) {
    if (x < 0) return -1;
    k = static_cast<int>(int64_t(x) * n / (PanelWidth < 1 ? 1 : PanelWidth));
  } else {
    if (y < 0) return -1;
    k = static_cast<int>(int64_t(y) * n / (PanelHeight < 1 ? 1 : PanelHeight));
  }
  if (k >= n) return -1;
  for (int i = 0; i < kMciBarButtonCount; ++i)
    if (ButtonMask & kMciBarButtons[i].Mask) {
      if (k == 0) return i;
      --k;
    }
  return -1;
}

bool TMCIBarData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadU16(Style, f);
  ReadU16(ButtonMask, f);
  ReadI32(MediaObjectId, f);
  if (!RecordVersionAbove(2, 4)) Style = kMciBarDefaultStyle;
  if (RecordVersionAbove(2, 4)) ReadFixed(Reserved, sizeof Reserved, f);
  if (Flags & kMciBarHasSettings) {
    ReadU8(ShowBar, f);
    BarSettings.Read(f);
  }
  const bool ok = ContinueAtRecordEnd(f, start);
  Recompute();
  return ok;
}

bool TMCIBarData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  Flags |= kMciBarHasSettings;
  bool ok = TData::Write(f);
  ok = WriteU16(Style, f) && ok;
  ok = WriteU16(ButtonMask, f) && ok;
  ok = WriteI32(MediaObjectId, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  ok = WriteU8(ShowBar, f) && ok;
  ok = BarSettings.Write(f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
