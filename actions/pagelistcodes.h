// The page-list, project, history and document navigation codes as the
// player runs them: the family routine over the open project
// (actions/core/pagelistcodes.h holds the codes themselves).
#pragma once
#include "actions/core/pagelistcodes.h"

class TBookStruct;

// The family's routine in the dispatcher's table.
void PageListHistoryFamily(TActionRun& run);

// The open project as the codes see it.
class TBookPageListHost : public TPageListHost {
public:
  explicit TBookPageListHost(TBookStruct* book) : Book(book) {}
  int PageCount() override;
  int FindPageIndex(uint32_t number) override;
  void GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) override;
  int32_t* ButtonPagePosition(uint32_t owner) override;
  void HistoryBack() override;
  void HistoryForward() override;
  void DocumentLinkCommand(uint32_t target, const char* command) override;
  void DocumentFindDialog(uint32_t target) override;
  bool ProjectModified() override;
  void SaveFirstBox() override;
  std::string ResolveFileName(const TActionStruct& action) override;
  bool FileExists(const std::string& path) override;
  bool ReloadProject(const std::string& path) override;

private:
  TBookStruct* Book;
};
