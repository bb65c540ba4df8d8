#include "slideshow/core/previewkind.h"

#include "foundation/core/drawgeom.h"
#include "foundation/core/mediakind.h"
#include "foundation/core/pathstr.h"
#include "imaging/core/picname.h"

TPreviewClass ClassifyPreview(const char* path, bool isFile) {
  TPreviewClass c;
  if (!path || !*path || !isFile) return c;
  auto has = [path](const char* part) { return ContainsNoCase(path, part); };
  if (IsPictureFileName(path)) {
    c.Kind = pkPicture;
  } else if (has(".qt") || has(".mov")) {
    c = {pkWindow, TPreviewPlayer::Movie};
  } else if (has(".swf")) {
    c = {pkWindow, TPreviewPlayer::Flash};
  } else if (IsMediaFile(path)) {
    c = {pkWindow, TPreviewPlayer::Mci};
  } else if (IsTextFile(path)) {
    c.Kind = pkText;
  } else if (has(".abp") || has(".flx")) {
    c.Kind = pkAnimation;
  } else if (has(".flc") || has(".fli")) {
    c.Kind = pkFlic;
  } else if (has(".htm")) {
    c.Kind = pkWebPage;
  }
  return c;
}

bool PlacePreviewPicture(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight,
                         TPreviewPlacement& out) {
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return false;
  int32_t w = 0, h = 0;
  if (!FitSizeIntoBox(width, height, boxWidth, boxHeight, w, h)) return false;
  if (width < w && height < h) {
    w = width;
    h = height;
  }
  out.width = w;
  out.height = h;
  out.x = (boxWidth - w) / 2;
  out.y = (boxHeight - h) / 2;
  return true;
}

std::string PreviewSizeText(int32_t width, int32_t height) {
  return "Gr\xF6\xDF" "e: " + std::to_string(width) + "x" + std::to_string(height);
}

std::string PreviewColoursText(uint32_t colourTableEntries) {
  return "Anzahl Farben: " + (colourTableEntries ? std::to_string(colourTableEntries) : std::string("16,7M"));
}

std::string PreviewFileSizeText(uint64_t bytes) {
  const float kb = static_cast<float>(bytes) * 0.001f + 0.5f;
  uint64_t n = kb >= 1.8e19f ? UINT64_MAX : static_cast<uint64_t>(kb);
  if (n < 1) n = 1;
  return "Dateigr\xF6sse: " + std::to_string(n) + "KB";
}
