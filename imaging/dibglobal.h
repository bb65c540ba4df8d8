// Packed DIBs in Windows global memory: the platform that gives the codecs
// movable global blocks and opens files by Windows path (TFile), so a
// codec's DIB is the HGLOBAL the player hands around.
#pragma once
#include "platform/owl/defs.h"

#include "platform/core/bytestream.h"
#include "imaging/core/bitmapbase.h"

class TGlobalDibPlatform : public tsl::DibPlatform {
public:
  tsl::DibHandle Alloc(size_t bytes, bool zero) const override;
  uint8_t* Lock(tsl::DibHandle h) const override;
  void Unlock(tsl::DibHandle h) const override;
  void Free(tsl::DibHandle h) const override;
  size_t Size(tsl::DibHandle h) const override;
  std::unique_ptr<tsl::ByteStream> OpenRead(const char* name) const override;
};
// The one instance; build codecs with it (_TDIB codec(GlobalDibPlatform())).
const tsl::DibPlatform& GlobalDibPlatform();

// A new movable, zero-filled block of the same size holding a copy; 0 for
// null or when memory is short.
HGLOBAL DuplicateGlobal(HGLOBAL block);

// The codec's picture as a global block the caller owns and frees with
// GlobalFree: the codec's own block (its owns-memory flag cleared) when it
// is global memory, else a copy. Null when the codec holds no picture.
HGLOBAL TakeGlobalDib(TBitmap_Base& codec);

// The packed DIB of an embedded picture in new movable global memory owned
// by the caller, or 0 (wrong type, size below 80 or past the end).
HGLOBAL ReadDib(tsl::ByteStream& f);
// False and nothing written for a null handle.
bool WriteDib(HGLOBAL dib, tsl::ByteStream& f);
