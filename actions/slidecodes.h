// The slide-show codes on the open project: the family's routine and its
// host over the current page, the clipboard and the desktop.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "actions/core/slidecodes.h"

class TBookStruct;
class TClipboard;
class TPicObject;

class TBookSlideCodeHost : public TSlideCodeHost {
public:
  explicit TBookSlideCodeHost(TBookStruct* book);
  ~TBookSlideCodeHost() override;
  TSlideListHost* FindSlideWindow(uint32_t target) override;
  bool FindPictureObject(uint32_t target, const TSlidePicture*& picture, string& name) override;
  void Configure(TSlideListHost& window) override;
  void Message(int textId) override;
  bool CreateDirectoryPath(const string& path) override;
  bool WriteBitmapFile(const TSlidePicture& picture, const string& path) override;
  void SetWallpaper(const string& path) override;
  bool OpenClipboard() override;
  bool EmptyClipboard() override;
  void PutDib(const TSlidePicture& picture) override;
  void CloseClipboard() override;
  string ResolveActionPath(const TActionStruct& action) override;
  string ResolvePath(const string& name) override;
  bool FileExists(const string& path) override;
  bool ReadShowFile(const string& path, TDiaOption& show) override;

  TBookStruct* Book;

private:
  HWND PageHandle() const;
  std::unique_ptr<TClipboard> Clipboard;
  // The picture object's picture, borrowed for one code.
  std::unique_ptr<TSlidePicture> ObjectPicture;
};

void SlideShowFamily(TActionRun& run);
