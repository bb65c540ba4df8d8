// The kinds of the open project's timed messages (TSysTimeManagerMsg::Kind)
// and how long they wait. The open project is the only receiver; its
// handler, TBookStruct::ExecuteAction (engine/timedhandler.cpp), gives each
// kind its meaning. Every poster names the kind from here.
// Portable: the portable posters (pending actions, navigation codes) use it.
#pragma once
#include <cstdint>

enum TTimedMsgKind : int32_t {
  kTickMsg = 0,              // the periodic tick; survives page changes
  kQuitOnPageMsg = 2,        // quit when OwnerId is still the current page
  kAdvanceOnPageMsg = 3,     // go to page OwnerId when Param3 is still current
  kShowAndStartMsg = 4,      // show object Param1 and start its medium
  kStopAndHideMsg = 5,       // stop object Param1's medium and hide it
  kBitmapStepMsg = 6,        // animated-bitmap step of object Sender
  kRunActionMsg = 7,         // run the pending action whose serial is OwnerId
  kGotoPageMsg = 8,          // go to page OwnerId unless it is current
  kFrameStepMsg = 9,         // frame-animation step of object Sender
  kEndOfMediaMsg = 10,       // object Sender's medium or animation ended
  kNavigateDatabaseMsg = 11, // a database-navigation request
  kRedrawMsg = 12,           // redraw the page
  kRefreshRecordMsg = 13,    // show the database's current record again
  kGotoPageRecordMsg = 14,   // go to page OwnerId and record Param4 (Param3 1: with history)
  kShowObjectMsg = 15,       // show object Param1
};

// The kind's name for traces and test messages ("kind 42" for others).
const char* TimedMsgKindName(int32_t kind);

// Lifetime of the tick each delivered tick posts: the whole presentation.
constexpr uint32_t kTickRepeatLifeTime = 0x7FFFFFFF;
