// The open project's side of the dispatcher: the one place where the
// dispatcher looks into TBookStruct.
//  - PostToProject: the receiver is the open project; the message goes
//    through the project's timed-message manager.
//  - ProjectOwner: the open project's address.
//  - TargetReportsEndOfMedia: the current page's object of that number
//    exists and is a media or animated-bitmap object (they post kind 10).
// The open project is not built yet: until it is, nothing reaches its timer
// (a repeating action runs once) and no sequential play action keeps its
// entry.
#include "actions/dispatcher.h"

namespace {
class TBookActionHost final : public TActionHost {
public:
  explicit TBookActionHost(TBookStruct* book) : Book(book) {}
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return reinterpret_cast<uintptr_t>(Book); }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

private:
  TBookStruct* Book;
};
}  // namespace

std::unique_ptr<TActionHost> MakeActionHost(TBookStruct* book) { return std::make_unique<TBookActionHost>(book); }
