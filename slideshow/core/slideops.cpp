#include "slideshow/core/slideops.h"

#include "foundation/core/pathstr.h"

namespace {

void AddEntry(TSlideListHost& host, int index) {
  string name = host.EntryText(index);
  name.to_lower();
  TDiaOption& show = host.Show();
  if (show.Pictures.Find(name) >= 0) return;
  auto e = std::make_unique<TDiaFileInfo>();
  e->PictureFile = name;
  // A full list drops the entry; the others are still tried.
  show.Pictures.Add(std::move(e));
}

bool HasCaretEntry(TSlideListHost& host, int& caret) {
  caret = host.CaretIndex();
  return caret >= 0 && caret < host.EntryCount() && !host.SelectedIndexes().empty();
}

}  // namespace

string& SlideCopyFolder() {
  static string folder;
  return folder;
}

void AddSelectedEntries(TSlideListHost& host) {
  for (int index : host.SelectedIndexes()) AddEntry(host, index);
}

void AddAllEntries(TSlideListHost& host) {
  for (int i = 0; i < host.EntryCount(); ++i) AddEntry(host, i);
  host.SelectAll(true);
}

void RemoveAllPictures(TSlideListHost& host) {
  host.Show().Pictures.Flush();
  host.SelectAll(false);
}

void CopySelectedFiles(TSlideListHost& host, const string& defaultFolder) {
  const std::vector<int> selected = host.SelectedIndexes();
  if (selected.empty()) {
    host.Message(kSlideTextNothingSelected);
    return;
  }
  string& folder = SlideCopyFolder();
  if (folder.is_null()) {
    // A default the path buffer cannot hold counts as none.
    folder = defaultFolder.length() < kSlidePathLimit ? defaultFolder : string();
    if (folder.is_null()) folder = kSlideCopyDefault;
  }
  string chosen = folder;
  if (!host.ChooseFolder(chosen)) return;
  folder = chosen;
  AddTrailingBackslash(chosen);
  bool ok = host.CreateDirectoryPath(chosen);
  for (size_t i = 0; ok && i < selected.size(); ++i) {
    const string source = host.EntryText(selected[i]);
    string name;
    if (!ExtractFileName(source, name)) {
      ok = false;
      break;
    }
    string target = chosen;
    target += name;
    ok = target.length() < kSlidePathLimit && host.CopyFileOver(source, target);
  }
  host.Message(ok ? kSlideTextCopied : kSlideTextCopyFailed);
}

void RunShow(TSlideListHost& host) {
  if (host.Show().Pictures.Count() == 0) {
    host.Message(kSlideTextShowEmpty);
    return;
  }
  host.RunShowWindow();
}

std::unique_ptr<TSlidePicture> LoadCaretPicture(TSlideListHost& host) {
  int caret;
  if (!HasCaretEntry(host, caret)) return nullptr;
  const TDiaOption& show = host.Show();
  return host.LoadPicture(host.EntryText(caret), show.PcdResolution, show.PcdColourDepth);
}

bool GetCaretEntryText(TSlideListHost& host, string& text) {
  int caret;
  if (!HasCaretEntry(host, caret)) return false;
  text = host.EntryText(caret);
  return true;
}
