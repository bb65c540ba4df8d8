// TPictureData: the data record of a picture object (kind 1 "Grafik"): a
// picture linked by file name or embedded in the project, with its
// transparent colour, the viewer's background and the Photo CD load
// options. The record is portable; the player keeps its pictures as TDibs
// (objects/picture.cpp), which installs the picture maker.
// Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/format/objectrecords.h"

// Flag bits of the record (the second base field).
constexpr uint32_t kPictureViewer = 0x0001;        // a double-click opens the viewer
constexpr uint32_t kPictureViewerColour = 0x0002;  // the viewer's background is ViewerColor
constexpr uint32_t kPicturePresenceByte = 0x0004;  // a presence byte precedes the embedded picture
constexpr uint32_t kPictureLinked = 0x1000;        // the picture comes from FileName

// A decoded picture: a packed DIB (info header, colours, bits).
class TPictureImage {
public:
  virtual ~TPictureImage() = default;
  virtual const uint8_t* Block() const = 0;
  virtual size_t BlockSize() const = 0;
};

// How pictures are made: from a packed DIB block (the block may be taken),
// and from a picture file with the Photo CD options of this one load; null
// when there is no picture. The portable core keeps the blocks as bytes and
// loads files through the open project.
class TPictureMaker {
public:
  virtual ~TPictureMaker() = default;
  virtual std::unique_ptr<TPictureImage> FromBlock(std::vector<uint8_t>& block) const;
  virtual std::unique_ptr<TPictureImage> FromFile(const string& path, uint8_t pcdResolution,
                                                  uint8_t pcdFormat) const;
};
// Installs the maker (null: the portable one) and returns the previous.
const TPictureMaker* SetPictureMaker(const TPictureMaker* maker);
const TPictureMaker& PictureMaker();

class TPictureData : public TData {
public:
  // The base defaults, then the picture defaults.
  TPictureData();
  TPictureData(const TPictureData&) = delete;
  TPictureData& operator=(const TPictureData&) = delete;

  void Init() override;
  ~TPictureData() override;
  // Drops the picture.
  void Clear() override;
  // A linked picture is loaded again.
  void Reload() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  // Loads FileName with the Photo CD options; true when a picture resulted.
  bool LoadPicture();
  bool IsLinked() const { return (Flags & kPictureLinked) != 0; }

  std::unique_ptr<TPictureImage> Picture;  // never stored as such
  string FileName;
  uint8_t Transparent = 0;
  uint32_t TransparentColor = 0;
  uint32_t ViewerColor = 0;
  uint8_t PcdResolution = 3;
  uint8_t PcdFormat = 2;
  uint8_t Reserved[5] = {};
};
