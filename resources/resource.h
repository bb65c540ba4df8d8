/* Resource ids of tslplay32. Strings are grouped by the subsystem that
   shows them; each group lives in its own strings_*.rc file. */
#ifndef TSL_RESOURCE_H
#define TSL_RESOURCE_H

/* Foundation and engine */
#define IDS_PROGRAM_TITLE       1000
#define IDS_CANNOT_SAVE         1006
#define IDS_CANNOT_LOAD_FILE    1011
#define IDS_NO_TIMER            1014
#define IDS_CRT_FILTER          1017

#endif
