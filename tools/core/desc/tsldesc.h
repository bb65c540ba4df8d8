// The fixture builder's project description: a short text that names the
// pages, their backgrounds, objects, actions and menus, from which a
// complete project image is built with the project's own writers; and the
// canonical dump of a project image, which shows what a file holds in the
// same terms. Syntax: tools/README.md.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/format/projectimage.h"

struct TDescriptionError {
  int Line = 0;
  std::string Message;
};

struct TProjectDescription {
  TProjectImage Image;
  TProjectImage::WriteOptions Write;
};

// Builds the project from a description (UTF-8; quoted texts are stored in
// code page 1252). Files the description names are read relative to
// `baseDir`. False with the line and reason of the first error.
bool ParseProjectDescription(const std::string& text, const std::string& baseDir,
                             TProjectDescription& out, TDescriptionError& error);

// Writes the project: a run-time file (flag 0x2 set) unless the description
// said otherwise.
void WriteProjectDescription(TProjectDescription& project, tsl::ByteStream& f);

// A canonical text of everything a project image holds (offsets aside), so
// that two images can be compared: the image written from a description and
// the one read back from its bytes give the same dump.
std::string DumpProject(const TProjectImage& image);

// A packed DIB (24 bits, bottom-up) of the builder's generated pictures.
std::vector<uint8_t> MakeGradientDib(int width, int height, uint32_t top, uint32_t bottom);
std::vector<uint8_t> MakeCheckerDib(int width, int height, uint32_t a, uint32_t b, int cell);
