// A record with a background colour and a font record, given the font and
// the solid brush made from them after every Init, Read, Assign and Reload:
// the records of the lists, the fast search field and the help register.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "foundation/drawtools.h"
#include "foundation/streamio.h"
#include "platform/owl/color.h"
#include "platform/owl/commdial.h"
#include "platform/owl/gdiobjec.h"

template <class Core>
class TGdiRecord : public Core {
public:
  TGdiRecord() { Reload(); }
  ~TGdiRecord() override { Clear(); }
  TGdiRecord(const TGdiRecord&) = delete;
  TGdiRecord& operator=(const TGdiRecord&) = delete;

  void Init() override {
    Core::Init();
    Reload();
  }
  void Clear() override {
    Font.reset();
    Brush.reset();
  }
  void Reload() override {
    TChooseFontDialog::TData font = FontChoice();
    Font.reset(CreateFontFromData(font));
    Brush = std::make_unique<TBrush>(TColor(this->BackgroundColour));
  }
  TChooseFontDialog::TData FontChoice() const { return FontDataFromRecord(this->FontData); }

  std::unique_ptr<TFont> Font;
  std::unique_ptr<TBrush> Brush;
};
