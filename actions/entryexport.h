// The export action (code 56): the current database entry of the page saved
// as a one-record dBase table or an RTF table, by the extension chosen in
// the save dialog (actions/core/entryexport.h holds the writers).
#pragma once

class TBookStruct;

void ExportCurrentEntry(TBookStruct* book);
