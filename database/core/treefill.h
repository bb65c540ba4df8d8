// Filling a tree-list window from the tree database: the icon width of each
// tree depth, one line per entry, and the categories stored open opened
// again. The window is reached through TTreeListTarget, which the tree-list
// window implements. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <vector>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"

// The icon column width of one tree depth (top-level entries: level 0).
struct TDBIndentLevelWidthInfo {
  int32_t Width = 0;
  int32_t Level = 0;
};

// Sorted by level, one record per level.
class TDBIndentLevelWidths {
public:
  void Clear() { levels_.clear(); }
  // The larger of the stored and the given width for that level.
  void Merge(int32_t level, int32_t width);
  // The width recorded for the level plus `extra`, or `extra` alone.
  int32_t LevelWidth(int32_t level, int32_t extra) const;
  const std::vector<TDBIndentLevelWidthInfo>& Levels() const { return levels_; }

private:
  std::vector<TDBIndentLevelWidthInfo> levels_;
};

// The window side of a fill; lines are the window's own handles.
class TTreeListTarget {
public:
  using Line = void*;
  virtual ~TTreeListTarget() = default;
  virtual Line RootLine() = 0;
  // A new line with that text and value as the last child of `parent`.
  virtual Line AddChildLine(Line parent, const char* text, uint32_t value) = 0;
  virtual int LineCount() const = 0;
  virtual Line LineAt(int index) const = 0;
  virtual uint32_t LineValue(Line line) const = 0;
  virtual bool LineHasChildren(Line line) const = 0;
  virtual bool LineIsOpen(Line line) const = 0;
  virtual void ExpandLine(Line line, int index) = 0;
  // Rebuilds the visible lines from the line tree.
  virtual void Refill() = 0;
};

// The text of an entry without a record behind it.
extern const char* const kEntryNotFoundText;

void CollectIndentLevelWidths(const TDBNodeManager& m, const TDBSpecialManager* specials,
                              TDBIndentLevelWidths& widths, int32_t categoryWidth, int32_t dataWidth);
// Adds the subtree below `node` as lines below `parent`.
void AddChildrenToTreeList(const TDBNodeManager& m, const TDBNode& node, TTreeListTarget& list,
                           TTreeListTarget::Line parent);
// Opens the lines of the categories stored open, nested ones in the same scan.
void RestoreOpenCategories(const TDBNodeManager& m, TTreeListTarget& list);
