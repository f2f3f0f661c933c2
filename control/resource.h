// The module's resource ids for ZEL.rc: windres reads no C++, so the numbers
// of guids.h are repeated here; a test reads each resource back by the ids
// of guids.h.
#pragma once

#define IDS_ZEL 1
#define IDS_ZEL_PPG 2
#define IDS_ZEL_PPG_CAPTION 100

#define IDD_ABOUTBOX_ZEL 1
#define IDD_PROPPAGE_ZEL 100

#define IDB_ZEL 1
#define IDI_ABOUTDLL 1

#define IDR_TYPELIB 1
