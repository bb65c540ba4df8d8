// The player's MCI sender: Windows MCI (under Wine its MCI drivers), the
// error box through the UI service.
#pragma once
#include "objects/core/mcidevice.h"

class TWinMciSender : public TMciSender {
public:
  // Sends the command with its blank runs collapsed (CollapseMciBlanks).
  uint32_t SendString(const std::string& command, std::string* reply, uint32_t replySize, uintptr_t callback) override;
  bool ErrorText(uint32_t code, std::string& text) override;
  void Message(uintptr_t owner, const std::string& text, const char* caption, uint32_t type) override;
  uint32_t SendCommand(uint32_t device, uint32_t command, uint32_t flags, TMciCommandRecord& record) override;
  uint32_t MidiOutputCount() override;
  bool ShortPath(const std::string& name, std::string& shortName) override;
  int64_t FileSize(const std::string& name) override;
  void MakeFramelessWindow(uintptr_t window) override;
};

// Installs the Windows sender unless another one (a test's) is installed.
void EnsureMciSender();
