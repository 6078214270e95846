// CParse: a cursor over a text that skips runs of word and non-word
// characters, takes out words and lines, and finds or goes past a text.
//
// Word characters are the ASCII letters and digits and "_", "\" and ":", so
// a path (C:\Dir\my_file) or a scoped name (CMyClass::Member) is one word.
// Every other byte is a non-word character: blanks, punctuation, the zero
// after the text and the bytes 128 to 255, whatever the locale.
//
// m_nPos is an index into the text; the length stands for the end, and the
// forward operations treat any position beyond it as the end. The backward
// passes treat a position beyond the end as the end itself, where the zero
// after the text counts as a non-word character. Several searches return 0
// for "not found", which a match at index 0 also returns.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/atl/Strings.h"

class CBASIS1_API CParse {
public:
    CParse() = default;  // empty text, position 0
    CParse(CString text) : m_strText(std::move(text)) {}
    CParse(const CParse&) = default;
    CParse& operator=(const CParse&) = default;
    ~CParse() = default;

    static bool isAlNum(char c);

    // Forward to the first word character at or after the position, or to
    // the length; no change at or beyond the end.
    void PassNonAlpha();
    // Forward to the first non-word character at or after the position, or
    // to the length; no change at or beyond the end.
    void PassAlpha();
    // Back to the nearest word character at or before the position, or 0.
    void PassNonAlphaBackwards();
    // Back to the nearest non-word character at or before the position, or 0.
    void PassAlphaBackwards();

    // Index of the first non-word character at or after the position; the
    // length if none; the position itself at or beyond the end.
    unsigned int GetNextNonAlphaPosition();
    // The same as PassNonAlpha.
    void GoToNextAlphaPosition();

    // 1 and the position just after the next line feed, or 0 and no change.
    unsigned int GoToNextLine();
    // Index of the next line feed at or after the position; 0 if none.
    unsigned int GetNextLinePos();
    // 1 with line = the text from the position up to the next line feed (a
    // CR before it stays) and the position after that line feed; 0 with
    // neither changed when no line feed follows. Text after the last line
    // feed is not a line; an empty first line is one.
    unsigned int GetNextLine(CString& line);
    // 1 if s occurs at or after the position, which then moves to the match
    // plus the length of s plus one (the character after the match is
    // passed too); else 0 and no change.
    unsigned int GoPast(CString s);
    // Index of the first occurrence of s at or after the position; 0 if none.
    unsigned int GetPos(CString s);

    // Skips non-word characters and takes the run of word characters there:
    // 1 with that word and the position just after it; 0 with an empty word
    // and the position at the end (or unchanged beyond it) when no word is
    // left. So callers may stop on the result or on an empty word.
    unsigned int GetNextWord(CString& word);

    // Every character of s that is not a word character, a space, "[" or
    // "]" becomes a space; the length stays. Does not touch the parser's
    // text. Always 1.
    unsigned int RemoveAllNonAlphasExceptSpaces(CString& s);

    uint32_t m_nPos = 0;
    uint32_t m_nScan = 0;  // working index of the scans; no state between calls
    CString m_strText;

private:
    uint32_t Length() const { return static_cast<uint32_t>(m_strText.GetLength()); }
    // Index of the first character at or after from whose word-ness is
    // wanted, or the length.
    uint32_t ScanForward(uint32_t from, bool wantWord);
    // Index of the nearest character at or before from (clamped to the
    // length) down to 1 whose word-ness is wanted, or 0.
    uint32_t ScanBackward(uint32_t from, bool wantWord);
    // Index of s at or after the position, or -1.
    int Find(const CString& s) const;
};
