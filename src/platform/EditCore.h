// The core of the platform's edit controls: the text, the selection and what
// an edit control does with its messages, the clipboard ones included.
//
// The plain edit control ("EDIT", platform/Edit.h) is one core per window
// and nothing else. A control built on it (a rich edit) keeps a core of its
// own: its window procedure handles its own messages first, passes the rest
// to OnMessage, and changes the text only through SetText and ReplaceSel, so
// the selection rules and the clipboard behaviour live in one place.
//
// Positions are byte offsets into the 8-bit text. The selection runs from
// an anchor to the caret, either way round; its start is the lower of the
// two. Where the original differs: there is no undo, no text limit, no
// notification to the parent (EN_CHANGE), and nothing is drawn.
#pragma once

#include <string>
#include <string_view>

#include "platform/Windows.h"

namespace platform {

class EditCore {
public:
    // Handles WM_NCCREATE (the initial text), WM_SETTEXT, WM_GETTEXT,
    // WM_GETTEXTLENGTH, EM_GETSEL, EM_SETSEL, EM_REPLACESEL, EM_SETREADONLY,
    // WM_COPY, WM_CUT, WM_PASTE and WM_CLEAR, reading the control's style
    // (ES_READONLY, ES_MULTILINE) from hWnd; *pResult is the message's
    // result. False for every other message, which the caller passes on.
    bool OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    const std::string& Text() const { return text; }
    size_t SelStart() const { return anchor < caret ? anchor : caret; }
    size_t SelEnd() const { return anchor < caret ? caret : anchor; }

    // Replaces the whole text; the caret goes to its start.
    void SetText(std::string_view newText);
    // EM_SETSEL's rules: a negative start keeps only the caret, a negative
    // end means the end of the text, positions beyond the text are the end.
    void SetSel(long start, long end);
    // Replaces the selection; the caret goes after the new text.
    void ReplaceSel(std::string_view newText);

private:
    // The selection as CF_TEXT on the clipboard; false when it is empty or
    // the clipboard could not take it.
    bool CopySelection(HWND hWnd) const;
    // The clipboard's CF_TEXT, up to its first zero byte and never past its
    // block; a single-line control takes only the first line.
    void Paste(HWND hWnd);

    std::string text;
    size_t anchor = 0;
    size_t caret = 0;
};

}  // namespace platform
