#include "imaging/jpegfile.h"

#include <cstdio>

#include "imaging/core/jpegcodec.h"
#include "imaging/dibglobal.h"
#include "imaging/picload.h"
#include "platform/owl/file.h"

namespace {
// The picture write_JPEG_file writes.
const uint8_t* ImageBuffer = nullptr;
int ImageWidth = 0;
int ImageHeight = 0;

// The program exports write_JPEG_file, so this unit is always part of it:
// from here the codecs become the framework's picture-file loader.
[[maybe_unused]] const bool kLoaderInstalled = InstallPictureFileLoader();
}  // namespace

HGLOBAL read_JPEG_file(const char* fileName) {
  TFile f;
  if (!fileName || !f.Open(fileName)) {
    std::fprintf(stderr, "can't open %s\n", fileName ? fileName : "");
    return nullptr;
  }
  return static_cast<HGLOBAL>(tsl::ReadJpegDib(GlobalDibPlatform(), f));
}

extern "C" int write_JPEG_file(char* fileName, int quality) {
  TFile f;
  if (!fileName || !f.Open(fileName, TFile::WriteOnly | TFile::CreateAlways)) {
    std::fprintf(stderr, "can't open %s\n", fileName ? fileName : "");
    return 0;
  }
  if (!tsl::WriteJpegRgb(f, ImageBuffer, ImageWidth, ImageHeight, quality)) {
    f.Close();
    ::DeleteFileA(fileName);
    return 0;
  }
  return 1;
}

int SetJpegImage(const char* fileName, int width, int height, const uint8_t* rgb, int quality) {
  ImageBuffer = rgb;
  ImageWidth = width;
  ImageHeight = height;
  return write_JPEG_file(const_cast<char*>(fileName), quality);
}
