// The edit control's typing, mouse and painting (EditCore.h says what each
// does).
//
// Sections: positions; keys; the mouse and focus; painting.
#include <algorithm>

#include "platform/gdi/TextMetrics.h"
#include "platform/user/ControlPaint.h"
#include "platform/user/EditCore.h"
#include "platform/user/Painting.h"

namespace platform {

namespace {

constexpr int kLeft = 2;
constexpr int kTop = 1;

DWORD styleOf(HWND hWnd) { return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)); }

bool keyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// The line holding the position: its start and its end (before "\r\n").
struct Line {
    size_t start;
    size_t end;
};

Line lineAt(const std::string& text, size_t position) {
    size_t start = position == 0 ? 0 : text.rfind('\n', position - 1);
    start = start == std::string::npos || position == 0 ? 0 : start + 1;
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    return Line{start, end};
}

int WidthOf(HDC hDC, const std::string& text, size_t start, size_t end) {
    SIZE size{};
    GetTextExtentPoint32A(hDC, text.c_str() + start, static_cast<int>(end - start), &size);
    return size.cx;
}

}  // namespace

// ---- Positions ----------------------------------------------------------------------------

POINT EditCore::PointFromPosition(HDC hDC, size_t position) const {
    position = std::min(position, m_text.size());
    Line line = lineAt(m_text, position);
    auto row = std::count(m_text.begin(), m_text.begin() + static_cast<std::ptrdiff_t>(line.start), '\n');
    size_t column = std::min(position, line.end);
    return POINT{kLeft + WidthOf(hDC, m_text, line.start, column),
                 kTop + static_cast<LONG>(row) * user::LineHeight(hDC)};
}

size_t EditCore::PositionFromPoint(HDC hDC, POINT point) const {
    long row = std::max<long>(0, (point.y - kTop) / user::LineHeight(hDC));
    size_t start = 0;
    for (; row > 0; --row) {
        size_t next = m_text.find('\n', start);
        if (next == std::string::npos) break;
        start = next + 1;
    }
    Line line = lineAt(m_text, start);
    // The character boundary nearest to the point.
    size_t best = line.start;
    int bestDistance = std::abs(point.x - kLeft);
    for (size_t at = line.start + 1; at <= line.end; ++at) {
        int distance = std::abs(point.x - kLeft - WidthOf(hDC, m_text, line.start, at));
        if (distance >= bestDistance) break;
        best = at;
        bestDistance = distance;
    }
    return best;
}

void EditCore::MoveCaret(size_t position, bool extend) {
    m_caret = std::min(position, m_text.size());
    if (!extend) m_anchor = m_caret;
}

// ---- Keys ------------------------------------------------------------------------------------

void EditCore::OnKeyDown(HWND hWnd, UINT vk) {
    bool shift = keyDown(VK_SHIFT);
    bool collapse = !shift && m_anchor != m_caret;
    Line line = lineAt(m_text, m_caret);
    switch (vk) {
    case VK_LEFT:
        MoveCaret(collapse ? SelStart() : m_caret - (m_caret > 0), shift);
        if (m_caret > 0 && m_text[m_caret - 1] == '\r' && m_caret < m_text.size() && m_text[m_caret] == '\n')
            MoveCaret(m_caret - 1, shift);
        break;
    case VK_RIGHT: {
        size_t step = m_caret < m_text.size() && m_text.compare(m_caret, 2, "\r\n") == 0 ? 2 : m_caret < m_text.size();
        MoveCaret(collapse ? SelEnd() : m_caret + step, shift);
        break;
    }
    case VK_HOME: MoveCaret(line.start, shift); break;
    case VK_END: MoveCaret(line.end, shift); break;
    case VK_UP:
    case VK_DOWN: {
        size_t column = m_caret - line.start;
        size_t target = m_caret;
        if (vk == VK_UP && line.start > 0) {
            Line above = lineAt(m_text, line.start - 1);
            target = std::min(above.start + column, above.end);
        } else if (vk == VK_DOWN) {
            size_t next = m_text.find('\n', line.start);
            if (next != std::string::npos) {
                Line below = lineAt(m_text, next + 1);
                target = std::min(below.start + column, below.end);
            }
        }
        MoveCaret(target, shift);
        break;
    }
    case VK_DELETE:
        if (styleOf(hWnd) & ES_READONLY) return;
        if (m_anchor == m_caret && m_caret < m_text.size()) m_caret += m_text.compare(m_caret, 2, "\r\n") == 0 ? 2 : 1;
        ReplaceSel({});
        break;
    default: return;
    }
    InvalidateRect(hWnd, nullptr, TRUE);
}

