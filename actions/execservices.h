// The action executor's services: starting a program (and waiting for it),
// files on the clipboard for the shell, the project's info text, and the
// window that stands for the presentation (the desk frame when the project
// has one, else the main window). Main thread only. Splitting a command
// text is in actions/core/execservices.h; ending the presentation and
// IsPresentationWindow are in actions/presentation.h.
#pragma once
#include "platform/owl/defs.h"

#include "actions/core/execservices.h"
#include "actions/presentation.h"

class TBookStruct;
class TWindow;

// Starts the program (arguments: null for none) maximised, in its own
// folder; with `wait` blocks until it has ended. False when there is no
// program, it does not start, or the wait fails.
bool RunProgramAndWait(const char* program, const char* arguments, bool wait, bool separateVdm);
// Puts the file or folder on the clipboard as the shell's data object, to
// be pasted in the shell. True once the data object was made.
bool PutFileOnClipboard(const char* path);
// The project info record's notice in an information box on the page
// window, captioned with the window title.
void ShowInfoBox(TBookStruct* book);
TWindow* GetPresentationWindow(TBookStruct* book);
bool IsPresentationWindowActive(TBookStruct* book);
