#include "wintest.h"

#include <cstring>
#include <string>

#include "foundation/commdlgs.h"
#include "foundation/resstring.h"
#include "platform/owl/uiscript.h"
#include "resources/ids_foundation.h"

namespace {

// A colour dialog whose user defines custom colour 3 each time and records
// the custom colours offered.
class CustomColourUser : public TScriptedUiService {
public:
  bool ColorDialog(CHOOSECOLORA& cc) override {
    std::memcpy(Offered, cc.lpCustColors, sizeof Offered);
    cc.lpCustColors[3] = Defined;
    return TScriptedUiService::ColorDialog(cc);
  }
  COLORREF Offered[16] = {};
  COLORREF Defined = RGB(1, 2, 3);
};

TEST(SelectColor, AnswerCancelAndSharedCustomColours) {
  CustomColourUser ui;
  TUiServiceScope scope(ui);
  TColor colour(RGB(10, 20, 30));
  ui.AnswerColor(RGB(200, 100, 50));
  ASSERT_TRUE(SelectColor(nullptr, colour));
  EXPECT_EQ(colour.GetValue(), RGB(200, 100, 50));
  ASSERT_EQ(ui.Requests().size(), 1u);
  EXPECT_EQ(ui.Requests()[0].Color, RGB(10, 20, 30));
  EXPECT_TRUE(ui.Requests()[0].Flags & CC_RGBINIT);
  EXPECT_EQ(ui.Offered[0], 0x010101u);
  EXPECT_EQ(ui.Offered[1], 0x101010u);
  EXPECT_EQ(ui.Offered[15], 0xF0F0F0u);

  ui.Defined = RGB(9, 9, 9);
  EXPECT_FALSE(SelectColor(nullptr, colour));  // no answer: cancelled
  EXPECT_EQ(colour.GetValue(), RGB(200, 100, 50));
  EXPECT_EQ(ui.Offered[3], RGB(1, 2, 3));  // defined in the first dialog
  EXPECT_EQ(CustomColours()[3].GetValue(), RGB(9, 9, 9));
}

TEST(SelectFileName, OpenWithTheStartUpFilter) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  char path[MAX_PATH] = "C:\\demo\\alt.crt";
  ui.AnswerFile("C:\\demo\\demo.crt");
  const TResString filter = LoadResString(IDS_CRT_FILTER);
  ASSERT_TRUE(SelectFileName(nullptr, path, true, filter, nullptr, 0x1004, nullptr, "C:\\demo"));
  EXPECT_STREQ(path, "C:\\demo\\demo.crt");
  ASSERT_EQ(ui.Requests().size(), 1u);
  const TUiRequest& r = ui.Requests()[0];
  EXPECT_EQ(r.Kind, TUiRequest::OpenFile);
  EXPECT_EQ(r.Filter, "CRT-Dateien (*.crt)|*.crt|");
  EXPECT_EQ(r.Flags, 0x1004u | OFN_EXPLORER);
  EXPECT_EQ(r.DefExt, "*");
  EXPECT_EQ(r.InitialName, "C:\\demo\\alt.crt");
  EXPECT_EQ(r.InitialDir, "C:\\demo");
}

TEST(SelectFileName, SaveCancelLongNameAndRetry) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  char path[MAX_PATH] = "C:\\x.txt";
  EXPECT_FALSE(SelectFileName(nullptr, path, false, "Texte|*.txt|", "txt", 0, nullptr, nullptr));
  EXPECT_STREQ(path, "C:\\x.txt");
  ASSERT_EQ(ui.Requests().size(), 1u);  // a plain cancel is not retried
  EXPECT_EQ(ui.Requests()[0].Kind, TUiRequest::SaveFile);
  EXPECT_EQ(ui.Requests()[0].DefExt, "txt");

  // A name of 260 characters or more is not handed to the dialog.
  ui.Clear();
  char longPath[300];
  std::memset(longPath, 'a', 270);
  longPath[270] = 0;
  ui.AnswerFile("C:\\y.txt");
  ASSERT_TRUE(SelectFileName(nullptr, longPath, true, "Texte|*.txt|", nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(ui.Requests()[0].InitialName, "");
  EXPECT_STREQ(longPath, "C:\\y.txt");

  // A failing dialog is shown once more with an empty name.
  ui.Clear();
  ui.CancelNext(TUiRequest::OpenFile);
  ui.FailNext(FNERR_INVALIDFILENAME);
  ui.AnswerFile("C:\\z.txt");
  char bad[MAX_PATH] = "C:\\<bad>";
  ASSERT_TRUE(SelectFileName(nullptr, bad, true, "Texte|*.txt|", nullptr, 0, nullptr, nullptr));
  ASSERT_EQ(ui.Requests().size(), 2u);
  EXPECT_EQ(ui.Requests()[0].InitialName, "C:\\<bad>");
  EXPECT_EQ(ui.Requests()[1].InitialName, "");
  EXPECT_STREQ(bad, "C:\\z.txt");
}

TEST(SelectFiles, SeveralOneAndCancel) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TUSStrings files;
  files.Add("old");
  ui.AnswerFiles("C:\\", {"a.bmp", "b.bmp", "c.bmp"});
  ASSERT_TRUE(SelectFiles(files, nullptr, "Bilder|*.bmp|"));
  ASSERT_EQ(files.Count(), 3);
  EXPECT_EQ(files[0], string("C:\\a.bmp"));
  EXPECT_EQ(files[2], string("C:\\c.bmp"));
  EXPECT_EQ(ui.Requests()[0].Flags, 0x81204u);
  EXPECT_EQ(ui.Requests()[0].MaxPath, 0x7FFFu);

  ui.AnswerFile("D:\\bilder\\x.bmp");
  ASSERT_TRUE(SelectFiles(files, nullptr, "Bilder|*.bmp|"));
  ASSERT_EQ(files.Count(), 1);
  EXPECT_EQ(files[0], string("D:\\bilder\\x.bmp"));

  EXPECT_FALSE(SelectFiles(files, nullptr, "Bilder|*.bmp|"));
  EXPECT_EQ(files.Count(), 0);
}

