#include "wintest.h"

#include "platform/owl/owl.h"
#include "platform/owl/uiscript.h"

namespace {

class TCountingPrintout : public TPrintout {
public:
  TCountingPrintout(int maxPage) : TPrintout("Ausdruck"), MaxPage(maxPage) {}
  void GetDialogInfo(int& minPage, int& maxPage, int& from, int& to) override {
    minPage = from = 1;
    maxPage = to = MaxPage;
  }
  void BeginPrinting() override { ++Begun; }
  int MaxPage;
  int Begun = 0;
};

TEST(OwlPrinter, NothingIsPrintedWhenTheUserCancelsOrNoPrinterExists) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TPrinter printer;

  TCountingPrintout ranged(3);
  ui.CancelNext(TUiRequest::PrintSetup);
  EXPECT_FALSE(printer.Print(nullptr, ranged, true));
  EXPECT_EQ(printer.GetError(), TPrinter::UserCancelled);
  EXPECT_EQ(ranged.Begun, 0);
  ASSERT_EQ(ui.Count(TUiRequest::PrintSetup), 1u);
  EXPECT_TRUE(ui.Requests()[0].Flags & PD_RETURNDC);
  EXPECT_FALSE(ui.Requests()[0].Flags & PD_NOPAGENUMS);

  // No page range: the dialog offers none. Accepted, but no device.
  TCountingPrintout single(0);
  ui.AnswerPrint();
  EXPECT_FALSE(printer.Print(nullptr, single, true));
  EXPECT_TRUE(ui.Requests()[1].Flags & PD_NOPAGENUMS);
  EXPECT_EQ(printer.GetError(), TPrinter::NoPrinter);
  EXPECT_EQ(single.Begun, 0);

  // Without asking, the default printer is looked up (none here).
  EXPECT_FALSE(printer.Print(nullptr, single, false));
  EXPECT_TRUE(ui.Requests().back().Flags & PD_RETURNDEFAULT);
  EXPECT_EQ(printer.GetError(), TPrinter::NoPrinter);
}

}  // namespace
