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
