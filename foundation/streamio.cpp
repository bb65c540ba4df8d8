#include "foundation/streamio.h"

#include <cstring>
#include <vector>

TChooseFontDialog::TData FontDataFromRecord(const tsl::FontRecord& r) {
  TChooseFontDialog::TData d;
  LOGFONTA& o = d.LogFont;
  d.Flags = r.Flags;
  o.lfHeight = r.lfHeight; o.lfWidth = r.lfWidth; o.lfEscapement = r.lfEscapement;
  o.lfOrientation = r.lfOrientation; o.lfWeight = r.lfWeight;
  o.lfItalic = r.lfItalic; o.lfUnderline = r.lfUnderline; o.lfStrikeOut = r.lfStrikeOut;
  o.lfCharSet = r.lfCharSet; o.lfOutPrecision = r.lfOutPrecision;
  o.lfClipPrecision = r.lfClipPrecision; o.lfQuality = r.lfQuality;
  o.lfPitchAndFamily = r.lfPitchAndFamily;
  std::memcpy(o.lfFaceName, r.lfFaceName, sizeof o.lfFaceName);
  o.lfFaceName[sizeof o.lfFaceName - 1] = '\0';
  d.PointSize = r.PointSize; d.Color = r.Color; d.FontType = r.FontType;
  d.SizeMin = r.SizeMin; d.SizeMax = r.SizeMax;
  return d;
}

tsl::FontRecord FontRecordFromData(const TChooseFontDialog::TData& d) {
  tsl::FontRecord r;
  const LOGFONTA& lf = d.LogFont;
  r.Flags = d.Flags;
  r.lfHeight = lf.lfHeight; r.lfWidth = lf.lfWidth; r.lfEscapement = lf.lfEscapement;
  r.lfOrientation = lf.lfOrientation; r.lfWeight = lf.lfWeight;
  r.lfItalic = lf.lfItalic; r.lfUnderline = lf.lfUnderline; r.lfStrikeOut = lf.lfStrikeOut;
  r.lfCharSet = lf.lfCharSet; r.lfOutPrecision = lf.lfOutPrecision;
  r.lfClipPrecision = lf.lfClipPrecision; r.lfQuality = lf.lfQuality;
  r.lfPitchAndFamily = lf.lfPitchAndFamily;
  std::memcpy(r.lfFaceName, lf.lfFaceName, sizeof r.lfFaceName);
  r.PointSize = d.PointSize; r.Color = d.Color; r.FontType = d.FontType;
  r.SizeMin = d.SizeMin; r.SizeMax = d.SizeMax;
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
