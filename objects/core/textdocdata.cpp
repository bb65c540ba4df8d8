#include "objects/core/textdocdata.h"

#include <cctype>
#include <cstring>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"

using namespace tsl;

namespace {
TTextDocResourceMaker ResourceMaker = nullptr;
TDocumentFileReader FileReader = nullptr;

string ResolveStoredName(const string& name) {
  const TRecordContext* project = GetOpenProject();
  return project ? project->ResolvePath(name) : name;
}

std::string Upper(const char* s) {
  std::string u = s ? s : "";
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}
}  // namespace

TTextDocResourceMaker SetTextDocResourceMaker(TTextDocResourceMaker maker) {
  TTextDocResourceMaker old = ResourceMaker;
  ResourceMaker = maker;
  return old;
}

TDocumentFileReader SetDocumentFileReader(TDocumentFileReader reader) {
  TDocumentFileReader old = FileReader;
  FileReader = reader;
  return old;
}

bool NameMentionsRtf(const string& name) { return Upper(name.c_str()).find(".RTF") != std::string::npos; }

bool HasRtfExtension(const string& name) {
  const std::string u = Upper(name.c_str());
  const size_t dot = u.rfind('.');
  return dot != std::string::npos && u.compare(dot, std::string::npos, ".RTF") == 0;
}

TTextDocData::TTextDocData() {
  TData::Init();
  Init();
}

TTextDocData::~TTextDocData() { Clear(); }

void TTextDocData::SetDefaults() {
  Flags = kDocDefaultFlags;
  BackgroundColour = 0xC0C0C0;
  DocumentText = "";
  FileName = "";
  FontChoice = MakeFontRecord(17, false, "Arial");
  FontChoice.Color = 0;
  KindMark = 0;
  Margin = 0;
  std::memset(Reserved, 0, sizeof Reserved);
  Bar = TKVR_ScrollerSettings();
}

void TTextDocData::Init() {
  SetDefaults();
  Reload();
}

void TTextDocData::Clear() { Resources.reset(); }

void TTextDocData::Reload() {
  Clear();
  if (ResourceMaker) Resources = ResourceMaker(*this);
}

void TTextDocData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  SetDefaults();
  const auto* o = dynamic_cast<const TTextDocData*>(other);
  if (o) {
    TData::Assign(o);
    BackgroundColour = o->BackgroundColour;
    DocumentText = o->DocumentText;
    FileName = o->FileName;
    FontChoice = o->FontChoice;
    KindMark = o->KindMark;
    Margin = o->Margin;
    std::memcpy(Reserved, o->Reserved, sizeof Reserved);
    Bar = o->Bar;
  }
  Reload();
}

bool TTextDocData::IsRtfDocument() const {
  if (Flags & kDocEmbedded) return (Flags & kDocEmbeddedRtf) != 0;
  return NameMentionsRtf(FileName);
}

void TTextDocData::LoadDocumentText() {
  if ((Flags & kDocEmbedded) || FileName.length() == 0 || !FileReader) return;
  // RTF goes to the rich-edit control straight from the file.
  if (HasRtfExtension(FileName)) return;
  std::string bytes;
  if (!FileReader(FileName, kMaxPlainDocumentBytes, bytes)) return;
  if (bytes.size() > kMaxPlainDocumentBytes) bytes.resize(kMaxPlainDocumentBytes);
  DocumentText = string(std::move(bytes));
}

bool TTextDocData::Read(ByteStream& f) {
  Clear();
  const int64_t start = f.Position();
  TData::Read(f);
  ReadU32(BackgroundColour, f);
  ReadFontRecord(FontChoice, f);
  ReadShortString(FileName, f);
  ReadU8(KindMark, f);
  ReadI16(Margin, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  Reload();
  FileName = ResolveStoredName(FileName);
  // Records before the embedded form stored the file's text behind its name.
  const bool oldRecord = (Flags & (kDocEmbedded | kDocFileText)) == 0;
  if (oldRecord) Flags |= kDocFileText;
  if (Flags & kDocFileText) {
    LoadDocumentText();
    if (oldRecord) ReadShortString(DocumentText, f);
  } else if (f.Position() - start < static_cast<int64_t>(RecordLength)) {
    ReadShortString(DocumentText, f);
  }
  if (Flags & kDocHasBarBlock) Bar.Read(f);
  return ContinueAtRecordEnd(f, start);
}

bool TTextDocData::Write(ByteStream& f) {
  Flags |= kDocHasBarBlock;
  const int64_t start = f.Position();
  bool ok = TData::Write(f);
  ok = WriteU32(BackgroundColour, f) && ok;
  ok = WriteFontRecord(FontChoice, f) && ok;
  ok = WriteShortString(FileName, f) && ok;
  ok = WriteU8(KindMark, f) && ok;
  ok = WriteI16(Margin, f) && ok;
  ok = WriteFixed(Reserved, sizeof Reserved, f) && ok;
  if (!(Flags & kDocFileText)) ok = WriteShortString(DocumentText, f) && ok;
  ok = Bar.Write(f) && ok;
  StoreRecordLength(f, start);
  return ok;
}
