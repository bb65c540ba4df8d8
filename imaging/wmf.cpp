#include "imaging/wmf.h"

#include <cstring>
#include <vector>

#include "imaging/core/wmfheader.h"

namespace {

// A file mapped read-only for the scope.
class TFileMapping {
public:
  explicit TFileMapping(const char* name) {
    file_ = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF) return;
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping_) return;
    view_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (view_) size_ = size_t(size.QuadPart);
  }
  ~TFileMapping() {
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  TFileMapping(const TFileMapping&) = delete;
  TFileMapping& operator=(const TFileMapping&) = delete;
  const uint8_t* View() const { return view_; }
  size_t Size() const { return size_; }

private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  const uint8_t* view_ = nullptr;
  size_t size_ = 0;
};

// The frame (hundredths of a millimetre) in pixels of the reference device.
RECT FramePixels(const ENHMETAHEADER& h) {
  const LONG mmX = h.szlMillimeters.cx > 0 ? h.szlMillimeters.cx : 1;
  const LONG mmY = h.szlMillimeters.cy > 0 ? h.szlMillimeters.cy : 1;
  auto px = [](LONG v, LONG dev, LONG mm) { return LONG(int64_t(v) * dev / (int64_t(mm) * 100)); };
  return RECT{px(h.rclFrame.left, h.szlDevice.cx, mmX), px(h.rclFrame.top, h.szlDevice.cy, mmY),
              px(h.rclFrame.right, h.szlDevice.cx, mmX), px(h.rclFrame.bottom, h.szlDevice.cy, mmY)};
}

}  // namespace

void TWMF::Release() {
  if (Emf) DeleteEnhMetaFile(Emf);
  if (Palette) DeleteObject(Palette);
  Emf = nullptr;
  Palette = nullptr;
  Valid = 0;
  Width = Height = 0;
}

bool TWMF::Open(const char* fileName) {
  Release();
  if (!fileName) return false;
  {
    TFileMapping map(fileName);
    if (!map.View()) return false;
    const tsl::MetafileInfo info = tsl::InspectMetafile(map.View(), map.Size());
    switch (info.kind) {
      case tsl::MetafileKind::Enhanced: Emf = GetEnhMetaFileA(fileName); break;
      case tsl::MetafileKind::Placeable: {
        METAFILEPICT pict{MM_ANISOTROPIC, info.extentX, info.extentY, nullptr};
        HDC screen = GetDC(nullptr);
        Emf = SetWinMetaFileBits(UINT(info.metafileBytes), map.View() + info.metafileAt, screen, &pict);
        ReleaseDC(nullptr, screen);
        break;
      }
      case tsl::MetafileKind::Plain:
        Emf = SetWinMetaFileBits(UINT(info.metafileBytes), map.View() + info.metafileAt, nullptr, nullptr);
        break;
      default: break;
    }
  }
  if (!Emf) return false;
  Valid = 1;
  ENHMETAHEADER h{};
  if (GetEnhMetaFileHeader(Emf, sizeof h, &h)) {
    const RECT r = FramePixels(h);
    Width = r.right - r.left;
    Height = r.bottom - r.top;
    if (h.nPalEntries > 0 && h.nPalEntries <= 256) {
      std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + h.nPalEntries * sizeof(PALETTEENTRY));
      auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
      lp->palVersion = 0x300;
      lp->palNumEntries = WORD(GetEnhMetaFilePaletteEntries(Emf, h.nPalEntries, lp->palPalEntry));
      if (lp->palNumEntries > 0 && lp->palNumEntries <= 256) Palette = CreatePalette(lp);
    }
  }
  return true;
}

bool TWMF::Play(HDC dc, const RECT&) const {
  if (!Emf) return true;
  ENHMETAHEADER h{};
  if (!GetEnhMetaFileHeader(Emf, sizeof h, &h)) return false;
  const RECT r = FramePixels(h);
  SetMapMode(dc, MM_TEXT);
  HPALETTE old = nullptr;
  if (Palette) {
    old = SelectPalette(dc, Palette, FALSE);
    RealizePalette(dc);
  }
  PlayEnhMetaFile(dc, Emf, &r);
  if (old) SelectPalette(dc, old, FALSE);
  return true;
}

bool TWMF::SavePlaceable(const char* fileName) const {
  if (!Emf || !fileName) return false;
  HDC screen = GetDC(nullptr);
  const UINT size = GetWinMetaFileBits(Emf, 0, nullptr, MM_ANISOTROPIC, screen);
  ENHMETAHEADER h{};
  const bool haveHeader = GetEnhMetaFileHeader(Emf, sizeof h, &h) != 0;
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  bool ok = false;
  if (size > 0 && haveHeader && dpiX > 0 && dpiY > 0) {
    HANDLE file = CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, size + 22, nullptr);
      auto* view = mapping ? static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
      if (view) {
        auto scale = [](LONG v, int dpi) { return int16_t(int64_t(v) * 1000 / dpi); };
        tsl::MakePlaceableHeader(view, scale(h.rclBounds.left, dpiX), scale(h.rclBounds.top, dpiY),
                                 scale(h.rclBounds.right, dpiX), scale(h.rclBounds.bottom, dpiY), 1000);
        ok = GetWinMetaFileBits(Emf, size, view + 22, MM_ANISOTROPIC, screen) == size;
        UnmapViewOfFile(view);
      }
      if (mapping) CloseHandle(mapping);
      CloseHandle(file);
      if (!ok) DeleteFileA(fileName);
    }
  }
  ReleaseDC(nullptr, screen);
  return ok;
}
