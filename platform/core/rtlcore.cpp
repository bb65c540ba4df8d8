#include "platform/core/rtlcore.h"


namespace tsl {

bool AttributesMatch(uint32_t entryAttributes, uint32_t mask) {
  const uint32_t special = (FA_HIDDEN | FA_SYSTEM | FA_LABEL | FA_DIREC) & entryAttributes;
  return (special & ~mask) == 0;
}

namespace {
int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
}  // namespace

uint32_t PackDosDateTime(const DosDateTime& t) {
  DosDateTime c = t;
  if (c.year < 1980) c = DosDateTime();
  if (c.year > 2107) {
    c.year = 2107;
    c.month = 12;
    c.day = 31;
    c.hour = 23;
    c.minute = 59;
    c.second = 59;
  }
  const uint32_t date = static_cast<uint32_t>(((c.year - 1980) << 9) | (Clamp(c.month, 1, 12) << 5) |
                                              Clamp(c.day, 1, 31));
  const uint32_t time = static_cast<uint32_t>((Clamp(c.hour, 0, 23) << 11) |
                                              (Clamp(c.minute, 0, 59) << 5) |
                                              (Clamp(c.second, 0, 59) / 2));
  return date << 16 | time;
}

DosDateTime UnpackDosDateTime(uint32_t packed) {
  const uint32_t date = packed >> 16, time = packed & 0xFFFF;
  DosDateTime t;
  t.year = 1980 + static_cast<int>(date >> 9);
  t.month = static_cast<int>((date >> 5) & 0x0F);
  t.day = static_cast<int>(date & 0x1F);
  t.hour = static_cast<int>(time >> 11);
  t.minute = static_cast<int>((time >> 5) & 0x3F);
  t.second = static_cast<int>((time & 0x1F) * 2);
  return t;
}

int fnsplit(const char* path, PathParts& parts) {
  parts = PathParts();
  if (!path) return 0;
  const std::string p(path);
  int flags = 0;
  if (p.find_first_of("*?") != std::string::npos) flags |= FNS_WILDCARDS;

  size_t pos = 0;
  if (p.size() >= 2 && p[1] == ':' &&
      ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'))) {
    parts.drive = p.substr(0, 2);
    flags |= FNS_DRIVE;
    pos = 2;
  }
  const size_t lastSep = p.find_last_of("\\/");
  if (lastSep != std::string::npos && lastSep >= pos) {
    parts.dir = p.substr(pos, lastSep + 1 - pos);
    flags |= FNS_DIRECTORY;
    pos = lastSep + 1;
  }
  const std::string last = p.substr(pos);
  const size_t dot = last.rfind('.');
  if (last == "." || last == ".." || dot == std::string::npos) {
    parts.name = last;
  } else {
    parts.name = last.substr(0, dot);
    parts.ext = last.substr(dot);
  }
  if (!parts.name.empty()) flags |= FNS_FILENAME;
  if (!parts.ext.empty()) flags |= FNS_EXTENSION;
  return flags;
}

}  // namespace tsl
