#pragma once

#include "Win32Api.h"

namespace lumivar::win32 {

/// The message a second start of the program posts to the running copy's
/// main window, asking it to come forward; 0 if it could not be registered.
UINT BringForwardMessage();

/// Makes `window` the main window a second start finds (`mark`), hidden in
/// the tray or not, or takes the mark away again before it is destroyed.
void MarkMainWindow(HWND window, bool mark);

/// Takes the session's mutex (Local\Lumivar-...) for the rest of the
/// process's life, or, when another copy holds it, posts that copy's main
/// window the bring-forward message, waiting a little for a copy that is
/// still starting. True when it did: this start has nothing more to do.
/// False to run: the first copy, or one beside a copy that never made its
/// window in time.
bool HandOverToRunningCopy();

} // namespace lumivar::win32
