// The installation description (`TInstallOptionen`), the list of loaded
// installations and the installer's settings record. The authoring side
// writes a description file and "SETUP.DAT" (setupdat.h) beside it; code 42
// loads the description under a name, 43 to 45 refer to it by that name.
//
// Description file (little endian; strings are u16 length + characters):
//   u8   version            2 or more: nothing further is read
//   i16  N1, N1 x { extension, program file name, description }
//   i16  N2, N2 x { three strings }            source paths
//   i16  N3, N3 x { file name, title }         program items
//   i16  N4, N4 x u32                          numbers
//   u32  disk size
//   str  source drive, target folder, picture set folder
//   u16  create group
//   str  group name, fifth text
//   u16  reserved word
//   u32  flags              0x01 uninstall item; 0x08/0x10/0x20 delete mode
//   24   reserved bytes
// A count of 0 or less reads no element; a file that ends early leaves the
// rest at the defaults (counts never size an allocation). The picture table
// and the busy flag are not part of the file.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "actions/core/bildeintrag.h"
#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

using tsl::string;

// Flags of the description.
constexpr uint32_t kInstallUninstallItem = 0x01;
constexpr uint32_t kInstallDeleteMode0 = 0x08;
constexpr uint32_t kInstallDeleteMode1 = 0x10;
constexpr uint32_t kInstallDeleteMode2 = 0x20;
constexpr uint32_t kInstallDeleteModes = kInstallDeleteMode0 | kInstallDeleteMode1 | kInstallDeleteMode2;
constexpr uint32_t kInstallDefaultFlags = 0x11;

struct TVerknuepfung {  // an association made by the run
  string Extension;     // without the dot
  string Program;       // occurs in the installed program's path
  string Description;   // the file type's text
};
struct TQuellpfade {  // stored and copied only
  string Path, Second, Third;
};
struct TProgrammItem {  // an item of the program group
  string FileName;      // occurs in the installed program's path
  string Title;
};

class TInstallOptionen {
public:
  uint8_t Version = 1;
  // The three element lists stay sorted by their first string in byte
  // order; a new element goes after those equal to it.
  std::vector<TVerknuepfung> Associations;
  TBildEintragDatei Pictures;
  std::vector<TQuellpfade> SourcePaths;
  std::vector<TProgrammItem> ProgramItems;
  std::vector<uint32_t> Numbers;  // file order
  uint32_t DiskSize = 1440;
  string SourceDrive = "A:\\";
  string TargetFolder = "C:\\TEST";
  string PictureSetFolder;
  uint16_t CreateGroup = 1;
  string GroupName = "Programmgruppe";
  string FifthText;
  uint16_t ReservedWord = 0;
  uint32_t Flags = kInstallDefaultFlags;
  uint8_t Reserved[24] = {};

  // Empties the lists, then reads the file form from `f`'s position.
  void Read(tsl::ByteStream& f);
  // Writes the file form (version 1); false when a write failed.
  bool Write(tsl::ByteStream& f);

  void AddAssociation(TVerknuepfung v);
  void AddSourcePath(TQuellpfade q);
  void AddProgramItem(TProgrammItem p);
};

// The uninstaller's delete mode from the description's flags: 2 unless a
// mode bit is set; of 0x08, 0x10, 0x20 the last set one wins.
int InstallDeleteMode(uint32_t flags);

// A loaded installation.
struct TInstallStructKey {
  string Name;
  TInstallOptionen Options;
  string Path;        // the description file
  uint8_t Busy = 0;   // set while the installation runs
};

// The process-wide list of loaded installations, in load order.
class TInstallDescriptionList {
public:
  // Index of the first entry of that name in any letter case, or -1.
  int Find(const string& name) const;
  TInstallStructKey* Get(const string& name);
  // Removes an entry of the same name, then appends `key`.
  void Replace(std::unique_ptr<TInstallStructKey> key);
  size_t Count() const { return items_.size(); }
  TInstallStructKey& At(size_t i) { return *items_[i]; }
  void Clear() { items_.clear(); }

private:
  std::vector<std::unique_ptr<TInstallStructKey>> items_;
};
TInstallDescriptionList& InstallDescriptionList();

// The installer's settings record; of its strings only the picture folder
// has a reader in the player.
struct TProgrammInfo {
  string Title = "TSL-INSTALL 3D";
  string Second, Third;
  string PictureFolder = "BITMAPS\\";
  string PictureConfig = "PICS.CFG";
  string SetupName = "SETUP.TSI";
  string Unresolved = "XYZUNGEL\xD6ST.TSX";
};
const TProgrammInfo& ProgrammInfo();
