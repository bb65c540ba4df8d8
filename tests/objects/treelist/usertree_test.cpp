// The tree-list line tree and its visible lines: unlinking, counting, the
// cursor's two failures, expanding and collapsing, EnsureVisible and a
// 100,000-level chain.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>

#include "objects/core/usertree.h"

namespace {

// Builds "a(b c(d e) f)" style trees: a name, children in brackets.
TUserTreeLink* Build(TUserTreeLines& lines, const std::string& text) {
  std::vector<TUserTreeLink*> parents{&lines.Root()};
  TUserTreeLink* last = nullptr;
  uint32_t value = 1;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == ' ') { ++i; continue; }
    if (c == '(') { parents.push_back(last); ++i; continue; }
    if (c == ')') { parents.pop_back(); ++i; continue; }
    std::string name;
    while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) name += text[i++];
    last = lines.AddChildLine(parents.back(), name.c_str(), value++);
  }
  return last;
}

std::string Shown(const TUserTreeLines& lines) {
  std::string out;
  for (int i = 0; i < lines.Count(); ++i) out += (i ? " " : "") + std::string(lines.At(i)->Item->Text());
  return out;
}

TUserTreeLink* Named(TUserTreeLines& lines, const char* name) {
  std::vector<TUserTreeLink*> stack{&lines.Root()};
  while (!stack.empty()) {
    TUserTreeLink* l = stack.back();
    stack.pop_back();
    if (l->Item && std::string(l->Item->Text()) == name) return l;
    for (TUserTreeLink* c = l->FirstChild; c; c = c->Next) stack.push_back(c);
  }
  ADD_FAILURE() << "no line " << name;
  return nullptr;
}

TEST(TUserTreeLink, DeletingAndCounting) {
  TUserTreeLines lines;
  Build(lines, "p(a b c) q");
  TUserTreeLink* p = Named(lines, "p");
  delete Named(lines, "b");
  EXPECT_EQ(p->FirstChild, Named(lines, "a"));
  EXPECT_EQ(p->LastChild, Named(lines, "c"));
  EXPECT_EQ(Named(lines, "a")->Next, Named(lines, "c"));
  EXPECT_EQ(Named(lines, "c")->Prev, Named(lines, "a"));
  EXPECT_EQ(p->CountChildren(), 2);
  delete Named(lines, "a");
  delete Named(lines, "c");
  EXPECT_EQ(p->FirstChild, nullptr);
  EXPECT_EQ(p->LastChild, nullptr);
  EXPECT_EQ(p->CountChildren(), 0);
  EXPECT_EQ(p->CountSubtree(), 1);
  EXPECT_FALSE(lines.Root().Unlink());
  EXPECT_FALSE(Named(lines, "q")->IsFirstChild());
  EXPECT_TRUE(Named(lines, "q")->IsLastChild());
}

TEST(TUserTreeNode, FailuresCarryTheirTexts) {
  TUserTreeLines lines;
  Build(lines, "a(b) c");
  TUserTreeNode node(Named(lines, "c"), &lines);
  const struct {
    const char* what;
    std::function<void()> call;
    const char* text;
  } cases[] = {
      {"next sibling of a last child", [&] { node.GetNextItem(TUserTreeNode::kNextSibling); },
       "Default case occured in TUserTreeNode::GetNextItem"},
      {"first child of a leaf", [&] { node.GetNextItem(TUserTreeNode::kFirstChild); },
       "Default case occured in TUserTreeNode::GetNextItem"},
      {"a direction outside 0-4", [&] { node.GetNextItem(5); },
       "Default case occured in TUserTreeNode::GetNextItem"},
      {"insert at position 2", [&] { node.InsertChild(TUserTreeItem("x", 0, 9), 2); },
       "Not yet currently implemented in TUserTreeNode::InsertChild"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
  }
  EXPECT_EQ(node.GetNextItem(TUserTreeNode::kPrevSibling).Link(), Named(lines, "a"));
  EXPECT_EQ(node.GetNextItem(TUserTreeNode::kRoot).Link(), &lines.Root());
  TUserTreeNode first = node.InsertChild(TUserTreeItem("z", 0, 9), 0);
  EXPECT_EQ(lines.Root().FirstChild, first.Link());
}

TEST(TUserTreeLines, ExpandCollapseAndToggle) {
  TUserTreeLines lines;
  Build(lines, "a(b(c d) e) f(g)");
  Named(lines, "b")->Open = 1;  // open below a closed line
  lines.Refill();
  EXPECT_EQ(Shown(lines), "a f");
  const struct {
    const char* what;
    const char* line;
    bool toggles;
    const char* shown;
  } steps[] = {
      {"expanding shows the open child's lines too", "a", true, "a b c d e f"},
      {"a leaf does not toggle", "c", false, "a b c d e f"},
      {"collapsing stops at the next sibling", "b", true, "a b e f"},
      {"collapsing removes every deeper line", "a", true, "a f"},
      {"the last line", "f", true, "a f g"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(lines.ToggleLine(lines.IndexOf(Named(lines, s.line))), s.toggles);
    EXPECT_EQ(Shown(lines), s.shown);
  }
  EXPECT_EQ(Named(lines, "g")->Level, 2);
  EXPECT_FALSE(Named(lines, "b")->Open);
  EXPECT_EQ(lines.FindLinkByValue(&lines.Root(), Named(lines, "e")->Value()), Named(lines, "e"));
  EXPECT_EQ(lines.FindLinkByValue(&lines.Root(), 4711), nullptr);
}

TEST(TUserTreeLines, EnsureVisibleOnAHundredThousandLevels) {
  auto lines = std::make_unique<TUserTreeLines>();
  TUserTreeLink* l = &lines->Root();
  const int depth = 100000;
  for (int i = 0; i < depth; ++i) l = lines->AddChildLine(l, "x", static_cast<uint32_t>(i));
  lines->Refill();
  EXPECT_EQ(lines->Count(), 1);
  EXPECT_EQ(lines->EnsureVisible(l, false), depth - 1);
  EXPECT_EQ(lines->Count(), depth);
  EXPECT_EQ(l->Level, depth);
  EXPECT_EQ(lines->Root().CountSubtree(), depth + 1);
  lines->CollapseLine(lines->At(0), 0);
  EXPECT_EQ(lines->Count(), 1);
  lines.reset();  // tears the chain down without recursion
}

}  // namespace
