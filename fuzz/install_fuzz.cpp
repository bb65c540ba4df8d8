// The installer's readers on any bytes, the first byte choosing the reader:
// the description, the SETUP.DAT walk with its LZSS members, "system.cnd"
// and the picture record. None may grow memory beyond what the file holds,
// loop past its end, or let a name lead outside the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/core/installdesc.h"
#include "actions/core/setupdat.h"
#include "actions/core/sysconditions.h"

namespace {

class TNullSink : public TSetupDatSink {
public:
  bool MakeFolders(const std::string& path) override {
    if (path.size() > kInstallMaxPath || path.compare(0, 5, "C:\\T\\") != 0 || !IsSafeInstallName(path.substr(5)))
      std::abort();
    return true;
  }
  bool Unpack(const std::string& path, TLzssCore& codec, tsl::ByteStream& in) override {
    // Members that claim more than a fuzz run may write are passed by.
    uint8_t head[kLzssHeaderSize];
    const int64_t at = in.Position();
    if (in.Read(head, sizeof head) == sizeof head) {
      const uint32_t unpacked = head[28] | head[29] << 8 | head[30] << 16 | uint32_t(head[31]) << 24;
      if (unpacked > (1u << 20)) return false;
    }
    in.Seek(at);
    tsl::MemoryStream out;
    const bool ok = codec.Decode(&in, &out);
    if (out.Data().size() > codec.UnpackedLength()) std::abort();
    return ok;
  }
};

class TNoPictures : public TPictureSource {
public:
  bool Load(const tsl::string&, TPictureBits&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  tsl::MemoryStream in(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      TInstallOptionen o;
      o.Read(in);
      if (o.Associations.size() + o.SourcePaths.size() + o.ProgramItems.size() + o.Numbers.size() > size) std::abort();
      tsl::MemoryStream out;
      o.Write(out);
      break;
    }
    case 1: {
      TNullSink sink;
      TLzssCore codec;
      const TSetupWalk w = WalkSetupDat(in, "C:\\T\\", codec, sink);
      if (w.Files.size() > size) std::abort();
      break;
    }
    case 2: {
      std::vector<TSystemConditionChecker> list;
      ReadConditions(in, list);
      if (list.size() > size) std::abort();
      break;
    }
    case 3: {
      TBildEintrag e;
      e.Read(in);
      if (e.Points.size() > size / 8 + 1) std::abort();
      TNoPictures none;
      tsl::MemoryStream out;
      e.Write(out, none);
      break;
    }
  }
  return 0;
}
