#include "foundation/resstring.h"

namespace {
HINSTANCE g_module = nullptr;
char g_buffer[1024];
}  // namespace

void SetResourceModule(HINSTANCE module) { g_module = module; }

const char* LoadResString(UINT id) {
  HINSTANCE m = g_module ? g_module : GetModuleHandleA(nullptr);
  if (LoadStringA(m, id, g_buffer, sizeof g_buffer) <= 0) g_buffer[0] = '\0';
  return g_buffer;
}
