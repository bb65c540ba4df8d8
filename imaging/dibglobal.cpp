#include "imaging/dibglobal.h"

#include <cstring>
#include <vector>

#include "foundation/core/streamenc.h"
#include "imaging/core/bmpcodec.h"
#include "imaging/core/dibfile.h"
#include "platform/owl/file.h"

tsl::DibHandle TGlobalDibPlatform::Alloc(size_t bytes, bool zero) const {
  if (bytes > tsl::kMaxDibBytes) return nullptr;
  return GlobalAlloc(GMEM_MOVEABLE | (zero ? GMEM_ZEROINIT : 0), bytes);
}

uint8_t* TGlobalDibPlatform::Lock(tsl::DibHandle h) const {
  return h ? static_cast<uint8_t*>(GlobalLock(static_cast<HGLOBAL>(h))) : nullptr;
}

void TGlobalDibPlatform::Unlock(tsl::DibHandle h) const {
  if (h) GlobalUnlock(static_cast<HGLOBAL>(h));
}

void TGlobalDibPlatform::Free(tsl::DibHandle h) const {
  if (h) GlobalFree(static_cast<HGLOBAL>(h));
}

size_t TGlobalDibPlatform::Size(tsl::DibHandle h) const { return h ? GlobalSize(static_cast<HGLOBAL>(h)) : 0; }

std::unique_ptr<tsl::ByteStream> TGlobalDibPlatform::OpenRead(const char* name) const {
  if (!name || !*name) return nullptr;
  auto f = std::make_unique<TFile>(name, TFile::ReadOnly | TFile::PermRead | TFile::OpenExisting);
  if (!f->IsOpen()) return nullptr;
  return f;
}

const tsl::DibPlatform& GlobalDibPlatform() {
  static const TGlobalDibPlatform platform;
  return platform;
}

HGLOBAL DuplicateGlobal(HGLOBAL block) { return static_cast<HGLOBAL>(tsl::DuplicateGlobal(GlobalDibPlatform(), block)); }

HGLOBAL TakeGlobalDib(TBitmap_Base& codec) {
  if (!codec.Dib || !codec.LockedBase) return nullptr;
  if (&codec.Platform() == &GlobalDibPlatform()) {
    HGLOBAL h = static_cast<HGLOBAL>(codec.Dib);
    codec.OwnsMemory = 0;
    codec.FreeDib();  // unlocks only
    return h;
  }
  const size_t n = codec.Platform().Size(codec.Dib);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
  void* p = h ? GlobalLock(h) : nullptr;
  if (!p) {
    if (h) GlobalFree(h);
    return nullptr;
  }
  std::memcpy(p, codec.LockedBase, n);
  GlobalUnlock(h);
  return h;
}

HGLOBAL ReadDib(tsl::ByteStream& f) {
  std::vector<uint8_t> block;
  if (!tsl::ReadEmbeddedDib(block, f)) return nullptr;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block.size());
  if (!h) return nullptr;
  void* p = GlobalLock(h);
  if (!p) {
    GlobalFree(h);
    return nullptr;
  }
  std::memcpy(p, block.data(), block.size());
  GlobalUnlock(h);
  return h;
}

bool WriteDib(HGLOBAL dib, tsl::ByteStream& f) {
  if (!dib) return false;
  const SIZE_T size = GlobalSize(dib);
  const auto* p = static_cast<const uint8_t*>(GlobalLock(dib));
  if (!p) return false;
  const int r = _TDIB().Write(&f, p, size);
  GlobalUnlock(dib);
  return r == tsl::kDibWriteOk;
}
