#include "wintest.h"

#include <string>
#include <vector>

#include "platform/owl/owl.h"

namespace {

// A dialog template in memory: OK (1), Abbrechen (2), an edit (100), a list
// box (101) and a drop-down list (102).
class TTemplate {
public:
  TTemplate() {
    Align();
    const size_t head = Data.size();
    Data.resize(head + sizeof(DLGTEMPLATE));
    auto* t = reinterpret_cast<DLGTEMPLATE*>(&Data[head]);
    t->style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t->cx = 200;
    t->cy = 120;
    Word(0);  // no menu
    Word(0);  // default class
    Text("Testdialog");
    Word(8);
    Text("MS Sans Serif");
    Item(IDOK, 0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 90, 50, 14, "OK");
    Item(IDCANCEL, 0x0080, BS_PUSHBUTTON | WS_TABSTOP, 70, 90, 50, 14, "Abbrechen");
    Item(100, 0x0081, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 10, 100, 12, "");
    Item(101, 0x0083, LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 10, 30, 100, 40, "");
    Item(102, 0x0085, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 120, 10, 70, 60, "");
    reinterpret_cast<DLGTEMPLATE*>(&Data[head])->cdit = Items;
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(Data.data()); }

private:
  void Align() {
    while (Data.size() % 4) Data.push_back(0);
  }
  void Word(uint16_t w) {
    Data.push_back(static_cast<uint8_t>(w));
    Data.push_back(static_cast<uint8_t>(w >> 8));
  }
  void Text(const char* s) {
    for (; *s; ++s) Word(static_cast<uint8_t>(*s));
    Word(0);
  }
  void Item(int id, uint16_t atom, DWORD style, short x, short y, short cx, short cy, const char* title) {
    Align();
    DLGITEMTEMPLATE it{};
    it.style = style | WS_CHILD | WS_VISIBLE;
    it.x = x;
    it.y = y;
    it.cx = cx;
    it.cy = cy;
    it.id = static_cast<WORD>(id);
    const auto* p = reinterpret_cast<const uint8_t*>(&it);
    Data.insert(Data.end(), p, p + sizeof it);
    Word(0xFFFF);
    Word(atom);
    Text(title);
    Word(0);
    ++Items;
  }
  std::vector<uint8_t> Data;
  WORD Items = 0;
};

class TDialogPopup : public TWindow {
public:
  TDialogPopup() : TWindow(nullptr) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = Attr.H = 100;
  }
};

// The list reacts to its own selection change.
class TNotifyList : public TListBox {
public:
  using TListBox::TListBox;
  int Changes = 0;
  void Chosen() { ++Changes; }
  DECLARE_RESPONSE_TABLE(TNotifyList);
};
DEFINE_RESPONSE_TABLE1(TNotifyList, TListBox)
  EV_NOTIFY_AT_CHILD(LBN_SELCHANGE, Chosen),
END_RESPONSE_TABLE;

class TTestDialog : public TDialog {
public:
  enum TEnd { ClickOk, TimerCancel, Quit };
  TTestDialog(TWindow* parent, const DLGTEMPLATE* t, TEnd end) : TDialog(parent, t), End(end) {
    Name = new TEdit(this, 100, 9);
    List = new TNotifyList(this, 101);
    Kind = new TComboBox(this, 102);
  }
  void SetupWindow() override {
    TDialog::SetupWindow();
    Name->Insert("0123456789abc");  // typed text obeys the limit
    List->AddString("eins");
    List->AddString("zwei");
    List->SetSelIndex(1);
    SendMessage(WM_COMMAND, MAKEWPARAM(101, LBN_SELCHANGE), reinterpret_cast<TParam2>(List->HWindow));
    Kind->AddString("Grafik");
    Kind->AddString("Text");
    Kind->SetText("Text");
    switch (End) {
      case ClickOk:
        ::PostMessageA(GetItemHandle(IDOK), BM_CLICK, 0, 0);
        break;
      case TimerCancel:
        SetTimer(1, 20);
        break;
      case Quit:
        ::PostQuitMessage(3);
        break;
    }
  }
  void EvTimer(uint id) {
    KillTimer(id);
    TimerSeen = true;
    CmCancel();
  }
  bool CanClose() override {
    // Still running: the values are read before the window goes.
    OwnerEnabled = Parent && Parent->IsWindowEnabled();
    Text = Name->GetText();
    Selected = Kind->GetText();
    return TDialog::CanClose();
  }

  TEnd End;
  TEdit* Name;
  TNotifyList* List;
  TComboBox* Kind;
  bool OwnerEnabled = true;
  bool TimerSeen = false;
  std::string Text;
  std::string Selected;
  DECLARE_RESPONSE_TABLE(TTestDialog);
};
DEFINE_RESPONSE_TABLE1(TTestDialog, TDialog)
  EV_WM_TIMER,
END_RESPONSE_TABLE;

TEST(OwlDialog, ModalDialogEndsByAClickedButtonWithItsControlsBound) {
  TTemplate t;
  TDialogPopup owner;
  ASSERT_TRUE(owner.Create());
  TTestDialog dlg(&owner, t.Get(), TTestDialog::ClickOk);
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(dlg.Text, "01234567");  // limit 9 counts the terminating zero
  EXPECT_EQ(dlg.Selected, "Text");
  EXPECT_EQ(dlg.List->Changes, 1);
  EXPECT_FALSE(dlg.OwnerEnabled);  // disabled while the dialog ran
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(dlg.HWindow, nullptr);
  EXPECT_EQ(dlg.Name->HWindow, nullptr);
}

TEST(OwlDialog, ModalDialogEndsByATimerAndByAQuit) {
  TTemplate t;
  TTestDialog byTimer(nullptr, t.Get(), TTestDialog::TimerCancel);
  EXPECT_EQ(byTimer.Execute(), IDCANCEL);
  EXPECT_TRUE(byTimer.TimerSeen);

  // A WM_QUIT ends the dialog and is posted again for the enclosing loop.
  TTestDialog byQuit(nullptr, t.Get(), TTestDialog::Quit);
  EXPECT_EQ(byQuit.Execute(), IDCANCEL);
  MSG m;
  ASSERT_TRUE(::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

TEST(OwlDialog, ModelessDialogLivesUntilClosed) {
  TTemplate t;
  TDialog dlg(nullptr, t.Get());
  ASSERT_TRUE(dlg.Create());
  ASSERT_TRUE(::IsWindow(dlg.HWindow));
  EXPECT_EQ(TWindow::GetWindowPtr(dlg.HWindow), &dlg);
  const HWND h = dlg.HWindow;
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<TParam2>(dlg.GetItemHandle(IDOK)));
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(dlg.HWindow, nullptr);
}

}  // namespace
