// An outside program built against an installed copy of the library.
#include <CBasis1.h>

#include <cstdio>
#include <cstring>

int main() {
    CString guid;
    CGenerateGuid make(guid);

    CLinkedList<CAddArrow> arrows;
    CAddArrow arrow(1, 2, CString("from"), 3, CString("to"), 4);
    arrows.Add(&arrow);

    CStr text(guid);
    unsigned char bytes[] = {1, 2, 3};
    CByte block(bytes, sizeof bytes);

    bool ok = guid.GetLength() == 36 && arrows.m_nCount == 1 &&
              std::strcmp(arrows.m_pHead->pValue->szText2, "to") == 0 && std::strlen(text.m_pStr) == 36 &&
              block.GetLength() == 3;
    std::printf("%s %s\n", ok ? "consumer ok" : "consumer FAILED", text.m_pStr);
    return ok ? 0 : 1;
}
