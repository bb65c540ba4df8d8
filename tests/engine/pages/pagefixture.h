// Projects for the page tests, written by the fixture builder from a short
// description, and read back the way the open project reads them: header,
// directory, the project object-list record and the shared lists into a
// page manager, then pages on request.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/core/pages/pagemodel.h"
#include "engine/core/pages/projectsave.h"

inline std::vector<uint8_t> BuildProject(const std::string& description) {
  TProjectDescription d;
  TDescriptionError e;
  EXPECT_TRUE(ParseProjectDescription(description, ".", d, e)) << e.Line << ": " << e.Message;
  tsl::MemoryStream m;
  WriteProjectDescription(d, m);
  return m.Data();
}

// An open project over bytes held in memory.
class TLoadedProject {
public:
  explicit TLoadedProject(std::vector<uint8_t> bytes) : stream(std::move(bytes)) { Load(); }

  bool Load() {
    model.Clear();
    model.Stream = &stream;
    version.reset();
    ok = ReadProjectHeader(stream, header, info);
    if (!ok) return false;
    version = std::make_unique<tsl::TFileVersionScope>(info.VersionMajor, info.VersionMinor);
    directory.Read(stream, header.Values[0]);
    if (tsl::SeekInside(stream, header.Values[1])) model.ProjectObjects.Read(stream);
    if (directory.Count() > 0) {
      sharedOk = model.LoadSharedObjects(model.ProjectObjects.Values[1], 1.0, 1.0);
      datalessOk = model.LoadSharedDatalessObjects(model.ProjectObjects.Values[2]);
    }
    return true;
  }

  // Ends the current page and reads page `index`.
  bool ReadPage(int index, double sx = 1.0, double sy = 1.0) {
    uint32_t offset;
    if (!directory.GetPageOffset(index, offset)) return false;
    model.EndPageObjects();
    return model.ReadPage(offset, nullptr, sx, sy);
  }

  // The authoring save from this project into new bytes.
  std::vector<uint8_t> Save() {
    tsl::MemoryStream out;
    EXPECT_TRUE(SaveProjectStream(stream, out, header, info, {}, directory, model));
    return out.Data();
  }

  // Object numbers in array order.
  std::vector<uint32_t> Numbers() const {
    std::vector<uint32_t> n;
    for (const auto& o : model.Objects) n.push_back(o->Info.Target.Number);
    return n;
  }

  tsl::MemoryStream stream;
  TPageModel model;
  TProjectHeader header;
  TBookStructOptions info;
  TPageDirectory directory;
  std::unique_ptr<tsl::TFileVersionScope> version;
  bool ok = false, sharedOk = false, datalessOk = false;
};
