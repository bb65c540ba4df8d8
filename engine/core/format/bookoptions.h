// TBookStructOptions: the project info record at offset 16 of the project
// file (and a page's own options in its extension block).
#pragma once
#include <cstdint>

#include "engine/core/format/background.h"
#include "engine/core/format/objectrecords.h"

// Project flags.
enum : uint32_t {
  kOptRunTime = 0x2,          // the player loads only files that have it
  kOptSizingBorder = 0x4,
  kOptCaption = 0x8,
  kOptHScroll = 0x10,
  kOptVScroll = 0x20,
  kOptDeskFrame = 0x40,
  kOptTransitions = 0x80,
  kOptAutoAdvance = 0x100,
  kOptAdvanceLoop = 0x200,
  kOptAdvanceSequence = 0x400,
  kOptDrawDib = 0x1000,
  kOptOwnPalettes = 0x2000,
  kOptTopmost = 0x4000,
  kOptMinimizeBox = 0x8000,
  kOptMaximizeBox = 0x10000,
  kOptSystemMenu = 0x20000,
  kOptContour = 0x40000,
  kOptDragWindow = 0x80000,
  kOptFitWorkArea = 0x100000,
};

class TBookStructOptions {
public:
  TBookStructOptions();

  // Reads the fields in file order (the window rectangle in its old form for
  // versions up to 2.4) and continues behind the stored record length.
  void Read(tsl::ByteStream& f);
  // Stamps the newest version, writes every field (the rectangle in its new
  // form) and stores the measured record length.
  void Write(tsl::ByteStream& f);

  string GetNotice() const;
  string GetTitle() const;
  void SetNotice(const char* text);
  void SetTitle(const char* text);
  bool IsVersionAbove(uint8_t major, uint8_t minor) const;
  bool IsVersionBelow(uint8_t major, uint8_t minor) const;
  // The contour file as the player opens it: resolved through the open
  // project when the record was read (the stored name is kept for writing).
  const string& GetContourPath() const { return ContourPath; }

  uint32_t RecordLength = 0;
  uint8_t VersionMajor = 4;
  uint8_t VersionMinor = 7;
  uint8_t FormatByte = 0x20;
  uint16_t FormatWord = 1;
  char Notice[80] = {};
  char Title[64] = {};
  uint32_t Flags = kOptDrawDib;
  uint32_t SecondValue = 0;
  TObjectRect WindowRect;
  uint16_t PathMode = 1;
  string DataFolder = "\\DATA\\";
  TBackground Background;
  TLongArray PageSequence;
  uint32_t QuitKeys = 3;  // 1 Enter, 2 Esc, 4 Ctrl+C, 8 Ctrl+X
  string ContourFile;
  uint8_t Reserve[6] = {};

private:
  string ContourPath;
};
