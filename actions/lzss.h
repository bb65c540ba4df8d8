// TLZSS: the LZSS coder over the player's files. The installer opens
// "SETUP.DAT" with OpenInput and each target with OpenOutput, then calls
// Decode with the object's own streams; the file dates go through the
// files' handles.
#pragma once
#include <memory>

#include "actions/core/lzss.h"
#include "platform/owl/file.h"

class TLZSS : public TLzssCore {
public:
  explicit TLZSS(int progressOn = 0) : TLzssCore(progressOn) {}
  // Closes a previously opened input and opens `name` for reading; seeks to
  // the absolute `offset` unless it is -1. False for a null name or a file
  // that does not open (or a failed seek).
  bool OpenInput(const char* name, long offset = -1);
  // The same for the output, created or truncated, read and write.
  bool OpenOutput(const char* name, long offset = -1);
  TFile* Input() { return input_.get(); }
  TFile* Output() { return output_.get(); }
  void CloseOutput() { output_.reset(); }

protected:
  bool InputDateTime(tsl::ByteStream& in, TDosDateTime& dt) override;
  void SetOutputDateTime(tsl::ByteStream& out, const TDosDateTime& dt) override;

private:
  std::unique_ptr<TFile> input_;
  std::unique_ptr<TFile> output_;
};
