#include "foundation/streamio.h"

#include <cstring>
#include <type_traits>
#include <vector>

namespace {
// Each field of the font record with its place in the dialog's data, so that
// both directions copy the same fields. The face name is copied apart.
template <class Copy>
void ForEachFontField(tsl::FontRecord& r, TChooseFontDialog::TData& d, Copy copy) {
  LOGFONTA& lf = d.LogFont;
  copy(r.Flags, d.Flags);
  copy(r.lfHeight, lf.lfHeight); copy(r.lfWidth, lf.lfWidth); copy(r.lfEscapement, lf.lfEscapement);
  copy(r.lfOrientation, lf.lfOrientation); copy(r.lfWeight, lf.lfWeight);
  copy(r.lfItalic, lf.lfItalic); copy(r.lfUnderline, lf.lfUnderline); copy(r.lfStrikeOut, lf.lfStrikeOut);
  copy(r.lfCharSet, lf.lfCharSet); copy(r.lfOutPrecision, lf.lfOutPrecision);
  copy(r.lfClipPrecision, lf.lfClipPrecision); copy(r.lfQuality, lf.lfQuality);
  copy(r.lfPitchAndFamily, lf.lfPitchAndFamily);
  copy(r.PointSize, d.PointSize); copy(r.Color, d.Color); copy(r.FontType, d.FontType);
  copy(r.SizeMin, d.SizeMin); copy(r.SizeMax, d.SizeMax);
}
}  // namespace

TChooseFontDialog::TData FontDataFromRecord(const tsl::FontRecord& record) {
  TChooseFontDialog::TData d;
  tsl::FontRecord r = record;
  ForEachFontField(r, d, [](const auto& from, auto& to) { to = static_cast<std::decay_t<decltype(to)>>(from); });
  std::memcpy(d.LogFont.lfFaceName, r.lfFaceName, sizeof d.LogFont.lfFaceName);
  d.LogFont.lfFaceName[sizeof d.LogFont.lfFaceName - 1] = '\0';
  return d;
}

tsl::FontRecord FontRecordFromData(const TChooseFontDialog::TData& data) {
  tsl::FontRecord r;
  TChooseFontDialog::TData d = data;
  ForEachFontField(r, d, [](auto& to, const auto& from) { to = static_cast<std::decay_t<decltype(to)>>(from); });
  std::memcpy(r.lfFaceName, d.LogFont.lfFaceName, sizeof r.lfFaceName);
  return r;
}

void ReadFontData(TChooseFontDialog::TData& d, tsl::ByteStream& f) {
  tsl::FontRecord r = FontRecordFromData(d);  // presets stay when nothing is left
  tsl::ReadFontRecord(r, f);
  d = FontDataFromRecord(r);
}

bool WriteFontData(const TChooseFontDialog::TData& d, tsl::ByteStream& f) {
  return tsl::WriteFontRecord(FontRecordFromData(d), f);
}

void SetWindowString(HWND wnd, const string& text) { SetWindowTextA(wnd, text.c_str()); }

string GetWindowString(HWND wnd) {
  const int n = GetWindowTextLengthA(wnd);
  if (n <= 0) return string();
  std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(wnd, buf.data(), n + 1);
  return string(buf.data());
}

string GetComboBoxString(HWND combo) { return GetWindowString(combo); }

void SetComboBoxString(TComboBox& combo, const string& text) {
  combo.SetText(text.is_null() ? nullptr : text.c_str());
}
