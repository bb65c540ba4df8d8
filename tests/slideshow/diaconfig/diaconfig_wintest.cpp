// The slide-show configuration dialog driven while it runs modally: control
// messages sent to it step by step from a timer, message boxes and file
// dialogs answered by the scripted UI service. What the steps changed is
// read back from the edited show and from the files written.
#include "dialogdriver.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/startup.h"
#include "platform/owl/applicat.h"
#include "platform/owl/file.h"
#include "platform/owl/framewin.h"
#include "platform/owl/uiscript.h"
#include "slideshow/core/diaoption.h"
#include "slideshow/diaconfig.h"

namespace {

using TStep = std::function<void(TDiaConfigDialog&)>;

int RunConfig(TDiaOption& show, std::vector<TStep> steps) {
  TDiaConfigDialog dlg(nullptr, &show);
  return dialogdriver::Run(dlg, steps);
}

void Click(TDiaConfigDialog& d, int id) {
  d.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(d.GetDlgItem(id)));
}
void Menu(TDiaConfigDialog& d, int id) { d.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
void Select(TDiaConfigDialog& d, int line) {
  d.SendDlgItemMessage(kDiaCfgPictureList, LB_SETCURSEL, static_cast<WPARAM>(line));
  d.SendMessage(WM_COMMAND, MAKEWPARAM(kDiaCfgPictureList, LBN_SELCHANGE),
                reinterpret_cast<LPARAM>(d.GetDlgItem(kDiaCfgPictureList)));
}
void Type(TDiaConfigDialog& d, int id, const char* text) { ::SetDlgItemTextA(d.HWindow, id, text); }
std::string Text(TDiaConfigDialog& d, int id) {
  char t[256] = {};
  ::GetDlgItemTextA(d.HWindow, id, t, sizeof t);
  return t;
}
bool Enabled(TDiaConfigDialog& d, int id) { return ::IsWindowEnabled(d.GetDlgItem(id)) != 0; }
int ComboSel(TDiaConfigDialog& d, int id) { return static_cast<int>(d.SendDlgItemMessage(id, CB_GETCURSEL)); }
int ListCount(TDiaConfigDialog& d) { return static_cast<int>(d.SendDlgItemMessage(kDiaCfgPictureList, LB_GETCOUNT)); }
std::string Line(TDiaConfigDialog& d, int i) {
  char t[MAX_PATH] = {};
  d.SendDlgItemMessage(kDiaCfgPictureList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
  return t;
}

void AddPictures(TDiaOption& show, std::initializer_list<const char*> files) {
  for (const char* f : files) {
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = f;
    show.Pictures.Add(std::move(e));
  }
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadShow(const std::string& path, TDiaOption& show) {
  TFile f(path.c_str());
  return f.IsOpen() && show.Read(f);
}

class TMainFrame : public TFrameWindow {
public:
  TMainFrame() : TFrameWindow(nullptr, "Spieler") {}
};

struct DiaConfigTest : ::testing::Test {
  void SetUp() override {
    SetProgramTitle("TSL Spieler");
    frame = new TMainFrame;
    app.SetMainWindow(frame);
    frame->Create();
    ::CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* n : {"a.DIA", "b.DIA", "random.DIA"}) ::DeleteFileA((folder + n).c_str());
    ::RemoveDirectoryA(folder.c_str());
  }
  std::string Caption() const {
    char t[MAX_PATH] = {};
    ::GetWindowTextA(frame->HWindow, t, sizeof t);
    return t;
  }
  TApplication app{"Spieler"};
  TMainFrame* frame = nullptr;
  TScriptedUiService ui;
  TUiServiceScope scope{ui};
  const std::string folder = wintest::TempPath("diacfg\\");
};

TEST_F(DiaConfigTest, SetupShowsTheStoredValuesWithTheirQuirks) {
  TDiaOption show;
  AddPictures(show, {"C:\\b\\eins.jpg", "C:\\b\\zwei.bmp"});
  show.TransitionKind = 5;
  show.TransitionDuration = 2500;
  show.AdvanceInterval = 999;
  show.BackgroundSoundOnce = 0;
  show.BackgroundSoundEnabled = 1;
  show.PcdResolution = 3;
  show.HeaderAlign = 7;
  show.SkipKey = kShowKeyNone;
  show.JumpInterval = 25;
  show.Pictures[0].HeaderText = "Kopf eins";
  show.Pictures[0].FooterAlign = kDiaAlignRight;
  RunConfig(show, {[&](TDiaConfigDialog& d) {
        char caption[64] = {};
        ::GetWindowTextA(d.HWindow, caption, sizeof caption);
        EXPECT_STREQ(caption, "Diashow konfigurieren");
        EXPECT_FALSE(::IsWindowVisible(d.GetDlgItem(kDiaCfgHelp)));
        EXPECT_EQ(ComboSel(d, kDiaCfgTransition), 5);
        EXPECT_EQ(Text(d, kDiaCfgTransitionTime), "2") << "whole seconds, truncated";
        EXPECT_EQ(Text(d, kDiaCfgAdvanceTime), "0");
        EXPECT_EQ(Text(d, kDiaCfgJumpInterval), "25");
        EXPECT_EQ(d.SendDlgItemMessage(kDiaCfgBackgroundLoop, BM_GETCHECK), BST_CHECKED) << "Endlos: not once";
        EXPECT_EQ(ComboSel(d, kDiaCfgPcdResolution), 2);
        char res[32] = {};
        ::GetDlgItemTextA(d.HWindow, kDiaCfgPcdResolution, res, sizeof res);
        EXPECT_STREQ(res, "512x768");
        EXPECT_EQ(ComboSel(d, kDiaCfgHeaderAlign), -1) << "alignment 7 shows as no selection";
        EXPECT_EQ(ComboSel(d, kDiaCfgSkipKey), -1) << "no key";
        EXPECT_EQ(ComboSel(d, kDiaCfgNextKey), kShowKeyLeftButton);
        // The first picture is shown; music on disables its sound box.
        EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "Kopf eins");
        EXPECT_EQ(ComboSel(d, kDiaCfgLocalFooterAlign), kDiaAlignRight);
        EXPECT_FALSE(Enabled(d, kDiaCfgPictureSound));
        EXPECT_FALSE(Enabled(d, kDiaCfgMoveUp));
        EXPECT_TRUE(Enabled(d, kDiaCfgMoveDown));
        // Esc drops what was only typed.
        Type(d, kDiaCfgHeader, "nicht gespeichert");
        Type(d, kDiaCfgTransitionTime, "9");
      }});
  EXPECT_EQ(show.HeaderText, string(kDiaDefaultHeader));
  EXPECT_EQ(show.TransitionDuration, 2500u);
  EXPECT_EQ(show.HeaderAlign, 7);
}

TEST_F(DiaConfigTest, EmptyShowDisablesTheListControls) {
  TDiaOption show;
  RunConfig(show, {[](TDiaConfigDialog& d) {
    EXPECT_EQ(ListCount(d), 0);
    for (int id : {kDiaCfgDelete, kDiaCfgPictureSoundFile, kDiaCfgMoveUp, kDiaCfgMoveDown, kDiaCfgLocalHeaderFont,
                   kDiaCfgLocalFooterFont, kDiaCfgLocalHeaderAlign, kDiaCfgLocalFooterAlign, kDiaCfgLocalHeader,
                   kDiaCfgLocalFooter, kDiaCfgPictureSound}) {
      SCOPED_TRACE(id);
      EXPECT_FALSE(Enabled(d, id));
    }
    EXPECT_TRUE(Enabled(d, kDiaCfgInsert));
    // Clicks that need a line do nothing.
    Click(d, kDiaCfgDelete);
    Click(d, kDiaCfgLocalHeaderFont);
    Click(d, kDiaCfgPictureSoundFile);
  }});
  EXPECT_EQ(ui.Requests().size(), 0u);
}

TEST_F(DiaConfigTest, NumberFieldsStoreLeadingDigitsClampedOnBeenden) {
  const struct {
    const char* what;
    const char* transition;
    const char* advance;
    const char* jump;
    uint32_t transitionMs;
    uint32_t advanceMs;
    uint16_t jumpValue;
  } cases[] = {
      {"digits then letters, letters only", "12abc", "abc", "7x", 12000, 0, 7},
      {"a sign stores 0, jump clamped", "-5", "3", "70000", 0, 3000, 65535},
      {"99999999 s is clamped", "8", "99999999", "0", 8000, 0xFFFFFFFFu, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TDiaOption show;
    ui.Clear();
    ui.AnswerMessage(IDNO);
    const int result = RunConfig(show, {[&](TDiaConfigDialog& d) {
      Type(d, kDiaCfgTransitionTime, c.transition);
      Type(d, kDiaCfgAdvanceTime, c.advance);
      Type(d, kDiaCfgJumpInterval, c.jump);
      Click(d, IDOK);
    }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(show.TransitionDuration, c.transitionMs);
    EXPECT_EQ(show.AdvanceInterval, c.advanceMs);
    EXPECT_EQ(show.JumpInterval, c.jumpValue);
    ASSERT_EQ(ui.Requests().size(), 1u);
    EXPECT_EQ(ui.Requests()[0].Text, "Soll ich vorher sichern");
    EXPECT_EQ(ui.Requests()[0].Caption, "TSL Spieler");
    EXPECT_EQ(ui.Requests()[0].Type, static_cast<uint>(MB_YESNOCANCEL));
  }
}

TEST_F(DiaConfigTest, BeendenCancelledKeepsTheDialogAndTheStoredSettings) {
  TDiaOption show;
  ui.AnswerMessage(IDCANCEL);
  const int result = RunConfig(show, {[](TDiaConfigDialog& d) {
                                  Type(d, kDiaCfgHeader, "Neuer Kopf");
                                  Click(d, IDOK);
                                },
                                [](TDiaConfigDialog& d) { EXPECT_TRUE(::IsWindowVisible(d.HWindow)); }});
  EXPECT_EQ(result, IDCANCEL) << "ended by Escape after the steps";
  EXPECT_EQ(show.HeaderText, string("Neuer Kopf")) << "stored by the first Beenden";
}

TEST_F(DiaConfigTest, InsertDeleteAndTheLocalCaptionsFollowTheSelection) {
  TDiaOption show;
  ui.AnswerFiles("C:\\bilder", {"a.jpg", "b.bmp", "a.jpg"});
  ui.CancelNext(TUiRequest::OpenFile);
  RunConfig(show, {[&](TDiaConfigDialog& d) {
               Click(d, kDiaCfgInsert);
               ASSERT_EQ(ListCount(d), 3);
               EXPECT_EQ(Line(d, 0), "C:\\bilder\\a.jpg");
               EXPECT_EQ(Line(d, 2), "C:\\bilder\\a.jpg") << "a file already listed is added again";
               EXPECT_EQ(d.SendDlgItemMessage(kDiaCfgPictureList, LB_GETCURSEL), LB_ERR) << "selection unchanged";
               Click(d, kDiaCfgInsert);  // cancelled
               EXPECT_EQ(ListCount(d), 3);
               EXPECT_EQ(ui.Requests().back().Filter,
                         "Bitmap-Dateien|*.bmp;*.gif;*.jpg;*.pcd;*.pcx;*.tga;*.tif;*.wmf|Alle Dateien (*.*)|*.*|");
               Select(d, 0);
               Type(d, kDiaCfgLocalHeader, "Kopf A");
               Select(d, 1);
               EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "");
               Type(d, kDiaCfgLocalHeader, "Kopf B");
               Select(d, 0);
               EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "Kopf A");
               // Delete the last line: the new last one is selected.
               Select(d, 2);
               Click(d, kDiaCfgDelete);
               EXPECT_EQ(ListCount(d), 2);
               EXPECT_EQ(d.SendDlgItemMessage(kDiaCfgPictureList, LB_GETCURSEL), 1);
               EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "Kopf B");
               // Delete in the middle: the line that moved up is selected.
               Select(d, 0);
               Click(d, kDiaCfgDelete);
               EXPECT_EQ(ListCount(d), 1);
               EXPECT_EQ(Line(d, 0), "C:\\bilder\\b.bmp");
               EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "Kopf B");
               EXPECT_FALSE(Enabled(d, kDiaCfgMoveUp));
               EXPECT_FALSE(Enabled(d, kDiaCfgMoveDown));
               Click(d, kDiaCfgDelete);
               EXPECT_EQ(ListCount(d), 0);
               EXPECT_FALSE(Enabled(d, kDiaCfgLocalHeader));
               EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "Kopf B") << "the disabled edit keeps its text";
             }});
  EXPECT_EQ(show.Pictures.Count(), 0);
}

