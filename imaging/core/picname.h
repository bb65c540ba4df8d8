// Which codec a picture file name selects, and the picture extensions.
// The format comes from the name alone: an extension counts wherever it
// occurs in the name, and the first match in the loader's order wins.
// Portable.
#pragma once
#include "platform/core/containers.h"
#include "platform/core/cstring.h"

enum class TPictureFormat { None, Metafile, Bmp, Pcx, Tga, Gif, Tif, Pcd, Jpg };

// The loader's branch for a name (None for null, empty or no match).
TPictureFormat PictureFormatOf(const char* fileName);

// The part from the last dot, upper-cased, is one of the ten extensions.
bool IsPictureFileName(const char* fileName);

// Appends ".WMF" ".EMF" ".BMP" ".DIB" ".PCX" ".TGA" ".GIF" ".TIF" ".PCD"
// ".JPG", in this order.
void AddPictureExtensions(TArrayAsVector<string>& list);
