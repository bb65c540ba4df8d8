#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/core/pathstr.h"
#include "platform/core/bytestream.h"

namespace {
// Runs one path-part function; "-" stands for false (output untouched).
template <class F>
std::string Part(F f, const char* path) {
  string out("-");
  return f(string(path), out) ? out.str() : (out == "-" ? std::string("-") : "touched:" + out.str());
}
}  // namespace

TEST(PathParts, DrivesFoldersNamesAndUncPaths) {
  struct Case { const char* path; const char* file; const char* driveDir; const char* dir; const char* dirWhole;
                const char* ext; const char* extNoDot; const char* noExt; };
  const Case cases[] = {
      {"C:\\Daten\\Bild.bmp", "Bild.bmp", "C:\\Daten\\", "C:\\Daten\\", "C:\\Daten\\", ".bmp", "bmp", "C:\\Daten\\Bild"},
      {"c:\\a.b\\x.tar.gz", "x.tar.gz", "c:\\a.b\\", "c:\\a.b\\", "c:\\a.b\\", ".gz", "gz", "c:\\a.b\\x.tar"},
      {"C:\\Daten\\", "-", "C:\\Daten\\", "C:\\Daten\\", "C:\\Daten\\", "-", "-", "C:\\Daten\\"},
      {"Daten\\Bild.bmp", "Bild.bmp", "-", "-", "-", ".bmp", "bmp", "-"},
      {"\\\\server\\share\\x.txt", "x.txt", "-", "\\\\server\\share\\", "\\\\server\\share\\x.txt\\", ".txt",
       "txt", "-"},
      {"\\\\server\\share\\\\", "-", "-", "\\\\server\\share\\", "\\\\server\\share\\", "-", "-", "-"},
      {"C:README", "README", "C:", "C:", "C:", "-", "-", "C:README"},
      {"", "-", "-", "-", "-", "-", "-", "-"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Part(ExtractFileName, c.path), c.file) << c.path;
    EXPECT_EQ(Part(GetPathDriveDir, c.path), c.driveDir) << c.path;
    EXPECT_EQ(Part([](const string& p, string& o) { return GetPathDirectory(p, o, false); }, c.path), c.dir)
        << c.path;
    EXPECT_EQ(Part([](const string& p, string& o) { return GetPathDirectory(p, o, true); }, c.path), c.dirWhole)
        << c.path;
    EXPECT_EQ(Part([](const string& p, string& o) { return GetPathExtension(p, o, true); }, c.path), c.ext)
        << c.path;
    EXPECT_EQ(Part([](const string& p, string& o) { return GetPathExtension(p, o, false); }, c.path),
              c.extNoDot)
        << c.path;
    EXPECT_EQ(Part(GetPathWithoutExtension, c.path), c.noExt) << c.path;
  }
}

TEST(PathParts, ReplaceExtensionAndBackslashes) {
  string out("keep");
  ReplaceExtension("C:\\P\\Projekt.TSL", out, ".fdt");
  EXPECT_EQ(out, "C:\\P\\Projekt.fdt");
  ReplaceExtension("Projekt", out, ".crt");
  EXPECT_EQ(out, "Projekt.crt");
  out = "keep";
  ReplaceExtension("", out, ".fdt");
  ReplaceExtension("C:\\x.tsl", out, "");
  EXPECT_EQ(out, "keep");

  struct Case { const char* in; const char* trailing; const char* relative; bool relOk; };
  const Case cases[] = {
      {"C:\\Daten", "C:\\Daten\\", "C:\\Daten\\", true},
      {"C:\\Daten\\\\\\", "C:\\Daten\\", "C:\\Daten\\\\\\", true},
      {"  \\DATA  ", "  \\DATA  \\", "DATA\\", true},
      {"\\", "\\", "", true},
      {"", "", "", false},
      {"   ", "   \\", "", false},
  };
  for (const Case& c : cases) {
    string s(c.in);
    AddTrailingBackslash(s);
    EXPECT_EQ(s, c.trailing) << c.in;
    string r(c.in);
    EXPECT_EQ(MakeRelativeDirPath(r), c.relOk) << c.in;
    EXPECT_EQ(r, c.relative) << c.in;
  }
}

