#include "database/treeedit.h"

#include <cstring>

#include "engine/startup.h"

TDbSortCompare SystemSortCompare() {
  TDbSortCompare c;
  c.Caseless = [](const char* a, const char* b) { return ::lstrcmpiA(a, b); };
  c.Collate = [](const char* a, const char* b) {
    return ::CompareStringA(LOCALE_SYSTEM_DEFAULT, SORT_STRINGSORT, a, -1, b, -1) - CSTR_EQUAL;
  };
  return c;
}

bool MoveTreeEntry(TDBNodeManager& m, TDBNode* node, const TDBCategoryData* entry, bool up, HWND owner) {
  return m.MoveEntry(node, entry, up, [owner] {
    UiMessageBox(owner, "Eintrag kann nicht weiter verschoben werden.", ProgramTitle(), MB_OK | MB_ICONINFORMATION);
  });
}

void THdcOutlineCanvas::DrawText(int x, int y, const char* text) {
  const int mode = ::SetBkMode(dc_, TRANSPARENT);
  ::TextOutA(dc_, x, y, text, static_cast<int>(std::strlen(text)));
  ::SetBkMode(dc_, mode);
}
