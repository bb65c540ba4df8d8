/* Resource ids: database and search. */
#pragma once
/* Keywords of the query language (the core's QX_KW_* ids). */
#define IDS_QUERY_UND           2091
#define IDS_QUERY_ODER          2092
#define IDS_QUERY_NICHT         2093
#define IDS_QUERY_SONST         2095
#define IDS_QUERY_FELD          2098
#define IDS_QUERY_SOLANGE       2105
#define IDS_QUERY_MACHE         2106
#define IDS_QUERY_WIEDERHOLE    2107
#define IDS_QUERY_BIS           2108
#define IDS_QUERY_WENN          2109
#define IDS_QUERY_DANN          2110
/* The search dialog. */
#define IDS_SEARCH_NOT_FOUND    1061
#define IDS_SEARCH_ODD_QUOTES   2008
#define IDS_SEARCH_BAD_QUERY    2009
#define IDS_SEARCH_HELP         2010
