#include "platform/owl/richedit.h"

#include "platform/owl/file.h"

namespace {
DWORD CALLBACK ReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* got) {
  auto* f = reinterpret_cast<TFile*>(cookie);
  *got = static_cast<LONG>(f->Read(buffer, static_cast<uint32_t>(count)));
  return 0;
}

DWORD CALLBACK WriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto* f = reinterpret_cast<TFile*>(cookie);
  *done = static_cast<LONG>(f->Write(buffer, static_cast<uint32_t>(count)));
  return *done == count ? 0 : 1;
}
}  // namespace

TRichEdit::TRichEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, const char* fileName,
                     TModule* module)
    : TEdit(parent, id, text, x, y, w, h, 0, true, module), FileName(fileName) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL |
               ES_SAVESEL;
  Attr.ExStyle |= WS_EX_CLIENTEDGE;
}

TRichEdit::TRichEdit(TWindow* parent, int resourceId, TModule* module)
    : TEdit(parent, resourceId, 0, module), FileName(nullptr) {}

bool TRichEdit::LoadControlLibrary() {
  static HMODULE library = ::LoadLibraryA("RICHED32.DLL");
  return library != nullptr;
}

bool TRichEdit::Create() {
  if (!LoadControlLibrary()) return false;
  return TEdit::Create();
}

void TRichEdit::SetupWindow() {
  TEdit::SetupWindow();
  if (FileName) ReadFromFile(FileName);
}

bool TRichEdit::ReadFromFile(const char* fileName, uint format) {
  TFile f;
  if (!HWindow || !fileName || !f.Open(fileName)) return false;
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&f), 0, ReadCallback};
  SendMessage(EM_STREAMIN, format, reinterpret_cast<TParam2>(&es));
  return es.dwError == 0;
}

bool TRichEdit::WriteToFile(const char* fileName, uint format) {
  TFile f;
  if (!HWindow || !fileName || !f.Open(fileName, TFile::WriteOnly | TFile::PermExclusive | TFile::CreateAlways))
    return false;
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&f), 0, WriteCallback};
  SendMessage(EM_STREAMOUT, format, reinterpret_cast<TParam2>(&es));
  return es.dwError == 0;
}

void TRichEdit::SetSelection(long startPos, long endPos) {
  CHARRANGE cr{static_cast<LONG>(startPos), static_cast<LONG>(endPos)};
  SendMessage(EM_EXSETSEL, 0, reinterpret_cast<TParam2>(&cr));
}

void TRichEdit::GetSelection(long& startPos, long& endPos) const {
  CHARRANGE cr{0, 0};
  SendMessage(EM_EXGETSEL, 0, reinterpret_cast<TParam2>(&cr));
  startPos = cr.cpMin;
  endPos = cr.cpMax;
}

TColor TRichEdit::SetBkgndColor(TColor color) {
  const bool system = color.IsSysColor() && color.Index() == COLOR_WINDOW;
  return TColor(static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, system, system ? 0 : static_cast<COLORREF>(color))));
}
