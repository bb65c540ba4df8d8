#include "objects/core/usertree.h"

#include <algorithm>
#include <cstring>

// ---- items ----

TUserTreeItem::TUserTreeItem(const char* text, uint32_t length, uint32_t value) : Value(value) {
  SetText(text, length);
}

void TUserTreeItem::SetText(const char* text, uint32_t length) {
  if (!text) {
    text_.clear();
    return;
  }
  if (!length) length = static_cast<uint32_t>(std::strlen(text));
  text_.assign(text, length);
}

void TUserTreeItem::GetText(char* buffer, uint32_t size) const {
  if (!buffer || !size) return;
  if (text_.size() < size) {
    std::memcpy(buffer, text_.c_str(), text_.size() + 1);
    return;
  }
  std::memcpy(buffer, text_.data(), size);
}

// ---- links ----

TUserTreeLink::~TUserTreeLink() {
  // Gather the subtree first and take each link out of it before deleting
  // it, so no destructor runs into another.
  std::vector<TUserTreeLink*> below;
  for (TUserTreeLink* c = FirstChild; c; c = c->Next) below.push_back(c);
  for (size_t i = 0; i < below.size(); ++i)
    for (TUserTreeLink* c = below[i]->FirstChild; c; c = c->Next) below.push_back(c);
  for (TUserTreeLink* l : below) {
    l->Parent = l->FirstChild = l->LastChild = l->Next = l->Prev = nullptr;
    delete l;
  }
  FirstChild = LastChild = nullptr;
  Unlink();
}

TUserTreeLink* TUserTreeLink::NewLink(const TUserTreeItem& item) {
  auto* l = new TUserTreeLink(Owner);
  l->Item = std::make_unique<TUserTreeItem>(item);
  return l;
}

TUserTreeLink* TUserTreeLink::AddFirstChild(const TUserTreeItem& item) {
  TUserTreeLink* l = NewLink(item);
  l->Parent = this;
  l->Next = FirstChild;
  if (FirstChild) FirstChild->Prev = l;
  FirstChild = l;
  if (!LastChild) LastChild = l;
  return l;
}

TUserTreeLink* TUserTreeLink::AddLastChild(const TUserTreeItem& item) {
  TUserTreeLink* l = NewLink(item);
  l->Parent = this;
  l->Prev = LastChild;
  if (LastChild) LastChild->Next = l;
  LastChild = l;
  if (!FirstChild) FirstChild = l;
  return l;
}

TUserTreeLink* TUserTreeLink::AddFirstSibling(const TUserTreeItem& item) {
  if (Parent) return Parent->AddFirstChild(item);
  TUserTreeLink* first = this;
  while (first->Prev) first = first->Prev;
  TUserTreeLink* l = NewLink(item);
  l->Next = first;
  first->Prev = l;
  return l;
}

TUserTreeLink* TUserTreeLink::AddLastSibling(const TUserTreeItem& item) {
  if (Parent) return Parent->AddLastChild(item);
  TUserTreeLink* last = this;
  while (last->Next) last = last->Next;
  TUserTreeLink* l = NewLink(item);
  l->Prev = last;
  last->Next = l;
  return l;
}

TUserTreeLink* TUserTreeLink::InsertAfter(const TUserTreeItem& item) {
  TUserTreeLink* l = NewLink(item);
  l->Parent = Parent;
  l->Prev = this;
  l->Next = Next;
  if (Next) Next->Prev = l;
  Next = l;
  if (Parent && Parent->LastChild == this) Parent->LastChild = l;
  return l;
}

bool TUserTreeLink::Unlink() {
  if (!Parent) return false;
  if (!Prev) Parent->FirstChild = Next;
  if (!Next) Parent->LastChild = Prev;
  if (Prev) Prev->Next = Next;
  if (Next) Next->Prev = Prev;
  Parent = Next = Prev = nullptr;
  return true;
}

int TUserTreeLink::CountChildren() const {
  int n = 0;
  for (const TUserTreeLink* c = FirstChild; c; c = c->Next) ++n;
  return n;
}

int TUserTreeLink::CountSubtree() const {
  int n = 0;
  std::vector<const TUserTreeLink*> stack{this};
  while (!stack.empty()) {
    const TUserTreeLink* l = stack.back();
    stack.pop_back();
    ++n;
    for (const TUserTreeLink* c = l->FirstChild; c; c = c->Next) stack.push_back(c);
  }
  return n;
}

// ---- cursor ----

TUserTreeNode TUserTreeNode::GetNextItem(int direction) const {
  TUserTreeLink* to = nullptr;
  switch (direction) {
    case kRoot: to = lines_ ? &lines_->Root() : nullptr; break;
    case kNextSibling: to = link_ ? link_->Next : nullptr; break;
    case kPrevSibling: to = link_ ? link_->Prev : nullptr; break;
    case kParent: to = link_ ? link_->Parent : nullptr; break;
    case kFirstChild: to = link_ ? link_->FirstChild : nullptr; break;
    default: break;
  }
  if (!to) throw std::logic_error("Default case occured in TUserTreeNode::GetNextItem");
  return TUserTreeNode(to, lines_);
}

