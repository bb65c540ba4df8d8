// A whole project file in memory: header, info record, page directory,
// project object-list record, shared object lists and every page record.
// The fixture builder writes projects through it and tests and tools read
// them back with it; the player reads the same bytes page by page.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/format/pagerecord.h"
#include "engine/core/pages/fontblock.h"

struct TProjectPage {
  uint32_t Number = 0;
  TPageRecord Record;
};

class TProjectImage {
public:
  struct WriteOptions {
    // Writes every page record and shared list elsewhere first and then
    // moves it into place, so that their offset tables must be relocated by
    // the readers (as in a file whose records were copied to new offsets).
    bool Relocate = false;
    uint32_t RelocationShift = 0x1000;
  };

  // Reads the whole project with the file's own version gates. False when
  // the file is no project or a page record could not be read completely.
  bool Read(tsl::ByteStream& f, const TDataCreator& creator = CreateRawData);
  // Writes the project with the authoring side's writers, in the order of
  // its save: header, info record and font block, page records, page
  // directory, shared lists, the object-list record, then the header again.
  // Every list is written in the image's order.
  void Write(tsl::ByteStream& f, const WriteOptions& options);
  void Write(tsl::ByteStream& f) { Write(f, WriteOptions()); }

  TProjectHeader Header;
  TBookStructOptions Info;
  TPageDirectory Directory;
  TProjectListRecord ListRecord;
  TSharedObjects Shared;
  std::vector<std::unique_ptr<TProjectPage>> Pages;  // in directory order
  std::vector<TFontBlockEntry> Fonts;  // the font block behind the info record
};
