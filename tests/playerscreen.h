// For tests that run the real player (tests/playerrun.h): the project it
// plays, written from a description, and what its windows show on screen.
#pragma once
#include "playerrun.h"

#include <cstring>
#include <string>
#include <vector>

#include "tools/core/desc/tsldesc.h"
#include "platform/owl/file.h"

// Writes the project of `description` to `path`; returns the path.
inline std::string WriteProjectFile(const std::string& path, const std::string& description) {
  TProjectDescription project;
  TDescriptionError error;
  EXPECT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  WriteProjectDescription(project, f);
  return path;
}

// What the screen shows of a window's client area, as 0x00RRGGBB rows.
struct ClientShot {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
  COLORREF At(int x, int y) const {
    const uint32_t p = Pixels[static_cast<size_t>(y) * Width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

inline ClientShot ShootClient(HWND window) {
  ClientShot shot;
  RECT r;
  ::GetClientRect(window, &r);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  shot.Width = r.right;
  shot.Height = r.bottom;
  if (shot.Width <= 0 || shot.Height <= 0) return shot;
  shot.Pixels.resize(static_cast<size_t>(shot.Width) * shot.Height);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = shot.Width;
  bi.bmiHeader.biHeight = -shot.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, shot.Width, shot.Height, screen, origin.x, origin.y, SRCCOPY);
  ::GdiFlush();
  std::memcpy(shot.Pixels.data(), bits, shot.Pixels.size() * 4);
  ::SelectObject(mem, old);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return shot;
}
