#include "platform/owl/uiscript.h"

#include <cstring>

namespace {
std::string JoinFilter(const char* f) {
  std::string s;
  if (!f) return s;
  while (*f) {
    s += f;
    s += '|';
    f += std::strlen(f) + 1;
  }
  return s;
}
std::string Str(const char* s) { return s ? s : ""; }
}  // namespace

void TScriptedUiService::AnswerFile(const std::string& path, int filterIndex) {
  TAnswer a(TUiRequest::OpenFile);
  a.Text = path;
  a.Index = filterIndex;
  Answers.push_back(a);
}

void TScriptedUiService::AnswerFiles(const std::string& folder, const std::vector<std::string>& names) {
  TAnswer a(TUiRequest::OpenFile);
  a.Text = folder;
  for (const std::string& n : names) {
    a.Text += '\0';
    a.Text += n;
  }
  a.Text += '\0';
  a.Index = 1;
  Answers.push_back(a);
}

void TScriptedUiService::AnswerColor(COLORREF color) {
  TAnswer a(TUiRequest::ColorChoice);
  a.Color = color;
  Answers.push_back(a);
}

void TScriptedUiService::AnswerFont(const LOGFONTA& font, COLORREF color, int pointSize) {
  TAnswer a(TUiRequest::FontChoice);
  a.Font = font;
  a.Color = color;
  a.Index = pointSize;
  Answers.push_back(a);
}

void TScriptedUiService::AnswerFolder(const std::string& path) {
  TAnswer a(TUiRequest::FolderChoice);
  a.Text = path;
  Answers.push_back(a);
}

void TScriptedUiService::AnswerPrint(int fromPage, int toPage, int copies) {
  TAnswer a(TUiRequest::PrintSetup);
  a.Index = fromPage;
  a.Index2 = toPage;
  a.Index3 = copies;
  Answers.push_back(a);
}

void TScriptedUiService::CancelNext(TUiRequest::TKind kind) {
  TAnswer a(kind == TUiRequest::SaveFile ? TUiRequest::OpenFile : kind);
  a.Cancel = true;
  Answers.push_back(a);
}

size_t TScriptedUiService::Count(TUiRequest::TKind kind) const {
  size_t n = 0;
  for (const TUiRequest& r : Log) n += r.Kind == kind;
  return n;
}

void TScriptedUiService::Clear() {
  Messages.clear();
  Answers.clear();
  Log.clear();
  PendingError = LastError = 0;
}

bool TScriptedUiService::Take(TUiRequest::TKind kind, TAnswer& answer) {
  // Open and save dialogs share their answers.
  const TUiRequest::TKind k = kind == TUiRequest::SaveFile ? TUiRequest::OpenFile : kind;
  LastError = 0;
  for (auto it = Answers.begin(); it != Answers.end(); ++it) {
    if (it->Kind == k) {
      answer = *it;
      Answers.erase(it);
      if (answer.Cancel) {
        LastError = PendingError;
        PendingError = 0;
        return false;
      }
      return true;
    }
  }
  LastError = PendingError;
  PendingError = 0;
  return false;
}

int TScriptedUiService::Message(HWND owner, const char* text, const char* caption, uint type) {
  TUiRequest r(TUiRequest::MessageBox);
  r.Owner = owner;
  r.Text = Str(text);
  r.Caption = Str(caption);
  r.Type = type;
  Log.push_back(r);
  if (Messages.empty()) return IDCANCEL;
  const int result = Messages.front();
  Messages.erase(Messages.begin());
  return result;
}

bool TScriptedUiService::FileDialog(TUiRequest::TKind kind, OPENFILENAMEA& ofn) {
  TUiRequest r(kind);
  r.Owner = ofn.hwndOwner;
  r.Text = Str(ofn.lpstrTitle);
  r.Filter = JoinFilter(ofn.lpstrFilter);
  r.InitialName = Str(ofn.lpstrFile);
  r.InitialDir = Str(ofn.lpstrInitialDir);
  r.DefExt = Str(ofn.lpstrDefExt);
  r.Flags = ofn.Flags;
  r.MaxPath = ofn.nMaxFile;
  Log.push_back(r);
  TAnswer a;
  if (!Take(kind, a)) return false;
  if (!ofn.lpstrFile || ofn.nMaxFile == 0 || a.Text.size() + 1 > ofn.nMaxFile) {
    LastError = FNERR_BUFFERTOOSMALL;
    return false;
  }
  std::memcpy(ofn.lpstrFile, a.Text.data(), a.Text.size());
  ofn.lpstrFile[a.Text.size()] = 0;
  ofn.nFilterIndex = static_cast<DWORD>(a.Index);
  const size_t slash = a.Text.find_last_of('\\');
  ofn.nFileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
  return true;
}

