#include "wintest.h"

#include "foundation/streamio.h"
#include "platform/owl/owl.h"

namespace {

class TPopup : public TWindow {
public:
  TPopup() : TWindow(nullptr) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 200;
    Attr.H = 200;
  }
};

TEST(OwlComboBox, WindowTextOfEditableAndDropDownLists) {
  TPopup w;
  auto* edit = new TComboBox(&w, 1, 0, 0, 150, 100, CBS_DROPDOWN);
  auto* list = new TComboBox(&w, 2, 0, 30, 150, 100, CBS_DROPDOWNLIST);
  ASSERT_TRUE(w.Create());
  for (TComboBox* c : {edit, list}) {
    c->AddString("Text");
    c->AddString("Grafik");
    c->SetItemData(c->FindExactString("Grafik", -1), 1);
  }
  EXPECT_EQ(edit->GetString(0), "Grafik");  // sorted
  EXPECT_EQ(edit->GetItemData(0), 1);

  SetComboBoxString(*edit, "frei \xfc");
  EXPECT_EQ(GetComboBoxString(edit->HWindow), "frei \xfc");
  SetComboBoxString(*edit, "");
  EXPECT_EQ(GetComboBoxString(edit->HWindow), "");

  // A drop-down list has no free text: the matching entry is chosen.
  SetComboBoxString(*list, "Text");
  EXPECT_EQ(list->GetSelIndex(), 1);
  EXPECT_EQ(GetComboBoxString(list->HWindow), "Text");
  SetComboBoxString(*list, "");
  EXPECT_EQ(list->GetSelIndex(), -1);
}

}  // namespace
