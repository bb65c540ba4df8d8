#include "platform/owl/module.h"

#include <vector>

TModule::TModule(const char* name, HINSTANCE instance)
    : Instance(instance ? instance : ::GetModuleHandleA(nullptr)), Name(name ? name : "") {}

std::string TModule::GetModuleFileName() const {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameA(Instance, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) return std::string(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

int TModule::LoadString(uint id, char* buffer, int size) const { return ::LoadStringA(Instance, id, buffer, size); }

std::string TModule::LoadString(uint id) const {
  char buf[1024];
  const int n = ::LoadStringA(Instance, id, buf, sizeof buf);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

HICON TModule::LoadIcon(TResId id) const { return ::LoadIconA(Instance, id); }
HCURSOR TModule::LoadCursor(TResId id) const { return ::LoadCursorA(Instance, id); }
HBITMAP TModule::LoadBitmap(TResId id) const { return ::LoadBitmapA(Instance, id); }
HMENU TModule::LoadMenu(TResId id) const { return ::LoadMenuA(Instance, id); }
HACCEL TModule::LoadAccelerators(TResId id) const { return ::LoadAcceleratorsA(Instance, id); }
HRSRC TModule::FindResource(TResId id, LPCSTR type) const { return ::FindResourceA(Instance, id, type); }
HGLOBAL TModule::LoadResource(HRSRC res) const { return ::LoadResource(Instance, res); }

TModule& GetProgramModule() {
  static TModule module(nullptr, ::GetModuleHandleA(nullptr));
  return module;
}
