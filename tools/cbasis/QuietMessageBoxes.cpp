#include "QuietMessageBoxes.h"

#include "platform/kernel/Errors.h"

namespace cbasis {

QuietMessageBoxes::QuietMessageBoxes() : m_echo(AfxSetMessageBoxEcho(false)) {
    m_previous = AfxSetMessageBoxHook([this](const CString&, UINT) {
        if (!m_shown) m_error = GetLastError();
        m_shown = true;
        return IDOK;
    });
}

QuietMessageBoxes::~QuietMessageBoxes() {
    AfxSetMessageBoxHook(std::move(m_previous));
    AfxSetMessageBoxEcho(m_echo);
}

}  // namespace cbasis
