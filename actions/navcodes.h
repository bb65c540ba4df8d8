// The navigation, media and window codes as the player runs them: the
// family routine over the open project (actions/core/navcodes.h holds the
// codes themselves).
#pragma once
#include "actions/core/navcodes.h"

class TBookStruct;

// The family's routine in the dispatcher's table.
void NavigationMediaFamily(TActionRun& run);

// The open project as the codes see it.
class TBookNavigationHost : public TNavigationHost {
public:
  explicit TBookNavigationHost(TBookStruct* book) : Book(book) {}
  int PageCount() override;
  int CurrentPage() override;
  int PreviousPage() override;
  uint32_t ProjectOptions() override;
  int FindPageIndex(uint32_t number) override;
  void GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) override;
  void MediaCommand(uint32_t target, int command, uint32_t argument) override;
  void PressButton(uint32_t target) override;
  void Quit() override;
  void ShowInfoBox() override;
  void Minimize() override;
  void OpenSearchDialog(TSearchDialogKind kind, const TActionStruct& action) override;

private:
  TBookStruct* Book;
};