bool TScriptedUiService::OpenFileDialog(OPENFILENAMEA& ofn) { return FileDialog(TUiRequest::OpenFile, ofn); }
bool TScriptedUiService::SaveFileDialog(OPENFILENAMEA& ofn) { return FileDialog(TUiRequest::SaveFile, ofn); }

bool TScriptedUiService::ColorDialog(CHOOSECOLORA& cc) {
  TUiRequest r(TUiRequest::ColorChoice);
  r.Owner = cc.hwndOwner;
  r.Color = cc.rgbResult;
  r.Flags = cc.Flags;
  Log.push_back(r);
  TAnswer a;
  if (!Take(TUiRequest::ColorChoice, a)) return false;
  cc.rgbResult = a.Color;
  return true;
}

bool TScriptedUiService::FontDialog(CHOOSEFONTA& cf) {
  TUiRequest r(TUiRequest::FontChoice);
  r.Owner = cf.hwndOwner;
  r.Color = cf.rgbColors;
  r.Flags = cf.Flags;
  if (cf.lpLogFont) r.Font = *cf.lpLogFont;
  Log.push_back(r);
  TAnswer a;
  if (!Take(TUiRequest::FontChoice, a)) return false;
  if (cf.lpLogFont) *cf.lpLogFont = a.Font;
  cf.rgbColors = a.Color;
  cf.iPointSize = a.Index;
  return true;
}

bool TScriptedUiService::PrintDialog(PRINTDLGA& pd) {
  TUiRequest r(TUiRequest::PrintSetup);
  r.Owner = pd.hwndOwner;
  r.Flags = pd.Flags;
  Log.push_back(r);
  if (DefaultPrinter && (pd.Flags & PD_RETURNDEFAULT)) return FillDefaultPrinter(pd);
  TAnswer a;
  if (!Take(TUiRequest::PrintSetup, a)) return false;
  pd.nFromPage = static_cast<WORD>(a.Index);
  pd.nToPage = static_cast<WORD>(a.Index2);
  pd.nCopies = static_cast<WORD>(a.Index3);
  return !DefaultPrinter || FillDefaultPrinter(pd);
}

bool TScriptedUiService::FillDefaultPrinter(PRINTDLGA& pd) {
  if (!pd.hDevNames) {
    // The system's dialog hands out the default printer without showing
    // itself.
    PRINTDLGA d;
    std::memset(&d, 0, sizeof d);
    d.lStructSize = sizeof d;
    d.Flags = PD_RETURNDEFAULT | (pd.Flags & PD_RETURNDC);
    if (!::PrintDlgA(&d)) {
      LastError = ::CommDlgExtendedError();
      return false;
    }
    if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
    pd.hDevMode = d.hDevMode;
    pd.hDevNames = d.hDevNames;
    pd.hDC = d.hDC;
    return true;
  }
  if (!(pd.Flags & PD_RETURNDC)) return true;
  const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(pd.hDevNames));
  const auto* mode = pd.hDevMode ? static_cast<const DEVMODEA*>(::GlobalLock(pd.hDevMode)) : nullptr;
  if (names) {
    const char* base = reinterpret_cast<const char*>(names);
    pd.hDC = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
  }
  if (mode) ::GlobalUnlock(pd.hDevMode);
  if (names) ::GlobalUnlock(pd.hDevNames);
  return pd.hDC != nullptr;
}

bool TScriptedUiService::FolderDialog(BROWSEINFOA& bi, char* path) {
  TUiRequest r(TUiRequest::FolderChoice);
  r.Owner = bi.hwndOwner;
  r.Text = Str(bi.lpszTitle);
  r.Flags = bi.ulFlags;
  // The initial selection, when the caller passes it as the callback's
  // parameter as a path.
  if (bi.lpfn && bi.lParam && !IS_INTRESOURCE(reinterpret_cast<const char*>(bi.lParam)))
    r.InitialDir = reinterpret_cast<const char*>(bi.lParam);
  Log.push_back(r);
  TAnswer a;
  if (!Take(TUiRequest::FolderChoice, a) || !path || a.Text.size() >= MAX_PATH) return false;
  std::memcpy(path, a.Text.c_str(), a.Text.size() + 1);
  return true;
}
