// The original's rectangle calls (SetRect, InflateRect, IntersectRect,
// UnionRect, ...): plain arithmetic on RECT, shared by host code and CRect.
// An empty rectangle is one with no area (right <= left or bottom <= top);
// the calls that make one set it to all zeros, as the original does.
#pragma once

#include <algorithm>

#include "platform/shared/Types.h"

inline BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (!lprc) return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

inline BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

inline BOOL CopyRect(LPRECT lprcDst, LPCRECT lprcSrc) {
    if (!lprcDst || !lprcSrc) return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

inline BOOL IsRectEmpty(LPCRECT lprc) { return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top; }

inline BOOL EqualRect(LPCRECT lprc1, LPCRECT lprc2) {
    return lprc1 && lprc2 && lprc1->left == lprc2->left && lprc1->top == lprc2->top && lprc1->right == lprc2->right &&
           lprc1->bottom == lprc2->bottom;
}

inline BOOL PtInRect(LPCRECT lprc, POINT pt) {
    return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

inline BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
    if (!lprc) return FALSE;
    return SetRect(lprc, lprc->left + dx, lprc->top + dy, lprc->right + dx, lprc->bottom + dy);
}

inline BOOL InflateRect(LPRECT lprc, int dx, int dy) {
    if (!lprc) return FALSE;
    return SetRect(lprc, lprc->left - dx, lprc->top - dy, lprc->right + dx, lprc->bottom + dy);
}

// FALSE, with an empty result, when they do not overlap.
inline BOOL IntersectRect(LPRECT lprcDst, LPCRECT lprcSrc1, LPCRECT lprcSrc2) {
    if (!lprcDst || !lprcSrc1 || !lprcSrc2) return FALSE;
    RECT both{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
              std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
    if (IsRectEmpty(&both)) return !SetRectEmpty(lprcDst);
    *lprcDst = both;
    return TRUE;
}

// The smallest rectangle holding both; an empty one counts for nothing.
inline BOOL UnionRect(LPRECT lprcDst, LPCRECT lprcSrc1, LPCRECT lprcSrc2) {
    if (!lprcDst || !lprcSrc1 || !lprcSrc2) return FALSE;
    if (IsRectEmpty(lprcSrc1)) {
        if (IsRectEmpty(lprcSrc2)) return !SetRectEmpty(lprcDst);
        return CopyRect(lprcDst, lprcSrc2);
    }
    if (IsRectEmpty(lprcSrc2)) return CopyRect(lprcDst, lprcSrc1);
    return SetRect(lprcDst, std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
                   std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom));
}
