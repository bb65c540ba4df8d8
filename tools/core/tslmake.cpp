// tslmake: writes a complete project from a short text description (see
// tools/README.md), with the authoring side's writers; a project that
// carries fonts also gets its font side file (".fdt").
//
//   tslmake [--tsl] [--dump] DESCRIPTION.tsd [OUTPUT.crt]
//   tslmake --dump PROJECT       print what a project file holds
//   tslmake --check PROJECT      exit 0 for a project the player plays
//   tslmake --db DESCRIPTION.tdb OUTPUT   write OUTPUT.dbd and OUTPUT.dbi
//   tslmake --table DESCRIPTION.ttb OUTPUT   write OUTPUT.dbd and OUTPUT.dbx
//   tslmake --dump-db FILE.dbd   print a tree database in tree order (a
//                                table-format pair converted)
//   tslmake --standard FILE      write the per-kind defaults ("STANDARD.DAT")
//   tslmake --dia OUTPUT.dia PICTURE...   write a slide show of the pictures
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "database/core/dbdump.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/core/format/standarddata.h"
#include "engine/core/pages/fontblock.h"
#include "engine/core/pages/standindata.h"
#include "foundation/core/index/memhost.h"
#include "objects/core/buttondata.h"
#include "objects/core/picturedata.h"
#include "objects/core/textdata.h"
#include "slideshow/core/diaoption.h"
#include "tools/core/tslmake_db.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tslmake [--tsl] [--dump] DESCRIPTION.tsd [OUTPUT.crt]\n"
               "       tslmake --dump PROJECT\n"
               "       tslmake --check PROJECT\n"
               "       tslmake --db DESCRIPTION.tdb OUTPUT\n"
               "       tslmake --table DESCRIPTION.ttb OUTPUT\n"
               "       tslmake --dump-db FILE.dbd\n"
               "       tslmake --standard FILE\n"

               "       tslmake --dia OUTPUT.dia PICTURE...\n");
  return 2;
}

std::string Stem(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(0, dot) : path;
}

std::string Folder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool IsDescription(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".tsd") == 0;
}

bool SaveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

int DumpFile(const std::string& path, bool check) {
  tsl::PosixFileStream f(path, tsl::PosixFileStream::ReadOnly);
  if (!f.IsOpen()) {
    std::fprintf(stderr, "tslmake: cannot open %s\n", path.c_str());
    return 1;
  }
  if (check) {
    const bool playable = IsPlayableProject(f);
    std::printf("%s: %s\n", path.c_str(), playable ? "playable run-time project" : "not playable");
    return playable ? 0 : 1;
  }
  TProjectImage image;
  const bool ok = image.Read(f);
  std::fputs(DumpProject(image).c_str(), stdout);
  if (!ok) std::fprintf(stderr, "tslmake: %s is damaged or no project\n", path.c_str());
  return ok ? 0 : 1;
}

