// The picture codes: a picture object's picture, the slide window's picture
// at the caret or a picture file, shown in the viewer (25, 26) or put on the
// clipboard (31, 35), and the picture container's overview (33, 34).
// Portable: the page's objects, the viewer, the clipboard and the overview
// come through TPictureViewHost (the player's over TBookStruct, the tests'
// fakes).
#pragma once
#include <cstdint>
#include <memory>

#include "actions/core/dispatch.h"
#include "slideshow/core/slideops.h"

// Action flag: the viewer shows the picture full-screen on Value1's colour.
constexpr uint32_t kActionViewerColour = 0x1000000;
constexpr int kPictureTextSelectFirst = 2156;  // "Wählen Sie zuerst einen Eintrag aus!"

// How the viewer shows its picture: full-screen on `Colour` (a COLORREF),
// or at its size on black.
struct TViewerOptions {
  bool OwnColour = false;
  uint32_t Colour = 0;
  bool operator==(const TViewerOptions& o) const { return OwnColour == o.OwnColour && Colour == o.Colour; }
};

// The action's own choice: its flag and Value1, else black.
TViewerOptions ActionViewerOptions(const TActionStruct& action);

class TPictureViewHost {
public:
  virtual ~TPictureViewHost() = default;
  // The picture object numbered `target` on the current page: true with its
  // picture (null when none is loaded; it stays the object's).
  virtual bool FindPictureObject(uint32_t target, const TSlidePicture*& picture) = 0;
  // The slide window numbered `target` on the current page, or null.
  virtual TSlideListHost* FindSlideWindow(uint32_t target) = 0;
  // The slide window's own viewer setting.
  virtual TViewerOptions SlideViewerOptions(TSlideListHost& window) = 0;
  // Opens the overview of the picture container numbered `target`;
  // nothing when there is no such container on the page.
  virtual void OpenContainerOverview(uint32_t target) = 0;
  // A temporary picture container on the page over the picture list `path`:
  // its overview opened (nothing for a missing file), the container deleted
  // again while the overview stays.
  virtual void OpenPictureListOverview(const string& path) = 0;
  // The viewer, modally, over the page; the picture stays the caller's.
  virtual void RunViewer(const TSlidePicture& picture, const TViewerOptions& options) = 0;
  // An information box over the page with the string `textId`.
  virtual void Message(int textId) = 0;
  // The action's file name through the project, with its path kind and
  // data folder.
  virtual string ResolveActionPath(const TActionStruct& action) = 0;
  virtual bool FileExists(const string& path) = 0;
  // The picture file, decoded under the wait cursor; null when it cannot
  // be loaded.
  virtual std::unique_ptr<TSlidePicture> LoadPictureFile(const string& path) = 0;
  // Opens the clipboard for the page; false when it cannot.
  virtual bool OpenClipboard() = 0;
  virtual bool EmptyClipboard() = 0;
  // Hands the picture to the clipboard as CF_DIB: a picture of its own
  // gives its memory up, a borrowed one gives a copy. What the clipboard
  // does not take is freed with the picture.
  virtual void PutDib(const TSlidePicture& picture) = 0;
  virtual void CloseClipboard() = 0;
};

// Runs one code of the family on the dispatcher's copy of the action.
void RunPictureViewCode(TActionRun& run, TPictureViewHost& host);
