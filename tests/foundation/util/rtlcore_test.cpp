#include <gtest/gtest.h>

#include <string>

#include "platform/core/rtlcore.h"

using namespace tsl;

TEST(RtlShim, AttributeMasksSelectAsDosDid) {
  struct Case { uint32_t attr, mask; bool match; };
  const Case cases[] = {
      {FA_NORMAL, FA_DIREC, true},          // folders-only search also yields plain files
      {FA_ARCH | FA_RDONLY, FA_DIREC, true},
      {FA_DIREC, FA_DIREC, true},
      {FA_DIREC | FA_HIDDEN, FA_DIREC, false},
      {FA_DIREC, 7, false},                  // 7: every file, no folders
      {FA_HIDDEN | FA_ARCH, 7, true},
      {FA_SYSTEM, 7, true},
      {FA_HIDDEN, 0, false},
      {FA_ARCH, 0, true},
  };
  for (const Case& c : cases) EXPECT_EQ(AttributesMatch(c.attr, c.mask), c.match) << c.attr << "/" << c.mask;
}

TEST(RtlShim, PackedDosDates) {
  DosDateTime t;
  t.year = 2001;
  t.month = 12;
  t.day = 24;
  t.hour = 18;
  t.minute = 30;
  t.second = 59;
  const uint32_t packed = PackDosDateTime(t);
  EXPECT_EQ(packed >> 16, static_cast<uint32_t>((21 << 9) | (12 << 5) | 24));
  EXPECT_EQ(packed & 0xFFFF, static_cast<uint32_t>((18 << 11) | (30 << 5) | 29));
  const DosDateTime u = UnpackDosDateTime(packed);
  EXPECT_EQ(u.year, 2001);
  EXPECT_EQ(u.month, 12);
  EXPECT_EQ(u.day, 24);
  EXPECT_EQ(u.hour, 18);
  EXPECT_EQ(u.minute, 30);
  EXPECT_EQ(u.second, 58);  // two-second steps

  DosDateTime old;
  old.year = 1970;
  EXPECT_EQ(PackDosDateTime(old), PackDosDateTime(DosDateTime()));
  EXPECT_EQ(PackDosDateTime(DosDateTime()), static_cast<uint32_t>((1 << 5 | 1) << 16));
  DosDateTime late;
  late.year = 2200;
  EXPECT_EQ(UnpackDosDateTime(PackDosDateTime(late)).year, 2107);
}

TEST(RtlShim, FnsplitParts) {
  struct Case { const char* path; const char* drive; const char* dir; const char* name; const char* ext; int flags; };
  const Case cases[] = {
      {"C:\\Daten\\Bild.bmp", "C:", "\\Daten\\", "Bild", ".bmp", FNS_DRIVE | FNS_DIRECTORY | FNS_FILENAME | FNS_EXTENSION},
      {"\\\\srv\\share\\a.b.c", "", "\\\\srv\\share\\", "a.b", ".c", FNS_DIRECTORY | FNS_FILENAME | FNS_EXTENSION},
      {"c:/web/seite.htm", "c:", "/web/", "seite", ".htm", FNS_DRIVE | FNS_DIRECTORY | FNS_FILENAME | FNS_EXTENSION},
      {"C:\\dir.x\\name", "C:", "\\dir.x\\", "name", "", FNS_DRIVE | FNS_DIRECTORY | FNS_FILENAME},
      {"C:\\*.*", "C:", "\\", "*", ".*", FNS_WILDCARDS | FNS_DRIVE | FNS_DIRECTORY | FNS_FILENAME | FNS_EXTENSION},
      {"..", "", "", "..", "", FNS_FILENAME},
      {".profil", "", "", "", ".profil", FNS_EXTENSION},
      {"1:x", "", "", "1:x", "", FNS_FILENAME},
      {"", "", "", "", "", 0},
  };
  for (const Case& c : cases) {
    PathParts p;
    EXPECT_EQ(fnsplit(c.path, p), c.flags) << c.path;
    EXPECT_EQ(p.drive, c.drive) << c.path;
    EXPECT_EQ(p.dir, c.dir) << c.path;
    EXPECT_EQ(p.name, c.name) << c.path;
    EXPECT_EQ(p.ext, c.ext) << c.path;
  }
  PathParts p;
  EXPECT_EQ(fnsplit(nullptr, p), 0);
}
