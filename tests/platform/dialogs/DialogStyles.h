/* The style values the test script uses, as the platform's headers define
   them; the script is preprocessed on its own, without those headers. */
#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_VISIBLE 0x10000000
#define WS_DISABLED 0x08000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_SYSMENU 0x00080000
#define WS_VSCROLL 0x00200000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000
#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define DS_FIXEDSYS 0x0008
#define DS_CENTER 0x0800
#define SS_NOPREFIX 0x80
#define ES_AUTOHSCROLL 0x80
#define BS_AUTOCHECKBOX 0x3
#define BS_AUTORADIOBUTTON 0x9
#define LBS_NOTIFY 0x1
#define LBS_SORT 0x2
#define CBS_DROPDOWN 0x2
#define CBS_DROPDOWNLIST 0x3
#define CBS_SORT 0x100
#define IDOK 1
#define IDCANCEL 2
#define IDC_STATIC (-1)
