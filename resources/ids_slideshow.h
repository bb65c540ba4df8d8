/* Resource ids: slide show. */
#pragma once

/* The picture viewer (TPicDlg). */
#define IDD_PICDLG 1300

/* The full-screen slide show. */
#define IDD_DIASHOW "DIASHOW_DIALOG"

/* Strings of the slide show and the slide window. */
#define IDS_SLIDE_COPY_FAILED 1004
#define IDS_SLIDE_COPIED 2011
#define IDS_SLIDE_SHOW_EMPTY 2154
#define IDS_SLIDE_SELECT_FIRST 2156
#define IDS_SLIDE_DEFAULT_HEADER 2157
#define IDS_SLIDE_DEFAULT_FOOTER 2158
#define IDS_SLIDE_NOTHING_SELECTED 2367
