// The Win32 side of the project records: picture files loaded for a
// background or tooltip, and packed DIBs of the records drawn into a DC.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max

#include <cstdint>
#include <vector>

#include "platform/core/cstring.h"

// Loads a picture file (a Windows path) into a packed DIB through the
// framework's TDib, that is through the picture codecs once they are
// installed and BMP files before; false when the file is missing or holds no
// picture with pixels. The open project's record context calls it.
bool LoadPictureFileDib(const string& path, std::vector<uint8_t>& dib);

// Draws the source rectangle (top-down picture coordinates) of a packed DIB
// stretched into the destination rectangle. False, drawing nothing, for a
// block that does not hold its whole picture.
bool DrawPackedDib(HDC dc, const std::vector<uint8_t>& dib, int srcX, int srcY, int srcW, int srcH, int dstX,
                   int dstY, int dstW, int dstH);
