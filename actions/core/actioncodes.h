// The action codes and the family of routines that carries each out.
#pragma once
#include <cstddef>
#include <cstdint>

enum class TActionCode : int16_t {
  PressButton = -333,
  PlayMedia = 0,
  StopMedia = 1,
  PauseMedia = 2,
  ResumeMedia = 3,
  MediaToEnd = 4,
  MediaToStart = 5,
  EjectMedia = 6,
  QuitPresentation = 8,
  ShowInfoBox = 9,
  GotoRelativePage = 10,
  GotoPage = 11,
  StepThroughPageList = 12,
  RunProgram = 13,
  CopyFolder = 14,
  UnpackZipArchive = 15,
  CopyFiles = 16,
  HideObject = 17,
  ShowObject = 18,
  LoadProjectFile = 21,
  PrintDocument = 22,
  PrintTextObject = 23,
  NavigateDatabase = 24,
  ShowObjectPicture = 25,
  ShowPictureFile = 26,
  PrintPicture = 27,
  PrintPictureFile = 28,
  GotoPreviousPage = 29,
  PrintScreen = 30,
  CopyPictureToClipboard = 31,
  OpenSearchDialog = 32,
  ShowSlideOverview = 33,
  ShowPictureListOverview = 34,
  CopyPictureFileToClipboard = 35,
  MinimizeWindow = 36,
  SoundOff = 37,
  SoundOn = 38,
  ShowMessageBox = 39,
  SetRepeatInterval = 40,
  OpenDocument = 41,
  LoadInstallDescription = 42,
  ProgramGroupDialog = 43,
  TargetDirectoryDialog = 44,
  RunInstallation = 45,
  OpenOrPrintDocument = 46,
  AddSelectedSlides = 47,
  AddAllSlides = 48,
  RemoveAllSlides = 49,
  CopySlideFiles = 50,
  ConfigureSlideShow = 51,
  RunSlideShow = 52,
  SetWallpaperFromPicture = 53,
  NavigateBack = 54,
  NavigateForward = 55,
  ExportDatabase = 56,
  CopySlideToClipboard = 57,
  SetWallpaperFromSlide = 58,
  BrowserForward = 59,
  BrowserStop = 60,
  BrowserRefresh = 61,
  BrowserHome = 62,
  BrowserNavigate = 63,
  BrowserFontsLargest = 64,
  BrowserFontsLarge = 65,
  BrowserFontsMedium = 66,
  BrowserFontsSmall = 67,
  BrowserFontsSmallest = 68,
  BrowserPrint = 69,
  BrowserBack = 70,
  NotImplemented = 71,
  CopyTextToClipboard = 72,
  HistoryBack = 73,
  HistoryForward = 74,
  LoadSlideShowFile = 75,
  FindInDocument = 76,
  FilesToClipboard = 77,
  EnableTooltips = 78,
  DisableTooltips = 79,
  SendMail = 80,
};

// Each family is one routine of the dispatcher; None is a code without a
// routine (7, 19, 20, codes above 80, negative codes but -333), for which
// only the after-work runs.
enum class TActionFamily : uint8_t {
  None,
  NavigationMedia,   // pages, media control, button press, quit, info box, database, search, window
  PictureView,       // picture window, overviews, picture clipboard
  Printing,          // pictures, screen and document objects to the printer
  ProgramDocument,   // programs, documents, mail
  PageListHistory,   // page lists, project reload, history, document navigation
  CopyInstall,       // copying, unpacking, installation, export
  SlideShow,         // slide window, slide clipboard, wallpaper
  Browser,           // browser object commands
  ObjectMessage,     // visibility, message box, text clipboard, sound, tooltips, repeat interval
  DocumentPrint,     // printing a document file
  Count,
};
constexpr size_t kActionFamilyCount = static_cast<size_t>(TActionFamily::Count);

// A stored code (u16 in the action record) as the code it names.
constexpr bool IsActionCode(uint16_t stored, TActionCode code) {
  return static_cast<int16_t>(stored) == static_cast<int16_t>(code);
}
constexpr uint16_t StoredActionCode(TActionCode code) { return static_cast<uint16_t>(code); }

// The family that carries out a code (read as signed 16-bit).
TActionFamily ActionFamilyOf(int16_t code);
