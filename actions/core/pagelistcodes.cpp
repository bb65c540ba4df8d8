#include "actions/core/pagelistcodes.h"

#include <algorithm>

TReloadPlacement ReloadPlacement(int pageWidth, int pageHeight, int screenWidth, int screenHeight) {
  TReloadPlacement p;
  p.Width = std::min(pageWidth, screenWidth);
  p.Height = std::min(pageHeight, screenHeight);
  p.X = std::max(0, screenWidth - pageWidth) / 2;
  p.Y = std::max(0, screenHeight - pageHeight) / 2;
  return p;
}

std::string ReloadFileName(const std::string& resolved) {
  // Only a dot in the last path component starts an extension.
  const size_t slash = resolved.find_last_of("\\/:");
  const size_t dot = resolved.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? resolved.substr(0, dot) : resolved) + ".CRT";
}

namespace {

void StepThroughPageList(TActionRun& run, TPageListHost& host) {
  const TActionStruct& a = run.Action;
  // Owner is the number of the button that carries the action.
  int32_t* position = host.ButtonPagePosition(static_cast<uint32_t>(a.Owner));
  if (!position) return;
  const int32_t p = *position;
  if (p < 0 || p >= a.IntCount()) return;
  const int index = host.FindPageIndex(static_cast<uint32_t>(a.IntList[static_cast<size_t>(p)]));
  if (index < 0 || index >= host.PageCount()) return;
  *position = p + 1;
  host.GotoPage(index, CollectChainedActions(run.Book, run.Serial));
}

void LoadProjectFile(TActionRun& run, TPageListHost& host) {
  if (host.ProjectModified()) {
    host.SaveFirstBox();
    return;
  }
  const std::string name = ReloadFileName(host.ResolveFileName(run.Action));
  if (!host.FileExists(name)) return;
  // The old project, its pending list included, is gone after this: the
  // run must not touch it again.
  if (host.ReloadProject(name)) run.ProjectReplaced = true;
}

}  // namespace

void RunPageListCode(TActionRun& run, TPageListHost& host) {
  const TActionStruct& a = run.Action;
  switch (static_cast<TActionCode>(static_cast<int16_t>(a.Code))) {
    case TActionCode::StepThroughPageList: StepThroughPageList(run, host); break;
    case TActionCode::LoadProjectFile: LoadProjectFile(run, host); break;
    case TActionCode::HistoryBack: host.HistoryBack(); break;
    case TActionCode::HistoryForward: host.HistoryForward(); break;
    case TActionCode::NavigateBack: host.DocumentLinkCommand(a.Target, "NAVIGATE=BACK"); break;
    case TActionCode::NavigateForward: host.DocumentLinkCommand(a.Target, "NAVIGATE=FORWARD"); break;
    case TActionCode::FindInDocument: host.DocumentFindDialog(a.Target); break;
    default: break;
  }
}
