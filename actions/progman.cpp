#include "actions/progman.h"

#include "foundation/winutil.h"
#include "platform/owl/uiservice.h"

namespace {

constexpr DWORD kWaitAfterConnectMs = 2000;
constexpr DWORD kExecuteTimeoutMs = 20000;
constexpr UINT kErrorBox = MB_ICONHAND;
constexpr UINT kInfoBox = MB_ICONINFORMATION;

TProgrammManager* Current = nullptr;
std::string ServiceName = "PROGMAN";

const char* CurrentCaption() { return Current ? Current->Caption.c_str() : "DDEML"; }

}  // namespace

TProgrammManager* CurrentProgramManager() { return Current; }
void SetProgramManagerService(const char* service) { ServiceName = service ? service : "PROGMAN"; }

TProgrammManager::TProgrammManager(const char* caption) : Caption(caption ? caption : "") {
  Current = this;
  Usable = 1;
  if (::DdeInitializeA(&Instance, &TProgrammManager::CallBack, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    UiMessageBox(nullptr, "Initialisierung gescheitert!", Caption.c_str(), kErrorBox);
    Usable = 0;
    return;
  }
  Service = ::DdeCreateStringHandleA(Instance, ServiceName.c_str(), CP_WINANSI);
  Topic = ::DdeCreateStringHandleA(Instance, ServiceName.c_str(), CP_WINANSI);
  if (!Service || !Topic) {
    UiMessageBox(nullptr, "Konnte Zeichenkette nicht erzeugen!", Caption.c_str(), kErrorBox);
    Usable = 0;
    return;
  }
  Conversation = ::DdeConnect(Instance, Service, Topic, nullptr);
  if (!Conversation) {
    UiMessageBox(nullptr,
                 "Konnte Konversation nicht starten. Stellen Sie sicher, dassder Programmanager verf\xFC"
                 "gbar ist.",
                 Caption.c_str(), kErrorBox);
    Usable = 0;
    return;
  }
  // The program manager answers some commands only after it settled; the
  // other windows of the program keep working meanwhile. The pump returns
  // at once on an empty queue, so the waiting thread sleeps between turns.
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < kWaitAfterConnectMs) {
    PumpMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

TProgrammManager::~TProgrammManager() {
  Items.clear();
  Current = nullptr;
  if (Conversation) ::DdeDisconnect(Conversation);
  if (Instance) {
    if (Service) ::DdeFreeStringHandle(Instance, Service);
    if (Topic) ::DdeFreeStringHandle(Instance, Topic);
    ::DdeUninitialize(Instance);
  }
}

void TProgrammManager::Execute(const std::string& command) {
  std::vector<BYTE> data(command.begin(), command.end());
  data.push_back(0);
  if (!::DdeClientTransaction(data.data(), static_cast<DWORD>(data.size()), Conversation, nullptr, CF_TEXT,
                              XTYP_EXECUTE, kExecuteTimeoutMs, nullptr))
    ReportDdeError(Instance);
}

void TProgrammManager::CreateGroupAndItems() {
  Command = ProgManCreateCommand(GroupName, Items);
  Execute(Command);
  ShowCommand += ProgManShowCommand(GroupName);
  Execute(ShowCommand);
}

void TProgrammManager::DeleteGroup() {
  if (!Usable) return;
  Command = ProgManDeleteCommand(GroupName);
  Execute(Command);
}

void TProgrammManager::ReportDdeError(DWORD instance) {
  const UINT code = ::DdeGetLastError(instance);
  UiMessageBox(nullptr, DdeErrorText(code).c_str(), CurrentCaption(), kInfoBox);
}

HDDEDATA CALLBACK TProgrammManager::CallBack(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  if (LOWORD(type) == XTYP_ERROR) UiMessageBox(nullptr, "Kritischer DDE-Fehler!", CurrentCaption(), kInfoBox);
  return nullptr;
}
