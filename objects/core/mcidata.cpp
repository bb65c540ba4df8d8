#include "objects/core/mcidata.h"

#include <cstring>
#include <strings.h>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "foundation/core/streamenc.h"

using namespace tsl;

namespace {

struct TExtension {
  const char* Text;
  int16_t Kind;
};
// In this order: the membership tests are ranges of it.
constexpr TExtension kExtensions[] = {
    {".avi", kMediaAvi},       {".mov", kMediaQuickTime}, {".mpg", kMediaMpeg}, {".vpg", kMediaMpeg},
    {".dat", kMediaMpeg},      {".fli", kMediaAnimation}, {".flc", kMediaAnimation}, {".wav", kMediaWave},
    {".mid", kMediaMidi},      {".rmi", kMediaMidi},
};

int ExtensionIndex(const char* extension, int first, int last) {
  if (!extension) return -1;
  for (int i = first; i <= last; ++i)
    if (strcasecmp(extension, kExtensions[i].Text) == 0) return i;
  return -1;
}

}  // namespace

bool MediaKindFromExtension(const char* extension, int16_t& kind) {
  const int i = ExtensionIndex(extension, 0, 9);
  kind = i < 0 ? int16_t(kMediaUndecided) : kExtensions[i].Kind;
  return i >= 0;
}
bool IsMediaExtension(const char* extension) { return ExtensionIndex(extension, 0, 9) >= 0; }
bool IsVideoExtension(const char* extension) { return ExtensionIndex(extension, 0, 4) >= 0; }
bool IsAnimationExtension(const char* extension) { return ExtensionIndex(extension, 5, 6) >= 0; }
bool IsAudioExtension(const char* extension) { return ExtensionIndex(extension, 7, 9) >= 0; }

TMCIData::TMCIData() {
  TData::Init();
  Init();
}

void TMCIData::Init() {
  Flags = (Flags & ~(kMciOpenOption | 0x0002u)) | kMciShowSymbol;
  DeviceKind = kMediaUndecided;
  PlayOptions = kMciSoundOn;
  FileName = "";
  std::memset(Reserved, 0, sizeof Reserved);
  TrackCount = 0;
  std::memset(Tracks, 0, sizeof Tracks);
}

void TMCIData::Assign(const TData* other) {
  if (other == this) return;
  Reset();
  const auto* o = dynamic_cast<const TMCIData*>(other);
  if (!o) return;
  TData::Assign(o);
  DeviceKind = o->DeviceKind;
  PlayOptions = o->PlayOptions;
  FileName = o->FileName;
  std::memcpy(Reserved, o->Reserved, sizeof Reserved);
  TrackCount = o->TrackCount;
  std::memcpy(Tracks, o->Tracks, sizeof Tracks);
}

bool TMCIData::Read(ByteStream& f) {
  const int64_t start = f.Position();
  TData::Read(f);
  ReadI16(DeviceKind, f);
  ReadU16(PlayOptions, f);
  if (DeviceKind != kMediaCdTracks) {
    ReadShortString(FileName, f);
    ReadFixed(Reserved, sizeof Reserved, f);
    const TRecordContext* project = GetOpenProject();
    if (project && !FileName.is_null()) FileName = project->ResolvePath(FileName);
  } else {
    FileName = "";
    int16_t count = 0;
    ReadI16(count, f);
    // The record holds 99 tracks: a negative count is none, and numbers
    // past the 99th are passed over.
    TrackCount = count < 0 ? 0 : count > kMaxTracks ? kMaxTracks : count;
    std::memset(Tracks, 0, sizeof Tracks);
    for (int i = 0; i < count; ++i) {
      int16_t track = 0;
      if (!ReadFixed(&track, 2, f)) break;
      if (i < kMaxTracks) Tracks[i] = track;
    }
    if (RecordVersionAbove(2, 4)) ReadFixed(Reserved, sizeof Reserved, f);
  }
  return ContinueAtRecordEnd(f, start);
}

bool TMCIData::Write(ByteStream& f) {
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteI16(DeviceKind, f) && ok;
  ok = WriteU16(PlayOptions, f) && ok;
  if (DeviceKind != kMediaCdTracks) {
    ok = WriteShortString(FileName, f) && ok;
  } else {
    const int16_t count = static_cast<int16_t>(TrackCount < 0 ? 0 : TrackCount > kMaxTracks ? kMaxTracks : TrackCount);
    ok = WriteI16(count, f) && ok;
    for (int i = 0; i < count; ++i) ok = WriteI16(static_cast<int16_t>(Tracks[i]), f) && ok;
  }
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
