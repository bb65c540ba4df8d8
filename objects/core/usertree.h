// The line tree of the tree-list windows and the list of its visible lines.
// A link owns its children and its item; the lines are the links whose
// ancestors are all open, in tree order, as the window's list box holds
// them. Every walk here is iterative: a tree read from a file may be
// 100,000 levels deep. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

const uint32_t kNoLineValue = 0x7FFFFFFF;

struct TUserTreeItem {
  TUserTreeItem() = default;
  TUserTreeItem(const char* text, uint32_t length, uint32_t value);
  void SetText(const char* text, uint32_t length);  // length 0 measures the text
  // Copies at most `size` characters; a shorter text whole, with its NUL.
  void GetText(char* buffer, uint32_t size) const;
  const char* Text() const { return text_.c_str(); }
  uint32_t Length() const { return static_cast<uint32_t>(text_.size()); }
  uint32_t Value = kNoLineValue;

private:
  std::string text_;
};

class TUserTreeLink {
public:
  explicit TUserTreeLink(void* owner = nullptr) : Owner(owner) {}
  // Deletes the subtree (without recursion), then unlinks itself.
  ~TUserTreeLink();
  TUserTreeLink(const TUserTreeLink&) = delete;
  TUserTreeLink& operator=(const TUserTreeLink&) = delete;

  TUserTreeLink* AddFirstChild(const TUserTreeItem& item);
  TUserTreeLink* AddLastChild(const TUserTreeItem& item);
  TUserTreeLink* AddFirstSibling(const TUserTreeItem& item);
  TUserTreeLink* AddLastSibling(const TUserTreeItem& item);
  TUserTreeLink* InsertAfter(const TUserTreeItem& item);
  bool Unlink();
  void ToggleOpen() { Open = Open ? 0 : 1; }
  bool IsFirstChild() const { return Parent && Parent->FirstChild == this; }
  bool IsLastChild() const { return Parent && Parent->LastChild == this; }
  bool HasChildren() const { return FirstChild && LastChild; }
  int CountChildren() const;
  int CountSubtree() const;
  uint32_t Value() const { return Item ? Item->Value : kNoLineValue; }

  uint8_t Open = 0;
  int32_t Level = 0;
  std::unique_ptr<TUserTreeItem> Item;
  void* Owner = nullptr;
  TUserTreeLink* Parent = nullptr;
  TUserTreeLink* FirstChild = nullptr;
  TUserTreeLink* LastChild = nullptr;
  TUserTreeLink* Next = nullptr;
  TUserTreeLink* Prev = nullptr;
  // Index of the link's line when last seen; checked before use.
  mutable int32_t LineHint = -1;

private:
  TUserTreeLink* NewLink(const TUserTreeItem& item);
};

class TUserTreeLines;

// A cursor on a link.
class TUserTreeNode {
public:
  enum Direction { kRoot = 0, kNextSibling = 1, kPrevSibling = 2, kParent = 3, kFirstChild = 4 };
  TUserTreeNode(TUserTreeLink* link, TUserTreeLines* lines = nullptr) : link_(link), lines_(lines) {}
  // Throws std::logic_error "Default case occured in TUserTreeNode::GetNextItem"
  // for a direction outside 0-4 or a neighbour that does not exist.
  TUserTreeNode GetNextItem(int direction) const;
  // Position 0: a copy of the item as first sibling, 1 as last sibling;
  // anything else throws "Not yet currently implemented in TUserTreeNode::InsertChild".
  TUserTreeNode InsertChild(const TUserTreeItem& item, int position);
  // 0 collapses, 1 expands, 2 toggles the link's line when it is shown;
  // whether the link has children.
  bool SetOpenState(int mode);
  TUserTreeLink* Link() const { return link_; }

private:
  TUserTreeLink* link_;
  TUserTreeLines* lines_;
};

// The tree-list's lines. The window mirrors every change into its list box
// through the two notifications.
class TUserTreeLines {
public:
  TUserTreeLines() : root_(std::make_unique<TUserTreeLink>(this)) {}
  virtual ~TUserTreeLines() = default;

  TUserTreeLink& Root() { return *root_; }
  // Deletes every link and starts a new, empty root; the lines go too.
  void ResetTree();
  // A new line with that text and value as the last child of `parent`.
  TUserTreeLink* AddChildLine(TUserTreeLink* parent, const char* text, uint32_t value);

  int Count() const { return static_cast<int>(lines_.size()); }
  TUserTreeLink* At(int i) const;
  int IndexOf(const TUserTreeLink* link) const;

  // Rebuilds the lines from the tree, following the open flags.
  virtual void Refill();
  // Opens the link and shows its visible descendants after line `index`.
  void ExpandLine(TUserTreeLink* link, int index);
  // Closes the link and removes the lines below it.
  void CollapseLine(TUserTreeLink* link, int index);
  // Opens the closed ancestors from the top down (the link too with
  // `includeLink`), calling OnExpanded for each; the link's line index, -1
  // when an ancestor has no line.
  int EnsureVisible(TUserTreeLink* link, bool includeLink);
  // Depth first, children from the last to the first: the first link whose
  // value equals `value`.
  TUserTreeLink* FindLinkByValue(TUserTreeLink* subtree, uint32_t value) const;
  // A line with children opens or closes, with OnExpanded / OnCollapsed.
  bool ToggleLine(int index);

  virtual void OnExpanded(TUserTreeLink*, int /*index*/) {}
  virtual void OnCollapsed(TUserTreeLink*, int /*index*/) {}

protected:
  // The list box mirror: lines inserted at `index` (in order), and lines
  // removed at `index`.
  virtual void LinesInserted(int /*index*/, int /*count*/) {}
  virtual void LinesRemoved(int /*index*/, int /*count*/) {}
  virtual void LinesReset() {}

private:
  // The visible lines below `link` in tree order, with their levels set.
  void CollectVisible(TUserTreeLink* link, std::vector<TUserTreeLink*>& out) const;
  void InsertAt(int index, const std::vector<TUserTreeLink*>& links);

  std::unique_ptr<TUserTreeLink> root_;
  std::vector<TUserTreeLink*> lines_;
};

// The tree-database fill working on a window's lines.
#include "database/core/treefill.h"

class TUserTreeFillTarget : public TTreeListTarget {
public:
  explicit TUserTreeFillTarget(TUserTreeLines& lines) : lines_(lines) {}
  Line RootLine() override { return &lines_.Root(); }
  Line AddChildLine(Line parent, const char* text, uint32_t value) override {
    return lines_.AddChildLine(Link(parent), text, value);
  }
  int LineCount() const override { return lines_.Count(); }
  Line LineAt(int index) const override { return lines_.At(index); }
  uint32_t LineValue(Line line) const override { return Link(line)->Value(); }
  bool LineHasChildren(Line line) const override { return Link(line)->HasChildren() && Link(line)->Item; }
  bool LineIsOpen(Line line) const override { return Link(line)->Open != 0; }
  void ExpandLine(Line line, int index) override { lines_.ExpandLine(Link(line), index); }
  void Refill() override { lines_.Refill(); }

private:
  static TUserTreeLink* Link(Line l) { return static_cast<TUserTreeLink*>(l); }
  TUserTreeLines& lines_;
};
