// snapwin: waits until a top-level window shows, saves a screenshot of it as
// a BMP file and optionally closes it. Used by the smoke tests to see what a
// page looks like under Xvfb.
//   snapwin <out.bmp> <window class or part of the title> [timeout ms] [--close]
// The output is an absolute Unix path (what the calling script has) or an
// absolute Windows path; anything else is refused, so that no screenshot
// lands in the current folder under a name nobody chose.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
struct Search {
  const char* key;
  HWND found;
};

BOOL CALLBACK Match(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (!IsWindowVisible(w)) return TRUE;
  char cls[256] = "", title[512] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, title, sizeof title);
  if (std::strcmp(cls, s->key) == 0 || (*title && std::strstr(title, s->key))) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// A Windows wide string. Not std::wstring: under winelib WCHAR is a short
// wchar_t, and the C library's wide-string functions behind std::wstring
// count in 4-byte characters.
using WString = std::vector<WCHAR>;

// The output name as a Windows path (closed by a 0), or empty when it is not
// absolute. A Unix path is translated by Wine itself: a script never has to
// guess the drive that maps the Unix root.
WString OutputPath(const char* name) {
  if (name[0] == '/') {
    WCHAR* dos = wine_get_dos_file_name(name);
    if (!dos) return WString();
    WString out(dos, dos + lstrlenW(dos) + 1);
    HeapFree(GetProcessHeap(), 0, dos);
    return out;
  }
  const bool drive = std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' && name[2] == '\\';
  const bool share = name[0] == '\\' && name[1] == '\\';
  if (!drive && !share) return WString();
  const int n = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
  if (n <= 1) return WString();
  WString out(static_cast<size_t>(n), 0);
  MultiByteToWideChar(CP_ACP, 0, name, -1, out.data(), n);
  return out;
}

bool SaveBmp(const WString& path, HWND w) {
  RECT r;
  if (!GetWindowRect(w, &r)) return false;
  const int cx = r.right - r.left, cy = r.bottom - r.top;
  if (cx <= 0 || cy <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, cx, cy, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((cx * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * cy;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + imageSize;
  bool ok = false;
  HANDLE f = CreateFileW(path.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n1 = 0, n2 = 0, n3 = 0;
    ok = WriteFile(f, &fh, sizeof fh, &n1, nullptr) && WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &n2, nullptr) &&
         WriteFile(f, bits, imageSize, &n3, nullptr) && n3 == imageSize;
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: snapwin <out.bmp> <class or title> [timeout ms] [--close]\n");
    return 2;
  }
  const WString out = OutputPath(argv[1]);
  if (out.empty()) {
    std::fprintf(stderr, "snapwin: %s is not an absolute path\n", argv[1]);
    return 2;
  }
  const DWORD timeout = argc > 3 && argv[3][0] != '-' ? std::strtoul(argv[3], nullptr, 10) : 20000;
  bool close = false;
  for (int i = 3; i < argc; ++i)
    if (std::strcmp(argv[i], "--close") == 0) close = true;

  Search s{argv[2], nullptr};
  const DWORD start = GetTickCount();
  while (!s.found && GetTickCount() - start < timeout) {
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    if (!s.found) Sleep(100);
  }
  if (!s.found) {
    std::fprintf(stderr, "snapwin: no window '%s' within %lu ms\n", argv[2], static_cast<unsigned long>(timeout));
    return 1;
  }
  // Let the window finish painting; then bring it to the top for the shot.
  SetForegroundWindow(s.found);
  Sleep(1000);
  const bool ok = SaveBmp(out, s.found);
  if (close) PostMessageA(s.found, WM_CLOSE, 0, 0);
  if (!ok) std::fprintf(stderr, "snapwin: could not save %s\n", argv[1]);
  return ok ? 0 : 1;
}
