// Helpers shared by the index engine's tests: a look inside trees and the
// "#ERR> " lines written meanwhile.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/core/index/indexerr.h"
#include "foundation/core/index/mtree.h"

// The error lines written since construction.
class ErrorLines {
public:
  ErrorLines() { tsl::ClearIndexErrorStream(); }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    std::string text = tsl::IndexErrorText(), line;
    for (char c : text) {
      if (c == '\n') {
        out.push_back(line);
        line.clear();
      } else {
        line += c;
      }
    }
    return out;
  }
  std::string Text() const { return tsl::IndexErrorText(); }
};

// A tree whose pages the test may read and damage.
template <class Base>
class Probe : public Base {
public:
  using Base::Base;
  using Base::ChildCount;
  using Base::ChildHandle;
  using Base::IsLeaf;
  using Base::Key;
  using Base::N;
  using Base::SeekOrdinal;
  using Base::SetChild;
  using Base::SetChildCount;
  using Base::SetN;

  uint32_t RootHandle() {
    uint32_t r, c;
    this->GetHeader(r, c);
    return r;
  }
  // Runs f on a page and releases it (changed when f says so).
  template <class F>
  void WithPage(uint32_t handle, F f) {
    uint8_t* p = this->FetchPage(handle);
    ASSERT_NE(p, nullptr);
    const bool changed = f(p);
    this->ReleasePage(p, changed);
  }
  bool PathEmpty() const { return this->depth_ == 0; }
  void DropPath() { this->ResetPath(); }

  // Checks the tree's invariants: page sizes (32..64, the root 1..64), equal
  // leaf depth, exact subtree counts, keys in order within and across
  // pages. Returns a description of the first fault, or "".
  std::string Validate() {
    uint32_t root, count;
    this->GetHeader(root, count);
    if (root == 0) return count == 0 ? "" : "empty root with a count";
    int leafDepth = -1;
    uint32_t total = 0;
    std::string last;
    bool haveLast = false;
    std::string err = Walk(root, 0, true, leafDepth, total, last, haveLast);
    if (!err.empty()) return err;
    if (total != count) return "tree count " + std::to_string(count) + " != " + std::to_string(total);
    return "";
  }

private:
  std::string Walk(uint32_t h, int depth, bool isRoot, int& leafDepth, uint32_t& total,
                   std::string& last, bool& haveLast) {
    uint8_t* p = this->FetchPage(h);
    if (!p) return "page missing";
    const int n = N(p);
    std::string err;
    if (n < (isRoot ? 1 : 32) || n > 64) err = "page size " + std::to_string(n);
    const bool leaf = IsLeaf(p);
    if (err.empty() && leaf) {
      if (leafDepth < 0) leafDepth = depth;
      if (leafDepth != depth) err = "leaves at different depths";
    }
    for (int i = 0; err.empty() && i <= n; ++i) {
      if (!leaf) {
        uint32_t before = total;
        err = Walk(ChildHandle(p, i), depth + 1, false, leafDepth, total, last, haveLast);
        if (err.empty() && total - before != ChildCount(p, i))
          err = "subtree count " + std::to_string(ChildCount(p, i)) + " != " +
                std::to_string(total - before);
      } else if (ChildHandle(p, i) != 0 || ChildCount(p, i) != 0) {
        err = "leaf with a child link";
      }
      if (err.empty() && i < n) {
        const std::string k = Key(p, i);
        if (haveLast && this->KeyCompare()(last.c_str(), k.c_str()) > 0) err = "keys out of order";
        last = k;
        haveLast = true;
        ++total;
      }
    }
    this->ReleasePage(p, false);
    return err;
  }
};
