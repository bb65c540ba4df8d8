// The media preview's decisions that need no window: what a selected file
// is shown as, where its picture goes in the pane, and the dialog's info
// lines. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

enum TPreviewKind : int32_t {
  pkNone = 0,       // the empty pane
  pkPicture = 1,    // the pane paints the picture
  pkWindow = 2,     // a child window: movie, Flash or MCI
  pkText = 3,       // the dialog's text view
  pkFlic = 4,       // the pane paints the first FLI/FLC frame
  pkAnimation = 5,  // the pane paints the first ABP/FLX frame
  pkWebPage = 6,    // the dialog's browser element
};

// Which player window a pkWindow preview opens.
enum class TPreviewPlayer { None, Movie, Flash, Mci };

struct TPreviewClass {
  TPreviewKind Kind = pkNone;
  TPreviewPlayer Player = TPreviewPlayer::None;
};

// Classifies an existing file (`isFile` false for a missing path or a
// folder, which give pkNone). Only the picture test looks at the extension
// after the last dot; every other test finds its extension anywhere in the
// full path, in a fixed order, so "Demo.mov\notes.rtf" is a movie.
TPreviewClass ClassifyPreview(const char* path, bool isFile);

// Where a width x height picture goes in a boxWidth x boxHeight pane:
// shrunk to fit with its aspect kept, never enlarged, centred. False (draw
// nothing) when a size is zero.
struct TPreviewPlacement {
  int32_t x = 0, y = 0, width = 0, height = 0;
};
bool PlacePreviewPicture(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight,
                         TPreviewPlacement& out);

// The three info lines of a picture (code page 1252).
std::string PreviewSizeText(int32_t width, int32_t height);
// `colourTableEntries` 0 means a picture without colour table (16,7M).
std::string PreviewColoursText(uint32_t colourTableEntries);
// Kilobytes of 1000 bytes, rounded half up in single precision, at least 1.
std::string PreviewFileSizeText(uint64_t bytes);
