#include "wintest.h"

#include <cstring>
#include <string>

#include "platform/owl/owl.h"
#include "platform/owl/uiscript.h"

namespace {

TEST(OwlUiService, MessageBoxesAreAnsweredByTheScriptAndRecorded) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TApplication app("Spieler");
  TWindow w(nullptr);  // no window needed

  ui.AnswerMessage(IDOK);
  EXPECT_EQ(w.MessageBox("Kann Datei nicht laden!", "TSL", MB_ICONINFORMATION), IDOK);
  // Unscripted: cancelled. The caption defaults to the application's name.
  EXPECT_EQ(w.MessageBox("Zweite Frage", nullptr, MB_OKCANCEL), IDCANCEL);

  ASSERT_EQ(ui.Requests().size(), 2u);
  EXPECT_EQ(ui.Requests()[0].Kind, TUiRequest::MessageBox);
  EXPECT_EQ(ui.Requests()[0].Text, "Kann Datei nicht laden!");
  EXPECT_EQ(ui.Requests()[0].Caption, "TSL");
  EXPECT_EQ(ui.Requests()[0].Type, static_cast<uint>(MB_ICONINFORMATION));
  EXPECT_EQ(ui.Requests()[1].Caption, "Spieler");
}

TEST(OwlUiService, TheScopeRestoresThePreviousService) {
  TUiService* windows = &GetUiService();
  {
    TScriptedUiService outer;
    TUiServiceScope a(outer);
    {
      TScriptedUiService inner;
      TUiServiceScope b(inner);
      EXPECT_EQ(&GetUiService(), &inner);
    }
    EXPECT_EQ(&GetUiService(), &outer);
  }
  EXPECT_EQ(&GetUiService(), windows);
}

TEST(OwlUiService, FileDialogsFillTheirDataOnlyWhenAccepted) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);

  TOpenSaveDialog::TData data(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "CRT-Dateien (*.crt)|*.crt|Alle|*.*|");
  std::strcpy(data.FileName, "alt.crt");
  ui.CancelNext(TUiRequest::OpenFile);
  EXPECT_EQ(TFileOpenDialog(nullptr, data).Execute(), IDCANCEL);
  EXPECT_STREQ(data.FileName, "alt.crt");
  EXPECT_EQ(data.Error, 0u);

  ui.AnswerFile("C:\\Projekte\\demo.crt", 2);
  EXPECT_EQ(TFileOpenDialog(nullptr, data).Execute(), IDOK);
  EXPECT_STREQ(data.FileName, "C:\\Projekte\\demo.crt");
  EXPECT_EQ(data.FilterIndex, 2);

  const TUiRequest& open = ui.Requests()[1];
  EXPECT_EQ(open.Kind, TUiRequest::OpenFile);
  EXPECT_EQ(open.Filter, "CRT-Dateien (*.crt)|*.crt|Alle|*.*|");
  EXPECT_EQ(open.InitialName, "alt.crt");
  EXPECT_EQ(open.Flags, static_cast<uint32_t>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
  EXPECT_EQ(open.MaxPath, static_cast<uint32_t>(MAX_PATH));

  // A failing dialog reports its extended error; a save dialog is told so.
  ui.FailNext(FNERR_INVALIDFILENAME);
  EXPECT_EQ(TFileSaveDialog(nullptr, data).Execute(), IDCANCEL);
  EXPECT_EQ(data.Error, static_cast<uint32_t>(FNERR_INVALIDFILENAME));
  EXPECT_EQ(ui.Count(TUiRequest::SaveFile), 1u);

  // A name longer than the buffer is refused, not written past it.
  TOpenSaveDialog::TData tiny(0, "Alle|*.*|", nullptr, nullptr, nullptr, 8);
  ui.AnswerFile("C:\\viel\\zu\\lang.txt");
  EXPECT_EQ(TFileOpenDialog(nullptr, tiny).Execute(), IDCANCEL);
  EXPECT_STREQ(tiny.FileName, "");

  // Multiple selection: folder and names separated by zeros.
  TOpenSaveDialog::TData multi(OFN_ALLOWMULTISELECT | OFN_EXPLORER, "Bilder|*.bmp|", nullptr, nullptr, nullptr, 0x7fff);
  ui.AnswerFiles("C:\\", {"a.bmp", "b.bmp"});
  EXPECT_EQ(TFileOpenDialog(nullptr, multi).Execute(), IDOK);
  EXPECT_STREQ(multi.FileName, "C:\\");
  EXPECT_STREQ(multi.FileName + 4, "a.bmp");
  EXPECT_STREQ(multi.FileName + 10, "b.bmp");

  // Copies of the data own their buffers.
  TOpenSaveDialog::TData copy = data;
  std::strcpy(copy.FileName, "x");
  EXPECT_STREQ(data.FileName, "C:\\Projekte\\demo.crt");
  EXPECT_EQ(std::memcmp(copy.Filter, "CRT-Dateien (*.crt)\0*.crt\0Alle\0*.*\0\0", 36), 0);
}

TEST(OwlUiService, ColourAndFontDialogs) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);

  TColor custom[16];
  TChooseColorDialog::TData colour;
  colour.Flags = CC_RGBINIT;
  colour.Color = TColor(1, 2, 3);
  colour.CustColors = custom;
  ui.AnswerColor(RGB(10, 20, 30));
  EXPECT_EQ(TChooseColorDialog(nullptr, colour).Execute(), IDOK);
  EXPECT_EQ(colour.Color.GetValue(), RGB(10, 20, 30));
  EXPECT_EQ(ui.Requests().back().Color, RGB(1, 2, 3));
  EXPECT_EQ(TChooseColorDialog(nullptr, colour).Execute(), IDCANCEL);
  EXPECT_EQ(colour.Color.GetValue(), RGB(10, 20, 30));

  TChooseFontDialog::TData font;
  font.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  std::strcpy(font.LogFont.lfFaceName, "Arial");
  LOGFONTA chosen{};
  chosen.lfHeight = -20;
  std::strcpy(chosen.lfFaceName, "Courier New");
  ui.AnswerFont(chosen, RGB(255, 0, 0), 150);
  EXPECT_EQ(TChooseFontDialog(nullptr, font).Execute(), IDOK);
  EXPECT_STREQ(font.LogFont.lfFaceName, "Courier New");
  EXPECT_EQ(font.LogFont.lfHeight, -20);
  EXPECT_EQ(font.Color, RGB(255, 0, 0));
  EXPECT_EQ(font.PointSize, 150);
  EXPECT_STREQ(ui.Requests().back().Font.lfFaceName, "Arial");
}

TEST(OwlUiService, FolderBrowserAnswers) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  BROWSEINFOA bi{};
  bi.lpszTitle = "W\xe4hlen Sie ein Verzeichnis aus:";
  char path[MAX_PATH] = "unver\xe4ndert";
  EXPECT_FALSE(GetUiService().FolderDialog(bi, path));
  EXPECT_STREQ(path, "unver\xe4ndert");
  ui.AnswerFolder("C:\\Daten");
  EXPECT_TRUE(GetUiService().FolderDialog(bi, path));
  EXPECT_STREQ(path, "C:\\Daten");
  EXPECT_EQ(ui.Requests()[0].Text, "W\xe4hlen Sie ein Verzeichnis aus:");
}

}  // namespace
