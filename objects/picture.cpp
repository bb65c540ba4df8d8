#include "objects/picture.h"

#include <cstring>

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "foundation/core/drawgeom.h"
#include "imaging/dibdraw.h"
#include "imaging/picload.h"
#include "platform/owl/dib.h"
#include "slideshow/picdlg.h"

namespace {

// The player keeps a record's picture as a TDib over its global block.
class TDibPicture : public TPictureImage, public TDib {
public:
  explicit TDibPicture(HGLOBAL block) : TDib(block, AutoDelete) {}
  const uint8_t* Block() const override { return reinterpret_cast<const uint8_t*>(GetInfo()); }
  size_t BlockSize() const override { return GetHandle() ? ::GlobalSize(GetHandle()) : 0; }
};

std::unique_ptr<TPictureImage> Checked(std::unique_ptr<TDibPicture> p) {
  if (!p->IsOK() || !p->GetInfoHeader() || p->Width() <= 0 || p->Height() <= 0) return nullptr;
  return p;
}

class TDibPictureMaker : public TPictureMaker {
public:
  std::unique_ptr<TPictureImage> FromBlock(std::vector<uint8_t>& block) const override {
    if (block.empty()) return nullptr;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
    if (!h) return nullptr;
    void* p = ::GlobalLock(h);
    if (!p) {
      ::GlobalFree(h);
      return nullptr;
    }
    std::memcpy(p, block.data(), block.size());
    ::GlobalUnlock(h);
    return Checked(std::make_unique<TDibPicture>(h));
  }
  // Through the picture codecs, the Photo CD options in force for this load
  // only; a missing file or one without a picture gives none, silently.
  std::unique_ptr<TPictureImage> FromFile(const string& path, uint8_t pcdResolution,
                                          uint8_t pcdFormat) const override {
    if (path.is_null()) return nullptr;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    const int16_t oldResolution = PcdResolution, oldFormat = PcdSearchMode;
    PcdResolution = pcdResolution;
    PcdSearchMode = pcdFormat;
    HGLOBAL block = LoadPictureFile(path.c_str());
    PcdResolution = oldResolution;
    PcdSearchMode = oldFormat;
    if (!block) return nullptr;
    return Checked(std::make_unique<TDibPicture>(block));
  }
};

const TDibPictureMaker DibMaker;
[[maybe_unused]] const TPictureMaker* kPreviousMaker = SetPictureMaker(&DibMaker);

void ResolveProjectPath(string& path) {
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
}

}  // namespace

TDib* GetPictureDib(const TPictureData& data) { return dynamic_cast<TDibPicture*>(data.Picture.get()); }

TPicObject::TPicObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TPictureData()) {}

TPicObject::~TPicObject() { TransDib.Reset(); }

// A shared picture may show another picture on the new page: the masks of
// the old one must not stand in for it.
void ResetPicObjectDisplay(TObjectElement* object) {
  if (auto* p = dynamic_cast<TPicObject*>(object)) p->TransDib.Reset();
}

TPictureData* TPicObject::GetPictureData() const { return dynamic_cast<TPictureData*>(Data.get()); }

TDib* TPicObject::GetPicture() const {
  const TPictureData* d = GetPictureData();
  return d ? GetPictureDib(*d) : nullptr;
}

void TPicObject::LButtonDblClk(uint32_t, const TPoint&) {
  TPictureData* d = GetPictureData();
  TDib* picture = GetPicture();
  if (!d || !picture || !(d->Flags & kPictureViewer)) return;
  const bool ownColour = (d->Flags & kPictureViewerColour) != 0;
  TPicDlg viewer(Owner, picture, ownColour, TColor(ownColour ? d->ViewerColor : 0));
  viewer.Execute();
}

void TPicObject::Paint(TPaintInfo& paint) {
  const TEditCross cross{*this, paint};
  TObjectElement::Paint(paint);
  if (!Visible || !paint.MemDC.GetHDC()) return;
  TPictureData* d = GetPictureData();
  if (!d) return;
  TDib* picture = GetPictureDib(*d);
  TDC& dc = paint.MemDC;
  TRect dest = GetStoredRect();
  dest.Offset(-paint.OriginX, -paint.OriginY);

  if (d->Transparent) {
    TransDib.Picture = picture;
    TransDib.TransparentColor = TColor(d->TransparentColor);
    if (!picture) return;
    const int oldStretch = dc.GetStretchBltMode();
    DrawDibStretched(TransDib, dest, dc, -1, 0, this);
    dc.SetStretchBltMode(oldStretch);
    return;
  }
  if (!picture) return;
  const uint32_t props = Info.Property.Flags;
  const bool stretch = (props & kPropStretch) != 0;
  if (stretch && (props & kPropKeepAspect)) {
    int32_t w, h;
    if (FitSizeIntoBox(picture->Width(), picture->Height(), dest.Width(), dest.Height(), w, h)) {
      dest.Offset(dest.Width() / 2 - w / 2, dest.Height() / 2 - h / 2);
      dest.right = dest.left + w;
      dest.bottom = dest.top + h;
    }
  }
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  DrawDibArea(dc, picture, 0, 0, picture->Width(), picture->Height(), dest.left, dest.top, dest.right, dest.bottom,
              stretch, paint.DrawDib);
  dc.SetBkMode(oldMode);
}

void TPicObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TPictureData* d = GetPictureData();
  if (!d) return;
  string path = name;
  ResolveProjectPath(path);
  d->FileName = path;
  d->LoadPicture();
  TDib* picture = GetPictureDib(*d);
  if (d->Transparent) {
    // The masks belong to the old picture.
    TransDib.Reset();
    TransDib.Picture = picture;
    TransDib.TransparentColor = TColor(d->TransparentColor);
  }
  if (!(Info.Property.Flags & kPropStretch) && picture) {
    if (Owner && Owner->HWindow) {
      TPoint offset;
      GetScrollOffset(offset);
      TRect old = GetStoredRect();
      old.Offset(-offset.x, -offset.y);
      Owner->InvalidateRect(old, false);
    }
    Info.Rect.Right = Info.Rect.Left + picture->Width();
    Info.Rect.Bottom = Info.Rect.Top + picture->Height();
  }
  Refresh(false);
}

bool TPicObject::GetFile(int, bool& flag, string& path) {
  const TPictureData* d = GetPictureData();
  flag = d && d->IsLinked();
  path = d ? d->FileName : string();
  ResolveProjectPath(path);
  return true;
}

bool TPicObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  ResolveProjectPath(text);
  return true;
}

bool TPicObject::RepaintsThroughPage() {
  const TPictureData* d = GetPictureData();
  return d && d->Transparent != 0;
}

TObjectElement* CreatePicObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TPicObject(owner, info, data);
}

TData* CreatePictureData() { return new TPictureData(); }
