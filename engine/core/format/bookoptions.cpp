#include "engine/core/format/bookoptions.h"

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

TBookStructOptions::TBookStructOptions() {
  WindowRect.Right = 800;
  WindowRect.Bottom = 600;
}

string TBookStructOptions::GetNotice() const { return FixedFieldText(Notice, sizeof Notice); }
string TBookStructOptions::GetTitle() const { return FixedFieldText(Title, sizeof Title); }
void TBookStructOptions::SetNotice(const char* text) { SetFixedFieldText(Notice, sizeof Notice, text); }
void TBookStructOptions::SetTitle(const char* text) { SetFixedFieldText(Title, sizeof Title, text); }

bool TBookStructOptions::IsVersionAbove(uint8_t major, uint8_t minor) const {
  return tsl::IsVersionAbove(VersionMajor, VersionMinor, major, minor);
}
bool TBookStructOptions::IsVersionBelow(uint8_t major, uint8_t minor) const {
  return tsl::IsVersionBelow(VersionMajor, VersionMinor, major, minor);
}

void TBookStructOptions::Read(ByteStream& f) {
  const int64_t start = f.Position();
  ReadU32(RecordLength, f);
  ReadU32(Flags, f);
  ReadU8(FormatByte, f);
  ReadU16(FormatWord, f);
  ReadU8(VersionMajor, f);
  ReadU8(VersionMinor, f);
  ReadFixed(Notice, sizeof Notice, f);
  ReadFixed(Title, sizeof Title, f);
  if (VersionMajor <= 2 && VersionMinor < 5) {
    int16_t r[4] = {static_cast<int16_t>(WindowRect.Left), static_cast<int16_t>(WindowRect.Top),
                    static_cast<int16_t>(WindowRect.Right), static_cast<int16_t>(WindowRect.Bottom)};
    if (ReadFixed(r, sizeof r, f)) {
      WindowRect.Left = r[0];
      WindowRect.Top = r[1];
      WindowRect.Right = r[2];
      WindowRect.Bottom = r[3];
    }
    ReadU16(WindowRect.Layer, f);
  } else {
    WindowRect.Read(f);
  }
  ReadU16(PathMode, f);
  ReadShortString(DataFolder, f);
  Background.Read(f);
  PageSequence.Read(f);
  ReadU32(QuitKeys, f);
  ReadShortString(ContourFile, f);
  const TRecordContext* project = GetOpenProject();
  ContourPath = project ? project->ResolvePath(ContourFile) : ContourFile;
  ReadU32(SecondValue, f);
  ReadFixed(Reserve, sizeof Reserve, f);
  ContinueAtRecordEnd(f, start, RecordLength);
}

void TBookStructOptions::Write(ByteStream& f) {
  const int64_t start = f.Position();
  VersionMajor = kFileVersionMajor;
  VersionMinor = kFileVersionMinor;
  FormatByte = 0x20;
  FormatWord = 1;
  WriteU32(RecordLength, f);
  WriteU32(Flags, f);
  WriteU8(FormatByte, f);
  WriteU16(FormatWord, f);
  WriteU8(VersionMajor, f);
  WriteU8(VersionMinor, f);
  WriteFixed(Notice, sizeof Notice, f);
  WriteFixed(Title, sizeof Title, f);
  WindowRect.Write(f);
  WriteU16(PathMode, f);
  WriteShortString(DataFolder, f);
  Background.Write(f);
  PageSequence.Write(f);
  WriteU32(QuitKeys, f);
  WriteShortString(ContourFile, f);
  WriteU32(SecondValue, f);
  WriteFixed(Reserve, sizeof Reserve, f);
  RecordLength = PatchRecordLength(f, start);
}
