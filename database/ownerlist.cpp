#include "database/ownerlist.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imaging/core/bmpcodec.h"

namespace {

HFONT MakeFont(const tsl::FontRecord& r) {
  LOGFONTA lf{};
  lf.lfHeight = r.lfHeight;
  lf.lfWidth = r.lfWidth;
  lf.lfEscapement = r.lfEscapement;
  lf.lfOrientation = r.lfOrientation;
  lf.lfWeight = r.lfWeight;
  lf.lfItalic = r.lfItalic;
  lf.lfUnderline = r.lfUnderline;
  lf.lfStrikeOut = r.lfStrikeOut;
  lf.lfCharSet = r.lfCharSet;
  lf.lfOutPrecision = r.lfOutPrecision;
  lf.lfClipPrecision = r.lfClipPrecision;
  lf.lfQuality = r.lfQuality;
  lf.lfPitchAndFamily = r.lfPitchAndFamily;
  std::memcpy(lf.lfFaceName, r.lfFaceName, sizeof lf.lfFaceName - 1);
  return ::CreateFontIndirectA(&lf);
}

int32_t I32(const uint8_t* p) { return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }

// A packed DIB's size, and where its pixels start when the block really
// holds them all (0 otherwise).
struct DibView {
  int Width = 0, Height = 0;
  uint32_t Bits = 0;

  explicit DibView(const std::vector<uint8_t>& b) {
    if (b.size() < 40 || I32(b.data()) < 40) return;
    const int64_t w = I32(&b[4]), h = std::llabs(static_cast<int64_t>(I32(&b[8])));
    const int bpp = b[14] | b[15] << 8;
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767 || !bpp) return;
    Width = static_cast<int>(w);
    Height = static_cast<int>(h);
    const uint32_t compression = static_cast<uint32_t>(I32(&b[16]));
    uint64_t offset = static_cast<uint32_t>(I32(b.data())) + 4ull * tsl::PackedDibColorEntries(b.data(), b.size());
    if (compression == BI_BITFIELDS && I32(b.data()) == 40) offset += 12;
    const uint64_t need = compression == BI_RGB || compression == BI_BITFIELDS
                              ? ((static_cast<uint64_t>(w) * bpp + 31) / 32) * 4 * static_cast<uint64_t>(h)
                              : 1;
    if (offset + need <= b.size()) Bits = static_cast<uint32_t>(offset);
  }
};

}  // namespace

TOwnerList::TOwnerList(TWindow* parent, int resourceId, int mode, const TDBSpecialManager* records, TModule* module)
    : TComboBox(parent, resourceId, 0, module), Mode(mode), Records(records) {}

const TDBSpecial* TOwnerList::RecordOf(ULONG_PTR itemData) const {
  if (!Records) return nullptr;
  const int i = Records->Find(static_cast<int32_t>(itemData));
  return i < 0 ? nullptr : &Records->At(i);
}

std::string TOwnerList::ItemText(int index) const {
  const int len = GetStringLen(index);
  if (len <= 0) return std::string();
  std::string text(static_cast<size_t>(len) + 1, '\0');
  GetString(&text[0], index);
  text.resize(std::strlen(text.c_str()));
  return text;
}

void TOwnerList::MeasureItem(MEASUREITEMSTRUCT& info) {
  const TDBSpecial* r = RecordOf(info.itemData);
  if (!r) return TComboBox::MeasureItem(info);
  SIZE size{0, 0};
  if (r->Kind == kSpecialFont) {
    std::string text = ItemText(static_cast<int>(info.itemID));
    if (r->Font.lfItalic) text.insert(0, " ");
    HDC dc = ::GetDC(nullptr);
    HFONT font = MakeFont(r->Font);
    HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
  } else if (r->Kind == kSpecialPictures && (!r->Picture1.empty() || !r->Picture2.empty())) {
    const DibView a(r->Picture1), b(r->Picture2);
    size.cx = std::max(a.Width, b.Width);
    size.cy = std::max(a.Height, b.Height);
  }
  if (!size.cx && !size.cy) return TComboBox::MeasureItem(info);
  info.itemWidth = static_cast<UINT>(size.cx + 2);
  info.itemHeight = static_cast<UINT>(size.cy + 2);
}

void TOwnerList::DrawRecordItem(DRAWITEMSTRUCT& info) {
  const int index = static_cast<int>(info.itemID);
  if (index < 0) return;
  HDC dc = info.hDC;
  ::SetBkMode(dc, TRANSPARENT);
  RECT inner = info.rcItem;
  ::InflateRect(&inner, -1, -1);
  if (const TDBSpecial* r = RecordOf(info.itemData)) {
    if (Mode == kPictures && !r->Picture1.empty() && !r->Picture2.empty()) {
      const DibView v(r->Picture1);
      if (v.Bits) {
        const int iw = inner.right - inner.left, ih = inner.bottom - inner.top;
        RECT dst{inner.left + (iw - v.Width) / 2, inner.top + (ih - v.Height) / 2, 0, 0};
        dst.right = dst.left + v.Width;
        dst.bottom = dst.top + v.Height;
        if (v.Width > iw || v.Height > ih) dst = inner;  // too big: fills the inner rectangle
        const auto* bmi = reinterpret_cast<const BITMAPINFO*>(r->Picture1.data());
        ::StretchDIBits(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, 0, 0, v.Width, v.Height,
                        r->Picture1.data() + v.Bits, bmi, DIB_RGB_COLORS, SRCCOPY);
      }
    } else if (Mode == kFonts) {
      const std::string text = ItemText(index);
      HFONT font = MakeFont(r->Font);
      HGDIOBJ old = ::SelectObject(dc, font);
      const COLORREF colour = ::SetTextColor(dc, r->Font.Color);
      ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      ::SetTextColor(dc, colour);
      ::SelectObject(dc, old);
      ::DeleteObject(font);
    }
  }
  if (info.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &info.rcItem);
}

void TOwnerList::ODADrawEntire(DRAWITEMSTRUCT& info) { DrawRecordItem(info); }
void TOwnerList::ODASelect(DRAWITEMSTRUCT& info) { DrawRecordItem(info); }
void TOwnerList::ODAFocus(DRAWITEMSTRUCT& info) { ::DrawFocusRect(info.hDC, &info.rcItem); }
