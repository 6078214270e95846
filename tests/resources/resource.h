// Ids of the test program's resource script (Test.rc).
#pragma once

#define IDR_MAINFRAME 128
#define IDR_TESTTYPE 129
#define IDR_DATA 130
#define IDR_BROKEN_ACCEL 131
#define IDR_CONSTANTS 132
#define IDD_ABOUTBOX 100
#define IDD_SETTINGS 101
#define IDC_NAME 1000
#define IDC_COUNT 1001
#define IDC_ENABLED 1002
#define IDC_CHOICE_A 1003
#define IDC_CHOICE_B 1004
#define IDC_KIND 1005
#define IDC_ITEMS 1006
#define IDB_COLOURS 133
#define IDR_NO_BITMAP 134
#define IDI_TEST 135
#define IDC_TEST_CURSOR 136
#define IDI_PNG 137
#define IDC_ABOUT_ICON 1007

#define IDS_GREETING 1
#define IDS_BLOCK_END 15
#define IDS_NEXT_BLOCK 16
#define IDS_ACCENTED 17
#define IDS_LONG 300
#define IDS_UTF8 301
#define IDS_HIGHEST 65535
#define IDS_SHARED 2000
#define IDS_PLUGIN_ONLY 2001

#define ID_TEST_ALPHA 32771
#define ID_TEST_BETA 32772
#define ID_TEST_GAMMA 32773