TUserTreeNode TUserTreeNode::InsertChild(const TUserTreeItem& item, int position) {
  if (position == 0) return TUserTreeNode(link_->AddFirstSibling(item), lines_);
  if (position == 1) return TUserTreeNode(link_->AddLastSibling(item), lines_);
  throw std::logic_error("Not yet currently implemented in TUserTreeNode::InsertChild");
}

bool TUserTreeNode::SetOpenState(int mode) {
  if (!link_ || !link_->HasChildren()) return false;
  const int index = lines_ ? lines_->IndexOf(link_) : -1;
  if (index < 0) return true;
  const bool open = link_->Open != 0;
  if ((mode == 0 || mode == 2) && open) lines_->CollapseLine(link_, index);
  else if ((mode == 1 || mode == 2) && !open) lines_->ExpandLine(link_, index);
  return true;
}

// ---- lines ----

void TUserTreeLines::ResetTree() {
  lines_.clear();
  LinesReset();
  root_ = std::make_unique<TUserTreeLink>(this);
}

TUserTreeLink* TUserTreeLines::AddChildLine(TUserTreeLink* parent, const char* text, uint32_t value) {
  if (!parent) parent = root_.get();
  return parent->AddLastChild(TUserTreeItem(text, 0, value));
}

TUserTreeLink* TUserTreeLines::At(int i) const {
  return i >= 0 && i < Count() ? lines_[static_cast<size_t>(i)] : nullptr;
}

int TUserTreeLines::IndexOf(const TUserTreeLink* link) const {
  if (!link) return -1;
  const int hint = link->LineHint;
  if (hint >= 0 && hint < Count() && lines_[static_cast<size_t>(hint)] == link) return hint;
  int found = -1;
  for (int i = 0; i < Count(); ++i) {
    lines_[static_cast<size_t>(i)]->LineHint = i;
    if (lines_[static_cast<size_t>(i)] == link && found < 0) found = i;
  }
  return found;
}

void TUserTreeLines::CollectVisible(TUserTreeLink* link, std::vector<TUserTreeLink*>& out) const {
  // Pre-order over the open links below `link`; the stack holds the next
  // sibling to visit at each level.
  std::vector<TUserTreeLink*> stack;
  if (link->FirstChild) stack.push_back(link->FirstChild);
  const int32_t base = link == root_.get() ? 0 : link->Level;
  while (!stack.empty()) {
    TUserTreeLink* l = stack.back();
    if (!l) {
      stack.pop_back();
      continue;
    }
    stack.back() = l->Next;
    l->Level = base + static_cast<int32_t>(stack.size());
    out.push_back(l);
    if (l->Open && l->HasChildren()) stack.push_back(l->FirstChild);
  }
}

void TUserTreeLines::InsertAt(int index, const std::vector<TUserTreeLink*>& links) {
  if (links.empty()) return;
  lines_.insert(lines_.begin() + index, links.begin(), links.end());
  for (size_t i = 0; i < links.size(); ++i) links[i]->LineHint = index + static_cast<int32_t>(i);
  LinesInserted(index, static_cast<int>(links.size()));
}

void TUserTreeLines::Refill() {
  lines_.clear();
  LinesReset();
  std::vector<TUserTreeLink*> visible;
  CollectVisible(root_.get(), visible);
  InsertAt(0, visible);
}

void TUserTreeLines::ExpandLine(TUserTreeLink* link, int index) {
  if (!link || At(index) != link) return;
  link->Open = 1;
  std::vector<TUserTreeLink*> visible;
  CollectVisible(link, visible);
  InsertAt(index + 1, visible);
}

void TUserTreeLines::CollapseLine(TUserTreeLink* link, int index) {
  if (!link || At(index) != link) return;
  link->Open = 0;
  int end = index + 1;
  while (end < Count() && lines_[static_cast<size_t>(end)]->Level > link->Level) ++end;
  if (end == index + 1) return;
  lines_.erase(lines_.begin() + index + 1, lines_.begin() + end);
  LinesRemoved(index + 1, end - index - 1);
}

int TUserTreeLines::EnsureVisible(TUserTreeLink* link, bool includeLink) {
  if (!link) return -1;
  std::vector<TUserTreeLink*> chain;
  if (includeLink) chain.push_back(link);
  for (TUserTreeLink* p = link->Parent; p && p != root_.get(); p = p->Parent) chain.push_back(p);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    TUserTreeLink* l = *it;
    if (l->Open || !l->HasChildren()) continue;
    const int index = IndexOf(l);
    if (index < 0) return -1;
    ExpandLine(l, index);
    OnExpanded(l, index);
  }
  return IndexOf(link);
}

TUserTreeLink* TUserTreeLines::FindLinkByValue(TUserTreeLink* subtree, uint32_t value) const {
  if (!subtree) return nullptr;
  std::vector<TUserTreeLink*> stack{subtree};
  while (!stack.empty()) {
    TUserTreeLink* l = stack.back();
    stack.pop_back();
    if (l->Item && l->Item->Value == value) return l;
    for (TUserTreeLink* c = l->FirstChild; c; c = c->Next) stack.push_back(c);
  }
  return nullptr;
}

bool TUserTreeLines::ToggleLine(int index) {
  TUserTreeLink* l = At(index);
  if (!l || !l->HasChildren()) return false;
  if (l->Open) {
    CollapseLine(l, index);
    OnCollapsed(l, index);
  } else {
    ExpandLine(l, index);
    OnExpanded(l, index);
  }
  return true;
}
