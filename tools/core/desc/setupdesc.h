// Installation fixtures from a text description: a description file and
// the "SETUP.DAT" beside it, written through the installer's own record
// writer and LZSS coder. One statement a line, words as in the project
// descriptions (tools/README.md):
//   target "C:\\Ziel"          group "Name" [off]        flags N
//   association "ext" "PROGRAM.EXE" "Beschreibung"
//   item "PROGRAM.EXE" "Titel"
//   folder "Name"              (files follow; "" is the target itself)
//   file "name" (text "..." | size N | from "host path") [date Y-M-D h:m:s] [damaged]
//   total N                    (the progress total; default: the bytes of all files)
// `damaged` spoils the member's coded data so that it unpacks short.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "actions/core/installdesc.h"
#include "actions/core/lzss.h"

struct TSetupFileDesc {
  std::string Name;
  std::vector<uint8_t> Data;
  TDosDateTime Date{0x5821, 0x6000};  // 2024-01-01 12:00:00
  bool Damaged = false;
};
struct TSetupFolderDesc {
  std::string Name;
  std::vector<TSetupFileDesc> Files;
};
struct TInstallFixture {
  TInstallOptionen Options;
  std::vector<TSetupFolderDesc> Folders;
  int64_t Total = -1;
};

// False with the line and reason in `error`.
bool ParseInstallFixture(const std::string& text, const std::string& baseDir, TInstallFixture& out,
                         std::string& error);
bool WriteInstallFixture(TInstallFixture& fixture, tsl::ByteStream& description, tsl::ByteStream& setupDat);
// The DOS date and time of a local time.
TDosDateTime DosDateTimeOf(int year, int month, int day, int hour, int minute, int second);
