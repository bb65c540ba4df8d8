// A recording MCI sender for tests: every string and command record is kept
// in order, and replies come from a script keyed by a part of the command
// (the first rule whose text occurs in the command wins; unmatched commands
// succeed with an empty reply).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "objects/core/mcidevice.h"

class TFakeMciSender : public TMciSender {
public:
  struct TRule {
    std::string Prefix;
    uint32_t Error = 0;
    std::string Reply;
  };
  struct TBox {
    uintptr_t Owner;
    std::string Text;
    std::string Caption;
    uint32_t Type;
  };
  struct TCommand {
    uint32_t Device, Command, Flags;
    TMciCommandRecord Record;
  };

  // Commands that contain `part` answer `reply`, or fail with `error`.
  TFakeMciSender& Reply(const std::string& prefix, const std::string& reply) {
    Rules.push_back({prefix, 0, reply});
    return *this;
  }
  TFakeMciSender& Fail(const std::string& prefix, uint32_t error) {
    Rules.push_back({prefix, error, ""});
    return *this;
  }

  uint32_t SendString(const std::string& command, std::string* reply, uint32_t size, uintptr_t callback) override {
    Sent.push_back(command);
    Callbacks.push_back(callback);
    ReplySizes.push_back(size);
    for (const TRule& r : Rules)
      if (command.find(r.Prefix) != std::string::npos) {
        if (reply && !r.Error) *reply = r.Reply;
        return r.Error;
      }
    return 0;
  }
  bool ErrorText(uint32_t code, std::string& text) override {
    auto it = ErrorTexts.find(code);
    if (it == ErrorTexts.end()) return false;
    text = it->second;
    return true;
  }
  void Message(uintptr_t owner, const std::string& text, const char* caption, uint32_t type) override {
    Boxes.push_back({owner, text, caption, type});
  }
  uint32_t SendCommand(uint32_t device, uint32_t command, uint32_t flags, TMciCommandRecord& record) override {
    Commands.push_back({device, command, flags, record});
    if (command == kMciStatusCommand) record.Return = StatusWindow;
    return CommandError;
  }
  uint32_t MidiOutputCount() override { return MidiPorts; }
  bool ShortPath(const std::string& name, std::string& out) override {
    if (NoShortPath) return false;
    out = "SHORT~1.AVI";
    return true;
  }
  int64_t FileSize(const std::string&) override { return Size; }
  void MakeFramelessWindow(uintptr_t window) override { Restyled.push_back(window); }

  void Clear() {
    Sent.clear();
    Callbacks.clear();
    ReplySizes.clear();
    Boxes.clear();
    Commands.clear();
    Restyled.clear();
  }

  std::vector<TRule> Rules;
  std::map<uint32_t, std::string> ErrorTexts;
  std::vector<std::string> Sent;
  std::vector<uintptr_t> Callbacks;
  std::vector<uint32_t> ReplySizes;
  std::vector<TBox> Boxes;
  std::vector<TCommand> Commands;
  std::vector<uintptr_t> Restyled;
  uint32_t MidiPorts = 1;
  bool NoShortPath = false;
  int64_t Size = 1234;
  uint32_t CommandError = 0;
  uintptr_t StatusWindow = 0;
};
