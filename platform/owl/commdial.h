// Common-dialog classes of the framework layer. TChooseFontDialog::TData is
// also the in-memory form of the project file's 82-byte font record.
#pragma once
#include <windows.h>

#include <cstdint>

class TChooseFontDialog {
public:
  // The font dialog's data: what the user chose, and how the dialog opens.
  struct TData {
    DWORD Flags = 0;
    DWORD Error = 0;
    HDC DC = nullptr;
    LOGFONTA LogFont{};
    int PointSize = 0;
    COLORREF Color = 0;
    char* Style = nullptr;
    uint16_t FontType = 0;
    int SizeMin = 0;
    int SizeMax = 0;
  };
};
