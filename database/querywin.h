// The player's hooks for the query language and dBase tables: keywords from
// the program's string table, table files through the Win32 file layer
// (project paths are Windows paths). Installed once before the first query
// or table is made (the search dialog and the database export do).
#pragma once

void InstallQueryKeywordsFromResources();
void UseWin32DBaseFiles();
