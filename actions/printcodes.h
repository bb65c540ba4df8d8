// The printing codes on the open project: the family routines (codes 23,
// 27, 28, 30 and code 22) and their host over the current page, the
// picture and text printouts, the page set-up dialog and the printers.
#pragma once
#include "platform/owl/defs.h"

#include "actions/core/printcodes.h"

class TBookStruct;
class TDib;
class TWindow;

// The families' routines in the dispatcher's table.
void PrintingFamily(TActionRun& run);
void DocumentPrintFamily(TActionRun& run);

// The page set-ups the codes keep for the run.
TPrintSettingsStore& HeldPrintSettings();

// A picture for printing: a packed DIB, owned or borrowed.
struct TDibPrintPicture : TPrintPicture {
  TDib* Dib = nullptr;
  std::unique_ptr<TDib> Owned;
  std::unique_ptr<TPrintPicture> Keep;  // what owns a borrowed picture
};

class TBookPrintHost : public TPrintHost {
public:
  explicit TBookPrintHost(TBookStruct* book) : Book(book) {}
  TPrintTarget Target(uint32_t number) override;
  std::unique_ptr<TPrintPicture> ObjectPicture(uint32_t number) override;
  std::unique_ptr<TPrintPicture> CaretPicture(uint32_t number) override;
  std::unique_ptr<TPrintPicture> FilePicture(const std::string& path) override;
  std::unique_ptr<TPrintPicture> ScreenPicture() override;
  std::string ResolveFileName(const TActionStruct& action) override;
  bool FileExists(const std::string& path) override;
  bool PageSetup(TBasePrintOutInfo& settings, const TPrintPicture* picture) override;
  void PrintPicture(const TBasePrintOutInfo& settings, const TPrintPicture& picture) override;
  void PrintText(const TBasePrintOutInfo& settings, const std::string& text) override;
  void FocusPage() override;
  void ChooseEntryFirst() override;
  void PrintRtfObject(uint32_t number) override;
  std::string DocumentFile(uint32_t number) override;
  void PrintTextFile(const std::string& path) override;
  void PrintRtfFile(const std::string& path) override;
  std::string ReadText(const std::string& path, size_t limit) override;

private:
  TWindow* PageWindow() const;
  TBookStruct* Book;
};
