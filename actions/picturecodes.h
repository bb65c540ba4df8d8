// The picture viewing, overview and picture clipboard codes on the open
// project: the family's routine and its host over the current page, the
// viewer and the clipboard (actions/core/picturecodes.h holds the codes).
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "actions/core/picturecodes.h"

class TBookStruct;
class TClipboard;

// The family's routine in the dispatcher's table.
void PictureViewFamily(TActionRun& run);

class TBookPictureViewHost : public TPictureViewHost {
public:
  explicit TBookPictureViewHost(TBookStruct* book);
  ~TBookPictureViewHost() override;
  bool FindPictureObject(uint32_t target, const TSlidePicture*& picture) override;
  TSlideListHost* FindSlideWindow(uint32_t target) override;
  TViewerOptions SlideViewerOptions(TSlideListHost& window) override;
  void OpenContainerOverview(uint32_t target) override;
  void OpenPictureListOverview(const string& path) override;
  void RunViewer(const TSlidePicture& picture, const TViewerOptions& options) override;
  void Message(int textId) override;
  string ResolveActionPath(const TActionStruct& action) override;
  bool FileExists(const string& path) override;
  std::unique_ptr<TSlidePicture> LoadPictureFile(const string& path) override;
  bool OpenClipboard() override;
  bool EmptyClipboard() override;
  void PutDib(const TSlidePicture& picture) override;
  void CloseClipboard() override;

private:
  HWND PageHandle() const;
  TBookStruct* Book;
  std::unique_ptr<TClipboard> Clipboard;
  // The picture object's picture, borrowed for one code.
  std::unique_ptr<TSlidePicture> ObjectPicture;
};