TEST(SelectFont, CopiesBackOnlyOnOk) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TChooseFontDialog::TData data;
  data.Flags = 0x10103;
  std::strcpy(data.LogFont.lfFaceName, "Arial");
  data.LogFont.lfHeight = 20;
  EXPECT_FALSE(SelectFont(nullptr, data));
  EXPECT_EQ(data.Flags, 0x10103u);

  LOGFONTA chosen{};
  chosen.lfHeight = 33;
  std::strcpy(chosen.lfFaceName, "Courier New");
  ui.AnswerFont(chosen, RGB(255, 0, 0), 250);
  ASSERT_TRUE(SelectFont(nullptr, data));
  EXPECT_EQ(ui.Requests()[1].Flags, 0x10143u);
  EXPECT_EQ(ui.Requests()[1].Font.lfHeight, 20);
  EXPECT_EQ(data.Flags, 0x10143u);
  EXPECT_EQ(data.LogFont.lfHeight, 33);
  EXPECT_STREQ(data.LogFont.lfFaceName, "Courier New");
  EXPECT_EQ(data.Color, RGB(255, 0, 0));
  EXPECT_EQ(data.PointSize, 250);
}

TEST(BrowseForFolder, PreselectsTheTrimmedPath) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  char path[MAX_PATH] = "  C:\\windows\\\\  ";
  ui.AnswerFolder("C:\\temp");
  ASSERT_TRUE(BrowseForFolder(nullptr, path, 0));
  EXPECT_STREQ(path, "C:\\temp");
  const TUiRequest& r = ui.Requests()[0];
  EXPECT_EQ(r.InitialDir, "C:\\windows");
  EXPECT_EQ(r.Flags, unsigned(BIF_RETURNONLYFSDIRS));
  EXPECT_EQ(r.Text, "W\xE4hlen Sie ein Verzeichnis aus:");
  EXPECT_EQ(r.Owner, nullptr);

  char kept[MAX_PATH] = "C:\\x";
  EXPECT_FALSE(SelectDirectory(nullptr, kept));
  EXPECT_STREQ(kept, "C:\\x");
  ui.AnswerFolder("C:\\");
  char empty[MAX_PATH] = "";
  ASSERT_TRUE(SelectDirectory(nullptr, empty));
  EXPECT_STREQ(empty, "C:\\");
  EXPECT_EQ(ui.Requests().back().InitialDir, "");
}

TEST(ChooseTargetDirectory, FolderWithItsBackslash) {
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  char none[MAX_PATH] = "";
  EXPECT_FALSE(ChooseTargetDirectory(nullptr, none));
  EXPECT_FALSE(ChooseTargetDirectory(nullptr, nullptr));
  EXPECT_TRUE(ui.Requests().empty());

  char windir[MAX_PATH];
  GetWindowsDirectoryA(windir, MAX_PATH);
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  char path[MAX_PATH];
  std::strcpy(path, windir);
  ui.AnswerFile(std::string(windir) + "\\system32\\~");
  ASSERT_TRUE(ChooseTargetDirectory(nullptr, path));
  EXPECT_EQ(std::string(path), std::string(windir) + "\\system32\\");
  const TUiRequest& r = ui.Requests()[0];
  EXPECT_EQ(r.Kind, TUiRequest::SaveFile);
  EXPECT_EQ(r.Filter, "Temp|~|");
  EXPECT_EQ(r.Flags & ~uint32_t(OFN_ENABLETEMPLATE | OFN_ENABLEHOOK), 0x804u);
  EXPECT_TRUE(r.Flags & OFN_ENABLETEMPLATE);
  EXPECT_EQ(r.InitialDir, windir);
  char after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before);

  char kept[MAX_PATH];
  std::strcpy(kept, windir);
  EXPECT_FALSE(ChooseTargetDirectory(nullptr, kept));
  EXPECT_STREQ(kept, windir);
}

// The template is in the resources, so the dialog can also run for real.
TEST(ChooseTargetDirectory, TemplateExists) {
  EXPECT_NE(FindResourceA(GetModuleHandleA(nullptr), "IDDLG_TARGET_PATH", MAKEINTRESOURCEA(5)), nullptr);
  EXPECT_NE(FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1536), MAKEINTRESOURCEA(5)), nullptr);
}

}  // namespace
