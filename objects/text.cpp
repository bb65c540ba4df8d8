#include "objects/text.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "engine/objectkinds.h"
#include "engine/paintinfo.h"
#include "foundation/drawtools.h"
#include "foundation/streamio.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"

namespace {

class TGdiTextFont : public TTextFont {
public:
  explicit TGdiTextFont(TFont* font) : Font(font) {}
  std::unique_ptr<TFont> Font;
};

std::unique_ptr<TTextFont> MakeGdiFont(tsl::FontRecord& choice) {
  TChooseFontDialog::TData data = FontDataFromRecord(choice);
  TFont* font = CreateFontFromData(data);
  choice.lfQuality = data.LogFont.lfQuality;
  if (!font) return nullptr;
  return std::make_unique<TGdiTextFont>(font);
}

[[maybe_unused]] const TTextFontMaker kPreviousMaker = SetTextFontMaker(&MakeGdiFont);

int Nearest(float x) { return static_cast<int>(std::floor(x + 0.5f)); }

}  // namespace

TFont* GetTextFont(const TTextData& data) {
  auto* font = dynamic_cast<TGdiTextFont*>(data.Font.get());
  return font ? font->Font.get() : nullptr;
}

TPoint RotatedTextStart(int angle, int width, int height) {
  const float r = static_cast<float>(-angle) * 0.017453292f;
  const float s = std::sin(r), c = std::cos(r);
  const int a = std::abs(Nearest(width * c));
  const int b = std::abs(Nearest(width * s));
  const int e = std::abs(Nearest(height * c));
  const int d = std::abs(Nearest(height * s));
  if (angle >= 0 && angle <= 90) return TPoint(0, b);
  if (angle >= 91 && angle <= 180) return TPoint(a, e + b);
  if (angle >= 181 && angle <= 270) return TPoint(d + a, e);
  if (angle >= 271 && angle <= 360) return TPoint(d, 0);
  return TPoint(0, 0);
}

TTextObject::TTextObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TTextData()) {}

TTextData* TTextObject::GetTextData() const { return dynamic_cast<TTextData*>(Data.get()); }

void TTextObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  TObjectElement::Paint(paint);
  if (!Visible) return;
  TTextData* d = GetTextData();
  if (!d || !paint.MemDC.GetHDC()) return;
  TDC& dc = paint.MemDC;
  const int oldMode = dc.SetBkMode(TRANSPARENT);

  uint format = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
  if (d->Flags & kTextWrap) format |= DT_WORDBREAK;
  if (d->Alignment == kTextRight) format |= DT_RIGHT;
  else if (d->Alignment == kTextCentre) format |= DT_CENTER;

  TFont* font = GetTextFont(*d);
  if (font) dc.SelectObject(*font);
  const char* text = d->Text.c_str() ? d->Text.c_str() : "";
  const int length = static_cast<int>(std::strlen(text));
  const TSize extent = dc.GetTextExtent(text, length);

  TRect rect = GetStoredRect();
  rect.Offset(-paint.OriginX, -paint.OriginY);
  TRect shadow = rect;
  shadow.left += d->ShadowOffsetX;
  shadow.right += d->ShadowOffsetX;
  shadow.top += d->ShadowOffsetY;
  shadow.bottom += d->ShadowOffsetY;

  const TColor oldColour = dc.SetTextColor(TColor(d->ShadowColour));
  auto draw = [&](TRect r) {
    if (d->Angle == 0) dc.DrawText(text, length, r, format);
    else DrawRotated(dc, r, extent);
  };
  if (d->Flags & kTextShadow) draw(shadow);
  dc.SetTextColor(TColor(d->FontChoice.Color));
  draw(rect);
  // The page's DC gets its own font back whatever the angle.
  if (font) dc.RestoreFont();
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
}

void TTextObject::DrawRotated(TDC& dc, const TRect& rect, const TSize& extent) {
  TTextData* d = GetTextData();
  LOGFONTA lf = FontDataFromRecord(d->FontChoice).LogFont;
  lf.lfEscapement = d->Angle * 10;
  lf.lfQuality = PROOF_QUALITY;
  const HFONT rotated = ::CreateFontIndirectA(&lf);
  const char* text = d->Text.c_str() ? d->Text.c_str() : "";
  const TPoint start = RotatedTextStart(d->Angle, extent.cx, extent.cy);
  // Clipped to the rectangle within the clip the page set, which comes back
  // with the saved state.
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(rect);
  const HGDIOBJ old = rotated ? ::SelectObject(dc, rotated) : nullptr;
  dc.TextOut(rect.left + start.x, rect.top + start.y, text, static_cast<int>(std::strlen(text)));
  if (old) ::SelectObject(dc, old);
  dc.RestoreDC(saved);
  if (rotated) ::DeleteObject(rotated);
}

void TTextObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  if (TTextData* d = GetTextData()) d->Text = name;
  Refresh(false);
}

bool TTextObject::GetFile(int, bool& flag, string& path) {
  flag = false;
  path = "";
  return false;
}

bool TTextObject::ExchangeText(string&, int32_t& first, int32_t& second) {
  first = second = -1;
  return true;
}

TObjectElement* CreateTextObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TTextObject(owner, info, data);
}

TData* CreateTextData() { return new TTextData(); }
