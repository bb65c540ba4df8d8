// Every record reader of the project file on hostile bytes: nothing may read
// out of bounds or allocate what the file merely claims, and whatever was
// read must write out as a record that reads back and writes to the same
// bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/core/format/projectimage.h"
#include "engine/core/format/recordctx.h"
#include "objects/core/mcibardata.h"
#include "objects/core/mcidata.h"
#include "objects/core/abpdata.h"
#include "objects/core/bmpcontdata.h"
#include "objects/core/dxshowdata.h"
#include "objects/core/fastsearchdata.h"
#include "objects/core/flashplayerdata.h"
#include "objects/core/flxdata.h"
#include "objects/core/iedata.h"
#include "objects/core/listdata.h"
#include "objects/core/treelistdata.h"

namespace {

using tsl::MemoryStream;

// Writes `r`, reads that back and writes it again: both writes must agree.
template <class T, class ReadFn, class WriteFn>
void Stable(T& r, ReadFn read, WriteFn write) {
  MemoryStream a;
  write(r, a);
  a.Seek(0);
  tsl::TFileVersionScope newest(tsl::kFileVersionMajor, tsl::kFileVersionMinor);
  T again;
  read(again, a);
  MemoryStream b;
  write(again, b);
  if (a.Data() != b.Data()) std::abort();
}

template <class T>
void Record(MemoryStream& m) {
  T r;
  r.Read(m);
  Stable(r, [](T& x, MemoryStream& s) { x.Read(s); }, [](T& x, MemoryStream& s) { x.Write(s); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t which = data[0];
  // The file version the readers go by: 1.0 to 5.9.
  tsl::TFileVersionScope version(static_cast<uint8_t>(1 + data[1] % 5), static_cast<uint8_t>(data[1] / 5 % 10));
  MemoryStream m(data + 2, size - 2);

  // The media and browser kinds' records (17, 18, 21), then the animation
  // kinds' (3, 10, 13), on the top selector values.
  // The list and combo kinds' records (9, 19 and 11).
  if (which == 0xF0 || which == 0xF1) {
    if (which == 0xF0) Record<TListItemDataCore>(m);
    else Record<TComboItemDataCore>(m);
    return 0;
  }
  // The fast search field's and the help register's records (14 and 20).
  if (which == 0xF2 || which == 0xF3) {
    if (which == 0xF2) Record<TFastSearchDataCore>(m);
    else Record<THelpRegisterDataCore>(m);
    return 0;
  }
  if (which >= 0xFA) {
    if (which == 0xFA) Record<TDXShowData>(m);
    else if (which == 0xFB) Record<TIEData>(m);
    else if (which == 0xFC) Record<TFlashPlayerData>(m);
    else if (which == 0xFD) Record<TFLXData>(m);
    else if (which == 0xFE) Record<TABPData>(m);
    else Record<TBmpContData>(m);
    return 0;
  }
  switch (which % 23) {
    case 0: Record<LinkTarget>(m); break;
    case 1: Record<TObjectRect>(m); break;
    case 2: Record<TToolTipInfo>(m); break;
    case 3: Record<TProperty>(m); break;
    case 4: Record<TObjectInfoTail>(m); break;
    case 5: Record<TObjectInfo>(m); break;
    case 6: Record<TLongArray>(m); break;
    case 7: Record<TRawData>(m); break;
    case 8: Record<TBackground>(m); break;
    case 9: Record<TBookStructOptions>(m); break;
    case 10: Record<TActionStruct>(m); break;
    case 11: Record<TBasePrintOutInfo>(m); break;
    case 12: Record<TTSLMenuData>(m); break;
    case 13: Record<TRecordHeader>(m); break;
    case 14: {
      TdBaseInfo d;
      d.Read(m);
      Stable(d, [](TdBaseInfo& x, MemoryStream& s) { x.Read(s); },
             [](TdBaseInfo& x, MemoryStream& s) { x.Write(s); });
      break;
    }
    case 15: {
      TSActionStructArrayManager list;
      ReadActionList(list, m);
      MemoryStream a;
      WriteActionList(list, a);
      break;
    }
    case 16: {
      uint32_t at = 0;
      m.Read(&at, 4);
      TPageRecord r;
      r.Read(m, at % (static_cast<uint32_t>(size) + 8), CreateRawData);
      MemoryStream a;
      uint32_t out;
      r.Write(a, out);
      tsl::TFileVersionScope newest(tsl::kFileVersionMajor, tsl::kFileVersionMinor);
      TPageRecord again;
      if (!again.Read(a, out, CreateRawData)) std::abort();
      break;
    }
    case 17: {
      uint32_t at[2] = {0, 0};
      m.Read(at, 8);
      TSharedObjects s;
      s.ReadShared(m, at[0] % (static_cast<uint32_t>(size) + 8), CreateRawData);
      s.ReadDataless(m, at[1] % (static_cast<uint32_t>(size) + 8));
      MemoryStream a;
      uint32_t o1, o2;
      s.WriteShared(a, o1);
      s.WriteDataless(a, o2);
      break;
    }
    case 18: {
      uint32_t at = 0;
      m.Read(&at, 4);
      TPageDirectory dir;
      dir.Read(m, at % (static_cast<uint32_t>(size) + 8));
      TProjectHeader h;
      TBookStructOptions info;
      ReadProjectHeader(m, h, info);
      IsPlayableProject(m);
      break;
    }
    case 19: Record<TTreeListItemDataCore>(m); break;
    case 20: Record<TMCIData>(m); break;
    case 21: Record<TMCIBarData>(m); break;
    default: {
      // A whole project; what was read writes a project that reads back
      // completely and writes the same bytes again.
      TProjectImage p;
      p.Read(m);
      // A short directory can name hundreds of pages; the round trip of so
      // many full records would only slow the search down.
      if (p.Pages.size() > 32) break;
      MemoryStream a;
      p.Write(a);
      TProjectImage again;
      const bool ok = again.Read(a);
      MemoryStream b;
      again.Write(b);
      if ((!p.Pages.empty() && !ok) || a.Data() != b.Data()) std::abort();
      break;
    }
  }
  return 0;
}
