// CParse: the text cursor's scans and searches.
#include "text/CParse.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<bool, 256> MakeWordTable() {
    std::array<bool, 256> table{};
    for (int c = '0'; c <= '9'; ++c) table[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) table[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) table[c] = true;
    table['_'] = table['\\'] = table[':'] = true;
    return table;
}

constexpr std::array<bool, 256> kWordChar = MakeWordTable();

inline bool IsWord(char c) { return kWordChar[static_cast<unsigned char>(c)]; }

}  // namespace

bool CParse::isAlNum(char c) { return IsWord(c); }

uint32_t CParse::ScanForward(uint32_t from, bool wantWord) {
    const std::string& text = m_strText.str();
    const uint32_t length = Length();
    for (m_nScan = from; m_nScan < length; ++m_nScan)
        if (IsWord(text[m_nScan]) == wantWord) return m_nScan;
    return length;
}

// The character at the length is the zero after the text: a non-word one.
uint32_t CParse::ScanBackward(uint32_t from, bool wantWord) {
    const std::string& text = m_strText.str();
    const uint32_t length = Length();
    for (m_nScan = from < length ? from : length; m_nScan > 0; --m_nScan) {
        bool word = m_nScan < length && IsWord(text[m_nScan]);
        if (word == wantWord) return m_nScan;
    }
    return 0;
}

int CParse::Find(const CString& s) const {
    if (m_nPos > Length()) return -1;
    return m_strText.Find(s, static_cast<int>(m_nPos));
}

void CParse::PassNonAlpha() {
    if (m_nPos < Length()) m_nPos = ScanForward(m_nPos, true);
}

void CParse::PassAlpha() {
    if (m_nPos < Length()) m_nPos = ScanForward(m_nPos, false);
}

void CParse::PassNonAlphaBackwards() { m_nPos = ScanBackward(m_nPos, true); }

void CParse::PassAlphaBackwards() { m_nPos = ScanBackward(m_nPos, false); }

unsigned int CParse::GetNextNonAlphaPosition() { return m_nPos < Length() ? ScanForward(m_nPos, false) : m_nPos; }

void CParse::GoToNextAlphaPosition() { PassNonAlpha(); }

unsigned int CParse::GoToNextLine() {
    int at = Find("\n");
    if (at < 0) return 0;
    m_nPos = static_cast<uint32_t>(at) + 1;
    return 1;
}

unsigned int CParse::GetNextLinePos() {
    int at = Find("\n");
    return at < 0 ? 0 : static_cast<unsigned int>(at);
}

// Searches itself rather than through GetNextLinePos, whose 0 would hide a
// line feed at index 0 and with it every line of the text.
unsigned int CParse::GetNextLine(CString& line) {
    int at = Find("\n");
    if (at < 0) return 0;
    line = m_strText.Mid(static_cast<int>(m_nPos), at - static_cast<int>(m_nPos));
    m_nPos = static_cast<uint32_t>(at) + 1;
    return 1;
}

unsigned int CParse::GoPast(CString s) {
    int at = Find(s);
    if (at < 0) return 0;
    m_nPos = static_cast<uint32_t>(at) + static_cast<uint32_t>(std::strlen(s)) + 1;
    return 1;
}

unsigned int CParse::GetPos(CString s) {
    int at = Find(s);
    return at < 0 ? 0 : static_cast<unsigned int>(at);
}

unsigned int CParse::GetNextWord(CString& word) {
    PassNonAlpha();
    uint32_t end = GetNextNonAlphaPosition();
    if (end <= m_nPos) {
        word.Empty();
        return 0;
    }
    word = CString(m_strText.str().data() + m_nPos, static_cast<int>(end - m_nPos));
    m_nPos = end;
    return 1;
}

unsigned int CParse::RemoveAllNonAlphasExceptSpaces(CString& s) {
    for (m_nScan = 0; m_nScan < static_cast<uint32_t>(s.GetLength()); ++m_nScan) {
        char c = s.GetAt(static_cast<int>(m_nScan));
        if (!IsWord(c) && c != ' ' && c != '[' && c != ']') s.SetAt(static_cast<int>(m_nScan), ' ');
    }
    return 1;
}
