#include "foundation/resstring.h"

#include <cstring>

#include "foundation/core/pathstr.h"
#include "foundation/fileutil.h"

namespace {
HINSTANCE g_module = nullptr;

// An open registry key, closed on every path.
class RegKey {
public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY* Out() { Close(); return &h_; }
  HKEY Get() const { return h_; }
  void Close() {
    if (h_) RegCloseKey(h_);
    h_ = nullptr;
  }

private:
  HKEY h_ = nullptr;
};

bool SetDefault(HKEY key, const char* subkey, const string& value) {
  return RegSetValueA(key, subkey, REG_SZ, value.c_str(), static_cast<DWORD>(value.length())) == ERROR_SUCCESS;
}

// The default value of `key` as a text of at most 256 characters, always
// terminated, whether or not the stored value carries its zero.
bool QueryDefault(HKEY key, string& out) {
  char buffer[258];
  DWORD size = 257, type = 0;
  if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  buffer[size] = '\0';
  const size_t len = std::strlen(buffer);
  if (len > 256) return false;
  out = string(buffer, len);
  return true;
}
}  // namespace

void SetResourceModule(HINSTANCE module) { g_module = module; }
HINSTANCE GetResourceModule() { return g_module; }

TResString LoadResString(UINT id) {
  static string buffer;
  char text[1024];
  HINSTANCE m = g_module ? g_module : GetModuleHandleA(nullptr);
  if (LoadStringA(m, id, text, sizeof text) <= 0) text[0] = '\0';
  buffer = string(text);
  return TResString(buffer);
}

bool GetCommandLineFile(string& out) {
  const char* line = GetCommandLineA();
  return ParseCommandLineFile(line, out) && FileExists(out.c_str());
}

bool RegisterFileAssociation(const char* ext, const char* description, const char* programPath) {
  if (!ext || !programPath) return false;
  const string className = string(ext) + "_auto_file";
  RegKey key;
  if (RegCreateKeyA(HKEY_CLASSES_ROOT, (string(".") + ext).c_str(), key.Out()) != ERROR_SUCCESS) return false;
  if (!SetDefault(key.Get(), nullptr, className)) return false;
  key.Close();
  if (RegCreateKeyA(HKEY_CLASSES_ROOT, className.c_str(), key.Out()) != ERROR_SUCCESS) return false;
  if (description && !SetDefault(key.Get(), nullptr, string(description))) return false;
  return SetDefault(key.Get(), "shell\\open\\command", string(programPath) + " %1");
}

bool UnregisterFileAssociation(const char* ext) {
  if (!ext) return true;
  RegKey root;
  if (RegOpenKeyA(HKEY_CLASSES_ROOT, nullptr, root.Out()) == ERROR_SUCCESS)
    RegDeleteKeyA(root.Get(), (string(".") + ext).c_str());
  if (RegOpenKeyA(HKEY_CLASSES_ROOT, nullptr, root.Out()) == ERROR_SUCCESS)
    DeleteRegKeyTree(root.Get(), (string(ext) + "_auto_file").c_str());
  return true;
}

LONG DeleteRegKeyTree(HKEY parent, const char* name) {
  if (!name || !*name) return ERROR_BADKEY;  // 1010
  LONG result;
  {
    RegKey key;
    result = RegOpenKeyExA(parent, name, 0, KEY_ENUMERATE_SUB_KEYS | DELETE, key.Out());
    if (result != ERROR_SUCCESS) return result;
    for (;;) {
      char sub[256];
      result = RegEnumKeyA(key.Get(), 0, sub, sizeof sub);
      if (result != ERROR_SUCCESS) break;
      result = DeleteRegKeyTree(key.Get(), sub);
      if (result != ERROR_SUCCESS) return result;
    }
  }
  if (result != ERROR_NO_MORE_ITEMS) return result;
  return RegDeleteKeyA(parent, name);
}

bool GetAssociatedProgram(const char* extensionKey, string& out) {
  out = string();
  if (!extensionKey) return false;
  RegKey key;
  string className, command;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extensionKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) return false;
  if (!QueryDefault(key.Get(), className)) return false;
  const string commandKey = className + "\\shell\\open\\command";
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, commandKey.c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
    return false;
  if (!QueryDefault(key.Get(), command)) return false;
  StripAssociationCommand(command);
  out = command;
  return true;
}
