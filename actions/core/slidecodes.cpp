#include "actions/core/slidecodes.h"

#include "foundation/core/pathstr.h"

namespace {

// The wallpaper is set only once its file was written: the desktop would
// take a missing file all the same.
void MakeWallpaper(TSlideCodeHost& host, const TSlidePicture& picture, const string& name) {
  const string path = WallpaperPath(name);
  if (host.CreateDirectoryPath(path) && host.WriteBitmapFile(picture, path)) host.SetWallpaper(path);
}

void WallpaperFromSlide(TSlideCodeHost& host, TSlideListHost& window) {
  const std::unique_ptr<TSlidePicture> picture = LoadCaretPicture(window);
  if (!picture) {
    host.Message(kSlideTextSelectFirst);
    return;
  }
  string name;
  GetCaretEntryText(window, name);
  MakeWallpaper(host, *picture, name);
}

void SlideToClipboard(TSlideCodeHost& host, TSlideListHost& window) {
  const std::unique_ptr<TSlidePicture> picture = LoadCaretPicture(window);
  if (!picture) {
    host.Message(kSlideTextSelectFirst);
    return;
  }
  if (!host.OpenClipboard()) return;
  if (host.EmptyClipboard()) host.PutDib(*picture);
  host.CloseClipboard();
}

void LoadShowFile(TSlideCodeHost& host, TSlideListHost& window, const TActionStruct& a) {
  const string path = host.ResolveActionPath(a);
  if (!host.FileExists(path)) return;
  TDiaOption& show = window.Show();
  // A file of another kind leaves the show as it was, names included.
  if (!host.ReadShowFile(path, show)) return;
  show.BackgroundSoundFile = host.ResolvePath(show.BackgroundSoundFile);
  for (int i = 0; i < show.Pictures.Count(); ++i) {
    show.Pictures[i].PictureFile = host.ResolvePath(show.Pictures[i].PictureFile);
    show.Pictures[i].SoundFile = host.ResolvePath(show.Pictures[i].SoundFile);
  }
}

}  // namespace

string WallpaperPath(const string& pictureName) {
  string name, bmp;
  if (!ExtractFileName(pictureName, name)) return string(kWallpaperFolder) + kWallpaperDefaultName;
  ReplaceExtension(name, bmp, ".bmp");
  return string(kWallpaperFolder) + bmp;
}

void RunSlideShowCode(TActionRun& run, TSlideCodeHost& host) {
  const TActionStruct& a = run.Action;
  const auto code = static_cast<TActionCode>(static_cast<int16_t>(a.Code));
  if (code == TActionCode::SetWallpaperFromPicture) {
    const TSlidePicture* picture = nullptr;
    string name;
    if (host.FindPictureObject(a.Target, picture, name)) {
      if (picture) MakeWallpaper(host, *picture, name);
      return;
    }
  }
  TSlideListHost* window = host.FindSlideWindow(a.Target);
  if (!window) return;
  switch (code) {
    case TActionCode::AddSelectedSlides: AddSelectedEntries(*window); break;
    case TActionCode::AddAllSlides: AddAllEntries(*window); break;
    case TActionCode::RemoveAllSlides: RemoveAllPictures(*window); break;
    case TActionCode::CopySlideFiles: CopySelectedFiles(*window, a.Text2); break;
    case TActionCode::ConfigureSlideShow: host.Configure(*window); break;
    case TActionCode::RunSlideShow: RunShow(*window); break;
    case TActionCode::SetWallpaperFromPicture:
    case TActionCode::SetWallpaperFromSlide: WallpaperFromSlide(host, *window); break;
    case TActionCode::CopySlideToClipboard: SlideToClipboard(host, *window); break;
    case TActionCode::LoadSlideShowFile: LoadShowFile(host, *window, a); break;
    default: break;
  }
}
