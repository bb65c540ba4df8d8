// The action dispatcher as the player calls it: with the open project, the
// family routines of the action codes and the project's side of the
// dispatcher (its timer and its page objects).
#pragma once
#include <cstdint>
#include <memory>

#include "actions/core/dispatch.h"

class TBookStruct;

// Runs one action by its code and does the after-work; `serial` names its
// pending entry, -1 for an action that was never queued (the media bar).
void ExecuteActionCode(TBookStruct* book, const TActionStruct& action, int32_t serial);

// The kind-7 step of the open project's timed-message handler.
TPendingRun ExecutePendingAction(TBookStruct* book, int32_t serial);

// The routine of each family of codes.
const TActionFamilyTable& ActionFamilies();

// The open project's side of the dispatcher; defined with the open project
// (actions/bookhost.cpp).
std::unique_ptr<TActionHost> MakeActionHost(TBookStruct* book);
