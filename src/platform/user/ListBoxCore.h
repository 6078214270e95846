// A list as a list box shows it: the items, the first row in view, and the
// drawing, hit-testing and keys that the "ListBox" class and the combo
// box's open list share.
#pragma once

#include "platform/gdi/TextMetrics.h"
#include "platform/user/ListItems.h"
#include "platform/user/Windows.h"

namespace user {

struct ListView {
    ListItems list;
    int top = 0;  // the first item in view
    HFONT font = nullptr;  // the control's font (null: the system font)
    int rowHeight = PLATFORM_LINE_HEIGHT;

    // Draws and measures the rows in the font from now on: a row is as
    // high as the font's lines.
    void SetFont(HFONT hFont);

    // How many rows the window's client area shows (at least 1).
    int VisibleRows(HWND hWnd) const;
    // Moves the view so that the selection is in it.
    void ScrollToSelection(HWND hWnd);
    // The item at y in client coordinates, or -1.
    int ItemAt(HWND hWnd, int y) const;
    // The background in the brush the parent answers to ctlColorMessage,
    // the rows in view, the selection highlighted, a frame.
    void Paint(HWND hWnd, HDC hDC, UINT ctlColorMessage) const;
    // Where Up, Down, Home, End, Page Up and Page Down move the selection;
    // -1 for other keys.
    int KeyTarget(HWND hWnd, UINT vk) const;
};

}  // namespace user
