// The fast search field on a page in this process, its keys going through
// the presentation's message filter as the player's loop hands them on:
// Enter stays with the field (a hit makes the entry current with a history
// step, and no line break stays in the text) while Esc still ends the
// presentation; without a database, Enter gives only its message box,
// owned by the field and under the program's title.
#include "pagefixture.h"

#include "engine/core/history.h"
#include "engine/presentpump.h"
#include "objects/fastsearch.h"
#include "platform/owl/uiscript.h"
#include "tools/core/tslmake_db.h"

namespace {

const char kPageDatabase[] = R"(
field "Stichwort"
category 1 -1 "Obst"
data 10 "Birne" "Birne"
data 11 "Apfel" "Apfel"
entry 0 1 -1 category pos 0
entry 1 1 10 data pos 0
entry 2 1 11 data pos 1
)";

std::string Project(bool withDatabase) {
  return std::string("size 300 200\nquitkeys 3\npage 1\n  background colour #E0E0E0\n") +
         (withDatabase ? "  database \"tsl_fastsearch_page.dbd\"\n" : "") +
         "  object quicksearch \"Suche\" 10 10 210 40\n    quicksearch \"Stichwort\"\n";
}

class SearchPage : public wintest::FramedPage {
public:
  explicit SearchPage(bool withDatabase)
      : FramedPage(Project(withDatabase), {"tsl_fastsearch_page.crt", "suche", 0, 0, 300, 200}) {}
  TFastSearchObject* Field() {
    TObjectManager* m = Book ? Book->ObjectManager.get() : nullptr;
    return m ? dynamic_cast<TFastSearchObject*>(m->FindObjectById(1)) : nullptr;
  }
  // A key pressed in the field as the loop hands it on; true when the
  // filter kept it from the field.
  bool Key(UINT key) {
    HWND field = Field()->HWindow;
    ::SetFocus(field);
    MSG msg{};
    msg.hwnd = field;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1;
    msg.time = ::GetTickCount();
    if (PresentationMessageFilter(msg)) return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    return false;
  }
};

std::string Text(HWND w) {
  char text[256] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

}  // namespace

TEST(FastSearchOnPage, EnterSearchesInTheFieldAndEscStillQuits) {
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(kPageDatabase, nodes, extras, line, reason)) << line << ": " << reason;
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  ASSERT_TRUE(wintest::WriteFileBytes(wintest::TempPath("tsl_fastsearch_page.dbd"), dbd.Data()));
  ASSERT_TRUE(wintest::WriteFileBytes(wintest::TempPath("tsl_fastsearch_page.dbi"), dbi.Data()));

  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  {
    SearchPage p(true);
    ASSERT_TRUE(wintest::PumpUntil([&] {
      TObjectManager* m = p.Book ? p.Book->ObjectManager.get() : nullptr;
      return m && m->DBNodeManager && p.Field() && p.Field()->HWindow;
    }, 10000, nullptr, &PresentationMessageFilter));
    TDBNodeManager* db = p.Book->ObjectManager->DBNodeManager.get();
    ASSERT_EQ(db->CurrentEntryId, 1) << "the page starts on Birne";
    HWND field = p.Field()->HWindow;
    ::SetWindowTextA(field, "APFEL");
    const int32_t stepsBefore = p.Book->BackStepIndex();

    EXPECT_FALSE(p.Key(VK_RETURN)) << "the filter ended the presentation on Enter in the field";
    EXPECT_EQ(db->CurrentEntryId, 2) << "Apfel is current";
    EXPECT_EQ(ui.Count(TUiRequest::MessageBox), 0u);
    EXPECT_EQ(Text(field), "APFEL") << "no line break stays behind";
    ASSERT_EQ(p.Book->BackStepIndex(), stepsBefore + 1);
    const TUndoStep* step = p.Book->CurrentBackStep();
    ASSERT_TRUE(step && step->GetItemsInContainer() == 1);
    EXPECT_EQ((*step)[0]->Kind, kUndoRecord);
    EXPECT_EQ(p.Field()->WordIndex().Size(), 2u);

    // A second Enter searches the same text again and finds it.
    db->CurrentEntryId = 1;
    EXPECT_FALSE(p.Key(VK_RETURN));
    EXPECT_EQ(db->CurrentEntryId, 2);
    EXPECT_EQ(ui.Count(TUiRequest::MessageBox), 0u);

    EXPECT_TRUE(p.Key(VK_ESCAPE)) << "Esc in the field no longer ends the presentation";
    bool quit = false;
    wintest::PumpUntil([] { return false; }, 500, &quit, &PresentationMessageFilter);
    EXPECT_TRUE(quit);
  }
  for (const char* ext : {".dbd", ".dbi"}) ::DeleteFileA(wintest::TempPath(std::string("tsl_fastsearch_page") + ext).c_str());
}

TEST(FastSearchOnPage, WithoutADatabaseOnlyItsMessage) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  SearchPage p(false);
  ASSERT_TRUE(wintest::PumpUntil([&] { return p.Field() && p.Field()->HWindow; }, 10000, nullptr,
                                 &PresentationMessageFilter));
  ::SetWindowTextA(p.Field()->HWindow, "Apfel");
  EXPECT_FALSE(p.Key(VK_RETURN));
  ASSERT_EQ(ui.Requests().size(), 1u);
  const TUiRequest& r = ui.Requests()[0];
  EXPECT_EQ(r.Text, "Kann Datenbank nicht finden.");
  EXPECT_EQ(r.Caption, "TSL F\xDCR WINDOWS V4.77");
  EXPECT_EQ(r.Owner, p.Field()->HWindow);
  EXPECT_EQ(r.Type, static_cast<uint>(MB_OK | MB_ICONINFORMATION));
}
