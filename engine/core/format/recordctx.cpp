#include "engine/core/format/recordctx.h"

namespace tsl {

namespace {
TRecordContext* g_openProject = nullptr;

float VersionNumber(uint8_t major, uint8_t minor) {
  return static_cast<float>(major) + static_cast<float>(minor) * 0.1f;
}
}  // namespace

bool IsVersionAbove(uint8_t fileMajor, uint8_t fileMinor, uint8_t major, uint8_t minor) {
  return VersionNumber(fileMajor, fileMinor) > VersionNumber(major, minor);
}

bool IsVersionBelow(uint8_t fileMajor, uint8_t fileMinor, uint8_t major, uint8_t minor) {
  return VersionNumber(fileMajor, fileMinor) < VersionNumber(major, minor);
}

TRecordContext* GetOpenProject() { return g_openProject; }

TRecordContext* SetOpenProject(TRecordContext* project) {
  TRecordContext* old = g_openProject;
  g_openProject = project;
  return old;
}

bool RecordVersionAbove(uint8_t major, uint8_t minor) {
  if (const TRecordContext* p = g_openProject) return p->IsVersionAbove(major, minor);
  return IsVersionAbove(kFileVersionMajor, kFileVersionMinor, major, minor);
}

}  // namespace tsl