int WriteDatabase(const std::string& description, const std::string& out) {
  std::ifstream in(description, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tslmake: cannot open %s\n", description.c_str());
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  TDBNodeManager nodes;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  if (!tslmake::ParseDatabase(text.str(), nodes, extras, line, reason)) {
    std::fprintf(stderr, "%s:%d: %s\n", description.c_str(), line, reason.c_str());
    return 1;
  }
  tsl::MemoryStream dbd, dbi;
  nodes.Save(dbd);
  extras.Save(dbi);
  if (!SaveFile(Stem(out) + ".dbd", dbd.Data()) || !SaveFile(Stem(out) + ".dbi", dbi.Data())) {
    std::fprintf(stderr, "tslmake: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

int WriteTable(const std::string& description, const std::string& out) {
  std::ifstream in(description, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tslmake: cannot open %s\n", description.c_str());
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<uint8_t> store, catalogue;
  int line = 0;
  std::string reason;
  if (!tslmake::ParseTable(text.str(), store, catalogue, line, reason)) {
    std::fprintf(stderr, "%s:%d: %s\n", description.c_str(), line, reason.c_str());
    return 1;
  }
  if (!SaveFile(Stem(out) + ".dbd", store) || !SaveFile(Stem(out) + ".dbx", catalogue)) {
    std::fprintf(stderr, "tslmake: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int DumpDatabase(const std::string& path) {
  tsl::PosixFileStream f(path, tsl::PosixFileStream::ReadOnly);
  if (!f.IsOpen()) {
    std::fprintf(stderr, "tslmake: cannot open %s\n", path.c_str());
    return 1;
  }
  std::unique_ptr<TDBNodeManager> nodes = std::make_unique<TDBNodeManager>();
  std::unique_ptr<TDBSpecialManager> extras;
  TDBNodeManager& m = *nodes;
  // A table-format pair goes through the player's conversion.
  tsl::TMemPackHost host;
  host.PutFile("C:\\db.dbd", FileBytes(path));
  if (IsDbdTableFile(host, "C:\\db.dbd")) {
    host.PutFile("C:\\db.dbx", FileBytes(Stem(path) + ".dbx"));
    LoadTreeDatabase({nodes, extras}, "C:\\db.dbd", host);
    std::fputs(DumpTreeDatabase(*nodes).c_str(), stdout);
    return 0;
  }
  m.Load(f);
  std::fputs(DumpTreeDatabase(m).c_str(), stdout);
  return 0;
}

// The built-in defaults of every kind: the kinds with a record class here
// write their own defaults, the others the bare record base.
int WriteStandardData(const std::string& path) {
  const TDataCreator creator = [](int16_t kind) -> std::unique_ptr<TData> {
    switch (static_cast<TObjectKind>(kind)) {
      case TObjectKind::Text: return std::make_unique<TTextData>();
      case TObjectKind::Picture: return std::make_unique<TPictureData>();
      case TObjectKind::Button: return std::make_unique<TButtonDataCore>();
      default: return CreateStandInData(kind);
    }
  };
  TKindDefaults tables;
  MakeKindDefaults(tables, creator);
  tsl::PosixFileStream f(path, tsl::PosixFileStream::Create);
  if (!f.IsOpen() || !WriteKindDefaults(f, tables, creator)) {
    std::fprintf(stderr, "tslmake: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

// A slide show of the pictures as named (the player reads them as they are)
// with the defaults otherwise.
int WriteSlideShow(const char* output, int count, char** pictures) {
  TDiaOption show;
  for (int i = 0; i < count; ++i) {
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = pictures[i];
    show.Pictures.Add(std::move(e));
  }
  tsl::PosixFileStream f(output, tsl::PosixFileStream::Create);
  if (!f.IsOpen() || !show.Write(f)) {
    std::fprintf(stderr, "tslmake: cannot write %s\n", output);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && !std::strcmp(argv[1], "--dia")) return WriteSlideShow(argv[2], argc - 3, argv + 3);
  bool tsl = false, dump = false, check = false;
  std::vector<std::string> args;
  if (argc == 4 && !std::strcmp(argv[1], "--db")) return WriteDatabase(argv[2], argv[3]);
  if (argc == 4 && !std::strcmp(argv[1], "--table")) return WriteTable(argv[2], argv[3]);
  if (argc == 3 && !std::strcmp(argv[1], "--dump-db")) return DumpDatabase(argv[2]);
  if (argc == 3 && !std::strcmp(argv[1], "--standard")) return WriteStandardData(argv[2]);
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--tsl")) tsl = true;
    else if (!std::strcmp(argv[i], "--dump")) dump = true;
    else if (!std::strcmp(argv[i], "--check")) check = true;
    else if (argv[i][0] == '-') return Usage();
    else args.push_back(argv[i]);
  }
  if (args.empty() || args.size() > 2) return Usage();
  if (check || (dump && !IsDescription(args[0]))) return args.size() == 1 ? DumpFile(args[0], check) : Usage();

  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tslmake: cannot open %s\n", args[0].c_str());
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  TProjectDescription project;
  TDescriptionError error;
  if (!ParseProjectDescription(text.str(), Folder(args[0]), project, error)) {
    std::fprintf(stderr, "%s:%d: %s\n", args[0].c_str(), error.Line, error.Message.c_str());
    return 1;
  }
  tsl::MemoryStream bytes;
  WriteProjectDescription(project, bytes);
  const std::string out = args.size() == 2 ? args[1] : Stem(args[0]) + ".crt";
  if (!SaveFile(out, bytes.Data()) || (tsl && !SaveFile(Stem(out) + ".TSL", bytes.Data()))) {
    std::fprintf(stderr, "tslmake: cannot write %s\n", out.c_str());
    return 1;
  }
  // The player takes a project's fonts from the side file beside it.
  if (!project.Image.Fonts.empty()) {
    tsl::MemoryStream fonts;
    WriteFontBlock(fonts, project.Image.Fonts);
    if (!SaveFile(Stem(out) + ".fdt", fonts.Data())) {
      std::fprintf(stderr, "tslmake: cannot write %s.fdt\n", Stem(out).c_str());
      return 1;
    }
  }
  if (dump) std::fputs(DumpProject(project.Image).c_str(), stdout);
  return 0;
}
