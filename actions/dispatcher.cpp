#include "actions/dispatcher.h"

#include "actions/browsercodes.h"
#include "actions/copyinstall.h"
#include "actions/documentcodes.h"
#include "actions/navcodes.h"
#include "actions/slidecodes.h"
#include "actions/objectcodes.h"
#include "actions/pagelistcodes.h"
#include "actions/picturecodes.h"
#include "actions/printcodes.h"

const TActionFamilyTable& ActionFamilies() {
  // One entry per family, in TActionFamily order; a family's routine goes
  // on its line when the family is built.
  static const TActionFamilyTable table = {
      nullptr,  // None: no routine, only the after-work
      NavigationMediaFamily,  // NavigationMedia
      PictureViewFamily,  // PictureView
      PrintingFamily,  // Printing
      ProgramDocumentFamily,  // ProgramDocument
      PageListHistoryFamily,  // PageListHistory
      CopyInstallFamily,  // CopyInstall
      SlideShowFamily,  // SlideShow
      BrowserFamily,  // Browser
      ObjectMessageFamily,  // ObjectMessage
      DocumentPrintFamily,  // DocumentPrint
  };
  return table;
}

void ExecuteActionCode(TBookStruct* book, const TActionStruct& action, int32_t serial) {
  const std::unique_ptr<TActionHost> host = MakeActionHost(book);
  DispatchActionCode(book, *host, action, serial, ActionFamilies());
}

TPendingRun ExecutePendingAction(TBookStruct* book, int32_t serial) {
  const std::unique_ptr<TActionHost> host = MakeActionHost(book);
  return RunPendingAction(book, *host, serial, ActionFamilies());
}
