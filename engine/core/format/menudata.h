// TTSLMenuData: one item of a page's menu bar, as stored in the page
// record's extension block.
#pragma once
#include <cstdint>
#include <memory>

#include "engine/core/format/actionstruct.h"

constexpr uint32_t kMenuRunsObject = 0x1;  // runs the actions of ObjectNumber
constexpr uint32_t kMenuCheckGroup = 0x2;
constexpr uint32_t kMenuSeparator = 0x4;

class TTSLMenuData {
public:
  TTSLMenuData();
  TTSLMenuData(const TTSLMenuData& o);
  TTSLMenuData& operator=(const TTSLMenuData& o);
  virtual ~TTSLMenuData() = default;

  virtual void Read(tsl::ByteStream& f);
  virtual void Write(tsl::ByteStream& f);

  // Position "top,group": each part a signed decimal from its leading
  // characters (0 without digits); what follows a second comma is ignored.
  void GetPosition(int& top, int& group) const;
  // Menu items are found by their text.
  bool operator==(const TTSLMenuData& o) const { return Text == o.Text; }

  std::unique_ptr<TSActionStructArrayManager> Actions;  // never null
  string Text;
  string Position = "1,-1";
  uint32_t ObjectNumber = 0xFFFFFFFF;
  uint32_t MenuFlags = kMenuRunsObject;
  uint8_t Reserved[32] = {};
  int32_t CommandId = -1;  // given when the menu is built; never stored
};
