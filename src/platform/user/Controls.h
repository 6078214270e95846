// The predefined control classes a dialog's template names: "Button",
// "Static", "ListBox" and "ComboBox" ("Edit" is EditCore.h's), their
// styles, messages and notifications, and owner drawing.
//
// Each control paints itself with its parent's WM_CTLCOLOR* brush (the
// system colours when the answer is null), draws its text in the font
// WM_SETFONT gave it (WM_GETFONT answers it; null: the system font; list
// rows are as high as its lines) and reports to its parent with
// WM_COMMAND (wParam: the id and the notification code, lParam: the
// control):
//   - Button: push and default push buttons (a frame twice as thick), check
//     boxes (BS_CHECKBOX, BS_AUTOCHECKBOX, BS_3STATE, BS_AUTO3STATE), radio
//     buttons (BS_RADIOBUTTON, BS_AUTORADIOBUTTON: a click checks it and
//     clears the others of its WS_GROUP group) and group boxes. A click, the
//     Space key or BM_CLICK sends BN_CLICKED; automatic kinds change their
//     check first. BS_OWNERDRAW sends WM_DRAWITEM to the parent instead of
//     painting.
//   - Static: text (SS_LEFT, SS_CENTER, SS_RIGHT, SS_SIMPLE,
//     SS_LEFTNOWORDWRAP; "&" marks the mnemonic unless SS_NOPREFIX), the
//     rectangles and frames (SS_BLACKRECT ... SS_WHITEFRAME, SS_ETCHEDHORZ,
//     ...), and SS_ICON: the icon its text names (a resource name, "#n"
//     for an id, as a dialog template's ordinal title gives it), loaded
//     from the creating module (the program's when none is given) or the
//     standard ones; the static takes the icon's size. STM_SETICON and
//     STM_GETICON set and give it (the static does not free it).
//   - ListBox: a list of strings (sorted, case-insensitively, with
//     LBS_SORT), one selected; a click or the arrow keys select and send
//     LBN_SELCHANGE with LBS_NOTIFY, a double click LBN_DBLCLK.
//   - ComboBox: the same list under an edit field (CBS_DROPDOWN, an "Edit"
//     child with id 1001 whose changes send CBN_EDITCHANGE) or under a
//     field showing the selection (CBS_DROPDOWNLIST). Up and Down select the
//     previous or next item; a click on the field, F4 or Alt+Down opens the
//     list below it, where a click selects; either sends CBN_SELCHANGE. The
//     control keeps the height of its field; the template's height is the
//     open list's.
// Where the original differs: there is no keyboard underline for mnemonics,
// no focus rectangle, no scroll bar in lists (the list scrolls to keep the
// selection in view), no multiple selection and no owner-drawn lists.
#pragma once

#include "platform/user/Windows.h"

#define WM_DRAWITEM 0x002B

// Owner-drawn control types, actions and states.
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODA_DRAWENTIRE 0x0001u
#define ODA_SELECT 0x0002u
#define ODA_FOCUS 0x0004u
#define ODS_SELECTED 0x0001u
#define ODS_GRAYED 0x0002u
#define ODS_DISABLED 0x0004u
#define ODS_CHECKED 0x0008u
#define ODS_FOCUS 0x0010u

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

// ---- Buttons -----------------------------------------------------------------------
#define BS_PUSHBUTTON 0x00000000u
#define BS_DEFPUSHBUTTON 0x00000001u
#define BS_CHECKBOX 0x00000002u
#define BS_AUTOCHECKBOX 0x00000003u
#define BS_RADIOBUTTON 0x00000004u
#define BS_3STATE 0x00000005u
#define BS_AUTO3STATE 0x00000006u
#define BS_GROUPBOX 0x00000007u
#define BS_AUTORADIOBUTTON 0x00000009u
#define BS_OWNERDRAW 0x0000000Bu
#define BS_TYPEMASK 0x0000000Fu
#define BS_LEFTTEXT 0x00000020u

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
// wParam: the new BS_ type; lParam: repaint.
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5

#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5

// ---- Statics -----------------------------------------------------------------------
#define SS_LEFT 0x00000000u
#define SS_CENTER 0x00000001u
#define SS_RIGHT 0x00000002u
#define SS_ICON 0x00000003u
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define SS_BLACKRECT 0x00000004u
#define SS_GRAYRECT 0x00000005u
#define SS_WHITERECT 0x00000006u
#define SS_BLACKFRAME 0x00000007u
#define SS_GRAYFRAME 0x00000008u
#define SS_WHITEFRAME 0x00000009u
#define SS_SIMPLE 0x0000000Bu
#define SS_LEFTNOWORDWRAP 0x0000000Cu
#define SS_ETCHEDHORZ 0x00000010u
#define SS_ETCHEDVERT 0x00000011u
#define SS_ETCHEDFRAME 0x00000012u
#define SS_TYPEMASK 0x0000001Fu
#define SS_NOPREFIX 0x00000080u
#define SS_NOTIFY 0x00000100u
#define SS_SUNKEN 0x00001000u

// ---- Edit notifications ------------------------------------------------------------
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300

// ---- List boxes --------------------------------------------------------------------
#define LBS_NOTIFY 0x0001u
#define LBS_SORT 0x0002u
#define LBS_NOINTEGRALHEIGHT 0x0100u
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETCURSEL 0x0186
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_SELECTSTRING 0x018C
#define LB_GETTOPINDEX 0x018E
#define LB_FINDSTRING 0x018F
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_FINDSTRINGEXACT 0x01A2
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)

#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2

// ---- Combo boxes -------------------------------------------------------------------
#define CBS_SIMPLE 0x0001u
#define CBS_DROPDOWN 0x0002u
#define CBS_DROPDOWNLIST 0x0003u
#define CBS_AUTOHSCROLL 0x0040u
#define CBS_SORT 0x0100u

#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)

#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8

// Tells the control's parent: WM_COMMAND with the control's id and the code.
PLATFORM_API void PlatformNotifyParent(HWND hCtl, UINT nCode);
