// TextRecord and file_name: the small records that listings hand out.
#pragma once

#include "platform/atl/Strings.h"

// One fixed text field of at most 100 characters; a longer text is cut.
struct CBASIS1_API TextRecord {
    TextRecord() : m_szText{} {}
    explicit TextRecord(CString str);

    char m_szText[101];
};
static_assert(sizeof(TextRecord) == 101);

// One record of a singly linked chain of names. Copies share m_pNext; the
// destructor never follows it: chains are freed by their owner.
struct CBASIS1_API file_name {
    CString m_strName;
    file_name* m_pNext = nullptr;
};
