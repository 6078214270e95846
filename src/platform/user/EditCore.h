// The edit control: the window class "EDIT" and the core it shares with the
// other edit controls.
//
// An "EDIT" window keeps its text and selection and does what the
// original's edit control does with the clipboard messages: WM_COPY puts the
// selection on the clipboard as CF_TEXT (nothing happens for an empty
// selection), WM_CUT does the same and then deletes the selection, WM_PASTE
// replaces the selection with the clipboard's CF_TEXT (only its first line
// in a control without ES_MULTILINE), WM_CLEAR deletes the selection. With
// ES_READONLY, WM_CUT, WM_PASTE and WM_CLEAR change nothing; WM_SETTEXT and
// EM_REPLACESEL still do. WM_SETTEXT puts the caret at the start of the new
// text. The window's procedure holds the control's state, so a window made
// with CreateWindowExA("EDIT", ...) and a CEdit (platform/mfc/Edit.h, whose
// object passes the messages it does not handle to that procedure) behave
// the same.
//
// The core is one per "EDIT" window and nothing else. A control built on it
// (a rich edit) keeps a core of its own: its window procedure handles its
// own messages first, passes the rest to OnMessage, and changes the text
// only through SetText and ReplaceSel, so the selection rules and the
// clipboard behaviour live in one place.
//
// Typing and the mouse (EditInput.cpp): WM_CHAR inserts a printable
// character, a tab, or with ES_MULTILINE a line end ("\r\n" for Return),
// over the selection; Backspace and Delete remove the selection or one
// character; Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+A copy, cut, paste and select
// everything. Left, Right, Home, End, Up and Down move the caret (Up and
// Down by lines, keeping the column in characters), with Shift the
// selection's end; a click puts the caret where it lands (with Shift moves
// the selection's end there) and a drag with the left button selects.
// Read-only controls take no text but move and select.
//
// Painting: the control fills its client area with the brush its parent
// answers to WM_CTLCOLOREDIT, draws its lines in its font (WM_SETFONT's,
// the system font without one; 1 pixel from the top, 2 from the left, a
// line every tmHeight pixels, nothing scrolled) in the text colour, the
// selection in the highlight colours while it has the focus, and the caret
// as a one-pixel bar while it has the focus. A change of text, selection,
// font or focus repaints it.
//
// Positions are byte offsets into the 8-bit text. The selection runs from
// an anchor to the caret, either way round; its start is the lower of the
// two. Where the original differs: there is no undo, no text limit, no
// notification but EN_CHANGE, no scrolling and no blinking
// caret.
#pragma once

#include <string>
#include <string_view>

#include "platform/gdi/DeviceContext.h"
#include "platform/user/Input.h"
#include "platform/user/Windows.h"

#define ES_LEFT 0x0000u
#define ES_MULTILINE 0x0004u
#define ES_AUTOHSCROLL 0x0080u
#define ES_READONLY 0x0800u
#define ES_WANTRETURN 0x1000u

// wParam and lParam: DWORD* receiving the start and the end (either may be
// null). The result holds both in its low and high words, or -1 when
// either passes 65535.
#define EM_GETSEL 0x00B0
// wParam: start, lParam: end (see EditCore::SetSel).
#define EM_SETSEL 0x00B1
// wParam: can undo (ignored), lParam: the new text.
#define EM_REPLACESEL 0x00C2
// wParam: TRUE sets ES_READONLY, FALSE clears it; the result is TRUE.
#define EM_SETREADONLY 0x00CF

namespace platform {

class EditCore {
public:
    // Handles WM_NCCREATE (the initial text), WM_SETFONT, WM_GETFONT,
    // WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, EM_GETSEL, EM_SETSEL, EM_REPLACESEL, EM_SETREADONLY,
    // WM_COPY, WM_CUT, WM_PASTE and WM_CLEAR, reading the control's style
    // (ES_READONLY, ES_MULTILINE) from hWnd; *pResult is the message's
    // result. False for every other message, which the caller passes on.
    bool OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    const std::string& Text() const { return m_text; }
    size_t SelStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    size_t SelEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }

    // WM_GETDLGCODE's answer; pMsg is the key message being asked about, if
    // any.
    LRESULT DialogCode(HWND hWnd, const MSG* pMsg) const;
    // True once after the text changed (the "EDIT" class then sends
    // EN_CHANGE to its parent).
    bool TakeChanged();
    // Replaces the whole text; the caret goes to its start.
    void SetText(std::string_view newText);
    // EM_SETSEL's rules: a negative start keeps only the caret, a negative
    // end means the end of the text, positions beyond the text are the end.
    void SetSel(long start, long end);
    // Replaces the selection; the caret goes after the new text.
    void ReplaceSel(std::string_view newText);

    // The position nearest to a point in client coordinates, and the point
    // (top-left of the line) where a position is drawn, measured in the
    // font selected into hDC.
    size_t PositionFromPoint(HDC hDC, POINT point) const;
    POINT PointFromPosition(HDC hDC, size_t position) const;

private:
    // Typing, the mouse and painting (EditInput.cpp): true when handled.
    bool OnInput(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnKeyDown(HWND hWnd, UINT vk);
    void OnChar(HWND hWnd, char ch);
    void Paint(HWND hWnd);
    // Moves the caret, taking the anchor along unless extending.
    void MoveCaret(size_t position, bool extend);

    // The selection as CF_TEXT on the clipboard; false when it is empty or
    // the clipboard could not take it.
    bool CopySelection(HWND hWnd) const;
    // The clipboard's CF_TEXT, up to its first zero byte and never past its
    // block; a single-line control takes only the first line.
    void Paste(HWND hWnd);

    std::string m_text;
    bool m_changed = false;
    size_t m_anchor = 0;
    size_t m_caret = 0;
};

}  // namespace platform
