#include "files/FileRecords.h"

#include "containers/CAddArrow.h"

TextRecord::TextRecord(CString str) { CopyToField(m_szText, sizeof m_szText, str); }
