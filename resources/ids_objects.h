/* Resource ids: page object kinds. */
#pragma once
/* Button. */
#define IDS_BUTTON_CAPTION      1038
/* MCI media objects' symbols and the MCI control bar's button images. */
#define IDB_MCI_WAVE            35
#define IDB_MCI_MIDI            36
#define IDB_MCI_CD              37
#define IDB_MCIBAR_SMALL        41
#define IDB_MCIBAR_LARGE        42
/* RTF documents. */
#define IDS_RICHEDIT_MISSING    2160
#define IDS_TEXT_NOT_FOUND      2161
#define IDS_DOC_HISTORY_START   2163
#define IDS_DOC_HISTORY_END     2164
