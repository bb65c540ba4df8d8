// Saving the open project: over the project file with a backup, the
// run-time file, a new name with the side files; and a generated project
// that is saved, loaded and saved again gives the same bytes.
#include "winpages.h"

#include "engine/editoptions.h"
#include "foundation/fileutil.h"
#include "platform/owl/uiscript.h"

namespace {

const char kShow[] = R"(
title "Sichern"
object button "Eins" 0 160 50 190 number 1
  data u32 1
object button "Zwei" 60 160 110 190 number 2
  data u32 2
object sound "Ton" 0 0 1 1 dataless number 3
page 7 "Sieben"
  object text "a" 1 1 2 2 number 10
  data-for 3 str "a.wav"
page 3 "Drei"
  object picture "c" 3 3 4 4 number 12
)";

std::vector<uint32_t> PageNumbers(const TBookStruct& book) {
  std::vector<uint32_t> n;
  for (const TPagePointer& p : book.Pages.Pages) n.push_back(p.Number);
  return n;
}

void Remove(const std::string& base) {
  for (const char* ext : {".crt", ".BAK", ".fdt", ".tsl", "2.tsl", "2.fdt"}) ::DeleteFileA((base + ext).c_str());
}

}  // namespace

TEST(ProjectSaving, SaveLoadSaveGivesTheSameBytes) {
  const std::string base = TempPath("roundtrip");
  const std::string path = base + ".tsl";
  WriteBytes(path, BuildProject(kShow));
  TTestWindow w;
  std::vector<uint8_t> first;
  {
    TBookStruct book(&w.Window, path.c_str());
    ASSERT_TRUE(book.OpenProjectStream());
    ASSERT_TRUE(book.ReadProject(*book.Stream));
    EditOptions().BackupFile = 1;
    ASSERT_TRUE(book.SaveWithBackup(path.c_str()));
    EXPECT_EQ(ReadBytes(base + ".BAK"), BuildProject(kShow)) << "the old file is the backup";
    EXPECT_EQ(PageNumbers(book), (std::vector<uint32_t>{3, 7})) << "pages in number order";
    // The open project reads the new file at its new offsets.
    uint32_t offset;
    ASSERT_TRUE(book.GetPageOffset(1, offset));
    ASSERT_TRUE(book.ObjectManager->ReadPage(offset, nullptr, 1.0, 1.0));
    EXPECT_NE(book.ObjectManager->FindObjectById(10), nullptr);
    EXPECT_TRUE(FileExists((base + ".fdt").c_str())) << "the font side file";
    first = ReadBytes(path);
  }
  {
    TBookStruct book(&w.Window, path.c_str());
    ASSERT_TRUE(book.OpenProjectStream());
    ASSERT_TRUE(book.ReadProject(*book.Stream));
    string temp;
    ASSERT_TRUE(book.SaveProject(temp));
    EXPECT_EQ(ReadBytes(temp.c_str()), first);
    ::DeleteFileA(temp.c_str());
  }
  Remove(base);
}

TEST(ProjectSaving, RunTimeFileAndNewName) {
  const std::string base = TempPath("runtime");
  const std::string path = base + ".tsl";
  WriteBytes(path, BuildProject(std::string("runtime off\n") + kShow));
  TTestWindow w;
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TBookStruct book(&w.Window, path.c_str());
  ASSERT_TRUE(book.OpenProjectStream());
  ASSERT_TRUE(book.ReadProject(*book.Stream));
  ASSERT_FALSE(book.Info.Flags & kOptRunTime);

  ui.AnswerMessage(IDOK);
  ASSERT_TRUE(book.SaveRuntimeFile());
  EXPECT_FALSE(book.Info.Flags & kOptRunTime) << "the project keeps its own flags";
  ASSERT_EQ(ui.Requests().size(), 1u);
  const std::string note = ui.Requests()[0].Text;
  EXPECT_EQ(note.find("Die Laufzeitdatei tslpages_runtime.crt wurde im Verzeichnis "), 0u) << note;
  // The project file stayed: its directory still leads to its pages.
  for (int i = 0; i < book.GetPageCount(); ++i) {
    uint32_t offset;
    ASSERT_TRUE(book.GetPageOffset(i, offset));
    EXPECT_TRUE(book.ObjectManager->ReadPage(offset, nullptr, 1.0, 1.0)) << i;
  }
  {
    TFile crt((base + ".crt").c_str());
    ASSERT_TRUE(crt.IsOpen());
    EXPECT_TRUE(IsPlayableProject(crt)) << "the run-time file carries the run-time flag";
  }
  EXPECT_TRUE(FileExists((base + ".fdt").c_str()));

  const std::string renamed = base + "2.tsl";
  ASSERT_TRUE(book.SaveSideFiles(renamed.c_str()));
  EXPECT_FALSE(ReadBytes(renamed).empty());
  EXPECT_TRUE(FileExists((base + "2.fdt").c_str())) << "the font side file goes along";
  EXPECT_TRUE(book.SaveSideFiles(path.c_str())) << "the same name: nothing to do";
  Remove(base);
}

TEST(ProjectSaving, FailuresAreReported) {
  const std::string base = TempPath("locked");
  const std::string path = base + ".tsl";
  WriteBytes(path, BuildProject(kShow));
  TTestWindow w;
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TBookStruct book(&w.Window, path.c_str());
  ASSERT_TRUE(book.OpenProjectStream());
  ASSERT_TRUE(book.ReadProject(*book.Stream));
  {
    // A file another program holds cannot be written.
    const std::string held = base + ".crt";
    WriteBytes(held, {1});
    TFile lock(held.c_str(), TFile::ReadWrite | TFile::PermExclusive | TFile::OpenExisting);
    ASSERT_TRUE(lock.IsOpen());
    EXPECT_FALSE(book.SaveWithBackup(held.c_str()));
    ASSERT_EQ(ui.Requests().size(), 1u);
    EXPECT_EQ(ui.Requests()[0].Text, "Sichern nicht m\xF6glich!");
    EXPECT_EQ(ui.Requests()[0].Type & MB_ICONMASK, static_cast<uint>(MB_ICONINFORMATION));
  }

  // A project without its stream cannot be saved.
  book.CloseProjectStream();
  string temp;
  EXPECT_FALSE(book.SaveProject(temp));
  EXPECT_FALSE(book.SaveWithBackup(path.c_str()));
  EXPECT_EQ(ui.Requests().back().Text, "Fehler beim Speichern der Projektdatei!");
  Remove(base);
}
