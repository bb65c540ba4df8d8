#include "engine/fonts.h"

#include "foundation/fileutil.h"
#include "platform/owl/file.h"

namespace {

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) {
  string face(font->lfFaceName);
  face.to_upper();
  reinterpret_cast<TUSStrings*>(param)->Add(face);
  return 1;
}

}  // namespace

TFontManager::TFontManager() {
  const HDC dc = ::GetDC(nullptr);
  ::EnumFontsA(dc, nullptr, CollectFace, reinterpret_cast<LPARAM>(&InstalledFaces));
  ::ReleaseDC(nullptr, dc);
}

TFontManager::~TFontManager() { RemoveFonts(*this); }

bool TFontManager::IsFaceInstalled(const string& upperFace) const {
  for (int i = 0; i < InstalledFaces.Count(); ++i)
    if (InstalledFaces.ItemAt(i).str() == upperFace.str()) return true;
  return false;
}

bool TFontManager::Read(TFontManager& m, tsl::ByteStream& f, bool install) {
  RemoveFonts(m);
  m.Entries.Flush(tsl::DeleteType::Delete);
  return ReadFontBlock(f, [&](TFontBlockEntry& e) {
    auto entry = std::make_unique<TFontEntry>(e.Entry);
    entry->TempFile = string();
    if (!e.Image.empty() && install) {
      string face = entry->FaceName;
      face.to_upper();
      // The list is the machine's as it was: two entries of one missing face
      // are both installed.
      if (!m.IsFaceInstalled(face) &&
          WriteTempFontFile(*entry, static_cast<uint32_t>(e.Image.size()), e.Image.data()))
        ::AddFontResourceA(entry->TempFile.c_str());
    }
    m.Entries.Add(entry.release());
  });
}

void TFontManager::RemoveFonts(TFontManager& m) {
  for (TFontEntry* e : m.Entries) {
    if (!e || e->TempFile.is_null() || !FileExists(e->TempFile.c_str())) continue;
    ::RemoveFontResourceA(e->TempFile.c_str());
    ::DeleteFileA(e->TempFile.c_str());
  }
}

std::vector<TFontBlockEntry> TFontManager::BlockEntries() {
  std::vector<TFontBlockEntry> out;
  for (TFontEntry* e : Entries) {
    if (!e) continue;
    TFontBlockEntry b;
    b.Entry = *e;
    b.Image = GetFontFileImage(*e);
    out.push_back(std::move(b));
  }
  return out;
}

bool TFontManager::Write(TFontManager& m, tsl::ByteStream& f) { return WriteFontBlock(f, m.BlockEntries()); }

bool WriteTempFontFile(TFontEntry& entry, uint32_t size, const uint8_t* image) {
  char name[MAX_PATH] = {};
  MakeTempFileName(name, "tsl");
  entry.TempFile = name;
  if (!name[0]) return false;
  TFile file(name, TFile::ReadWrite | TFile::PermExclusive | TFile::CreateAlways);
  return file.IsOpen() && file.Write(image, size) == size;
}

std::vector<uint8_t> GetFontFileImage(const TFontEntry& entry) {
  std::vector<uint8_t> image;
  LOGFONTA lf = {};
  lf.lfHeight = 0;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, entry.FaceName.c_str(), LF_FACESIZE);
  const HFONT font = ::CreateFontIndirectA(&lf);
  if (!font) return image;
  const HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, font);
  const DWORD size = ::GetFontData(dc, 0, 0, nullptr, 0);
  if (size != GDI_ERROR && size != 0) {
    image.resize(size);
    if (::GetFontData(dc, 0, 0, image.data(), size) != size) image.clear();
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  return image;
}
