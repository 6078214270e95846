// Storage media.
#include "platform/ole/OleData.h"

#include "platform/kernel/Errors.h"

void ReleaseStgMedium(LPSTGMEDIUM pmedium) {
    if (!pmedium) return;
    if (pmedium->tymed == TYMED_HGLOBAL && !pmedium->pUnkForRelease) GlobalFree(pmedium->hGlobal);
    *pmedium = STGMEDIUM{TYMED_NULL, {nullptr}, nullptr};
}
