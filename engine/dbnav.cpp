// Database records of the open project's page, the page redraw and the
// media bars. The tree database is not part of the player yet: a page has
// no record to go to, and the operations behave as for a page without one.
#include "engine/animregistry.h"
#include "engine/bookstruct.h"
#include "engine/objectwindow.h"


int32_t TBookStruct::CurrentRecord() const { return -1; }

bool TBookStruct::GotoDBRecord(int32_t id, uint8_t withHistory) {
  if (withHistory && !Replaying) PushBackStep().Add(new TUndoActionInfo(kUndoRecord, -1, id, -1));
  // No database holds the record: the field-bound objects are emptied by
  // the database once it exists, and no record is current.
  return false;
}

void TBookStruct::NavigateDB(const TSysTimeManagerMsg& msg) {
  if (msg.Kind != kNavigateDatabaseMsg || !ObjectManager) return;
  if (!(ObjectManager->DbInfo.Flags & kDbInUse)) return;
  // A database-bound page without a loaded database: nothing to walk.
}

void TBookStruct::Redraw() {
  HWND page = PageWindow ? PageWindow->HWindow : nullptr;
  HWND frame = page ? ::GetParent(page) : nullptr;
  if (!frame) return;
  ::UpdateWindow(frame);
  if (TAnimationRegistry* bitmaps = AnimatedBitmaps())
    for (TAnimationEntry& e : *bitmaps) e.Flag = 1;
  // The picture, document and animated-bitmap kinds reset their display
  // state through the registry flag above once they exist.
  ::InvalidateRect(page, nullptr, FALSE);
  ::UpdateWindow(page);
  if (!(CurrentOptions().Flags & kOptTopmost))
    ::SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void TBookStruct::UpdateMediaBars() {
  // The media control bars link to their media object once their kind
  // exists; until then no bar is linked.
}
