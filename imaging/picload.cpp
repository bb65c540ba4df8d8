#include "imaging/picload.h"

#include <cstring>

#include "imaging/core/bmpcodec.h"
#include "imaging/core/gifcodec.h"
#include "imaging/core/pcxcodec.h"
#include "imaging/core/rowconv.h"
#include "foundation/core/pathstr.h"
#include "imaging/core/tiffcodec.h"
#include "imaging/dibglobal.h"
#include "imaging/jpegfile.h"
#include "imaging/kpcd.h"
#include "imaging/wmf.h"
#include "platform/owl/dib.h"

uint8_t GifTransparencyFlag = 0;
COLORREF GifTransparentColour = RGB(0, 0, 0);
int16_t PcdResolution = 3;
int16_t PcdSearchMode = 2;

namespace {

void Describe(TBitmap_Base& codec, const char* description, const char* extensions, uint32_t flags) {
  std::strncpy(codec.FormatDescription, description, sizeof codec.FormatDescription - 1);
  std::strncpy(codec.ExtensionList, extensions, sizeof codec.ExtensionList - 1);
  codec.FormatFlags = flags;
}

// Loads with the codec by name, or from the stream at its position.
HGLOBAL Decode(TBitmap_Base& codec, const char* name, tsl::ByteStream* file, int32_t start, int32_t length) {
  int r;
  if (file) {
    codec.StartOffset = start;
    codec.Length = length;
    r = codec.LoadStream(file, nullptr);
  } else {
    r = codec.LoadFile(name);
  }
  return r == kBitmapOk ? TakeGlobalDib(codec) : nullptr;
}

HGLOBAL DecodeCodec(TPictureFormat format, const char* name, tsl::ByteStream* file, int32_t start, int32_t length) {
  const tsl::DibPlatform& global = GlobalDibPlatform();
  switch (format) {
    case TPictureFormat::Bmp: {
      _TDIB codec(global);
      Describe(codec, "OS/2 1.x, 2.0, Windows 3.0 Bitmap", "BMP DIB RLE RL4 RL8", 0xFF);
      return Decode(codec, name, file, start, length);
    }
    case TPictureFormat::Pcx: {
      TPCX codec(global);
      Describe(codec, "ZSoft PCX", "PCX", 0xFF);
      return Decode(codec, name, file, start, length);
    }
    case TPictureFormat::Tga: {
      TTGA codec(global);
      Describe(codec, "Truevision Targa", "TGA VST AFI", 0xCC);
      return Decode(codec, name, file, start, length);
    }
    case TPictureFormat::Gif: {
      TGIF codec(global);
      Describe(codec, "CompuServe Graphics Interchange Format", "GIF", 0x77);
      codec.RequestedFrame = 0;
      codec.SequentialMode = 0;
      codec.BackgroundColour = RGB(255, 255, 255);
      codec.Frame.TransparentColour = RGB(0, 0, 0);
      HGLOBAL dib = Decode(codec, name, file, start, length);
      if (dib) {
        GifTransparencyFlag = codec.Frame.Transparent;
        GifTransparentColour = codec.Frame.TransparentColour;
      }
      return dib;
    }
    case TPictureFormat::Tif: {
      TTIF codec(global);
      Describe(codec, "Tagged Image File Format", "TIF", 0x77);
      return Decode(codec, name, file, start, length);
    }
    default: return nullptr;
  }
}

// Renders a metafile on white into a screen-compatible bitmap and takes its
// pixels; 16- and 32-bit pictures come back as 24 bits.
HGLOBAL RenderMetafile(const char* fileName) {
  TWMF wmf(fileName);
  if (!wmf.Valid || wmf.Width <= 0 || wmf.Height <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, wmf.Width, wmf.Height);
  ReleaseDC(nullptr, screen);
  HGLOBAL result = nullptr;
  if (dc && bitmap) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, wmf.Width, wmf.Height};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &r, white);
    DeleteObject(white);
    wmf.Play(dc, r);
    SelectObject(dc, old);
    _TDIB dib(bitmap, wmf.Palette);
    if (dib.Dib && (dib.BitsPerPixel == 16 || dib.BitsPerPixel == 32)) {
      _TDIB wide(dib.Width, dib.Height, 24, GlobalDibPlatform());
      if (wide.Dib) {
        const uint32_t in = uint32_t(dib.RowBytes()), out = uint32_t(wide.RowBytes());
        for (int32_t y = 0; y < dib.Height; ++y) {
          const uint8_t* s = dib.Bits + size_t(y) * in;
          uint8_t* d = wide.Bits + size_t(y) * out;
          if (dib.BitsPerPixel == 16)
            tsl::Row555To24(d, s, dib.Width);
          else
            tsl::Row32To24(d, s, dib.Width);
        }
        result = TakeGlobalDib(wide);
      }
    } else if (dib.Dib) {
      result = TakeGlobalDib(dib);
    }
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return result;
}

HGLOBAL LoadPhotoCd(const char* fileName) {
  TKPCD reader;
  reader.Resolution = PcdResolution;
  reader.SearchMode = PcdSearchMode;
  if (!reader.Load(fileName)) return nullptr;
  HGLOBAL dib = reader.Bitmap;
  reader.Bitmap = nullptr;
  return dib;
}

}  // namespace

HGLOBAL LoadPictureFile(const char* fileName) {
  if (!fileName || !*fileName) return nullptr;
  GifTransparencyFlag = 0;
  const TPictureFormat format = PictureFormatOf(fileName);
  switch (format) {
    case TPictureFormat::Metafile: return RenderMetafile(fileName);
    case TPictureFormat::Pcd: return LoadPhotoCd(fileName);
    case TPictureFormat::Jpg: return read_JPEG_file(fileName);
    case TPictureFormat::None: return nullptr;
    default: return DecodeCodec(format, fileName, nullptr, 0, -1);
  }
}

HGLOBAL LoadPictureFromHandle(const char* name, tsl::ByteStream* file, int32_t startOffset, int32_t length) {
  if (!name || !*name) return nullptr;
  GifTransparencyFlag = 0;
  const TPictureFormat format = PictureFormatOf(name);
  // These are read by name only.
  if (format == TPictureFormat::Metafile || ContainsNoCase(name, ".PCD") || ContainsNoCase(name, ".JPG"))
    return LoadPictureFile(name);
  if (!file) return nullptr;
  return DecodeCodec(format, name, file, startOffset, length);
}

bool InstallPictureFileLoader() {
  static const bool installed = (TDib::SetFileLoader(&LoadPictureFile), true);
  return installed;
}

namespace {
[[maybe_unused]] const bool kInstalled = InstallPictureFileLoader();
}
