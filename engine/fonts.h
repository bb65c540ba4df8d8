// The project's fonts (TFontManager): the fonts a project carries are
// installed for the run when their face is missing on the machine, each from
// a temporary font file, and removed again (file deleted) when the project
// is read anew or closed.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <vector>

#include "engine/core/pages/fontblock.h"
#include "foundation/core/usstring.h"
#include "platform/core/containers.h"

class TFontManager {
public:
  // Collects the faces installed on the machine (upper case).
  TFontManager();
  // Removes the fonts it installed.
  ~TFontManager();
  TFontManager(const TFontManager&) = delete;
  TFontManager& operator=(const TFontManager&) = delete;

  // Reads the font block at the current position of the stream, after the
  // fonts of an earlier reading are removed and its entries dropped; with
  // `install` every carried font whose face is missing is installed. False
  // for a stream without a font block (the manager then stays empty).
  static bool Read(TFontManager& manager, tsl::ByteStream& f, bool install);
  // Removes every font this manager installed and deletes its file; the
  // entries stay.
  static void RemoveFonts(TFontManager& manager);
  // The font block of the entries, each with the file image of its face.
  static bool Write(TFontManager& manager, tsl::ByteStream& f);
  // The entries with their images, as the project writers take them.
  std::vector<TFontBlockEntry> BlockEntries();
  bool IsFaceInstalled(const string& upperFace) const;

  TIArrayAsVector<TFontEntry> Entries{11, 0, 10};
  TUSStrings InstalledFaces{11, 10};
};

// Writes the image to a new temporary file ("tsl" prefix) and notes it in
// the entry; false when the file could not be written.
bool WriteTempFontFile(TFontEntry& entry, uint32_t size, const uint8_t* image);
// The whole font file of the entry's face as the screen has it; empty when
// it has none.
std::vector<uint8_t> GetFontFileImage(const TFontEntry& entry);
