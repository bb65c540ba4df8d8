// The slide-show codes: a slide window's list and show (47-52), a slide
// show file read into it (75), the picture at its caret on the clipboard
// (57) or as the desktop wallpaper (58; 53 also takes a picture object's
// picture). Each code does nothing on a target of another class.
// Portable: the page's objects, the clipboard and the desktop come through
// TSlideCodeHost (the player's over TBookStruct, the tests' fakes).
#pragma once
#include <cstdint>
#include <memory>

#include "actions/core/dispatch.h"
#include "slideshow/core/slideops.h"

constexpr const char* kWallpaperFolder = "C:\\TSL_Out\\Wallpaper\\";
constexpr const char* kWallpaperDefaultName = "Wallpaper.bmp";
constexpr int kSlideTextSelectFirst = 2156;  // "Wählen Sie zuerst einen Eintrag aus!"

class TSlideCodeHost {
public:
  virtual ~TSlideCodeHost() = default;
  // The slide window numbered `target` on the current page, or null.
  virtual TSlideListHost* FindSlideWindow(uint32_t target) = 0;
  // The picture object numbered `target`: true with its picture (null when
  // none is loaded; it stays the object's) and its file name.
  virtual bool FindPictureObject(uint32_t target, const TSlidePicture*& picture, string& name) = 0;
  // Code 51: the configuration dialog of the slide window.
  virtual void Configure(TSlideListHost& window) = 0;
  // An information box over the page with the string `textId`.
  virtual void Message(int textId) = 0;
  // Every missing folder up to the last backslash.
  virtual bool CreateDirectoryPath(const string& path) = 0;
  // Writes the picture as a bitmap file; false when it could not.
  virtual bool WriteBitmapFile(const TSlidePicture& picture, const string& path) = 0;
  virtual void SetWallpaper(const string& path) = 0;
  // Opens the clipboard for the page; false when it cannot.
  virtual bool OpenClipboard() = 0;
  virtual bool EmptyClipboard() = 0;
  virtual void PutDib(const TSlidePicture& picture) = 0;
  virtual void CloseClipboard() = 0;
  // An action's file name through the project (with its path kind and data
  // folder, or with neither).
  virtual string ResolveActionPath(const TActionStruct& action) = 0;
  virtual string ResolvePath(const string& name) = 0;
  virtual bool FileExists(const string& path) = 0;
  // Reads the file into `show`; false when it cannot be opened or holds no
  // slide show (the show is then unchanged).
  virtual bool ReadShowFile(const string& path, TDiaOption& show) = 0;
};

// "C:\TSL_Out\Wallpaper\" and the picture's file name with ".bmp" for its
// extension ("Wallpaper.bmp" when the name has none).
string WallpaperPath(const string& pictureName);

// Runs one code of the family on the dispatcher's copy of the action.
void RunSlideShowCode(TActionRun& run, TSlideCodeHost& host);
