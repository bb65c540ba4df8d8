// TFlashPlayer: object kind 21 "Shockwave-Flash", one Flash movie in a
// child window of the page, played by swfpane. The rules are
// objects/core/flashplay; this is the window they act on.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "engine/objectelement.h"
#include "objects/core/flashplay.h"

class TFlashPlayer : public TObjectElement, private TFlashHost {
public:
  // Without a record the object makes one with the defaults. The window is
  // made at once, hidden, with the movie window in it.
  TFlashPlayer(TObjectWindow* owner, const TObjectInfo& info, TData* data,
               std::unique_ptr<TFlashLibrary> library = nullptr);
  ~TFlashPlayer() override;

  HWND GetHandle() override { return Window; }
  void SetData(TData* data) override;
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void MediaControl(int command, uint32_t argument) override;
  uint32_t GetMediaLength() override;
  uint32_t GetMediaPosition() override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  void SpareOperation() override {}

  // The movie file is a sound file (nothing in the player asks).
  bool IsAudioFile() const;
  const TFlashPlayerData& Record() const;
  TFlashPlay& Play() { return *Movie; }

private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
  void CreateMovieWindow();

  TFlashLibrary::Window ObjectWindow() override { return reinterpret_cast<TFlashLibrary::Window>(Window); }
  TMediaRect ClientRect() override;
  TMediaRect ObjectRect() override;
  void SetObjectRect(const TMediaRect& r) override;

  HWND Window = nullptr;
  std::unique_ptr<TFlashLibrary> Library;
  std::unique_ptr<TFlashPlay> Movie;
  TFlashPlayerData Fallback;  // stands in when the record is of another class
};

// swfpane's exports as the object calls them.
std::unique_ptr<TFlashLibrary> MakeSwfpaneLibrary();
