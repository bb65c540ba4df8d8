// TTextData: the data record of a text object (kind 0 "Text"): one text in
// one font and colour, wrapped and aligned in the object's rectangle, with
// an optional drop shadow and rotation. The record is portable; its GDI font
// is made by the player (objects/text.cpp), which installs the font maker.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>

#include "engine/core/format/objectrecords.h"

// Flag bits of the record (the second base field).
constexpr uint32_t kTextWrap = 0x1;    // word-wrap inside the rectangle
constexpr uint32_t kTextShadow = 0x2;  // draw a drop shadow

// Alignments.
enum : uint32_t { kTextLeft = 0, kTextCentre = 1, kTextRight = 2 };

// The run-time font of a record; the player's holds a GDI font.
class TTextFont {
public:
  virtual ~TTextFont() = default;
};
// Makes the font of a font choice; it may adjust the choice (its quality).
// Without a maker (the portable core) records have no font.
using TTextFontMaker = std::unique_ptr<TTextFont> (*)(tsl::FontRecord& choice);
TTextFontMaker SetTextFontMaker(TTextFontMaker maker);

class TTextData : public TData {
public:
  // The base defaults, then Init.
  TTextData();
  TTextData(const TTextData&) = delete;
  TTextData& operator=(const TTextData&) = delete;

  // The text defaults, then the font made from them.
  void Init() override;
  ~TTextData() override;
  void Clear() override;
  // Makes the font again from the font choice.
  void Reload() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  // Makes the font from the font choice (a font present is replaced).
  void MakeFont();

  std::unique_ptr<TTextFont> Font;  // run time only
  uint32_t ShadowColour = 0x808080;
  string Text = "Text";
  uint32_t Alignment = kTextLeft;
  int32_t ShadowOffsetY = 2;  // below the text
  int32_t ShadowOffsetX = 2;  // right of the text
  int16_t Angle = 0;          // degrees, counter-clockwise
  tsl::FontRecord FontChoice;  // its colour is the text colour
  uint8_t Reserved[16] = {};

private:
  void SetDefaults();
};