TEST(TextTests, SubstringKindsAndAddresses) {
  struct Case { const char* name; bool exe, qt, url; };
  const Case cases[] = {
      {"setup.EXE", true, false, true},
      {"a.exe.txt", true, false, true},  // a substring test, not the name's end
      {"run.bat", true, false, true},
      {"x.Pif", true, false, true},
      {"command.com", true, false, true},
      {"film.MOV", false, true, true},
      {"clip.qt", false, true, true},
      {"C:\\x.htm", false, false, false},
      {"x.htm", false, false, true},
      {"http://host/C:\\x", false, false, true},
      {"file://c:\\seite.htm", false, false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsExecutableFile(c.name), c.exe) << c.name;
    EXPECT_EQ(IsQuickTimeFile(c.name), c.qt) << c.name;
    EXPECT_EQ(IsUrlAddress(c.name), c.url) << c.name;
  }
  EXPECT_TRUE(ContainsNoCase("\xC4RGER.TXT", "\xE4rger"));  // code page 1252 umlauts
  EXPECT_FALSE(ContainsNoCase(nullptr, "x"));
  EXPECT_FALSE(ContainsNoCase("x", nullptr));
  EXPECT_TRUE(ContainsNoCase("abc", ""));
  EXPECT_FALSE(IsExecutableFile(nullptr));
  EXPECT_FALSE(IsUrlAddress(nullptr));

  EXPECT_TRUE(IsPictureExtension(".JPG"));
  EXPECT_TRUE(IsPictureExtension(".wmf"));
  EXPECT_FALSE(IsPictureExtension(".jpeg"));
  EXPECT_FALSE(IsPictureExtension("x.bmp"));  // whole-string comparison
  EXPECT_TRUE(IsTextExtension(".Txt"));
  EXPECT_FALSE(IsTextExtension(".txtx"));
  EXPECT_FALSE(IsTextExtension(nullptr));
}

