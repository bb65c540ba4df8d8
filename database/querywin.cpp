#include "database/querywin.h"

#include <memory>
#include <string>

#include "database/core/qxparse.h"
#include "database/core/tdbase.h"
#include "foundation/resstring.h"
#include "platform/owl/file.h"

namespace {
std::string KeywordFromResources(unsigned id) { return std::string(LoadResString(id).c_str()); }

std::unique_ptr<tsl::ByteStream> OpenWin32(const std::string& name, bool create) {
  const uint32_t mode = create ? TFile::ReadWrite | TFile::PermRead | TFile::CreateAlways
                               : TFile::ReadOnly | TFile::PermRead | TFile::OpenExisting;
  auto f = std::make_unique<TFile>(name.c_str(), mode);
  if (!f->IsOpen()) return nullptr;
  return f;
}
}  // namespace

void InstallQueryKeywordsFromResources() { QX_SetKeywordLoader(KeywordFromResources); }

void UseWin32DBaseFiles() { SetDBaseFileOpener(OpenWin32); }
