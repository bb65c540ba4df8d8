// A whole project file through the player's own loading path: the header,
// the page directory, the object-list record, both shared lists and then
// every page in directory order, each ending the one before, through the
// page manager's ReadPage as the page change calls it. Nothing may read out
// of bounds or allocate what the file merely claims; a page that fails
// leaves the empty page behind (no page object, no action, menu or key
// list), and a page that loads twice loads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/format/recordctx.h"
#include "engine/core/pages/pagemodel.h"

namespace {

size_t PageObjects(const TPageModel& m) {
  size_t n = 0;
  for (const auto& o : m.Objects) n += (o->Info.Property.Flags & kPropPageObject) ? 1 : 0;
  return n;
}

bool IsEmptyPage(TPageModel& m) {
  if (PageObjects(m)) return false;
  for (const TActionStruct& a : m.EnterActions)
    if (a.Flags & kActionEnabled) return false;
  return m.MenuItems->GetItemsInContainer() == 0 && m.KeyList.Count() == 0 && m.OwnOptions == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tsl::MemoryStream f(data, size);
  TProjectHeader header;
  TBookStructOptions info;
  if (!ReadProjectHeader(f, header, info)) return 0;
  tsl::TFileVersionScope version(info.VersionMajor, info.VersionMinor);
  TPageDirectory directory;
  TPageModel model;
  ReadProjectBody(f, header, directory, model);
  // A short directory can name thousands of pages; a few show the path.
  const int pages = directory.Count() < 64 ? directory.Count() : 64;
  for (int i = 0; i < pages; ++i) {
    uint32_t offset = 0;
    directory.GetPageOffset(i, offset);
    model.EndPageObjects();
    const bool ok = model.ReadPage(offset, nullptr, 1.0, 1.0);
    if (!ok && !IsEmptyPage(model)) std::abort();
    if (ok) {
      // Objects of the page without the page-object flag stay from page to
      // page as the shared ones do; those with it are the page's.
      const size_t count = PageObjects(model);
      model.EndPageObjects();
      if (model.ReadPage(offset, nullptr, 1.0, 1.0) != ok || PageObjects(model) != count) std::abort();
    }
  }
  return 0;
}
