#include "actions/entryexport.h"

#include "platform/owl/defs.h"

#include <string>

#include "actions/core/entryexport.h"
#include "database/querywin.h"
#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/commdlgs.h"
#include "platform/owl/file.h"
#include "platform/owl/uiservice.h"

namespace {

// The last chosen name, offered again by the next export of the run.
char LastExportName[MAX_PATH] = {};

constexpr uint32_t kExportDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT;

HWND PageHandle(TBookStruct* book) { return book && book->PageWindow ? book->PageWindow->GetHandle() : nullptr; }

void ExportToRtf(TBookStruct* book, const std::string& file, TExportEntrySource& source) {
  // The record comes first: without one no file is touched (a file opened
  // first would be left holding a head without its table).
  TEntryRecord record;
  if (!source.LoadCurrentRecord(record)) return;
  TFile f;
  if (!f.Open(file.c_str(), TFile::WriteOnly | TFile::PermExclusive | TFile::CreateAlways)) {
    UiMessageBox(PageHandle(book),
                 "Die Datei l\xE4sst sich nicht \xF6" "ffnen, m\xF6glicherweiser wird sie von einem anderen Programm "
                 "benutzt!",
                 ProgramTitle(), MB_ICONINFORMATION);
    return;
  }
  const std::string rtf = EntryRtf(ExportedFields(record, source), ProgramTitle());
  f.Write(rtf.data(), static_cast<uint32_t>(rtf.size()));
}

}  // namespace

void ExportCurrentEntry(TBookStruct* book) {
  if (!book || !book->ObjectManager) return;
  // TDBASE writes through the Win32 file layer: the names are Windows paths.
  UseWin32DBaseFiles();
  if (!SelectFileName(book->PageWindow, LastExportName, false, "dBase (*.dbf)|*.dbf|Rich-Text (*.rtf)|*.rtf|", nullptr,
                      kExportDialogFlags, nullptr, nullptr))
    return;
  TObjectManager& m = *book->ObjectManager;
  TCatalogueEntrySource source(m.KeyCatalogue.get(), m.DbInfo, EditMode != 0);
  const std::string name = LastExportName;
  if (ExportWantsRtf(name)) ExportToRtf(book, name, source);
  if (ExportWantsDbf(name)) {
    TDBaseExportTable table;
    ExportEntryToDbf(name, source, table);
  }
}
