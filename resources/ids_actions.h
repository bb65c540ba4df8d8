/* Resource ids: actions, installation and printing. */
#pragma once
#define IDS_COPYFILE_PROMPT 117       /* "Datei %s kopieren nach:" */
#define IDS_COPYFOLDER_PROMPT 118     /* "Verzeichnis %s kopieren nach:" */
#define IDS_UNPACK_CANCELLED 2140
#define IDS_UNPACK_DONE 2141
#define IDS_UNPACK_PROGRESS 2142
#define IDS_UNPACK_PROMPT 2144
#define IDS_UNPACK_FAILED 2145
#define IDS_UNPACK_START_FILE 2146
#define IDS_UNPACK_BAD_METHOD 2152
#define IDS_CONDITION_INSTALLER_FILTER 120  /* "Ausführbare Dateien |*.exe;*.com|" */
#define IDS_CONDITION_DELETE 1057           /* "Soll ich diesen Eintrag wirklich löschen?" */
#define IDS_NOT_IMPLEMENTED 2190
#define IDS_SAVE_PROJECT_FIRST 1007
#define IDS_NO_DOCUMENT_PROGRAM 2012
#define IDS_INSTALL_NAMED 2013
#define IDS_INSTALL_NAMED_END 2014
#define IDS_INSTALL_UNNAMED 2015
