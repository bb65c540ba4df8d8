// The print tests' printer: cups-pdf as the default printer (set up by the
// test run, scripts/printer.sh). A job's PDF is found by its title among
// the files that were not there before, and removed when read.
#pragma once
#include "wintest.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace printtest {

inline std::string Shell(const std::string& cmd) {
  std::string out;
  std::FILE* p = popen((cmd + " 2>/dev/null").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

inline std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// cups-pdf's output folder; empty when the test run set up no printer.
inline std::string PdfFolder() {
  const char* script = std::getenv("TSL_PRINTER_SCRIPT");
  if (!script) return {};
  std::string folder = Shell("bash " + Quoted(script) + " folder");
  while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
  return folder;
}

inline std::set<std::string> PdfFiles(const std::string& folder) {
  std::set<std::string> names;
  std::string list = Shell("ls -1 " + Quoted(folder));
  size_t from = 0;
  while (from < list.size()) {
    const size_t end = list.find('\n', from);
    const std::string name = list.substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0) names.insert(name);
    if (end == std::string::npos) break;
    from = end + 1;
  }
  return names;
}

// A PDF that a job titled `title` made, read and removed.
struct TPdf {
  std::string Path;  // empty when none came
  int Pages = 0;
  std::string Text;
  explicit operator bool() const { return !Path.empty(); }
};

// Watches the folder for one job of a title (letters and digits only, as
// cups-pdf keeps them in the file name): made before the job starts, and
// gone (with the job's file) before the next job of the title starts.
class TPdfWatch {
public:
  explicit TPdfWatch(std::string title) : Title(std::move(title)), Folder(PdfFolder()), Before(PdfFiles(Folder)) {}

  bool HasPrinter() const { return !Folder.empty(); }

  // The next new file of the title, once whole (pdfinfo reads it), or an
  // empty result after `limitMs`.
  TPdf Wait(DWORD limitMs = 60000) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < limitMs) {
      for (const std::string& name : PdfFiles(Folder)) {
        if (Before.count(name) || name.compare(0, Title.size(), Title) != 0) continue;
        const std::string path = Folder + "/" + name;
        const std::string info = Shell("pdfinfo " + Quoted(path));
        const size_t at = info.find("Pages:");
        if (at == std::string::npos) continue;
        TPdf pdf;
        pdf.Path = Found = path;
        pdf.Pages = std::atoi(info.c_str() + at + 6);
        pdf.Text = Shell("pdftotext -layout " + Quoted(path) + " -");
        return pdf;
      }
      ::Sleep(200);
    }
    return {};
  }

  // The colour at (fx, fy) of a page, as fractions of its size, from
  // pdftoppm at 30 dots per inch.
  static COLORREF Pixel(const TPdf& pdf, int page, double fx, double fy) {
    const std::string out = Shell("pdftoppm -r 30 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                  " " + Quoted(pdf.Path) + " | convert ppm:- -format '%w %h' info:");
    int w = 0, h = 0;
    if (std::sscanf(out.c_str(), "%d %d", &w, &h) != 2) return CLR_INVALID;
    const int x = static_cast<int>(fx * (w - 1)), y = static_cast<int>(fy * (h - 1));
    const std::string rgb = Shell("pdftoppm -r 30 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                  " " + Quoted(pdf.Path) + " | convert ppm:- -format '%[fx:int(255*p{" +
                                  std::to_string(x) + "," + std::to_string(y) + "}.r)] %[fx:int(255*p{" +
                                  std::to_string(x) + "," + std::to_string(y) + "}.g)] %[fx:int(255*p{" +
                                  std::to_string(x) + "," + std::to_string(y) + "}.b)]' info:");
    int r = 0, g = 0, b = 0;
    if (std::sscanf(rgb.c_str(), "%d %d %d", &r, &g, &b) != 3) return CLR_INVALID;
    return RGB(r, g, b);
  }

  // Removes what the job made.
  ~TPdfWatch() {
    if (!Found.empty()) std::remove(Found.c_str());
  }
  TPdfWatch(const TPdfWatch&) = delete;
  TPdfWatch& operator=(const TPdfWatch&) = delete;

private:
  std::string Title;
  std::string Folder;
  std::set<std::string> Before;
  std::string Found;
};

inline bool Near(COLORREF a, COLORREF b, int tolerance = 40) {
  return a != CLR_INVALID && std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace printtest
