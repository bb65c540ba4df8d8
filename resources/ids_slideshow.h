/* Resource ids: slide show. */
#pragma once

/* The picture viewer (TPicDlg). */
#define IDD_PICDLG 1300
