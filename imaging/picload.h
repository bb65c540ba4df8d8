// The picture file loader: one call turns a picture file into a packed DIB
// whatever its format, chosen by the file name alone (imaging/core/picname.h).
// Results are global blocks the caller owns and frees with GlobalFree; 0
// means no picture, whatever the reason. No message is shown.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "imaging/core/picname.h"
#include "platform/core/bytestream.h"

// The last GIF either loader decoded: its transparency flag (cleared by
// every call) and transparent colour.
extern uint8_t GifTransparencyFlag;
extern COLORREF GifTransparentColour;
// Resolution index and search mode handed to every Photo CD reader.
extern int16_t PcdResolution;
extern int16_t PcdSearchMode;

HGLOBAL LoadPictureFile(const char* fileName);
// A picture inside an open file at `startOffset` for `length` bytes (-1: to
// the end); the name only chooses the format. Metafiles, Photo CD and JPEG
// pictures are read by name instead.
HGLOBAL LoadPictureFromHandle(const char* name, tsl::ByteStream* file, int32_t startOffset, int32_t length);

// Makes LoadPictureFile the loader of TDib's file constructor; true.
bool InstallPictureFileLoader();
