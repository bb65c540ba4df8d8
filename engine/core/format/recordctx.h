// What the record readers need of the open project: its file version (the
// version gates of the records), its path resolution, and the loaders of
// pictures and databases that live on the Win32 side and in later
// subsystems. The open project installs itself for the time it is open;
// tools and tests install a fixed version for a scope.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/cstring.h"

class TdBaseInfo;
class TObjectManager;

namespace tsl {

// The newest file version: the one every writer stamps and the newest the
// player opens.
constexpr uint8_t kFileVersionMajor = 4;
constexpr uint8_t kFileVersionMinor = 7;

// Version tests of the project file: major + minor x 0.1 compared as 32-bit
// floats, strictly (so minor 10 counts as the next major).
bool IsVersionAbove(uint8_t fileMajor, uint8_t fileMinor, uint8_t major, uint8_t minor);
bool IsVersionBelow(uint8_t fileMajor, uint8_t fileMinor, uint8_t major, uint8_t minor);

class TRecordContext {
public:
  virtual ~TRecordContext() = default;
  virtual uint8_t FileVersionMajor() const = 0;
  virtual uint8_t FileVersionMinor() const = 0;
  bool IsVersionAbove(uint8_t major, uint8_t minor) const {
    return tsl::IsVersionAbove(FileVersionMajor(), FileVersionMinor(), major, minor);
  }
  bool IsVersionBelow(uint8_t major, uint8_t minor) const {
    return tsl::IsVersionBelow(FileVersionMajor(), FileVersionMinor(), major, minor);
  }
  // A stored file name as the player opens it (placeholders, project folder).
  virtual string ResolvePath(const string& name) const { return name; }
  // Decodes a picture file into a packed DIB; false when the file is
  // missing or holds no picture.
  virtual bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const {
    (void)path; (void)dib;
    return false;
  }
  // A page's database descriptor with its in-use flag was read: load the
  // database it names into `target` (null: the current page manager).
  virtual void LoadDatabase(const TdBaseInfo& info, TObjectManager* target) const {
    (void)info; (void)target;
  }
};

// The open project, or null.
TRecordContext* GetOpenProject();
// Installs `project` (null: none) and returns the one it replaces.
TRecordContext* SetOpenProject(TRecordContext* project);

// The version gate every reader applies: the open project's version, or,
// with none open, the newest version, which is what every writer writes.
bool RecordVersionAbove(uint8_t major, uint8_t minor);

// A project of a fixed file version, open for the lifetime of the object.
class TFileVersionScope : public TRecordContext {
public:
  TFileVersionScope(uint8_t major, uint8_t minor)
      : major_(major), minor_(minor), previous_(SetOpenProject(this)) {}
  ~TFileVersionScope() override { SetOpenProject(previous_); }
  TFileVersionScope(const TFileVersionScope&) = delete;
  TFileVersionScope& operator=(const TFileVersionScope&) = delete;
  uint8_t FileVersionMajor() const override { return major_; }
  uint8_t FileVersionMinor() const override { return minor_; }

private:
  uint8_t major_, minor_;
  TRecordContext* previous_;
};

}  // namespace tsl