TEST_F(DiaConfigTest, MovesCarryThePictureWithItsTypedCaption) {
  TDiaOption show;
  AddPictures(show, {"C:\\1.jpg", "C:\\2.jpg", "C:\\3.jpg"});
  RunConfig(show, {[&](TDiaConfigDialog& d) {
    Select(d, 0);
    Click(d, kDiaCfgMoveUp);  // first line: nothing
    EXPECT_EQ(Line(d, 0), "C:\\1.jpg");
    Type(d, kDiaCfgLocalHeader, "wandert");
    Click(d, kDiaCfgMoveDown);
    Click(d, kDiaCfgMoveDown);
    EXPECT_EQ(Line(d, 2), "C:\\1.jpg");
    EXPECT_EQ(d.SendDlgItemMessage(kDiaCfgPictureList, LB_GETCURSEL), 2);
    EXPECT_EQ(Text(d, kDiaCfgLocalHeader), "wandert");
    EXPECT_FALSE(Enabled(d, kDiaCfgMoveDown));
    Click(d, kDiaCfgMoveDown);  // last line: nothing
    Click(d, kDiaCfgMoveUp);
    EXPECT_EQ(Line(d, 1), "C:\\1.jpg");
    EXPECT_TRUE(Enabled(d, kDiaCfgMoveUp));
    EXPECT_TRUE(Enabled(d, kDiaCfgMoveDown));
  }});
  ASSERT_EQ(show.Pictures.Count(), 3);
  const char* order[] = {"C:\\2.jpg", "C:\\1.jpg", "C:\\3.jpg"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(show.Pictures[i].PictureFile, string(order[i])) << i;
  EXPECT_EQ(show.Pictures[1].HeaderText, string("wandert"));
}

TEST_F(DiaConfigTest, SoundFilesUseTheFilterWithBothPatternsAndTickNothing) {
  TDiaOption show;
  AddPictures(show, {"C:\\1.jpg"});
  ui.AnswerFile("C:\\ton\\lied.mid");
  ui.AnswerFile("C:\\ton\\musik.wav");
  RunConfig(show, {[&](TDiaConfigDialog& d) {
    Click(d, kDiaCfgPictureSoundFile);
    Click(d, kDiaCfgBackgroundSoundFile);
    EXPECT_EQ(d.SendDlgItemMessage(kDiaCfgPictureSound, BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(d.SendDlgItemMessage(kDiaCfgBackgroundSound, BM_GETCHECK), BST_UNCHECKED);
  }});
  ASSERT_EQ(ui.Count(TUiRequest::OpenFile), 2u);
  for (const TUiRequest& r : ui.Requests()) {
    EXPECT_EQ(r.Filter, "Sound-Dateien (*.wav;*.mid)|*.wav;*.mid|");
    EXPECT_EQ(r.Flags & (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY), static_cast<uint32_t>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
  }
  EXPECT_EQ(show.Pictures[0].SoundFile, string("C:\\ton\\lied.mid"));
  EXPECT_EQ(show.Pictures[0].SoundEnabled, 0);
  EXPECT_EQ(show.BackgroundSoundFile, string("C:\\ton\\musik.wav"));
  EXPECT_EQ(show.BackgroundSoundEnabled, 0);
}

TEST_F(DiaConfigTest, InsertStopsAtTheLargestListTheFileCanHold) {
  TDiaOption show;
  for (int i = 0; i < kDiaMaxPictures - 1; ++i) {
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = "C:\\p.jpg";
    show.Pictures.Add(std::move(e));
  }
  ui.AnswerFiles("C:\\neu", {"x.jpg", "y.jpg", "z.jpg"});
  RunConfig(show, {[&](TDiaConfigDialog& d) {
    Click(d, kDiaCfgInsert);
    EXPECT_EQ(ListCount(d), kDiaMaxPictures);
  }});
  ASSERT_EQ(show.Pictures.Count(), kDiaMaxPictures);
  EXPECT_EQ(show.Pictures[kDiaMaxPictures - 1].PictureFile, string("C:\\neu\\x.jpg"));
}

TEST_F(DiaConfigTest, SaveAsWritesTheShowAndTakesItsNameAndCaption) {
  TDiaOption show;
  AddPictures(show, {"C:\\1.jpg"});
  const std::string path = folder + "a.DIA";
  ui.AnswerFile(path);
  ui.AnswerMessage(IDNO);
  RunConfig(show, {[&](TDiaConfigDialog& d) {
               Select(d, 0);
               Type(d, kDiaCfgLocalHeader, "eben getippt");
               Type(d, kDiaCfgAdvanceTime, "4");
               Menu(d, kDiaCfgFileSaveAs);
               EXPECT_EQ(d.GetFileName(), path);
               // A second save writes without asking and leaves the caption.
               frame->SetCaption("anders");
               Type(d, kDiaCfgFooter, "Fuss");
               Menu(d, kDiaCfgFileSave);
             },
             [](TDiaConfigDialog& d) { Click(d, IDOK); }});
  EXPECT_EQ(Caption(), "anders");
  ASSERT_EQ(ui.Count(TUiRequest::SaveFile), 1u);
  EXPECT_EQ(ui.Requests()[0].Filter, "Diashow-Dateien (*.DIA)|*.DIA|");
  EXPECT_EQ(ui.Requests()[0].InitialName, "");
  TDiaOption back;
  ASSERT_TRUE(ReadShow(path, back));
  ASSERT_EQ(back.Pictures.Count(), 1);
  EXPECT_EQ(back.Pictures[0].HeaderText, string("eben getippt"));
  EXPECT_EQ(back.AdvanceInterval, 4000u);
  EXPECT_EQ(back.FooterText, string("Fuss"));
}

TEST_F(DiaConfigTest, SaveIntoAMissingFolderSaysSoAndNeuKeepsTheShow) {
  TDiaOption show;
  AddPictures(show, {"C:\\1.jpg", "C:\\2.jpg"});
  const std::string missing = folder + "fehlt\\x.DIA";
  frame->SetCaption("Spieler");
  ui.AnswerFile(missing);   // Speichern unter
  ui.AnswerMessage(IDOK);   // its message
  ui.AnswerMessage(IDYES);  // Neu: save first?
  ui.AnswerFile(missing);   // the name for it
  ui.AnswerMessage(IDOK);   // its message
  RunConfig(show, {[&](TDiaConfigDialog& d) {
    Menu(d, kDiaCfgFileSaveAs);
    EXPECT_EQ(d.GetFileName(), "") << "the failed name is not taken";
    Menu(d, kDiaCfgFileNew);
    EXPECT_EQ(ListCount(d), 2) << "Neu stopped";
  }});
  EXPECT_FALSE(Exists(missing));
  EXPECT_EQ(Caption(), "Spieler");
  EXPECT_EQ(show.Pictures.Count(), 2);
  std::vector<std::string> messages;
  for (const TUiRequest& r : ui.Requests())
    if (r.Kind == TUiRequest::MessageBox) messages.push_back(r.Text);
  EXPECT_EQ(messages, (std::vector<std::string>{"Die Datei konnte nicht gespeichert werden.", "Soll ich vorher sichern",
                                                "Die Datei konnte nicht gespeichert werden."}));
}

TEST_F(DiaConfigTest, OpenAdoptsOnlyAShowFile) {
  TDiaOption stored;
  AddPictures(stored, {"C:\\x\\gelesen.jpg"});
  stored.BackgroundSoundEnabled = 1;
  stored.HeaderText = "aus Datei";
  const std::string good = folder + "b.DIA";
  {
    TFile f(good.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(stored.Write(f));
  }
  const std::string random = folder + "random.DIA";
  ASSERT_TRUE(wintest::WriteFileBytes(random, {0x13, 0x57, 0x9b, 0xdf, 1, 2, 3, 4, 5, 6, 7, 8}));
  const std::string first = folder + "a.DIA";

  TDiaOption show;
  AddPictures(show, {"C:\\alt.jpg"});
  ui.AnswerFile(first);      // Speichern unter
  ui.AnswerMessage(IDNO);    // Öffnen: save first?
  ui.AnswerFile(random);
  ui.AnswerMessage(IDNO);
  ui.AnswerFile(good);
  RunConfig(show, {[&](TDiaConfigDialog& d) {
    Menu(d, kDiaCfgFileSaveAs);
    EXPECT_EQ(Caption(), first);
    Menu(d, kDiaCfgFileOpen);
    EXPECT_EQ(d.GetFileName(), first) << "random bytes keep the old name";
    EXPECT_EQ(Caption(), first);
    EXPECT_EQ(Line(d, 0), "C:\\alt.jpg");
    Menu(d, kDiaCfgFileOpen);
    EXPECT_EQ(d.GetFileName(), good);
    EXPECT_EQ(Caption(), good);
    EXPECT_EQ(Line(d, 0), "C:\\x\\gelesen.jpg");
    EXPECT_EQ(Text(d, kDiaCfgHeader), "aus Datei");
    EXPECT_FALSE(Enabled(d, kDiaCfgPictureSound)) << "music on";
  }});
  size_t opens = 0;
  for (const TUiRequest& r : ui.Requests())
    if (r.Kind == TUiRequest::OpenFile) {
      EXPECT_EQ(r.InitialName, "");
      EXPECT_EQ(r.Flags & 0x1004u, 0x1004u);
      ++opens;
    }
  EXPECT_EQ(opens, 2u);
  EXPECT_EQ(show.HeaderText, string("aus Datei"));
}

TEST_F(DiaConfigTest, NeuAsksAndResetsToTheDefaults) {
  TDiaOption show;
  AddPictures(show, {"C:\\1.jpg"});
  show.TransitionKind = 9;
  show.Background.Colour1 = 0x123456;
  const std::string path = folder + "a.DIA";
  ui.AnswerFile(path);
  ui.AnswerMessage(IDYES);  // Neu with a name: written without a dialog
  RunConfig(show, {[&](TDiaConfigDialog& d) {
    Menu(d, kDiaCfgFileSaveAs);
    Type(d, kDiaCfgHeader, "vor Neu");
    Menu(d, kDiaCfgFileNew);
    EXPECT_EQ(d.GetFileName(), "");
    EXPECT_EQ(ListCount(d), 0);
    EXPECT_FALSE(Enabled(d, kDiaCfgDelete));
    EXPECT_EQ(ComboSel(d, kDiaCfgTransition), 0);
  }});
  EXPECT_EQ(ui.Count(TUiRequest::SaveFile), 1u);
  TDiaOption saved;
  ASSERT_TRUE(ReadShow(path, saved));
  EXPECT_EQ(saved.HeaderText, string("vor Neu"));
  EXPECT_EQ(show.Pictures.Count(), 0);
  EXPECT_EQ(show.TransitionKind, 0);
  EXPECT_EQ(show.Background.Colour1, 0u) << "a new show's background is black";
  EXPECT_EQ(show.Endless, 1);
}

}  // namespace
