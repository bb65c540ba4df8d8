// TTextDocData: the data record of the document objects, kind 8 "Dokument"
// (a text or RTF document in a window) and kind 15 "RTF-Dokument" (an RTF
// document drawn over the page). Portable: no Windows headers; the player
// installs the makers of the run-time font and brush and the file reader.
//
// Stored form (byte-packed, after the 16-byte TData base):
//   +0   u32    background colour (default light grey 0xC0C0C0)
//   +4   82     font record (default Arial 17, black)
//   +86  u16+n  file name
//        u8     carried, uninterpreted (kind 15 sets it to 1)
//        i16    margin in pixels
//        13     carried, uninterpreted
//        u16+n  document text: only when flag kDocFileText is clear and the
//               record length reaches past what was read; an old record
//               (neither kDocEmbedded nor kDocFileText) always has it
//        72     bar block (TKVR_ScrollerSettings), when kDocHasBarBlock
// A longer record of a later version is skipped to its stored end.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/format/objectrecords.h"
#include "objects/core/scrollersettings.h"

// Flag bits of the record (the second base field).
constexpr uint32_t kDocWrap = 0x1;            // plain text wraps, no horizontal scrolling
constexpr uint32_t kDocVScroll = 0x2;         // vertical scroll bar
constexpr uint32_t kDocHScroll = 0x4;         // horizontal scroll bar
constexpr uint32_t kDocHasBarBlock = 0x40;    // the bar block follows (always written)
constexpr uint32_t kDocEmbedded = 0x80;       // the text is stored in the project
constexpr uint32_t kDocEmbeddedRtf = 0x100;   // an embedded text is RTF
constexpr uint32_t kDocLinks = 0x200;         // hidden link markup is processed
constexpr uint32_t kDocSingleClick = 0x400;   // with kDocLinks: a link runs on a single click
constexpr uint32_t kDocFileText = 0x1000;     // the file name names a file read at run time
constexpr uint32_t kDocDefaultFlags = 0x1403;

// Plain text beyond this many bytes is not shown (the edit control's limit).
constexpr size_t kMaxPlainDocumentBytes = 32766;

// The run-time font and background brush of a record; the player's hold GDI
// objects.
class TTextDocResources {
public:
  virtual ~TTextDocResources() = default;
};
class TTextDocData;
using TTextDocResourceMaker = std::unique_ptr<TTextDocResources> (*)(TTextDocData& data);
TTextDocResourceMaker SetTextDocResourceMaker(TTextDocResourceMaker maker);
// Reads at most `limit` bytes of a file; false when it does not exist or
// cannot be read. Without a reader (the portable core) no file is read.
using TDocumentFileReader = bool (*)(const string& path, size_t limit, std::string& bytes);
TDocumentFileReader SetDocumentFileReader(TDocumentFileReader reader);

// "x.rtf", "x.RTF.bak": a file name that holds ".RTF" anywhere.
bool NameMentionsRtf(const string& name);
// The extension from the last "." is ".RTF", in any case.
bool HasRtfExtension(const string& name);

class TTextDocData : public TData {
public:
  TTextDocData();
  TTextDocData(const TTextDocData&) = delete;
  TTextDocData& operator=(const TTextDocData&) = delete;
  ~TTextDocData() override;

  // The defaults, then the run-time objects.
  void Init() override;
  void Clear() override;
  // Makes the font and brush again.
  void Reload() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  bool Write(tsl::ByteStream& f) override;

  // Plain text of a file document: the first bytes of the file (up to
  // kMaxPlainDocumentBytes); an RTF file is left to the rich-edit loader.
  void LoadDocumentText();
  // RTF: a file document whose name mentions ".RTF", or an embedded RTF text.
  bool IsRtfDocument() const;
  bool IsEmbedded() const { return (Flags & kDocEmbedded) != 0; }

  std::unique_ptr<TTextDocResources> Resources;  // run time only
  uint32_t BackgroundColour = 0xC0C0C0;
  string DocumentText;
  string FileName;
  tsl::FontRecord FontChoice;  // its colour is the text colour
  uint8_t KindMark = 0;
  int16_t Margin = 0;
  uint8_t Reserved[13] = {};
  TKVR_ScrollerSettings Bar;

private:
  void SetDefaults();
};
