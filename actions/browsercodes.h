// The Browser family of action codes (59-70) on the current page's browser
// objects: the portable rules of actions/core/browsercodes over the page's
// object manager.
#pragma once
#include "actions/core/browsercodes.h"
#include "actions/core/dispatch.h"

class TBookStruct;

class TBookBrowserHost : public TBrowserHost {
public:
  explicit TBookBrowserHost(TBookStruct* book) : Book(book) {}
  bool IsBrowser(uint32_t target) override;
  void Run(uint32_t target, TBrowserOperation operation, const string& address) override;
  string ResolvePath(const string& name) override;

private:
  TBookStruct* Book;
};

void BrowserFamily(TActionRun& run);
