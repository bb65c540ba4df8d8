#include "actions/core/picturecodes.h"

namespace {

// Closes the clipboard when the code leaves, whichever way.
class TOpenClipboard {
public:
  explicit TOpenClipboard(TPictureViewHost& host) : Host(host), Open(host.OpenClipboard()) {}
  ~TOpenClipboard() {
    if (Open) Host.CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool IsOpen() const { return Open; }

private:
  TPictureViewHost& Host;
  bool Open;
};

void ToClipboard(TPictureViewHost& host, const TSlidePicture& picture) {
  const TOpenClipboard clipboard(host);
  if (clipboard.IsOpen() && host.EmptyClipboard()) host.PutDib(picture);
}

// The picture at the slide window's caret, or the "select first" message.
std::unique_ptr<TSlidePicture> CaretPicture(TPictureViewHost& host, TSlideListHost& window) {
  std::unique_ptr<TSlidePicture> picture = LoadCaretPicture(window);
  if (!picture) host.Message(kPictureTextSelectFirst);
  return picture;
}

// A missing or undecodable file does nothing and says nothing.
std::unique_ptr<TSlidePicture> ActionPictureFile(TPictureViewHost& host, const TActionStruct& a) {
  const string path = host.ResolveActionPath(a);
  if (!host.FileExists(path)) return nullptr;
  return host.LoadPictureFile(path);
}

void ShowObjectPicture(TPictureViewHost& host, const TActionStruct& a) {
  const TSlidePicture* picture = nullptr;
  if (host.FindPictureObject(a.Target, picture)) {
    if (picture) host.RunViewer(*picture, ActionViewerOptions(a));
    return;
  }
  if (TSlideListHost* window = host.FindSlideWindow(a.Target)) {
    // The slide window's own setting wins over the action's.
    if (const std::unique_ptr<TSlidePicture> caret = CaretPicture(host, *window))
      host.RunViewer(*caret, host.SlideViewerOptions(*window));
  }
}

void CopyObjectPicture(TPictureViewHost& host, const TActionStruct& a) {
  const TSlidePicture* picture = nullptr;
  if (host.FindPictureObject(a.Target, picture)) {
    if (picture) ToClipboard(host, *picture);
    return;
  }
  if (TSlideListHost* window = host.FindSlideWindow(a.Target)) {
    if (const std::unique_ptr<TSlidePicture> caret = CaretPicture(host, *window)) ToClipboard(host, *caret);
  }
}

}  // namespace

TViewerOptions ActionViewerOptions(const TActionStruct& a) {
  TViewerOptions options;
  if (a.Flags & kActionViewerColour) {
    options.OwnColour = true;
    options.Colour = a.Value1;
  }
  return options;
}

void RunPictureViewCode(TActionRun& run, TPictureViewHost& host) {
  const TActionStruct& a = run.Action;
  switch (static_cast<TActionCode>(static_cast<int16_t>(a.Code))) {
    case TActionCode::ShowObjectPicture: ShowObjectPicture(host, a); break;
    case TActionCode::ShowPictureFile:
      if (const std::unique_ptr<TSlidePicture> picture = ActionPictureFile(host, a))
        host.RunViewer(*picture, ActionViewerOptions(a));
      break;
    case TActionCode::CopyPictureToClipboard: CopyObjectPicture(host, a); break;
    case TActionCode::CopyPictureFileToClipboard:
      if (const std::unique_ptr<TSlidePicture> picture = ActionPictureFile(host, a)) ToClipboard(host, *picture);
      break;
    case TActionCode::ShowSlideOverview: host.OpenContainerOverview(a.Target); break;
    // No existence test here: the container opens nothing for a missing file.
    case TActionCode::ShowPictureListOverview: host.OpenPictureListOverview(host.ResolveActionPath(a)); break;
    default: break;
  }
}
