// The select-entry dialog driven by posted messages: Cancel keeps the
// preselection, OK takes the chosen line, an unknown preselection shows
// "-1" and selects nothing.
#include "wintest.h"

#include <functional>
#include <string>

#include "database/dbtrees.h"
#include "database/selectentry.h"

namespace {

std::function<void(HWND)> g_answer;

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dlg = ::GetActiveWindow();
  if (!dlg || !::GetDlgItem(dlg, kSelectEntryAddressId) || !::GetDlgItem(dlg, kSelectEntryTreeId)) return;
  ::KillTimer(nullptr, id);
  g_answer(dlg);
}

std::string Address(HWND dlg) {
  char text[32] = {};
  ::GetDlgItemTextA(dlg, kSelectEntryAddressId, text, sizeof text);
  return text;
}

int32_t RunDialog(const TTestTree& t, int32_t preselected, std::function<void(HWND)> answer) {
  g_answer = std::move(answer);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Answer);
  const int32_t chosen = SelectTreeDBEntry(preselected, nullptr, t.M.get(), nullptr);
  ::KillTimer(nullptr, timer);
  return chosen;
}

}  // namespace

TEST(SelectEntryDialog, CancelOkAndUnknownPreselection) {
  const TTestTree t = MakeTree("A*( a1 a2 ) B( b1 ) c1");
  // The lines: A, a1, a2, B, c1 (A stored open).
  const struct {
    const char* what;
    const char* preselected;
    int chooseLine;  // -1: choose nothing
    UINT button;
    const char* addressBefore;
    const char* result;
  } cases[] = {
      {"cancel keeps the preselection", "a2", 4, IDCANCEL, "3", "a2"},
      {"OK takes the chosen line", "a2", 4, IDOK, "3", "c1"},
      {"OK without a choice keeps the preselection", "B", -1, IDOK, "4", "B"},
      {"an unknown preselection shows -1", "?", -1, IDOK, "-1", "#4711"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string before, after;
    int selectedBefore = -2;
    const bool unknown = std::string(c.preselected) == "?";
    const int32_t preselected = unknown ? 4711 : t[c.preselected];
    const int32_t chosen = RunDialog(t, preselected, [&](HWND dlg) {
      HWND tree = ::GetDlgItem(dlg, kSelectEntryTreeId);
      before = Address(dlg);
      selectedBefore = static_cast<int>(::SendMessageA(tree, LB_GETCURSEL, 0, 0));
      if (c.chooseLine >= 0) {
        ::SendMessageA(tree, LB_SETCURSEL, static_cast<WPARAM>(c.chooseLine), 0);
        ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kSelectEntryTreeId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(tree));
        after = Address(dlg);
      }
      ::PostMessageA(dlg, WM_COMMAND, c.button, 0);
    });
    EXPECT_EQ(before, c.addressBefore);
    if (unknown) {
      EXPECT_EQ(selectedBefore, -1) << "nothing selected";
    }
    if (c.chooseLine >= 0) {
      EXPECT_EQ(after, std::to_string(t["c1"]));
    }
    EXPECT_EQ(t.Name(chosen), c.result);
  }
}
