// Wheel passthrough: wheel notches go to the window under the cursor.
#pragma once

#include <windows.h>

// Posts the notch, multiplied, to the window under `point` and, when
// raiseWindow is on, brings its top-level window forward without activating
// it.  The caller swallows the event whatever happens here.
void ForwardWheel(POINT point, SHORT delta, WORD lowWord);

// Lifts `window` above every window that is not topmost, without moving,
// sizing or activating it.
void RaiseWithoutActivating(HWND window);

// The window itself when it has no parent, else its top-level ancestor.
HWND TopLevelWindow(HWND window);
