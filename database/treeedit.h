// The Win32 side of sorting and editing the tree database: the system's
// text orders, the message at the end of a sibling list, and drawing the
// outline on a device context.
#pragma once
#include "platform/owl/owl.h"

#include "database/core/dbnodes.h"

// lstrcmpiA, and CompareStringA in the system's default locale with the
// string sort.
TDbSortCompare SystemSortCompare();

// MoveEntry that tells the user (through the UI service, captioned with the
// program's title) when the entry cannot move further.
bool MoveTreeEntry(TDBNodeManager& m, TDBNode* node, const TDBCategoryData* entry, bool up, HWND owner);

class THdcOutlineCanvas : public TDbOutlineCanvas {
public:
  explicit THdcOutlineCanvas(HDC dc) : dc_(dc) {}
  void DrawText(int x, int y, const char* text) override;

private:
  HDC dc_;
};
