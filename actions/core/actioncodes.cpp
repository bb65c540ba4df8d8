#include "actions/core/actioncodes.h"

TActionFamily ActionFamilyOf(int16_t code) {
  using F = TActionFamily;
  using C = TActionCode;
  switch (static_cast<C>(code)) {
    case C::PressButton:
    case C::PlayMedia: case C::StopMedia: case C::PauseMedia: case C::ResumeMedia: case C::MediaToEnd:
    case C::MediaToStart: case C::EjectMedia:
    case C::QuitPresentation: case C::ShowInfoBox: case C::GotoRelativePage: case C::GotoPage:
    case C::NavigateDatabase: case C::GotoPreviousPage: case C::OpenSearchDialog: case C::MinimizeWindow:
    case C::SoundOn:
      return F::NavigationMedia;
    case C::ShowObjectPicture: case C::ShowPictureFile: case C::CopyPictureToClipboard:
    case C::ShowSlideOverview: case C::ShowPictureListOverview: case C::CopyPictureFileToClipboard:
      return F::PictureView;
    case C::PrintTextObject: case C::PrintPicture: case C::PrintPictureFile: case C::PrintScreen:
      return F::Printing;
    case C::RunProgram: case C::OpenDocument: case C::OpenOrPrintDocument: case C::SendMail:
      return F::ProgramDocument;
    case C::StepThroughPageList: case C::LoadProjectFile: case C::NavigateBack: case C::NavigateForward:
    case C::HistoryBack: case C::HistoryForward: case C::FindInDocument:
      return F::PageListHistory;
    case C::CopyFolder: case C::UnpackZipArchive: case C::CopyFiles: case C::LoadInstallDescription:
    case C::ProgramGroupDialog: case C::TargetDirectoryDialog: case C::RunInstallation: case C::ExportDatabase:
    case C::FilesToClipboard:
      return F::CopyInstall;
    case C::AddSelectedSlides: case C::AddAllSlides: case C::RemoveAllSlides: case C::CopySlideFiles:
    case C::ConfigureSlideShow: case C::RunSlideShow: case C::SetWallpaperFromPicture:
    case C::CopySlideToClipboard: case C::SetWallpaperFromSlide: case C::LoadSlideShowFile:
      return F::SlideShow;
    case C::BrowserForward: case C::BrowserStop: case C::BrowserRefresh: case C::BrowserHome:
    case C::BrowserNavigate: case C::BrowserFontsLargest: case C::BrowserFontsLarge:
    case C::BrowserFontsMedium: case C::BrowserFontsSmall: case C::BrowserFontsSmallest: case C::BrowserPrint:
    case C::BrowserBack:
      return F::Browser;
    case C::HideObject: case C::ShowObject: case C::SoundOff: case C::ShowMessageBox:
    case C::SetRepeatInterval: case C::NotImplemented: case C::CopyTextToClipboard: case C::EnableTooltips:
    case C::DisableTooltips:
      return F::ObjectMessage;
    case C::PrintDocument:
      return F::DocumentPrint;
    default:
      return F::None;
  }
}
