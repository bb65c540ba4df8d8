#include "actions/core/navcodes.h"

#include <limits>

uint8_t GlobalSoundOff = 0;

int MediaCommandOfCode(int16_t code) {
  // play, stop, pause, resume, to the end, to the start, eject
  static const int kCommands[7] = {0, 1, 2, 6, 4, 3, 5};
  return code >= 0 && code <= 6 ? kCommands[code] : -1;
}

int RelativePageTarget(int current, int step, int pageCount, bool wrap, int32_t upper, int32_t lower) {
  // Wide arithmetic: a step read from a file may be anything.
  int64_t index = static_cast<int64_t>(current) + step;
  if (wrap) {
    if (index >= pageCount) index = 0;
    if (index < 0) index = pageCount - 1;
  }
  if (upper != -1 && static_cast<int64_t>(upper) - 1 < index) return -1;
  if (lower != -1 && static_cast<int64_t>(lower) - 1 > index) return -1;
  if (index < 0 || index > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(index);
}

TSysTimeManagerMsg MakeNavigateDatabaseMsg(const TActionStruct& a) {
  TSysTimeManagerMsg msg;
  msg.Kind = kNavigateDatabaseMsg;
  msg.LifeTime = kTimedMsgLifeTime;
  msg.Delay = (a.Flags & kActionRepeat) ? a.Value4 : 0;
  msg.OwnerId = a.Value1;
  msg.Param3 = static_cast<uint32_t>(a.Value2);
  msg.Param4 = a.Flags & ~kNavigateByThird;
  if (a.Flags2 & kNavigateByThird) {
    msg.OwnerId = static_cast<uint32_t>(a.Value3);
    msg.Param4 = kNavigateByThird;
  }
  return msg;
}

TSearchDialogKind SearchDialogOf(const TActionStruct& a) {
  if (!(a.Flags2 & 0x02)) return TSearchDialogKind::Search;
  return (a.Flags2 & 0x40) ? TSearchDialogKind::SearchList2 : TSearchDialogKind::SearchList;
}

void RunNavigationCode(TActionRun& run, TNavigationHost& host) {
  const TActionStruct& a = run.Action;
  const auto code = static_cast<TActionCode>(static_cast<int16_t>(a.Code));
  const int media = MediaCommandOfCode(static_cast<int16_t>(a.Code));
  if (media >= 0) {
    host.MediaCommand(a.Target, media, 0);
    return;
  }
  switch (code) {
    case TActionCode::PressButton: host.PressButton(a.Target); break;
    case TActionCode::QuitPresentation: host.Quit(); break;
    case TActionCode::ShowInfoBox: host.ShowInfoBox(); break;
    case TActionCode::GotoRelativePage: {
      const int index = RelativePageTarget(host.CurrentPage(), static_cast<int32_t>(a.Value1), host.PageCount(),
                                           (host.ProjectOptions() & kWrapPages) != 0, a.Value2, a.Value3);
      if (index >= 0) host.GotoPage(index, CollectChainedActions(run.Book, run.Serial));
      break;
    }
    case TActionCode::GotoPage: {
      const int index = host.FindPageIndex(a.Value1);
      if (index >= 0) host.GotoPage(index, CollectChainedActions(run.Book, run.Serial));
      break;
    }
    case TActionCode::GotoPreviousPage: {
      const int index = host.PreviousPage();
      if (index >= 0) host.GotoPage(index, CollectChainedActions(run.Book, run.Serial));
      break;
    }
    case TActionCode::NavigateDatabase: {
      TSysTimeManagerMsg msg = MakeNavigateDatabaseMsg(a);
      run.Host.PostToProject(msg);
      break;
    }
    case TActionCode::OpenSearchDialog: host.OpenSearchDialog(SearchDialogOf(a), a); break;
    case TActionCode::MinimizeWindow: host.Minimize(); break;
    case TActionCode::SoundOn: GlobalSoundOff = 0; break;
    default: break;
  }
}
