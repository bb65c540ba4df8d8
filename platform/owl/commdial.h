// Common-dialog classes of the framework layer. Each runs through the
// program's UI service (uiservice.h), so tests can answer them. A dialog made
// with a template of its own also gets its response table (the template's
// dialog is bound to the object while it runs).
//
// TChooseFontDialog::TData is also the in-memory form of the project file's
// 82-byte font record.
#pragma once
#include "platform/owl/defs.h"
#include <commdlg.h>

#include <cstdint>

#include "platform/owl/color.h"
#include "platform/owl/dialog.h"

class TCommonDialog : public TDialog {
public:
  TCommonDialog(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
  // IDOK when the user accepted, else IDCANCEL (the data's Error says why
  // when the dialog failed).
  int Execute() override;
  // The system dialog does the work of its buttons.
  void CmOk() override;
  void CmCancel() override;
  void Destroy(int retVal = IDCANCEL) override;

  // The dialog procedure of a dialog with a template of its own: every
  // message after WM_INITDIALOG passes here first (an Explorer-style
  // dialog's notifications such as CDN_SELCHANGE arrive as WM_NOTIFY).
  // The default hands it to the framework's dispatch.
  virtual INT_PTR DialogFunction(uint msg, TParam1 p1, TParam2 p2);

protected:
  virtual int DoExecute() = 0;
  HWND OwnerWindow() const { return Parent ? Parent->HWindow : nullptr; }
  // Hook procedure of dialogs with a template: binds the object.
  static UINT_PTR CALLBACK Hook(HWND wnd, UINT msg, WPARAM p1, LPARAM p2);
};

class TOpenSaveDialog : public TCommonDialog {
public:
  class TData {
  public:
    // `filter`: pairs of description and pattern, each followed by a bar
    // ("Bilder|*.bmp|"). `maxPath` is the size of FileName (MAX_PATH when 0).
    TData(uint32_t flags = 0, const char* filter = nullptr, const char* customFilter = nullptr,
          const char* initialDir = nullptr, const char* defExt = nullptr, int maxPath = 0, int filterIndex = 0);
    TData(const TData& other);
    TData& operator=(const TData& other);
    ~TData();
    void SetFilter(const char* filter);
    void SetInitialDir(const char* dir);
    void SetDefExt(const char* ext);
    void SetCustomFilter(const char* filter);
    // A new file-name buffer of `maxPath` characters (the name is kept when
    // it fits).
    void SetMaxPath(int maxPath);

    uint32_t Flags;
    uint32_t Error = 0;
    char* FileName = nullptr;
    char* Filter = nullptr;         // zero-separated, doubly terminated
    char* CustomFilter = nullptr;   // a buffer of CustomFilterSize characters, or null
    int FilterIndex;
    char* InitialDir = nullptr;
    char* DefExt = nullptr;
    int MaxPath = 0;
    static const int CustomFilterSize = 2 * MAX_PATH;

  private:
    void Clear();
    void CopyFrom(const TData& other);
  };

  TOpenSaveDialog(TWindow* parent, TData& data, TResId templateId = TResId(), const char* title = nullptr,
                  TModule* module = nullptr);
  TData& GetData() { return Data; }

protected:
  // Fills the OPENFILENAME from the data; Finish copies the results back.
  void Prepare(OPENFILENAMEA& ofn);
  int Finish(bool ok, const OPENFILENAMEA& ofn);

  TData& Data;
  TResId TemplateId;
};

class TFileOpenDialog : public TOpenSaveDialog {
public:
  TFileOpenDialog(TWindow* parent, TData& data, TResId templateId = TResId(), const char* title = nullptr,
                  TModule* module = nullptr)
      : TOpenSaveDialog(parent, data, templateId, title, module) {}

protected:
  int DoExecute() override;
};

class TFileSaveDialog : public TOpenSaveDialog {
public:
  TFileSaveDialog(TWindow* parent, TData& data, TResId templateId = TResId(), const char* title = nullptr,
                  TModule* module = nullptr)
      : TOpenSaveDialog(parent, data, templateId, title, module) {}

protected:
  int DoExecute() override;
};

class TChooseColorDialog : public TCommonDialog {
public:
  struct TData {
    uint32_t Flags = 0;
    uint32_t Error = 0;
    TColor Color;
    TColor* CustColors = nullptr;  // 16 entries, kept by the caller
  };
  TChooseColorDialog(TWindow* parent, TData& data, const char* title = nullptr, TModule* module = nullptr)
      : TCommonDialog(parent, title, module), Data(data) {}

protected:
  int DoExecute() override;
  TData& Data;
};

class TChooseFontDialog : public TCommonDialog {
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
  TChooseFontDialog(TWindow* parent, TData& data, const char* title = nullptr, TModule* module = nullptr)
      : TCommonDialog(parent, title, module), Data(data) {}

protected:
  int DoExecute() override;
  TData& Data;
};

class TPrintDialog : public TCommonDialog {
public:
  class TData {
  public:
    TData() = default;
    ~TData();
    TData(const TData&) = delete;
    TData& operator=(const TData&) = delete;

    const DEVMODEA* GetDevMode() const;
    const char* GetDriverName() const;
    const char* GetDeviceName() const;
    const char* GetOutputName() const;
    // The printer DC of a dialog run with PD_RETURNDC; the caller takes it.
    HDC TransferDC();

    uint32_t Flags = PD_ALLPAGES;
    uint32_t Error = 0;
    int FromPage = 1;
    int ToPage = 1;
    int MinPage = 1;
    int MaxPage = 1;
    int Copies = 1;
    HGLOBAL HDevMode = nullptr;   // owned
    HGLOBAL HDevNames = nullptr;  // owned
    HDC DC = nullptr;

  private:
    friend class TPrintDialog;
    mutable void* DevModeLock = nullptr;
    mutable void* DevNamesLock = nullptr;
    void Unlock() const;
  };
  TPrintDialog(TWindow* parent, TData& data, const char* title = nullptr, TModule* module = nullptr)
      : TCommonDialog(parent, title, module), Data(data) {}

protected:
  int DoExecute() override;
  TData& Data;
};
