#include "containers/Records.h"

#include "platform/user/Windows.h"

int CUserInterface1::AddRecord(void* /*pRecord*/) {
    SendMessageA(m_hWnd, WM_USER + 27, 0, 0);
    return 1;
}
