#include "slideshow/core/diaoption.h"

#include <cstring>
#include <string>

#include "engine/core/format/rawio.h"

using namespace tsl;

const char* const kDiaDefaultHeader = "TSL Diashow 4.7";
const char* const kDiaDefaultFooter = "Alle Rechte an den gezeigten Bildern liegen bei ihren Urhebern.";

namespace {

bool EqualNoCase(const string& a, const string& b) {
  if (a.length() != b.length()) return false;
  for (size_t i = 0; i < a.length(); ++i)
    if (AnsiToLower(static_cast<unsigned char>(a[i])) != AnsiToLower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Reads values whole or not at all: the first one the stream cuts short
// stops everything after it, so earlier values stay and later fields keep
// what they held.
class TWholeReader {
public:
  explicit TWholeReader(ByteStream& f) : f_(f) {}
  bool Ok() const { return ok_; }
  bool Raw(void* dst, uint32_t n) {
    if (!ok_) return false;
    if (!Fits(n)) return ok_ = false;
    std::string t(n, '\0');
    if (n && f_.Read(&t[0], n) != n) return ok_ = false;
    std::memcpy(dst, t.data(), n);
    return true;
  }
  template <class T>
  bool Value(T& v) { return Raw(&v, sizeof v); }
  bool Str(string& s) {
    uint16_t n = 0;
    if (!Value(n)) return false;
    if (!Fits(n)) return ok_ = false;
    std::string t(n, '\0');
    if (n && f_.Read(&t[0], n) != n) return ok_ = false;
    s = string(std::move(t));
    return true;
  }
  bool Font(FontRecord& r) {
    uint8_t raw[kFontRecordSize];
    if (!Raw(raw, sizeof raw)) return false;
    MemoryStream m(raw, sizeof raw);
    ReadFontRecord(r, m);
    return true;
  }
  // Checked before anything is allocated for `n` bytes; a stream that cannot
  // tell its length is read and the short read found then.
  bool Fits(int64_t n) const {
    const int64_t left = f_.Remaining();
    return left < 0 || left >= n;
  }
  ByteStream& Stream() { return f_; }

private:
  ByteStream& f_;
  bool ok_ = true;
};

// A background record without a picture: length, flags, mode, pattern, two
// colours, an empty name and 16 bytes.
constexpr int64_t kBackgroundMinBytes = 4 + 4 + 2 + 2 + 4 + 4 + 2 + 16;

bool ReadPicture(TWholeReader& r, TDiaFileInfo& e) {
  return r.Str(e.PictureFile) && r.Str(e.SoundFile) && r.Value(e.SoundEnabled) && r.Str(e.HeaderText) &&
         r.Str(e.FooterText) && r.Font(e.HeaderFont) && r.Font(e.FooterFont) && r.Value(e.HeaderAlign) &&
         r.Value(e.FooterAlign);
}

// Longer texts are cut to what the u16 length can say, so the bytes after
// them stay where readers look for them.
bool WriteText(const string& s, ByteStream& f) {
  constexpr size_t kMost = 0xFFFF;
  if (s.length() <= kMost) return WriteShortString(s, f);
  return WriteShortString(string(s.c_str(), kMost), f);
}

bool WritePicture(const TDiaFileInfo& e, ByteStream& f) {
  bool ok = WriteText(e.PictureFile, f);
  ok &= WriteText(e.SoundFile, f);
  ok &= WriteU16(e.SoundEnabled, f);
  ok &= WriteText(e.HeaderText, f);
  ok &= WriteText(e.FooterText, f);
  ok &= WriteFontRecord(e.HeaderFont, f);
  ok &= WriteFontRecord(e.FooterFont, f);
  ok &= WriteU16(e.HeaderAlign, f);
  ok &= WriteU16(e.FooterAlign, f);
  return ok;
}

}  // namespace

FontRecord DiaCaptionFont(int32_t points) {
  FontRecord r;
  r.Flags = 0x10103;  // screen and printer fonts, effects, the font must exist
  r.lfHeight = -points;
  std::strcpy(r.lfFaceName, "Arial");
  r.PointSize = points * 10;
  r.Color = 0x00FFFFFF;
  r.FontType = 0x6000;
  r.SizeMin = 1;
  r.SizeMax = 0;
  return r;
}

int32_t DiaCaptionHeight(const FontRecord& font) {
  const int32_t points = font.PointSize / 10;
  return points < 0 ? points : -points;
}

TDiaFileInfo::TDiaFileInfo() : HeaderFont(DiaCaptionFont(24)), FooterFont(DiaCaptionFont(14)) {}

bool TDiaFileInfo::operator==(const TDiaFileInfo& o) const { return EqualNoCase(PictureFile, o.PictureFile); }

bool TDiaPictureList::Add(std::unique_ptr<TDiaFileInfo> entry) {
  if (!entry || Count() >= kDiaMaxPictures) return false;
  items_.push_back(std::move(entry));
  return true;
}

bool TDiaPictureList::Insert(int index, std::unique_ptr<TDiaFileInfo> entry) {
  if (!entry || Count() >= kDiaMaxPictures || index < 0 || index > Count()) return false;
  items_.insert(items_.begin() + index, std::move(entry));
  return true;
}

void TDiaPictureList::Remove(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

int TDiaPictureList::Find(const TDiaFileInfo& probe) const { return Find(probe.PictureFile); }

int TDiaPictureList::Find(const string& pictureFile) const {
  for (int i = 0; i < Count(); ++i)
    if (EqualNoCase(items_[static_cast<size_t>(i)]->PictureFile, pictureFile)) return i;
  return -1;
}

TDiaOption::TDiaOption()
    : HeaderText(kDiaDefaultHeader),
      FooterText(kDiaDefaultFooter),
      HeaderFont(DiaCaptionFont(24)),
      FooterFont(DiaCaptionFont(14)) {
  Background.Colour1 = 0x000000;
}

TDiaOption& TDiaOption::Assign(const TDiaOption& o) {
  if (this == &o) return *this;
  Pictures.Flush();
  for (int i = 0; i < o.Pictures.Count(); ++i) Pictures.Add(std::make_unique<TDiaFileInfo>(o.Pictures[i]));
  Background = o.Background;
  Endless = o.Endless;
  TransitionKind = o.TransitionKind;
  TransitionDuration = o.TransitionDuration;
  AdvanceInterval = o.AdvanceInterval;
  PcdResolution = o.PcdResolution;
  PcdColourDepth = o.PcdColourDepth;
  BackgroundSoundEnabled = o.BackgroundSoundEnabled;
  BackgroundSoundFile = o.BackgroundSoundFile;
  HeaderText = o.HeaderText;
  FooterText = o.FooterText;
  HeaderFont = o.HeaderFont;
  FooterFont = o.FooterFont;
  HeaderAlign = o.HeaderAlign;
  FooterAlign = o.FooterAlign;
  NextKey = o.NextKey;
  PreviousKey = o.PreviousKey;
  AbortKey = o.AbortKey;
  PauseKey = o.PauseKey;
  SkipKey = o.SkipKey;
  BackgroundSoundOnce = o.BackgroundSoundOnce;
  JumpInterval = o.JumpInterval;
  std::memcpy(Reserved, o.Reserved, sizeof Reserved);
  return *this;
}

bool TDiaOption::Read(ByteStream& f) {
  TWholeReader r(f);
  uint32_t magic = 0;
  if (!r.Value(magic) || magic != kDiaMagic) return false;
  int16_t count = 0;
  if (!r.Value(count)) return false;
  // Refused before the list is touched or anything is allocated for it.
  if (count > 0 && !r.Fits(static_cast<int64_t>(count) * kDiaPictureMinBytes)) return false;
  Pictures.Flush();
  for (int i = 0; i < count; ++i) {
    auto e = std::make_unique<TDiaFileInfo>();
    if (!ReadPicture(r, *e)) return false;
    Pictures.Add(std::move(e));
  }
  // The background goes in whole or not at all: its stored length must lie
  // inside the stream.
  uint32_t backgroundLength = 0;
  if (!r.Value(backgroundLength)) return false;
  f.Seek(-4, ByteStream::cur);
  if (!r.Fits(backgroundLength > kBackgroundMinBytes ? backgroundLength : kBackgroundMinBytes)) return false;
  TBackground background(Background);
  background.Read(f);
  Background = background;
  int16_t transition = 0, next = 0, previous = 0, abort = 0, skip = 0, pause = 0;
  if (!(r.Value(Endless) && r.Value(transition))) return false;
  TransitionKind = transition;
  if (!(r.Value(TransitionDuration) && r.Value(AdvanceInterval) && r.Value(PcdResolution) &&
        r.Value(PcdColourDepth) && r.Value(BackgroundSoundEnabled) && r.Str(BackgroundSoundFile) &&
        r.Str(HeaderText) && r.Str(FooterText) && r.Font(HeaderFont) && r.Font(FooterFont) &&
        r.Value(HeaderAlign) && r.Value(FooterAlign)))
    return false;
  if (!r.Value(next)) return false;
  NextKey = next;
  if (!r.Value(previous)) return false;
  PreviousKey = previous;
  if (!r.Value(abort)) return false;
  AbortKey = abort;
  if (!r.Value(BackgroundSoundOnce)) return false;
  if (!r.Value(skip)) return false;
  SkipKey = skip;
  if (!r.Value(pause)) return false;
  PauseKey = pause;
  return r.Value(JumpInterval) && r.Raw(Reserved, sizeof Reserved);
}

bool TDiaOption::Write(ByteStream& f) {
  bool ok = WriteU32(kDiaMagic, f);
  const int count = Pictures.Count();
  ok &= WriteU16(static_cast<uint16_t>(count), f);
  for (int i = 0; i < count; ++i) ok &= WritePicture(Pictures[i], f);
  Background.Write(f);
  ok &= WriteU16(Endless, f);
  ok &= WriteI16(TransitionKind, f);
  ok &= WriteU32(TransitionDuration, f);
  ok &= WriteU32(AdvanceInterval, f);
  ok &= WriteU16(PcdResolution, f);
  ok &= WriteU16(PcdColourDepth, f);
  ok &= WriteU16(BackgroundSoundEnabled, f);
  ok &= WriteText(BackgroundSoundFile, f);
  ok &= WriteText(HeaderText, f);
  ok &= WriteText(FooterText, f);
  ok &= WriteFontRecord(HeaderFont, f);
  ok &= WriteFontRecord(FooterFont, f);
  ok &= WriteU16(HeaderAlign, f);
  ok &= WriteU16(FooterAlign, f);
  ok &= WriteI16(NextKey, f);
  ok &= WriteI16(PreviousKey, f);
  ok &= WriteI16(AbortKey, f);
  ok &= WriteU16(BackgroundSoundOnce, f);
  ok &= WriteI16(SkipKey, f);
  ok &= WriteI16(PauseKey, f);
  ok &= WriteU16(JumpInterval, f);
  ok &= WriteFixed(Reserved, sizeof Reserved, f);
  return ok;
}
