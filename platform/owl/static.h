// Static texts (the system's STATIC class).
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "platform/owl/control.h"

class TStatic : public TControl {
public:
  // `textLimit` counts the terminating zero (0 = no limit).
  TStatic(TWindow* parent, int id, const char* title, int x, int y, int w, int h, uint textLimit = 0,
          TModule* module = nullptr);
  TStatic(TWindow* parent, int resourceId, uint textLimit = 0, TModule* module = nullptr);

  const char* GetClassName() override { return "STATIC"; }
  int GetTextLen() const { return GetWindowTextLength(); }
  int GetText(char* buffer, int size) const { return GetWindowText(buffer, size); }
  std::string GetText() const;
  void SetText(const char* text) { SetWindowText(text); }
  void Clear() { SetText(""); }
  uint GetTextLimit() const { return TextLimit; }

  uint TextLimit;
};
