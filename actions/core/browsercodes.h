// The browser codes 59-70: history, stop, reload, home, navigation to an
// address, text size and printing of a browser object on the page.
// Portable: the page's browser objects come through TBrowserHost (the
// player's over the object manager, the tests' fakes).
#pragma once
#include <cstdint>

#include "engine/core/format/actionstruct.h"

enum class TBrowserOperation {
  GoForward,
  Stop,
  Refresh,
  GoHome,
  Navigate,
  FontsLargest,
  FontsLarge,
  FontsMedium,
  FontsSmall,
  FontsSmallest,
  Print,
  GoBack,
};

class TBrowserHost {
public:
  virtual ~TBrowserHost() = default;
  // True when the object numbered `target` on the current page is a
  // browser object.
  virtual bool IsBrowser(uint32_t target) = 0;
  // The operation on that browser object; `address` only for Navigate.
  virtual void Run(uint32_t target, TBrowserOperation operation, const string& address) = 0;
  // A file name resolved through the project's path resolver, without path
  // kind or data folder.
  virtual string ResolvePath(const string& name) = 0;
};

// The operation of a code 59-70; false for any other code.
bool BrowserOperationOfCode(uint16_t code, TBrowserOperation& operation);

// Runs a browser code on its target; nothing unless the target is a browser
// object. Code 63 resolves only drive paths: addresses and relative names go
// to the browser unchanged.
void RunBrowserCode(const TActionStruct& action, TBrowserHost& host);
