// The icon dialog on a resource-only library of three icons built with the
// tests (cmake/winelib.cmake), and on a file without icons.
#include "dialogdriver.h"
#include "playerrun.h"

#include "engine/startup.h"
#include "platform/owl/uiscript.h"
#include "slideshow/changeicon.h"

namespace {

using dialogdriver::Notify;
using TIconStep = std::function<void(TChangeIconDialog&)>;

int ListCount(TChangeIconDialog& d) { return static_cast<int>(d.SendDlgItemMessage(kIconList, LB_GETCOUNT)); }
int ListSel(TChangeIconDialog& d) { return static_cast<int>(d.SendDlgItemMessage(kIconList, LB_GETCURSEL)); }

struct ChangeIconTest : ::testing::Test {
  void SetUp() override { SetProgramTitle("TSL Spieler"); }
  TScriptedUiService ui;
  TUiServiceScope scope{ui};
  const std::string library = ProgramFolder() + "icons3.dll";
};

TEST_F(ChangeIconTest, ListsTheThreeIconsAndADoubleClickReturnsOne) {
  string name = library.c_str();
  int16_t index = 0;
  TChangeIconDialog dlg(nullptr, &name, &index);
  const int result = dialogdriver::Run(dlg, std::vector<TIconStep>{[&](TChangeIconDialog& d) {
    EXPECT_EQ(ListCount(d), 3);
    EXPECT_EQ(ListSel(d), 0) << "the caller's position";
    EXPECT_NE(::GetWindowLongA(d.GetDlgItem(kIconFileName), GWL_STYLE) & ES_READONLY, 0) << "the name is read-only";
    RECT item;
    d.SendDlgItemMessage(kIconList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.right - item.left, ::GetSystemMetrics(SM_CXICON));
    d.SendDlgItemMessage(kIconList, LB_SETCURSEL, 1);
    Notify(d, kIconList, LBN_DBLCLK);
  }});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(std::string(name.c_str()), library);
  EXPECT_EQ(ui.Requests().size(), 0u);
}

TEST_F(ChangeIconTest, AFileWithoutIconsIsRefusedAndTheCallerKeepsItsValues) {
  const std::string text = wintest::TempPath("keineicons.txt");
  ASSERT_TRUE(wintest::WriteFileBytes(text, {'k', 'e', 'i', 'n', 'e'}));
  string name = "C:\\vorher.ico";
  int16_t index = 2;
  TChangeIconDialog dlg(nullptr, &name, &index);
  ui.AnswerFile(text);
  ui.AnswerMessage(IDOK);
  const int result = dialogdriver::Run(dlg, std::vector<TIconStep>{[&](TChangeIconDialog& d) {
    dialogdriver::Click(d, kIconBrowse);
    EXPECT_EQ(ListCount(d), 0);
    EXPECT_EQ(dialogdriver::Text(d, kIconFileName), "");
    dialogdriver::Click(d, IDOK);
    EXPECT_TRUE(::IsWindowVisible(d.HWindow)) << "OK refused without an icon";
  }});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(std::string(name.c_str()), "C:\\vorher.ico");
  EXPECT_EQ(index, 2);
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 2u) << "the caller's name had no icons either";
  EXPECT_EQ(ui.Requests().back().Text, "Diese Datei enth\xE4lt keine Icons!");
  EXPECT_EQ(ui.Requests().back().Caption, "TSL Spieler");
  const TUiRequest& browse = ui.Requests()[1];
  EXPECT_EQ(browse.Kind, TUiRequest::OpenFile);
  EXPECT_EQ(browse.Filter, "Icons (*.ico;*.dll;*.exe)|*.ico;*.dll;*.exe|");
  ::DeleteFileA(text.c_str());
}

}  // namespace
