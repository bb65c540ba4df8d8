#define NOMINMAX
#include "wintest.h"

#include <string>
#include <vector>

#include "foundation/helpbutton.h"
#include "platform/owl/window.h"

namespace {
struct HelpCall {
  HWND owner;
  std::string file;
  UINT command;
  ULONG_PTR data;
};
std::vector<HelpCall> g_calls;
BOOL WINAPI RecordHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data) {
  g_calls.push_back({owner, file ? file : "", command, data});
  return TRUE;
}

class TDialogStandIn : public TWindow {
public:
  TDialogStandIn() : TWindow(static_cast<TWindow*>(nullptr)) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 200;
    Attr.H = 100;
  }
};
}  // namespace

TEST(THelpButton, ClickOpensTheHelpContext) {
  g_calls.clear();
  auto* old = THelpButton::HelpViewer;
  THelpButton::HelpViewer = RecordHelp;

  TDialogStandIn dialog;
  auto* own = new THelpButton(&dialog, 101, "Hilfe", 5, 5, 60, 20, 4711, "C:\\TSL\\SETUP.HLP");
  auto* none = new THelpButton(&dialog, 102, "Hilfe", 5, 30, 60, 20, 12);
  ASSERT_TRUE(dialog.Create());

  own->Click();
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].owner, dialog.GetHandle());
  EXPECT_EQ(g_calls[0].file, "C:\\TSL\\SETUP.HLP");
  EXPECT_EQ(g_calls[0].command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(g_calls[0].data, 4711u);

  none->Click();  // no help file of its own and no default: nothing happens
  EXPECT_EQ(g_calls.size(), 1u);

  THelpButton::DefaultHelpFile = "C:\\TSL\\TSL.HLP";
  none->Click();
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[1].file, "C:\\TSL\\TSL.HLP");
  EXPECT_EQ(g_calls[1].data, 12u);

  THelpButton::DefaultHelpFile = string();
  THelpButton::HelpViewer = old;
}
