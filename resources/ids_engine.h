/* Resource ids: presentation engine. */
#pragma once
#define IDS_PAGE_CAPTION        1032
/* Display names of the object kinds. */
#define IDS_KIND_TEXT           1021
#define IDS_KIND_PICTURE        1022
#define IDS_KIND_VIDEO          1023
#define IDS_KIND_SOUND          1024
#define IDS_KIND_ANIMATION      1025
#define IDS_KIND_CDAUDIO        1026
#define IDS_KIND_BUTTON         1027
#define IDS_KIND_MCIBAR         1028
#define IDS_KIND_DOCUMENT       1029
#define IDS_KIND_LIST           1030
#define IDS_KIND_ABP            1031
#define IDS_KIND_COMBO          1062
#define IDS_KIND_TREE           1063
#define IDS_KIND_SLIDEOVERVIEW  1064
#define IDS_KIND_QUICKSEARCH    1065
#define IDS_KIND_RTF            1066
#define IDS_KIND_SLIDES         1067
#define IDS_KIND_DIRECTSHOW     1068
#define IDS_KIND_HTML           1069
#define IDS_KIND_HELPREGISTER   1070
#define IDS_KIND_FLASH          1071
/* Editing the page's objects. */
#define IDS_DELETE_OBJECT       1002
#define IDS_NOTHING_SELECTED    1012
#define IDS_DELETE_OBJECTS      1013
/* Saving the project. */
#define IDS_RUNTIME_CREATED     1052
#define IDS_SAVE_RUNTIME_FAILED 2121
#define IDS_SAVE_PROJECT_FAILED 2122
#define IDS_BACKUP_FAILED       2123
/* Opening the project. */
#define IDS_NEWER_VERSION       2354
/* Fill patterns of page backgrounds (8 x 8 bitmaps, pattern 0-11). */
#define IDB_PATTERN_FIRST       9000
#define IDB_PATTERN0            9000
#define IDB_PATTERN1            9001
#define IDB_PATTERN2            9002
#define IDB_PATTERN3            9003
#define IDB_PATTERN4            9004
#define IDB_PATTERN5            9005
#define IDB_PATTERN6            9006
#define IDB_PATTERN7            9007
#define IDB_PATTERN8            9008
#define IDB_PATTERN9            9009
#define IDB_PATTERN10           9010
#define IDB_PATTERN11           9011
/* The program's own cursor: button cursor choice 6 and the move handle of a
   selection frame. */
#define IDC_PROGRAM_CURSOR      100
