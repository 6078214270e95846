// Global blocks and the process's clipboard, for tests that move text
// through them.
#pragma once

#include <string>

#include "platform/kernel/GlobalMemory.h"

// A new moveable block holding the bytes.
HGLOBAL BlockOf(const char* bytes, size_t size);
// The block's text up to its first zero byte, never past the block;
// "<no block>" when it cannot be locked.
std::string BlockText(HGLOBAL hMem);
// Replaces the clipboard's contents by a CF_TEXT block of the bytes.
void PutOnClipboard(const char* bytes, size_t size);
// The clipboard's CF_TEXT, or "<empty>".
std::string ClipboardText();
// Closes and empties the clipboard, which outlives every test.
void ClearClipboard();
