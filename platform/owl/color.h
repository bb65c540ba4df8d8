// TColor: an RGB value, or a system colour (0x80000000 plus the index of
// GetSysColor), as the project files store colours.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

class TColor {
public:
  static const uint32_t SysColorFlag = 0x80000000u;

  TColor() = default;
  TColor(COLORREF value) : Value(value) {}
  TColor(int r, int g, int b) : Value(RGB(r, g, b)) {}
  // A system colour by its COLOR_* index.
  static TColor Sys(int index) { return TColor(SysColorFlag | static_cast<uint32_t>(index)); }

  bool IsSysColor() const { return (Value & SysColorFlag) != 0; }
  int Index() const { return static_cast<int>(Value & 0xFF); }
  // The RGB value, a system colour resolved.
  COLORREF Rgb() const { return IsSysColor() ? GetSysColor(Index()) : Value; }
  COLORREF GetValue() const { return Value; }
  void SetValue(COLORREF v) { Value = v; }
  uint8_t Red() const { return GetRValue(Rgb()); }
  uint8_t Green() const { return GetGValue(Rgb()); }
  uint8_t Blue() const { return GetBValue(Rgb()); }
  // The GDI calls take the resolved value; store GetValue().
  operator COLORREF() const { return Rgb(); }

  static const TColor Black, LtGray, Gray, White, LtRed, LtGreen, LtYellow, LtBlue, LtMagenta, LtCyan;
  static const TColor SysWindow, SysWindowText, Sys3dFace, Sys3dShadow, Sys3dHilight, SysBtnText;

private:
  uint32_t Value = 0;
};
