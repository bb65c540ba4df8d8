// The page layout of the picture, text and text-file printouts, in printer's
// points (1/72.27 inch): the printable area from the printer's metrics and
// the chosen margins, the page's coordinate mapping, where title and page
// number go, how a picture is sized on the page, and how a text is wrapped
// into lines and the lines into pages.
// Portable: numbers only; the printouts feed it from the printer DC.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the layout needs of a printer DC.
struct TPrinterMetrics {
  int LogPixelsX = 0, LogPixelsY = 0;  // dots per inch
  int OffsetX = 0, OffsetY = 0;        // the unprintable border, GETPRINTINGOFFSET (dots)
  int WidthMm = 0, HeightMm = 0;       // HORZSIZE, VERTSIZE
};

// Dots per point for a resolution in dots per inch; a printer that reports
// none counts as one dot per point.
double DotsPerPoint(int dotsPerInch);

// The layout of the picture and text printouts.
struct TPageLayout {
  double MarginLeft = 20.0, MarginTop = 20.0, MarginRight = 20.0, MarginBottom = 20.0;
  double PageWidth = 1.0, PageHeight = 1.0;
  double PrintableWidth = 1.0, PrintableHeight = 1.0;
  double OffsetX = 0.0, OffsetY = 0.0;
  double DotsPerPointX = 1.0, DotsPerPointY = 1.0;
};

// Margins in millimetres, taken from the paper's edge: the printer's own
// border counts towards them, and none becomes negative.
TPageLayout ComputePageLayout(const TPrinterMetrics& metrics, double leftMm, double topMm, double rightMm,
                              double bottomMm);

// The anisotropic mapping that makes one logical unit one point with the
// origin at (originX, originY) points from the paper's corner. The viewport
// extent is always 32767 by 32767.
struct TPageMapping {
  int WindowExtX = 1, WindowExtY = 1;
  int ViewportOrgX = 0, ViewportOrgY = 0;
};
constexpr int kMappingExtent = 32767;
TPageMapping PageMapping(double dotsPerPointX, double dotsPerPointY, double originX, double originY);
// The text-file printout truncates where the others round.
TPageMapping PageMappingTruncated(double dotsPerPointX, double dotsPerPointY, double originX, double originY);

// Alignment of title and page number of the picture and text printouts.
enum TPrintAlign : int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// Where the title's or page number's origin goes for a font `fontHeight`
// points tall; false when the font is taller than the margin holding it
// (the line is then left out).
bool TitleOrigin(const TPageLayout& layout, double fontHeight, double& x, double& y);
bool PageNumberOrigin(const TPageLayout& layout, double fontHeight, double& x, double& y);
// x of an aligned line relative to its origin: 0 (left aligned), the
// printable width (right aligned) or its half (centred).
int AlignedX(int32_t align, double printableWidth);

// "-3-".
std::string PageNumberText(int number);

// A picture's place on the page, relative to the top-left margin corner.
struct TPictureBox {
  int X = 0, Y = 0, Width = 0, Height = 0;
};
// Picture flags of the print settings.
constexpr uint32_t kPictureFill = 0x1;
constexpr uint32_t kPictureFixed = 0x2;
constexpr uint32_t kPictureAspect = 0x4;
constexpr uint32_t kPictureNoOptions = 0x8;
// `width` and `height`: the printable area; `targetWidthMm` and
// `targetHeightMm`: the fixed size; `pictureWidth`, `pictureHeight`: pixels.
TPictureBox PlacePicture(uint32_t flags, double targetWidthMm, double targetHeightMm, double width, double height,
                         int pictureWidth, int pictureHeight);

// The width of the first `count` characters of `text` in the current font;
// wider never gets narrower as characters are added.
using TTextMeasure = std::function<double(const char* text, size_t count)>;

// Wraps a text into lines no wider than `width`: lines end at line feeds
// (carriage returns dropped, tabs made blanks with `tabsAsBlanks`), break
// after the last blank that fits, and a word wider than the line is broken
// where the line ends. Leading blanks of a wrapped piece and trailing blanks
// of a line are dropped; an empty line is one blank. Every line holds at
// least one character, so the count of lines is bounded by the text's
// length plus its line feeds.
std::vector<std::string> WrapText(const std::string& text, double width, const TTextMeasure& measure,
                                  bool tabsAsBlanks);

// The index after the last of `lines` (from `first`) that go on one page:
// lines are added until their height exceeds `printableHeight`, the line
// that exceeds it included. At least one line goes on every page.
size_t NextPageStart(size_t first, size_t lines, double lineHeight, double printableHeight);
