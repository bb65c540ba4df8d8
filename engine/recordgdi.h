// The Win32 side of the project records: picture files loaded for a
// background or tooltip, and packed DIBs of the records drawn into a DC.
#pragma once
#include "platform/owl/defs.h"  // windows.h without min and max

#include <cstdint>
#include <vector>

#include "platform/core/cstring.h"

class TDC;
class TRect;

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

// Double edge lines: a black line with a white one a pixel below it
// (horizontal, from left to right exclusive) or right of it (vertical, from
// top to bottom exclusive); white first when raised.
void DrawEdgeLineH(TDC& dc, int left, int right, int y, bool raised);
void DrawEdgeLineV(TDC& dc, int top, int bottom, int x, bool raised);
// A frame of four such lines inside `rect`.
void DrawEdgeFrame(TDC& dc, const TRect& rect, bool raised);
