#include "imaging/core/picname.h"

#include <cstring>

#include "foundation/core/pathstr.h"

namespace {
const char* const kExtensions[] = {".WMF", ".EMF", ".BMP", ".DIB", ".PCX", ".TGA", ".GIF", ".TIF", ".PCD", ".JPG"};
}

TPictureFormat PictureFormatOf(const char* fileName) {
  if (!fileName || !*fileName) return TPictureFormat::None;
  auto has = [&](const char* ext) { return ContainsNoCase(fileName, ext); };
  if (has(".WMF") || has(".EMF")) return TPictureFormat::Metafile;
  if (has(".BMP") || has(".DIB")) return TPictureFormat::Bmp;
  if (has(".PCX")) return TPictureFormat::Pcx;
  if (has(".TGA")) return TPictureFormat::Tga;
  if (has(".GIF")) return TPictureFormat::Gif;
  if (has(".TIF")) return TPictureFormat::Tif;
  if (has(".PCD")) return TPictureFormat::Pcd;
  if (has(".JPG")) return TPictureFormat::Jpg;
  return TPictureFormat::None;
}

bool IsPictureFileName(const char* fileName) {
  if (!fileName) return false;
  const char* dot = std::strrchr(fileName, '.');
  if (!dot) return false;
  string ext(dot);
  ext.to_upper();
  for (const char* e : kExtensions)
    if (ext.str() == e) return true;
  return false;
}

void AddPictureExtensions(TArrayAsVector<string>& list) {
  for (const char* e : kExtensions) list.Add(string(e));
}
