#include "objects/mcisender.h"

#include "platform/owl/defs.h"
#include <mmsystem.h>

#include <vector>

#include "platform/owl/uiservice.h"

uint32_t TWinMciSender::SendString(const std::string& command, std::string* reply, uint32_t replySize,
                                   uintptr_t callback) {
  std::vector<char> buffer(reply && replySize ? replySize : 1, '\0');
  const MCIERROR e = ::mciSendStringA(CollapseMciBlanks(command).c_str(), reply && replySize ? buffer.data() : nullptr,
                                      reply ? replySize : 0, reinterpret_cast<HWND>(callback));
  if (reply) reply->assign(buffer.data());
  return static_cast<uint32_t>(e);
}

bool TWinMciSender::ErrorText(uint32_t code, std::string& text) {
  char buffer[256] = {};
  if (!::mciGetErrorStringA(code, buffer, sizeof buffer)) return false;
  text = buffer;
  return true;
}

void TWinMciSender::Message(uintptr_t owner, const std::string& text, const char* caption, uint32_t type) {
  UiMessageBox(reinterpret_cast<HWND>(owner), text.c_str(), caption, type);
}

uint32_t TWinMciSender::SendCommand(uint32_t device, uint32_t command, uint32_t flags, TMciCommandRecord& record) {
  switch (command) {
    case MCI_STATUS: {
      MCI_STATUS_PARMS p = {};
      p.dwItem = record.Item;
      const MCIERROR e = ::mciSendCommandA(device, command, flags, reinterpret_cast<DWORD_PTR>(&p));
      record.Return = p.dwReturn;
      return e;
    }
    case MCI_WINDOW: {
      MCI_ANIM_WINDOW_PARMSA p = {};
      p.hWnd = reinterpret_cast<HWND>(record.Window);
      return ::mciSendCommandA(device, command, flags, reinterpret_cast<DWORD_PTR>(&p));
    }
    case MCI_UPDATE: {
      MCI_ANIM_UPDATE_PARMS p = {};
      p.hDC = reinterpret_cast<HDC>(record.Dc);
      return ::mciSendCommandA(device, command, flags, reinterpret_cast<DWORD_PTR>(&p));
    }
    default:
      return MCIERR_UNRECOGNIZED_COMMAND;
  }
}

uint32_t TWinMciSender::MidiOutputCount() { return ::midiOutGetNumDevs(); }

bool TWinMciSender::ShortPath(const std::string& name, std::string& shortName) {
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetShortPathNameA(name.c_str(), buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return false;
  shortName = buffer;
  return true;
}

int64_t TWinMciSender::FileSize(const std::string& name) {
  const HANDLE h = ::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER size;
  const bool ok = ::GetFileSizeEx(h, &size) != 0;
  ::CloseHandle(h);
  return ok ? size.QuadPart : -1;
}

void TWinMciSender::MakeFramelessWindow(uintptr_t window) {
  const HWND h = reinterpret_cast<HWND>(window);
  if (!::IsWindow(h)) return;
  const LONG style = ::GetWindowLongA(h, GWL_STYLE);
  ::SetWindowLongA(h, GWL_STYLE, (style & ~(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU)) | WS_DISABLED);
}

void EnsureMciSender() {
  static TWinMciSender sender;
  if (!HasMciSender()) SetMciSender(&sender);
}
