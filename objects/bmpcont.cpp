#include "objects/bmpcont.h"

#include <memory>

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "foundation/fileutil.h"
#include "platform/owl/dc.h"
#include "platform/owl/file.h"

namespace {

std::unique_ptr<TBmpContainer> Shared;
TOverviewOpener Opener = nullptr;

void ResolveProjectPath(string& path) {
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
}

}  // namespace

TBmpContainer* SharedBmpContainer() { return Shared.get(); }

TOverviewOpener SetOverviewOpener(TOverviewOpener opener) {
  const TOverviewOpener old = Opener;
  Opener = opener;
  return old;
}

TBmpContObject::TBmpContObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, data ? data : new TBmpContData()) {
  Symbol = ::LoadBitmapA(::GetModuleHandleA(nullptr), "BMP_CONT_SYMBOL");
  BITMAP bm;
  if (Symbol && ::GetObjectA(Symbol, sizeof bm, &bm)) {
    Info.Rect.Right = Info.Rect.Left + bm.bmWidth;
    Info.Rect.Bottom = Info.Rect.Top + bm.bmHeight;
  }
}

TBmpContObject::~TBmpContObject() {
  if (Symbol) ::DeleteObject(Symbol);
}

void TBmpContObject::Paint(TPaintInfo& paint) {
  TObjectElement::Paint(paint);
  const TBmpContData* d = GetBmpContData();
  if (!Visible || !Symbol || !d || !(d->Flags & kBmpContSymbolShown) || !paint.MemDC.GetHDC()) return;
  HDC dc = paint.MemDC.GetHDC();
  HDC mem = ::CreateCompatibleDC(dc);
  if (!mem) return;
  HGDIOBJ old = ::SelectObject(mem, Symbol);
  TRect r = GetStoredRect();
  r.Offset(-paint.OriginX, -paint.OriginY);
  ::BitBlt(dc, r.left, r.top, r.Width(), r.Height(), mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

void TBmpContObject::OpenOverviewWindow() {
  const TBmpContData* d = GetBmpContData();
  if (!d || d->FileName.is_null() || !FileExists(d->FileName.c_str())) return;
  if (!Shared) Shared = std::make_unique<TBmpContainer>();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  TFile file;
  if (file.Open(d->FileName.c_str()))
    Shared->Read(file, [](const string& name) {
      string path = name;
      ResolveProjectPath(path);
      return path;
    });
  else
    Shared->Items.clear();
  if (!Shared->Items.empty() && Opener) Opener(Owner, *Shared);
  ::SetCursor(previous);
}

void TBmpContObject::SetFileName(string& name) {
  TObjectElement::SetFileName(name);
  TBmpContData* d = GetBmpContData();
  if (!d) return;
  string path = name;
  ResolveProjectPath(path);
  d->FileName = path;
}

bool TBmpContObject::GetFile(int, bool& flag, string& path) {
  const TBmpContData* d = GetBmpContData();
  flag = d && (d->Flags & 0x1000);
  path = d ? d->FileName : string();
  ResolveProjectPath(path);
  return true;
}

bool TBmpContObject::ExchangeText(string& text, int32_t& first, int32_t& second) {
  first = second = -1;
  ResolveProjectPath(text);
  return true;
}

TObjectElement* CreateBmpContObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TBmpContObject(owner, info, data);
}

TData* CreateBmpContData() { return new TBmpContData(); }
