/* Resource ids: presentation engine. */
#pragma once
#define IDS_PAGE_CAPTION        1032
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
