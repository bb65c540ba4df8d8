#include "actions/core/actioncodes.h"

TActionFamily ActionFamilyOf(int16_t code) {
  using F = TActionFamily;
  if (code == static_cast<int16_t>(TActionCode::PressButton)) return F::NavigationMedia;
  switch (code) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6:
    case 8: case 9: case 10: case 11: case 24: case 29: case 32: case 36: case 38:
      return F::NavigationMedia;
    case 25: case 26: case 31: case 33: case 34: case 35:
      return F::PictureView;
    case 23: case 27: case 28: case 30:
      return F::Printing;
    case 13: case 41: case 46: case 80:
      return F::ProgramDocument;
    case 12: case 21: case 54: case 55: case 73: case 74: case 76:
      return F::PageListHistory;
    case 14: case 15: case 16: case 42: case 43: case 44: case 45: case 56: case 77:
      return F::CopyInstall;
    case 47: case 48: case 49: case 50: case 51: case 52: case 53: case 57: case 58: case 75:
      return F::SlideShow;
    case 59: case 60: case 61: case 62: case 63: case 64: case 65: case 66: case 67: case 68: case 69: case 70:
      return F::Browser;
    case 17: case 18: case 37: case 39: case 40: case 71: case 72: case 78: case 79:
      return F::ObjectMessage;
    case 22:
      return F::DocumentPrint;
    default:
      return F::None;
  }
}
