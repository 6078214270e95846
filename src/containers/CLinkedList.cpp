#include "containers/CLinkedList.h"

CDeleteAllObjs::CDeleteAllObjs(CLinkedList<DelObj*>* pList) {
    if (!pList) return;
    for (pList->MoveFirst(); pList->m_pCurrent; pList->MoveNext())
        if (DelObj* obj = *pList->m_pCurrent->pValue) obj->DeleteObj();
}
