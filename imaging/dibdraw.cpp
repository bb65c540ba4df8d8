#include "imaging/dibdraw.h"

#include <atomic>
#include <memory>

#include "foundation/core/drawgeom.h"
#include "foundation/fileutil.h"
#include "foundation/orthopal.h"
#include "foundation/sysinfo.h"
#include "imaging/halftone.h"
#include "imaging/picload.h"

namespace {

std::atomic<TPicturePaletteQuery> PaletteQuery{nullptr};

// The shared halftone palettes of the two drawing calls, made on first use
// and kept for the run.
TPalette& HalftoneFor(std::unique_ptr<TPalette>& slot) {
  if (!slot) slot.reset(MakeHalftonePalette());
  return *slot;
}
std::unique_ptr<TPalette> RectHalftone;
std::unique_ptr<TPalette> AreaHalftone;

bool IsPaletteDisplay() { return SystemInfo().ColorBits <= 8; }

bool HasColourTable(const TDib& dib) { return dib.NumColors() > 0 && dib.Usage() == DIB_RGB_COLORS; }

// The palette to draw with: none on a true-colour display; else the picture's
// own, kept in `own` while it is drawn, when `wantOwn()` and the picture has a
// colour table, or the halftone palette of `slot`.
template <class Own, class WantOwn>
HPALETTE ChoosePalette(const TDib& dib, std::unique_ptr<TPalette>& slot, std::unique_ptr<Own>& own, WantOwn wantOwn) {
  TPalette& halftone = HalftoneFor(slot);
  if (!IsPaletteDisplay()) return nullptr;
  if (wantOwn() && HasColourTable(dib)) {
    own = std::make_unique<Own>(dib);
    if (own->IsOK()) return *own;
  }
  return halftone;
}

// The drawing common to both calls: the source rectangle of the picture at
// the destination, unstretched (with the destination's size) or stretched.
void DrawPicture(TDC& dc, const TDib& dib, HPALETTE palette, const TRect& src, const TRect& dst, bool stretch,
                 HDRAWDIB drawDib) {
  if (!drawDib) {
    HPALETTE old = nullptr;
    if (palette) {
      old = ::SelectPalette(dc, palette, FALSE);
      ::RealizePalette(dc);
    }
    if (!stretch) {
      dc.SetDIBitsToDevice(dst, src.TopLeft(), dib);
    } else {
      dc.SetStretchBltMode(COLORONCOLOR);
      if (dc.GetAttributeHDC() != dc.GetHDC()) ::SetStretchBltMode(dc.GetAttributeHDC(), COLORONCOLOR);
      dc.StretchDIBits(dst, src, dib, SRCCOPY);
    }
    if (old) ::SelectPalette(dc, old, FALSE);
    return;
  }
  // Only a palette display has anything to realise. Without a palette of
  // ours, DrawDib makes a halftone palette of its own, and Wine's DrawDib
  // drops it unfreed at the next picture of another format: one palette
  // lost for every such paint.
  if (palette) {
    ::DrawDibSetPalette(drawDib, palette);
    ::DrawDibRealize(drawDib, dc, TRUE);
  }
  auto* header = const_cast<BITMAPINFOHEADER*>(dib.GetInfoHeader());
  const int w = stretch ? dst.Width() : src.Width();
  const int h = stretch ? dst.Height() : src.Height();
  ::DrawDibDraw(drawDib, dc, dst.left, dst.top, w, h, header, dib.GetBits(), src.left, src.top, src.Width(),
                src.Height(), 0);  // not DDF_SAME_HDC: each paint brings a new (off-screen) DC
}

}  // namespace

TPicturePaletteQuery SetPicturePaletteQuery(TPicturePaletteQuery query) { return PaletteQuery.exchange(query); }

bool DrawDibToRect(TDC& dc, const TDib* dib, TDibDrawOptions& options) {
  if (!dib) return false;
  std::unique_ptr<TPalette> own;
  const HPALETTE palette = ChoosePalette(*dib, RectHalftone, own, [&] { return options.UseOwnPalette != 0; });
  if (options.Fit && options.Stretch) {
    TRect& d = options.Dest;
    int32_t fw = 0, fh = 0;
    if (FitSizeIntoBox(dib->Width(), dib->Height(), d.Width(), d.Height(), fw, fh)) {
      const int x = d.left + AlignOffset(options.HAlign, d.Width(), fw);
      const int y = d.top + AlignOffset(options.VAlign, d.Height(), fh);
      d = TRect(x, y, x + fw, y + fh);
    }
  }
  DrawPicture(dc, *dib, palette, options.Source, options.Dest, options.Stretch != 0, options.DrawDib);
  return true;
}

bool DrawDibArea(TDC& dc, const TDib* dib, int srcLeft, int srcTop, int srcRight, int srcBottom, int dstLeft,
                 int dstTop, int dstRight, int dstBottom, bool stretch, HDRAWDIB drawDib) {
  if (!dib) return false;
  std::unique_ptr<TOrthoPal> own;
  const HPALETTE palette = ChoosePalette(*dib, AreaHalftone, own, [] {
    const TPicturePaletteQuery query = PaletteQuery.load();
    return query && query() == 1;
  });
  DrawPicture(dc, *dib, palette, TRect(srcLeft, srcTop, srcRight, srcBottom),
              TRect(dstLeft, dstTop, dstRight, dstBottom), stretch, drawDib);
  return true;
}

TDib* LoadPictureDib(const char* fileName) {
  if (!fileName || !*fileName || !FileExists(fileName)) return nullptr;
  auto* dib = new TDib(fileName);
  if (!dib->IsOK() || !dib->GetInfoHeader()) {
    delete dib;
    return nullptr;
  }
  return dib;
}

TDib* LoadPictureDibPcd(const char* fileName, int16_t resolution, int16_t searchMode) {
  const int16_t oldResolution = PcdResolution, oldSearch = PcdSearchMode;
  PcdResolution = resolution;
  PcdSearchMode = searchMode;
  TDib* dib = LoadPictureDib(fileName);
  PcdResolution = oldResolution;
  PcdSearchMode = oldSearch;
  return dib;
}
