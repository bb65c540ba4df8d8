#include "actions/core/printcodes.h"

#include <cctype>

#include "actions/core/printlayout.h"

namespace {
void PrintHeldPicture(TPrintSettingsStore::THeld& held, TActionStruct& action, const TPrintPicture& picture,
                      TPrintHost& host) {
  TBasePrintOutInfo& settings = TPrintSettingsStore::Load(held, action);
  if (!host.PageSetup(settings, &picture)) return;
  host.PrintPicture(settings, picture);
  host.FocusPage();
}

void PrintPictureOfObject(TActionRun& run, TPrintHost& host, TPrintSettingsStore& store) {
  const uint32_t target = run.Action.Target;
  switch (host.Target(target)) {
    case TPrintTarget::PictureObject:
      if (std::unique_ptr<TPrintPicture> picture = host.ObjectPicture(target))
        PrintHeldPicture(store.PictureObject, run.Action, *picture, host);
      break;
    case TPrintTarget::SlideWindow:
      if (std::unique_ptr<TPrintPicture> picture = host.CaretPicture(target))
        PrintHeldPicture(store.SlideWindow, run.Action, *picture, host);
      else
        host.ChooseEntryFirst();
      break;
    default: break;
  }
}

void PrintPictureFile(TActionRun& run, TPrintHost& host, TPrintSettingsStore& store) {
  const std::string path = host.ResolveFileName(run.Action);
  if (!host.FileExists(path)) return;
  if (std::unique_ptr<TPrintPicture> picture = host.FilePicture(path))
    PrintHeldPicture(store.PictureFile, run.Action, *picture, host);
}

void PrintTextObject(TActionRun& run, TPrintHost& host) {
  const uint32_t target = run.Action.Target;
  switch (host.Target(target)) {
    case TPrintTarget::RtfDocument: host.PrintRtfObject(target); break;
    case TPrintTarget::TextDocument: {
      const std::string path = host.DocumentFile(target);
      if (!path.empty() && host.FileExists(path)) host.PrintTextFile(path);
      break;
    }
    default: break;
  }
}
}  // namespace

bool IsRtfFileName(const std::string& path) {
  for (size_t i = 0; i + 4 <= path.size(); ++i) {
    if (path[i] == '.' && std::toupper(static_cast<unsigned char>(path[i + 1])) == 'R' &&
        std::toupper(static_cast<unsigned char>(path[i + 2])) == 'T' &&
        std::toupper(static_cast<unsigned char>(path[i + 3])) == 'F')
      return true;
  }
  return false;
}

TBasePrintOutInfo& TPrintSettingsStore::Load(THeld& held, TActionStruct& action) {
  if (!held.Settings || !held.Loaded || held.Owner != action.Owner) {
    held.Settings = std::make_unique<TBasePrintOutInfo>(action.GetPrintInfo());
    held.Loaded = true;
    held.Owner = action.Owner;
  }
  return *held.Settings;
}

void RunPrintingCode(TActionRun& run, TPrintHost& host, TPrintSettingsStore& store) {
  switch (static_cast<TActionCode>(static_cast<int16_t>(run.Action.Code))) {
    case TActionCode::PrintTextObject: PrintTextObject(run, host); break;
    case TActionCode::PrintPicture: PrintPictureOfObject(run, host, store); break;
    case TActionCode::PrintPictureFile: PrintPictureFile(run, host, store); break;
    case TActionCode::PrintScreen:
      if (std::unique_ptr<TPrintPicture> picture = host.ScreenPicture())
        PrintHeldPicture(store.Screen, run.Action, *picture, host);
      break;
    default: break;
  }
}

void RunDocumentPrintCode(TActionRun& run, TPrintHost& host, TPrintSettingsStore& store) {
  if (!IsActionCode(run.Action.Code, TActionCode::PrintDocument)) return;
  const std::string path = host.ResolveFileName(run.Action);
  if (IsRtfFileName(path)) {
    host.PrintRtfFile(path);
    return;
  }
  if (!store.Text) store.Text = std::make_unique<TBasePrintOutInfo>();
  store.Text->PictureFlags |= kPictureNoOptions;
  if (path.empty() || !host.FileExists(path)) return;
  if (!host.PageSetup(*store.Text, nullptr)) return;
  host.PrintText(*store.Text, host.ReadText(path, kMaxPrintedText));
  host.FocusPage();
}
