// TModule: a loaded module (the program or a library) and its resources.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "platform/owl/defs.h"

class TModule {
public:
  // The module of `instance` (the program when null).
  explicit TModule(const char* name = nullptr, HINSTANCE instance = nullptr);
  virtual ~TModule() = default;
  TModule(const TModule&) = delete;
  TModule& operator=(const TModule&) = delete;

  HINSTANCE GetInstance() const { return Instance; }
  operator HINSTANCE() const { return Instance; }
  const char* GetName() const { return Name.empty() ? nullptr : Name.c_str(); }
  void SetName(const char* name) { Name = name ? name : ""; }
  // Full path of the module's file.
  std::string GetModuleFileName() const;

  int LoadString(uint id, char* buffer, int size) const;
  std::string LoadString(uint id) const;
  HICON LoadIcon(TResId id) const;
  HCURSOR LoadCursor(TResId id) const;
  HBITMAP LoadBitmap(TResId id) const;
  HMENU LoadMenu(TResId id) const;
  HACCEL LoadAccelerators(TResId id) const;
  HRSRC FindResource(TResId id, LPCSTR type) const;
  HGLOBAL LoadResource(HRSRC res) const;

  // Non-zero when construction failed.
  int Status = 0;

protected:
  HINSTANCE Instance;
  std::string Name;
};

// The program's module, made on first use.
TModule& GetProgramModule();
