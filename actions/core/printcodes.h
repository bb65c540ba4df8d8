// The printing codes: a document object (23), the picture of a page object
// (27), a picture file (28), the page as shown (30) and a document file
// (22). The picture codes keep their page set-up from one use to the next
// as long as the same owner prints.
// Portable: what the codes need of the player comes through TPrintHost
// (the player's over its printouts and dialogs, the tests' fakes).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "actions/core/dispatch.h"
#include "engine/core/format/printinfo.h"

// A picture the host made for printing; deleting it frees what it owns.
class TPrintPicture {
public:
  virtual ~TPrintPicture() = default;
};

// What a code's target object is, as far as printing goes.
enum class TPrintTarget {
  Other,          // missing, or a kind that does not print
  PictureObject,  // kind 1
  SlideWindow,    // kind 16
  TextDocument,   // kind 8 with plain text
  RtfDocument,    // kind 8 with RTF, and every kind 15
};

// The most of a text file that code 22 prints.
constexpr size_t kMaxPrintedText = 32766;

// Code 22 sends files whose name holds ".rtf", in any case, anywhere in
// the name, the RTF way.
bool IsRtfFileName(const std::string& path);

class TPrintHost {
public:
  virtual ~TPrintHost() = default;
  virtual TPrintTarget Target(uint32_t number) = 0;
  // The picture of a picture object; null without one.
  virtual std::unique_ptr<TPrintPicture> ObjectPicture(uint32_t number) = 0;
  // The picture under a slide window's caret; null when no entry is chosen.
  virtual std::unique_ptr<TPrintPicture> CaretPicture(uint32_t number) = 0;
  // A picture file loaded under the wait cursor; null when it does not load.
  virtual std::unique_ptr<TPrintPicture> FilePicture(const std::string& path) = 0;
  // The page window's pixels.
  virtual std::unique_ptr<TPrintPicture> ScreenPicture() = 0;
  // The action's file name with its path kind and data folder.
  virtual std::string ResolveFileName(const TActionStruct& action) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // The page set-up dialog over `settings` (the picture may be null); true
  // on OK, with the edited settings in `settings`, which are untouched
  // otherwise.
  virtual bool PageSetup(TBasePrintOutInfo& settings, const TPrintPicture* picture) = 0;
  // The picture printout on the program's printer, with the print dialog.
  virtual void PrintPicture(const TBasePrintOutInfo& settings, const TPrintPicture& picture) = 0;
  // A text printout on the program's printer, with the print dialog.
  virtual void PrintText(const TBasePrintOutInfo& settings, const std::string& text) = 0;
  // The keyboard focus back to the page window.
  virtual void FocusPage() = 0;
  // "Wählen Sie zuerst einen Eintrag aus!" (2156) on the page window.
  virtual void ChooseEntryFirst() = 0;
  // An RTF document object's text on the default printer, without dialog.
  virtual void PrintRtfObject(uint32_t number) = 0;
  // A plain-text document object's file, resolved; empty when it has none.
  virtual std::string DocumentFile(uint32_t number) = 0;
  // The text-file printout on a new printer object for the default
  // printer, with the print dialog.
  virtual void PrintTextFile(const std::string& path) = 0;
  // An RTF file through a temporary document object, without dialog.
  virtual void PrintRtfFile(const std::string& path) = 0;
  // At most `limit` bytes from the start of a file.
  virtual std::string ReadText(const std::string& path, size_t limit) = 0;
};

// The page set-ups the codes keep for the whole run: one per picture code
// (two for code 27: picture objects and slide windows), each with the
// owner of the action that last loaded it, and code 22's text set-up.
struct TPrintSettingsStore {
  struct THeld {
    std::unique_ptr<TBasePrintOutInfo> Settings;
    bool Loaded = false;
    uintptr_t Owner = 0;
  };
  THeld PictureObject, SlideWindow, PictureFile, Screen;
  std::unique_ptr<TBasePrintOutInfo> Text;

  // The held set-up for the action: reloaded from the action's own
  // settings (made with the defaults when it has none) when another owner
  // prints.
  static TBasePrintOutInfo& Load(THeld& held, TActionStruct& action);
};

// Runs one code of the printing family (23, 27, 28, 30), or code 22.
void RunPrintingCode(TActionRun& run, TPrintHost& host, TPrintSettingsStore& store);
void RunDocumentPrintCode(TActionRun& run, TPrintHost& host, TPrintSettingsStore& store);
