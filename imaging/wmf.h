// TWMF: a Windows metafile (placeable or plain) or an enhanced metafile,
// opened as an enhanced metafile with its size in pixels and its palette,
// and played into a DC. The header tests are in imaging/core/wmfheader.h.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

class TWMF {
public:
  TWMF() = default;
  explicit TWMF(const char* fileName) { Open(fileName); }
  ~TWMF() { Release(); }
  TWMF(const TWMF&) = delete;
  TWMF& operator=(const TWMF&) = delete;

  // Releases what is held and opens the file; Valid tells the outcome.
  bool Open(const char* fileName);
  // Plays the metafile at its own frame (in pixels of its reference
  // device); `rect` is not used. True without a metafile; false when its
  // header cannot be read.
  bool Play(HDC dc, const RECT& rect) const;
  // Saves the metafile as a placeable Windows metafile (1000 units per
  // inch); false, leaving no file, when the conversion fails.
  bool SavePlaceable(const char* fileName) const;

  uint32_t Valid = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  HENHMETAFILE Emf = nullptr;
  HPALETTE Palette = nullptr;

private:
  void Release();
};
