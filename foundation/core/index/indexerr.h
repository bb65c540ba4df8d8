// The index error stream: one process-wide in-memory text into which the
// block pool, the B-trees and the index-file store write their "#ERR> "
// lines. Nothing in the player reads it back; tests and diagnostics may.
// Portable: no Windows headers.
#pragma once
#include <ostream>
#include <string>

namespace tsl {

std::ostream& IndexErrorStream();

// Writes one line made of the pieces. The stream keeps only its most recent
// text, so a long run of failures cannot eat the memory.
void TrimIndexErrorStream();
template <class... P>
void IndexError(const P&... pieces) {
  std::ostream& s = IndexErrorStream();
  (s << ... << pieces);
  s << '\n';
  TrimIndexErrorStream();
}

// The text written so far, and emptying it (tests, diagnostics).
std::string IndexErrorText();
void ClearIndexErrorStream();

}  // namespace tsl
