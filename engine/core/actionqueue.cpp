#include "engine/core/actionqueue.h"

#include <algorithm>

#include "actions/core/actioncodes.h"

namespace {
std::unique_ptr<TPendingActionList> g_pending;
int32_t g_serialCounter = 0;

int IndexOfSerial(const TPendingActionList& list, int32_t serial) {
  TActionKeyStruct probe;
  probe.Serial = serial;
  return list.Find(&probe);
}

bool IsPageChangingCode(uint16_t code) {
  return IsActionCode(code, TActionCode::GotoRelativePage) || IsActionCode(code, TActionCode::GotoPage) ||
         IsActionCode(code, TActionCode::StepThroughPageList) || IsActionCode(code, TActionCode::GotoPreviousPage);
}
}  // namespace

void CreatePendingActions() {
  if (!g_pending) g_pending = std::make_unique<TPendingActionList>(11, 0, 10);
}

void FlushPendingActions() {
  if (g_pending) g_pending->Flush(tsl::DeleteType::Delete);
}

void DeletePendingActions() { g_pending.reset(); }

TPendingActionList* PendingActions() { return g_pending.get(); }

bool AddPendingAction(std::unique_ptr<TActionKeyStruct> entry) {
  if (!g_pending || !entry) return false;
  g_pending->Add(entry.release());
  return true;
}

TActionKeyStruct* FindPendingActionKey(TBookStruct*, int32_t serial) {
  if (!g_pending) return nullptr;
  const int i = IndexOfSerial(*g_pending, serial);
  return i == tsl::kNotFound ? nullptr : (*g_pending)[i];
}

TActionStruct* FindPendingAction(TBookStruct* book, int32_t serial) {
  TActionKeyStruct* key = FindPendingActionKey(book, serial);
  return key ? key->Action.get() : nullptr;
}

void RemovePendingAction(TBookStruct*, int32_t serial) {
  if (!g_pending) return;
  const int i = IndexOfSerial(*g_pending, serial);
  if (i != tsl::kNotFound) g_pending->Detach(i, tsl::DeleteType::Delete);
}

void RemovePendingActionsFor(TBookStruct*, uint32_t target, uint16_t code) {
  if (!g_pending) return;
  for (int i = 0; i < g_pending->GetItemsInContainer(); ++i) {
    const TActionStruct* a = (*g_pending)[i]->Action.get();
    if (a && a->Target == target && a->Code == code) {
      g_pending->Detach(i, tsl::DeleteType::Delete);
      return;
    }
  }
}

void SetRepeatInterval(TBookStruct*, uint32_t interval) {
  if (!g_pending) return;
  TActionKeyStruct* key = g_pending->FirstThat([](const TActionKeyStruct& k) {
    return k.Action && IsActionCode(k.Action->Code, TActionCode::NavigateDatabase) && (k.Action->Flags & kActionRepeat);
  });
  if (key) key->Action->Value4 = interval;
}

std::unique_ptr<TActionKeyArray> CollectChainedActions(TBookStruct* book, int32_t serial) {
  const TActionKeyStruct* key = FindPendingActionKey(book, serial);
  if (!key || !key->Action || !IsPageChangingCode(key->Action->Code) || key->Next == kNoSerial) return nullptr;
  auto chain = std::make_unique<TActionKeyArray>(6, 0, 5);
  // A chain that loops back on itself ends where it would revisit an entry.
  std::vector<int32_t> seen{key->Serial};
  for (const TActionKeyStruct* k = FindPendingActionKey(book, key->Next); k; k = FindPendingActionKey(book, k->Next)) {
    if (std::find(seen.begin(), seen.end(), k->Serial) != seen.end()) break;
    seen.push_back(k->Serial);
    auto copy = k->Action ? std::make_unique<TActionStruct>(*k->Action) : nullptr;
    chain->Add(new TActionKeyStruct(std::move(copy), k->Serial, k->WaitFor, k->Next));
    if (k->Next == kNoSerial) break;
  }
  return chain;
}

int32_t DrawActionSerial() {
  if (g_serialCounter >= kActionSerialWrap) g_serialCounter = 0;
  return g_serialCounter++;
}

int32_t PeekActionSerial() { return g_serialCounter >= kActionSerialWrap ? 0 : g_serialCounter; }

void SetActionSerialCounter(int32_t value) { g_serialCounter = value; }

TActionLinks TActionSerialChain::Draw(bool more) {
  TActionLinks links;
  links.Serial = DrawActionSerial();
  links.WaitFor = Previous;
  links.Next = more ? PeekActionSerial() : kNoSerial;
  Previous = links.Serial;
  return links;
}

bool QueuePendingAction(TSysTimeManager& manager, TTimersFriend* receiver, std::unique_ptr<TActionStruct> action,
                        const TActionLinks& links) {
  if (!action) return false;
  const uint32_t delay = action->Delay;
  if (!AddPendingAction(std::make_unique<TActionKeyStruct>(std::move(action), links.Serial, links.WaitFor, links.Next)))
    return false;
  TSysTimeManagerMsg msg;
  msg.Receiver = receiver;
  msg.Kind = kRunActionMsg;
  msg.Delay = delay;
  msg.LifeTime = kActionMsgLifeTime;
  msg.OwnerId = static_cast<uint32_t>(links.Serial);
  manager.PostMsg(msg);
  return true;
}

std::vector<TActionLinks> QueueActionChain(TSysTimeManager& manager, TTimersFriend* receiver,
                                           const std::vector<const TActionStruct*>& actions, uintptr_t owner) {
  std::vector<TActionLinks> given;
  TActionSerialChain chain;
  for (size_t i = 0; i < actions.size(); ++i) {
    if (!actions[i]) continue;
    const bool more = std::any_of(actions.begin() + static_cast<std::ptrdiff_t>(i) + 1, actions.end(),
                                  [](const TActionStruct* a) { return a != nullptr; });
    auto copy = std::make_unique<TActionStruct>(*actions[i]);
    copy->Owner = owner;
    const TActionLinks links = chain.Draw(more);
    QueuePendingAction(manager, receiver, std::move(copy), links);
    given.push_back(links);
  }
  return given;
}
