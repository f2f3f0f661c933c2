// Resource numbers of the installer.
#pragma once

#define IDD_SETUP 101
#define IDI_SETUP 104
#define IDC_PLUGIN_RESULT 1002
#define IDC_CONTROL_RESULT 1003

#define IDS_PLUGIN_DONE 1
#define IDS_PLUGIN_FAILED 2
#define IDS_CONTROL_DONE 3
#define IDS_CONTROL_FAILED 4
