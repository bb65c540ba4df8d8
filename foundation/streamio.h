// Win32-facing stream encodings: the font record as the font dialog's data,
// and window texts (the embedded picture as a global-memory DIB is in
// imaging/dibglobal.h).
// Everything else of the encodings is in foundation/core/streamenc.h and
// takes a TFile directly (TFile is a ByteStream).
#pragma once
#include <windows.h>

#include "foundation/core/memstream.h"
#include "foundation/core/streamenc.h"
#include "platform/owl/combobox.h"
#include "platform/owl/commdial.h"

// The stored font record as the font dialog's data and back: the one
// conversion between the record and a LOGFONT.
TChooseFontDialog::TData FontDataFromRecord(const tsl::FontRecord& record);
tsl::FontRecord FontRecordFromData(const TChooseFontDialog::TData& data);

void ReadFontData(TChooseFontDialog::TData& data, tsl::ByteStream& f);
bool WriteFontData(const TChooseFontDialog::TData& data, tsl::ByteStream& f);

// The memory-stream variants: the same encodings on a TMemStream.
inline void MemReadShortString(string& s, TMemStream& m) { ReadShortString(s, m); }
inline bool MemWriteShortString(const string& s, TMemStream& m) { return WriteShortString(s, m); }
inline void MemReadLong(int32_t& v, TMemStream& m) { ReadLong(v, m); }
inline void MemReadLong(uint32_t& v, TMemStream& m) { ReadLong(v, m); }
inline bool MemWriteLong(int32_t v, TMemStream& m) { return WriteLong(v, m); }
inline bool MemWriteLong(uint32_t v, TMemStream& m) { return WriteLong(v, m); }
inline void MemReadRect(RECT& r, TMemStream& m) { ReadRect(r, m); }
inline bool MemWriteRect(const RECT& r, TMemStream& m) { return WriteRect(r, m); }
inline void MemReadSize(SIZE& s, TMemStream& m) { ReadSize(s, m); }
inline bool MemWriteSize(const SIZE& s, TMemStream& m) { return WriteSize(s, m); }
inline void MemReadPoint(POINT& p, TMemStream& m) { ReadPoint(p, m); }
inline bool MemWritePoint(const POINT& p, TMemStream& m) { return WritePoint(p, m); }
inline void MemReadFontData(TChooseFontDialog::TData& d, TMemStream& m) { ReadFontData(d, m); }
inline bool MemWriteFontData(const TChooseFontDialog::TData& d, TMemStream& m) { return WriteFontData(d, m); }

// Window texts.
void SetWindowString(HWND wnd, const string& text);
string GetWindowString(HWND wnd);
string GetComboBoxString(HWND combo);
// Sets a combo box's text; an empty string is passed as a null text.
void SetComboBoxString(TComboBox& combo, const string& text);
