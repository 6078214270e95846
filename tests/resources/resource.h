// Ids of the test program's resource script (Test.rc).
#pragma once

#define IDR_MAINFRAME 128
#define IDR_TESTTYPE 129
#define IDR_DATA 130
#define IDB_COLOURS 131

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
