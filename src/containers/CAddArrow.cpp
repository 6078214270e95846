#include "containers/CAddArrow.h"

#include <cstring>

void CopyToField(char* field, size_t fieldSize, const CString& text) {
    if (!field || fieldSize == 0) return;
    size_t n = strnlen(static_cast<LPCTSTR>(text), fieldSize - 1);
    std::memcpy(field, static_cast<LPCTSTR>(text), n);
    std::memset(field + n, 0, fieldSize - n);
}

CAddArrow::CAddArrow(int nFirst, int nSecond, CString strFirst, int nThird, CString strSecond, int nFourth)
    : nValue1(nFirst), nValue2(nSecond), nValue3(nThird), nValue4(nFourth) {
    CopyToField(szText1, sizeof szText1, strFirst);
    CopyToField(szText2, sizeof szText2, strSecond);
}
