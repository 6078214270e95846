// CAddArrow: a fixed-size record of numbers and two 200-byte texts, stored by
// value in lists. Texts longer than 199 characters are cut.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API CAddArrow {
public:
    CAddArrow() {}  // leaves the record unset, as the list's zero-filled storage expects
    CAddArrow(int nFirst, int nSecond, CString strFirst, int nThird, CString strSecond, int nFourth);

    int nValue1;
    int nValue2;
    int nValue3;
    char szText1[200];
    char szText2[200];
    int nValue4;
};
static_assert(sizeof(CAddArrow) == 4 * 4 + 400);

// Copies the C-string view of text into a fixed field of fieldSize bytes,
// cut to fieldSize - 1 characters and always zero-terminated.
CBASIS1_API void CopyToField(char* field, size_t fieldSize, const CString& text);
