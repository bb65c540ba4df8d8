// TDXShowObject: object kind 17 "DirectShow", one media file played in a
// child window of the page by mvpane (QuickTime files), dspane (when the
// record asks for it) or mppane. The rules are objects/core/dxshowplay;
// this is the window they act on.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "engine/objectelement.h"
#include "objects/core/dxshowplay.h"

class TDXShowObject : public TObjectElement, private TDXShowHost {
public:
  // Without a record the object makes one with the defaults. The window is
  // made at once, hidden, and the media loaded into it.
  TDXShowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data,
                std::unique_ptr<TMediaLibraries> libraries = nullptr);
  ~TDXShowObject() override;

  HWND GetHandle() override { return Window; }
  void SetData(TData* data) override;
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void Paint(TPaintInfo& paint) override;
  void MediaControl(int command, uint32_t argument) override;
  uint32_t GetMediaLength() override;
  uint32_t GetMediaPosition() override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  void SpareOperation() override {}

  // The record's file is a sound file: the page treats the object like a
  // sound object.
  bool IsAudioFile() const;
  const TDXShowData& Record() const;
  TDXShowPlayer& Player() { return *Play; }

private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
  void LoadMedia();
  bool KeepsFrame() const;

  TMediaLibraries::Window ObjectWindow() override { return reinterpret_cast<TMediaLibraries::Window>(Window); }
  TMediaRect ClientRect() override;
  TMediaRect ObjectRect() override;
  void SetObjectRect(const TMediaRect& r) override;
  void SizeWindow(int32_t width, int32_t height) override;

  HWND Window = nullptr;
  std::unique_ptr<TMediaLibraries> Libraries;
  std::unique_ptr<TDXShowPlayer> Play;
  TDXShowData Fallback;  // stands in when the record is of another class
};

// The libraries' exports as the object calls them.
std::unique_ptr<TMediaLibraries> MakePaneLibraries();
