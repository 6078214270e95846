// The library tells some failures in a message box, which a headless
// program echoes to stderr in the library's words. While an object of this
// class lives, boxes are neither echoed nor answered but noted, with the
// last error at the moment they were shown, so a command can say the
// failure on its one line in its own words.
#pragma once

#include "platform/mfc/MessageBox.h"
#include "platform/shared/Types.h"

namespace cbasis {

class QuietMessageBoxes {
public:
    QuietMessageBoxes();
    ~QuietMessageBoxes();
    QuietMessageBoxes(const QuietMessageBoxes&) = delete;
    QuietMessageBoxes& operator=(const QuietMessageBoxes&) = delete;

    bool Shown() const { return m_shown; }
    // The last error when the first box was shown.
    DWORD Error() const { return m_error; }

private:
    bool m_shown = false;
    DWORD m_error = 0;
    bool m_echo;
    MessageBoxHook m_previous;
};

}  // namespace cbasis
