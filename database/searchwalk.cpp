#include "database/searchwalk.h"

#include <memory>
#include <vector>

#include "actions/progressdlg.h"
#include "engine/bookstruct.h"
#include "engine/core/format/dbaseinfo.h"
#include "engine/core/format/pagerecord.h"
#include "engine/objectmanager.h"

void WalkSearchPages(TBookStruct& book, bool allPages, TObjectWindow* hiddenPage, TSearchObjectInfos& infos,
                     const char* progressText,
                     const std::function<bool(int page, TObjectManager& manager, TDBNodeManager& db)>& visit) {
  const int pages = book.GetPageCount();
  for (int p = 0; p < pages; ++p) {
    if (!allPages && p == 1) break;
    std::unique_ptr<TObjectManager> temporary;
    TObjectManager* manager = book.ObjectManager.get();
    if (allPages) {
      temporary = std::make_unique<TObjectManager>(hiddenPage);
      manager = temporary.get();
      manager->Stream = book.ObjectManager ? book.ObjectManager->Stream : nullptr;
      LoadStandardData(manager);
      uint32_t offset = 0;
      TRecordHeader header;
      TObjectInfo pageInfo;
      TdBaseInfo db;
      // Descriptors stand in page records from file version 2.8 on.
      const bool withDb = book.IsVersionAbove(2, 7);
      if (manager->Stream && book.GetPageOffset(p, offset) && manager->ReadRecordHeader(offset, header) &&
          ReadPageInfoAt(*manager->Stream, offset, pageInfo, withDb ? &db : nullptr)) {
        manager->DbInfo = db;
        db.RequestLoad(manager);
        std::vector<uint32_t> table;
        if (manager->LoadObjectTable(header.ObjectListOffset, header.ObjectCount, table)) {
          for (uint32_t at : table) {
            TObjectInfo info;
            if (!manager->ReadObjectInfo(at, info)) break;
            infos.push_back(std::move(info));
          }
        }
      }
    }
    if (!manager || !(manager->DbInfo.Flags & kDbInUse)) continue;
    if (TDBNodeManager* db = manager->DBNodeManager.get())
      if (!visit(p, *manager, *db)) break;
    temporary.reset();
    if (allPages) ReportProgress(p * 100 / pages, progressText);
  }
  if (allPages) ReportProgress(100, "");
}
