// TProgrammManager: creates a program group with items in the shell's
// program manager through DDEML (Wine's explorer serves "PROGMAN" and makes
// the Start menu's folder and links). One client per installation run;
// every failure is shown in a box and never stops the caller.
#pragma once
#include "platform/owl/defs.h"
#include <ddeml.h>

#include <string>
#include <vector>

#include "actions/core/installrun.h"

class TProgrammManager {
public:
  // Initialises DDEML, connects to the program manager and waits 2000 ms
  // for it to settle; a failed step is shown and leaves Usable 0.
  explicit TProgrammManager(const char* caption);
  ~TProgrammManager();
  TProgrammManager(const TProgrammManager&) = delete;
  TProgrammManager& operator=(const TProgrammManager&) = delete;

  // Sends the group with every item, then the show command.
  void CreateGroupAndItems();
  // Removes the group (the player never calls it).
  void DeleteGroup();
  static void ReportDdeError(DWORD instance);

  static HDDEDATA CALLBACK CallBack(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                    ULONG_PTR data1, ULONG_PTR data2);

  std::string GroupName = "Programmgruppe";
  std::vector<TProgManItem> Items;
  DWORD Instance = 0;
  HCONV Conversation = nullptr;
  HSZ Service = nullptr;
  HSZ Topic = nullptr;
  uint32_t Usable = 0;
  std::string Caption;

private:
  void Execute(const std::string& command);
  std::string Command;
  std::string ShowCommand;
};

// The client's current instance, or null; its caption heads the library's
// error boxes ("DDEML" without a client).
TProgrammManager* CurrentProgramManager();
// Tests only: the service the client connects to (null: "PROGMAN"). Two
// servers of one name would leave DdeConnect's choice open.
void SetProgramManagerService(const char* service);
