// Ids of the test dialogs' script (DialogTest.rc), shared with the tests.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_ORDER 101
#define IDD_LARGE_FONT 102
#define IDD_NO_FONT 103

#define IDC_NAME_LABEL 1000
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_GIFT 1003
#define IDC_SMALL 1004
#define IDC_MEDIUM 1005
#define IDC_LARGE 1006
#define IDC_SIZE_GROUP 1007
#define IDC_COLOURS 1008
#define IDC_SHAPE 1009
#define IDC_CITY 1010
#define IDC_RATIO 1011
#define IDC_APPLY 1012
#define IDC_HIDDEN 1013
