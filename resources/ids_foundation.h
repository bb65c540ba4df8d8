/* Resource ids: runtime foundation. */
#pragma once
#define IDS_PROGRAM_TITLE       1000
#define IDS_CANNOT_SAVE         1006
#define IDS_CANNOT_LOAD_FILE    1011
#define IDS_NO_TIMER            1014
#define IDS_CRT_FILTER          1017
#define IDS_UNTITLED            1018
/* Common dialogs: the folder browser's prompt and the target-folder
   dialog templates ("IDDLG_TARGET_PATH" is a named template). */
#define IDS_SELECT_FOLDER       1950
#define IDD_DIRECTORY           1536