TEST(TextTests, FindSubstringPos) {
  struct Case { const char* text; const char* pattern; bool cs; int32_t start, want; };
  const Case cases[] = {
      {"abcabc", "c", true, 3, 5},
      {"abcabc", "c", false, 3, 5},
      {"ABCABC", "c", false, 3, 5},
      {"ABCABC", "c", true, 3, -1},
      {"abcabc", "abc", true, 0, 0},
      {"abcabc", "abc", true, 1, 3},
      {"abcabc", "x", false, 0, -1},
      {"abc", "", true, 3, 3},
      {"abc", "c", true, 4, -1},   // start beyond the text
      {"abc", "c", true, -1, -1},
      {"Stra\xDF" "e \xDC" "BER", "\xFC" "ber", false, 0, 7},
      {nullptr, "c", true, 0, -1},
      {"abc", nullptr, false, 0, -1},
      {"abc", "", false, 1, 1},
      {"abc", "abcd", false, 0, -1},         // longer than the text
      {"aAaB", "aab", false, 0, 1},          // a partial match before the real one
      {"xyzKIEL", "kiel", false, 3, 3},      // at the very end
      {"KIE", "kiel", false, 0, -1},
      {"\x8A" "KODA", "\x9A" "koda", false, 0, 0},
      {"\xFF", "\x9F", false, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindSubstringPos(c.text, c.pattern, c.cs, c.start), c.want)
        << (c.text ? c.text : "null") << " / " << (c.pattern ? c.pattern : "null") << " from " << c.start;
}

TEST(TextTests, CharactersAndCarriageReturns) {
  string out;
  RemoveChar("\"C:\\Pro gramm\\x.exe\"", out, '"');
  EXPECT_EQ(out, "C:\\Pro gramm\\x.exe");
  ReplaceChar("a|b|c", out, '|', ';');
  EXPECT_EQ(out, "a;b;c");
  string self("x-y-z");
  RemoveChar(self, self, '-');
  EXPECT_EQ(self, "xyz");
  EXPECT_EQ(CountCarriageReturns("a\r\nb\rc"), 2);
  EXPECT_EQ(CountCarriageReturns(""), 0);
  EXPECT_EQ(CountCarriageReturns(nullptr), 0);
  CutAtCarriageReturn("erste\r\nzweite", out);
  EXPECT_EQ(out, "erste");
  CutAtCarriageReturn("ganz", out);
  EXPECT_EQ(out, "ganz");
}

TEST(TextTests, SplitBarFields) {
  struct Case { const char* source; int n; std::vector<std::string> want; };
  const Case cases[] = {
      {" a | b |c | d ", 3, {"a", "b", "c", "old3"}},          // d is ignored
      {"x", 3, {"x", "old1", "old2", "old3"}},                 // later fields keep old values
      {"x||", 4, {"x", "", "", "old3"}},
      {"|y", 2, {"", "y", "old2", "old3"}},
      {"", 2, {"", "old1", "old2", "old3"}},
      {"a|b", 1, {"a", "old1", "old2", "old3"}},
      {"a|b", 0, {"old0", "old1", "old2", "old3"}},
  };
  for (const Case& c : cases) {
    string fields[4] = {"old0", "old1", "old2", "old3"};
    SplitBarFields(c.source, fields, c.n);
    std::vector<std::string> got;
    for (const string& f : fields) got.push_back(f.str());
    EXPECT_EQ(got, c.want) << c.source << " into " << c.n;
  }
  string one[1] = {"old"};
  SplitBarFields(nullptr, one, 1);
  EXPECT_EQ(one[0], "old");
}

TEST(CommandLine, ProjectFileAfterTheProgramName) {
  struct Case { const char* line; bool ok; const char* file; };
  const Case cases[] = {
      {"\"C:\\Program Files\\TSL\\tslplay32.exe\"", false, ""},
      {"\"C:\\Program Files\\TSL\\tslplay32.exe", false, ""},  // quote never closes
      {"tslplay32.exe \"C:\\Meine Projekte\\demo.crt\"", true, "C:\\Meine Projekte\\demo.crt"},
      {"\"C:\\TSL\\tslplay32.exe\"   C:\\a b\\\"x\".crt", true, "C:\\a b\\x.crt"},
      {"tslplay32.exe\tC:\\demo.crt", true, "C:\\demo.crt"},
      {"tslplay32.exe C:\\a.crt C:\\b.crt", true, "C:\\a.crt C:\\b.crt"},  // one name, blanks included
      {"tslplay32.exe", false, ""},
      {"tslplay32.exe \"\"", false, ""},
      {"", false, ""},
      {nullptr, false, ""},
  };
  for (const Case& c : cases) {
    string out("old");
    EXPECT_EQ(ParseCommandLineFile(c.line, out), c.ok) << (c.line ? c.line : "null");
    EXPECT_EQ(out, c.file) << (c.line ? c.line : "null");
  }
}

TEST(CommandLine, AssociationCommandsLoseTheirPlaceholders) {
  struct Case { const char* command; const char* program; };
  const Case cases[] = {
      {"\"C:\\Programme\\Word\\winword.exe\" \"%1\"", "C:\\Programme\\Word\\winword.exe"},
      {"C:\\Programme\\Word\\winword.exe /dde", "C:\\Programme\\Word\\winword.exe"},
      {"notepad.exe %1", "notepad.exe "},  // the blank before a bare %1 stays
      {"\"C:\\a.exe\" /dde \"%1\"", "C:\\a.exe /dde"},
      {"C:\\viewer.exe", "C:\\viewer.exe"},
  };
  for (const Case& c : cases) {
    string s(c.command);
    StripAssociationCommand(s);
    EXPECT_EQ(s, c.program) << c.command;
  }
}

TEST(Streams, CopyOpenFileBytesInChunks) {
  std::vector<uint8_t> data(200000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  tsl::MemoryStream source(data);
  tsl::MemoryStream target;
  ASSERT_TRUE(CopyOpenFileBytes(source, target, 150000));
  EXPECT_EQ(target.Data().size(), 150000u);
  EXPECT_TRUE(std::equal(target.Data().begin(), target.Data().end(), data.begin()));
  EXPECT_FALSE(CopyOpenFileBytes(source, target, 60000));  // only 50000 left
  EXPECT_FALSE(CopyOpenFileBytes(source, target, -1));
  EXPECT_TRUE(CopyOpenFileBytes(source, target, 0));
}
