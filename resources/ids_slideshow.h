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

/* The slide-show configuration dialog and its menu. */
#define IDD_DIACONFIG "DIASHOW_CONFIG"
#define IDM_DIACONFIG 500
#define IDS_DIACONFIG_CAPTION 2159
#define IDS_DIACONFIG_PICTURE_FILTER 114
#define IDS_DIACONFIG_SAVE_FAILED 2220
/* Transition names: 15300 no transition, then the 23 effects. */
#define IDS_TRANSITION_FIRST 15300
/* Photo CD load options: resolutions 1510-1515, colour depths 1500-1503. */
#define IDS_PCD_RESOLUTION_FIRST 1510
#define IDS_PCD_DEPTH_FIRST 1500
/* Caption alignments: "links", "zentriert", "rechts". */
#define IDS_ALIGN_FIRST 2136

/* The background dialog. */
#define IDD_BKGND 9100
#define IDS_BKGND_COLOURS 9110
#define IDS_BKGND_START_COLOUR 9111
#define IDS_BKGND_PATTERN_FIRST 9200
#define IDS_BKGND_KIND_FIRST 9300

/* The icon dialog. */
#define IDD_CHANGEICON 5955
#define IDS_ICON_FILTER 5975
#define IDS_ICON_NONE 5976

/* Child templates of the media file-open dialog. */
#define IDD_MEDIAOPEN_PICTURES 1510
#define IDD_MEDIAOPEN_TEXT 1520
