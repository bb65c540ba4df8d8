// The header of a Shockwave Flash file: what the Flash pane needs to step
// through a movie's frames without playing it (frame rate and count, stage
// size). "FWS" files are read as they are; "CWS" files are inflated with
// zlib, only as far as the header goes.
// Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

struct TSwfHeader {
  bool Compressed = false;
  uint8_t Version = 0;
  uint32_t FileLength = 0;  // as the file states it, uncompressed
  // The stage in twips (1/20 pixel).
  int32_t XMin = 0, XMax = 0, YMin = 0, YMax = 0;
  double FrameRate = 0;  // frames per second (8.8 fixed point in the file)
  uint16_t FrameCount = 0;
};

// False for anything that is no complete SWF header.
bool ReadSwfHeader(const uint8_t* data, size_t size, TSwfHeader& out);