void EditCore::OnChar(HWND hWnd, char ch) {
    switch (ch) {
    case 0x01: SetSel(0, -1); break;                    // Ctrl+A
    case 0x03: SendMessageA(hWnd, WM_COPY, 0, 0); return;  // Ctrl+C
    case 0x16: SendMessageA(hWnd, WM_PASTE, 0, 0); return;  // Ctrl+V
    case 0x18: SendMessageA(hWnd, WM_CUT, 0, 0); return;    // Ctrl+X
    default: {
        if (styleOf(hWnd) & ES_READONLY) return;
        if (ch == '\b') {
            if (m_anchor == m_caret && m_caret > 0)
                m_anchor = m_caret - (m_caret >= 2 && m_text.compare(m_caret - 2, 2, "\r\n") == 0 ? 2 : 1);
            ReplaceSel({});
        } else if (ch == '\r') {
            if (!(styleOf(hWnd) & ES_MULTILINE)) return;
            ReplaceSel("\r\n");
        } else if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t') {
            ReplaceSel(std::string_view(&ch, 1));
        } else {
            return;
        }
    }
    }
    InvalidateRect(hWnd, nullptr, TRUE);
}

// ---- The mouse, focus and painting -------------------------------------------------------------

bool EditCore::OnInput(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_KEYDOWN: OnKeyDown(hWnd, static_cast<UINT>(wParam)); return true;
    case WM_CHAR: OnChar(hWnd, static_cast<char>(wParam)); return true;
    case WM_LBUTTONDOWN:
        SetFocus(hWnd);
        MoveCaret(PositionFromPoint(user::MeasureDC(hWnd), point), (wParam & MK_SHIFT) != 0);
        SetCapture(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        return true;
    case WM_MOUSEMOVE:
        if ((wParam & MK_LBUTTON) && GetCapture() == hWnd) {
            MoveCaret(PositionFromPoint(user::MeasureDC(hWnd), point), true);
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        return true;
    case WM_LBUTTONUP:
        if (GetCapture() == hWnd) ReleaseCapture();
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hWnd, nullptr, TRUE); return true;
    case WM_PAINT: Paint(hWnd); return true;
    default: return false;
    }
}

void EditCore::Paint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    if (!hDC) return;
    RECT client;
    GetClientRect(hWnd, &client);
    auto hBrush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hWnd), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hWnd)));
    if (!hBrush) hBrush = reinterpret_cast<HBRUSH>(PlatformDefaultCtlColor(hDC, COLOR_WINDOW));
    FillRect(hDC, &client, hBrush);
    user::SelectControlFont(hWnd, hDC);
    int lineHeight = user::LineHeight(hDC);
    bool focused = GetFocus() == hWnd;
    COLORREF textColor = GetTextColor(hDC);
    SetBkMode(hDC, TRANSPARENT);
    size_t selStart = focused ? SelStart() : 0, selEnd = focused ? SelEnd() : 0;
    for (size_t start = 0;;) {
        Line line = lineAt(m_text, start);
        POINT at = PointFromPosition(hDC, line.start);
        // The line in up to three runs: before, inside and after the selection.
        size_t cuts[4] = {line.start, std::clamp(selStart, line.start, line.end),
                          std::clamp(selEnd, line.start, line.end), line.end};
        for (int run = 0; run < 3; ++run) {
            if (cuts[run + 1] <= cuts[run]) continue;
            int x = at.x + WidthOf(hDC, m_text, line.start, cuts[run]);
            bool selected = run == 1;
            if (selected) {
                RECT band{x, at.y, at.x + WidthOf(hDC, m_text, line.start, cuts[2]), at.y + lineHeight};
                PlatformFillColor(hDC, &band, GetSysColor(COLOR_HIGHLIGHT));
            }
            SetTextColor(hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
            TextOutA(hDC, x, at.y, m_text.c_str() + cuts[run], static_cast<int>(cuts[run + 1] - cuts[run]));
        }
        size_t next = m_text.find('\n', line.start);
        if (next == std::string::npos) break;
        start = next + 1;
    }
    if (focused) {
        POINT at = PointFromPosition(hDC, m_caret);
        RECT bar{at.x, at.y, at.x + 1, at.y + lineHeight};
        PlatformFillColor(hDC, &bar, textColor);
    }
    EndPaint(hWnd, &ps);
}

}  // namespace platform
