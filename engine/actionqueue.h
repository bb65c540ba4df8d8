// The pending-action list, its serials and the chained-action copies, for
// the engine's Win32 side (objects, menus, page changes). Everything of it is
// portable and lives in the engine's core.
#pragma once
#include "engine/core/actionqueue.h"
