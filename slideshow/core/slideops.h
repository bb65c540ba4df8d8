// What the slide window does for the project's actions: it gathers list
// entries into its slide show, empties it, copies the selected picture files
// into a chosen folder, plays the show, and hands out the entry at the
// caret. The decisions are portable; the list box, the dialogs, the file
// system and the show window come through TSlideListHost.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "slideshow/core/diaoption.h"

// The longest path the copy handles (MAX_PATH).
constexpr size_t kSlidePathLimit = 260;
// Where copies go when neither the run nor the action says.
constexpr const char* kSlideCopyDefault = "C:\\TSL_Out\\Dias\\";

// Message texts of the slide window (string table).
constexpr int kSlideTextNothingSelected = 2367;  // "Es wurde noch kein Eintrag ausgewählt."
constexpr int kSlideTextCopied = 2011;           // "Der Kopiervorgang wurde erfolgreich durchgeführt."
constexpr int kSlideTextCopyFailed = 1004;       // "Kopiervorgang gescheitert!"
constexpr int kSlideTextShowEmpty = 2154;        // "Es wurden noch keine Bilder in die Diashow eingefügt!"

// A decoded picture, whatever the host makes of it.
class TSlidePicture {
public:
  virtual ~TSlidePicture() = default;
};

class TSlideListHost {
public:
  virtual ~TSlideListHost() = default;
  virtual TDiaOption& Show() = 0;
  virtual int EntryCount() = 0;
  // The whole text of an entry, however long; empty for an index outside.
  virtual string EntryText(int index) = 0;
  virtual std::vector<int> SelectedIndexes() = 0;
  // Negative without an entry.
  virtual int CaretIndex() = 0;
  // Selects or clears every entry.
  virtual void SelectAll(bool select) = 0;
  // An information box with the string `textId`.
  virtual void Message(int textId) = 0;
  // The folder chooser starting at `folder`; false when cancelled.
  virtual bool ChooseFolder(string& folder) = 0;
  // Every missing folder up to the last backslash; false when one cannot
  // be made.
  virtual bool CreateDirectoryPath(const string& path) = 0;
  // Copies over an existing target (equal names, ignoring case, count as
  // copied) and leaves the copy writable.
  virtual bool CopyFileOver(const string& source, const string& target) = 0;
  // The show window, modally, on Show().
  virtual void RunShowWindow() = 0;
  // Under the wait cursor; null when the file holds no picture.
  virtual std::unique_ptr<TSlidePicture> LoadPicture(const string& path, uint16_t pcdResolution,
                                                     uint16_t pcdColourDepth) = 0;
};

// The copy folder kept for the run, shared by every slide window (empty at
// start).
string& SlideCopyFolder();

// Code 47: the selected entries not yet in the show, lower-cased, in
// selection order.
void AddSelectedEntries(TSlideListHost& host);
// Code 48: every entry, then every entry selected.
void AddAllEntries(TSlideListHost& host);
// Code 49: the show emptied, the selection cleared.
void RemoveAllPictures(TSlideListHost& host);
// Code 50: copies the selected files into a chosen folder, preset with the
// run's folder, else `defaultFolder`, else kSlideCopyDefault.
void CopySelectedFiles(TSlideListHost& host, const string& defaultFolder);
// Code 52: the show window, or message 2154 for an empty show.
void RunShow(TSlideListHost& host);
// The picture and text of the entry at the caret: nothing without a caret
// or without any entry selected.
std::unique_ptr<TSlidePicture> LoadCaretPicture(TSlideListHost& host);
bool GetCaretEntryText(TSlideListHost& host, string& text);
