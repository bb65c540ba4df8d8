// Edit controls (the system's EDIT class).
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/static.h"

class TEdit : public TStatic {
public:
  // `textLimit` counts the terminating zero: 256 allows 255 characters.
  TEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, uint textLimit = 0,
        bool multiline = false, TModule* module = nullptr);
  TEdit(TWindow* parent, int resourceId, uint textLimit = 0, TModule* module = nullptr);

  const char* GetClassName() override { return "EDIT"; }
  void SetupWindow() override;

  void LimitText(uint count) { SendMessage(EM_LIMITTEXT, count); }
  int GetNumLines() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
  int GetLineLength(int lineNumber) const;
  // Copies a line (without terminator handling by Windows: the text is
  // terminated here); false when it does not fit.
  bool GetLine(char* text, int size, int lineNumber) const;
  int GetLineIndex(int lineNumber) const { return static_cast<int>(SendMessage(EM_LINEINDEX, lineNumber)); }
  int GetLineFromPos(uint charPos) const { return static_cast<int>(SendMessage(EM_LINEFROMCHAR, charPos)); }
  int GetFirstVisibleLine() const { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
  void GetSelection(uint& startPos, uint& endPos) const;
  bool SetSelection(uint startPos, uint endPos) { SendMessage(EM_SETSEL, startPos, endPos); return true; }
  void Insert(const char* text) { SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<TParam2>(text)); }
  bool DeleteSelection();
  void Scroll(int horizontal, int vertical) { SendMessage(EM_LINESCROLL, horizontal, vertical); }
  bool IsModified() const { return SendMessage(EM_GETMODIFY) != 0; }
  void ClearModify() { SendMessage(EM_SETMODIFY, FALSE); }
  void SetReadOnly(bool readOnly) { SendMessage(EM_SETREADONLY, readOnly); }
  bool CanUndo() const { return SendMessage(EM_CANUNDO) != 0; }
  void Undo() { SendMessage(EM_UNDO); }
  void Cut() { SendMessage(WM_CUT); }
  void Copy() { SendMessage(WM_COPY); }
  void Paste() { SendMessage(WM_PASTE); }
  void GetRect(TRect& rect) const { SendMessage(EM_GETRECT, 0, reinterpret_cast<TParam2>(&rect)); }
  void SetRect(const TRect& rect) { SendMessage(EM_SETRECT, 0, reinterpret_cast<TParam2>(&rect)); }
};
