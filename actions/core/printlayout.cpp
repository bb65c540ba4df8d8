#include "actions/core/printlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/core/units.h"

namespace {
int Round(double v) { return static_cast<int>(std::lround(v)); }

// A size the settings give; a record from a file may hold zero, a negative
// or no number at all, which would mirror or lose the picture: the least
// size the page set-up accepts stands for it.
double TargetSize(double mm) { return std::isfinite(mm) && mm >= 0.1 ? mm : 0.1; }

void AddLine(std::vector<std::string>& lines, const char* p, size_t n) {
  while (n > 0 && p[n - 1] == ' ') --n;
  lines.emplace_back(p, n);
}

void WrapPiece(const std::string& piece, double width, const TTextMeasure& measure, std::vector<std::string>& lines) {
  bool added = false;
  size_t pos = 0;
  for (;;) {
    pos = piece.find_first_not_of(' ', pos);
    if (pos == std::string::npos) {
      if (!added) lines.emplace_back(" ");
      return;
    }
    const char* p = piece.data() + pos;
    const size_t n = piece.size() - pos;
    if (measure(p, n) <= width) {
      AddLine(lines, p, n);
      return;
    }
    // The longest prefix that fits: widths only grow with the count, so a
    // bisection finds it in a few measurements.
    size_t fit = 0, over = n;
    while (over - fit > 1) {
      const size_t mid = fit + (over - fit) / 2;
      if (measure(p, mid) <= width)
        fit = mid;
      else
        over = mid;
    }
    // The character after the fitting prefix may itself be the blank to
    // break at.
    size_t blank = fit;
    while (blank > 0 && p[blank] != ' ') --blank;
    if (blank > 0) {
      AddLine(lines, p, blank);
      pos += blank + 1;
    } else {
      // A word wider than the line: broken where the line ends, and never
      // less than one character, so the text always moves on.
      const size_t take = std::max<size_t>(fit, 1);
      lines.emplace_back(p, take);
      pos += take;
    }
    added = true;
  }
}
}  // namespace

double DotsPerPoint(int dotsPerInch) {
  const double v = PointsToInches(dotsPerInch);
  return v > 0.0 ? v : 1.0;
}

TPageLayout ComputePageLayout(const TPrinterMetrics& m, double leftMm, double topMm, double rightMm, double bottomMm) {
  TPageLayout l;
  l.DotsPerPointX = DotsPerPoint(m.LogPixelsX);
  l.DotsPerPointY = DotsPerPoint(m.LogPixelsY);
  l.OffsetX = m.OffsetX / l.DotsPerPointX;
  l.OffsetY = m.OffsetY / l.DotsPerPointY;
  l.PageWidth = MillimetresToPoints(m.WidthMm);
  l.PageHeight = MillimetresToPoints(m.HeightMm);
  l.MarginLeft = std::max(0.0, MillimetresToPoints(leftMm) - l.OffsetX);
  l.MarginRight = std::max(0.0, MillimetresToPoints(rightMm) - l.OffsetX);
  l.MarginTop = std::max(0.0, MillimetresToPoints(topMm) - l.OffsetY);
  l.MarginBottom = std::max(0.0, MillimetresToPoints(bottomMm) - l.OffsetY);
  l.PrintableWidth = l.PageWidth - l.MarginLeft - l.MarginRight;
  l.PrintableHeight = l.PageHeight - l.MarginTop - l.MarginBottom;
  return l;
}

TPageMapping PageMapping(double dppX, double dppY, double originX, double originY) {
  TPageMapping m;
  m.WindowExtX = Round(kMappingExtent / dppX);
  m.WindowExtY = Round(kMappingExtent / dppY);
  m.ViewportOrgX = Round(originX * dppX);
  m.ViewportOrgY = Round(originY * dppY);
  return m;
}

TPageMapping PageMappingTruncated(double dppX, double dppY, double originX, double originY) {
  TPageMapping m;
  m.WindowExtX = static_cast<int>(kMappingExtent / dppX);
  m.WindowExtY = static_cast<int>(kMappingExtent / dppY);
  m.ViewportOrgX = static_cast<int>(originX * dppX);
  m.ViewportOrgY = static_cast<int>(originY * dppY);
  return m;
}

bool TitleOrigin(const TPageLayout& l, double h, double& x, double& y) {
  if (l.MarginTop - h <= 0) return false;
  x = l.MarginLeft;
  y = (l.MarginTop - h) / 2;
  return true;
}

bool PageNumberOrigin(const TPageLayout& l, double h, double& x, double& y) {
  if (l.MarginBottom - h <= 0) return false;
  x = l.MarginLeft;
  y = (l.MarginBottom - h) / 2 + l.PageHeight - l.MarginBottom;
  return true;
}

int AlignedX(int32_t align, double printableWidth) {
  if (align == kAlignLeft) return 0;
  if (align == kAlignRight) return Round(printableWidth);
  return Round(printableWidth / 2);
}

std::string PageNumberText(int number) {
  char b[24];
  std::snprintf(b, sizeof b, "-%d-", number);
  return b;
}

TPictureBox PlacePicture(uint32_t flags, double targetWidthMm, double targetHeightMm, double W, double H, int pw,
                         int ph) {
  double w = 0, h = 0;
  if (!(flags & kPictureFill)) {
    const double tw = MillimetresToPoints(TargetSize(targetWidthMm));
    w = std::min(tw, W);
    h = MillimetresToPoints(TargetSize(targetHeightMm)) * (w / tw);
    if (h > H) {
      w *= H / h;
      h = H;
    }
  } else if (!(flags & kPictureAspect) || pw <= 0 || ph <= 0) {
    w = W;
    h = H;
  } else if (ph < pw) {
    w = W;
    h = static_cast<double>(ph) * W / pw;
    if (h > H) {
      w *= H / h;
      h = H;
    }
  } else {
    h = H;
    w = static_cast<double>(pw) * H / ph;
    if (w > W) {
      h *= W / w;
      w = W;
    }
  }
  TPictureBox b;
  b.Width = static_cast<int>(w);
  b.Height = static_cast<int>(h);
  b.X = static_cast<int>(W) / 2 - b.Width / 2;
  b.Y = static_cast<int>(H) / 2 - b.Height / 2;
  return b;
}

std::vector<std::string> WrapText(const std::string& text, double width, const TTextMeasure& measure,
                                  bool tabsAsBlanks) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    std::string piece;
    const size_t stop = end == std::string::npos ? text.size() : end;
    piece.reserve(stop - start);
    for (size_t i = start; i < stop; ++i) {
      const char c = text[i];
      if (c == '\r') continue;
      piece += c == '\t' && tabsAsBlanks ? ' ' : c;
    }
    WrapPiece(piece, width, measure, lines);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

size_t NextPageStart(size_t first, size_t lines, double lineHeight, double printableHeight) {
  if (first >= lines) return lines;
  if (!(lineHeight > 0)) return lines;
  double y = 0;
  size_t i = first;
  while (i < lines) {
    y += lineHeight;
    ++i;
    if (y > printableHeight) break;
  }
  return i;
}
