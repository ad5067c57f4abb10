#include "input/wheel_forward.h"

#include "config/settings.h"
#include "input/hook_platform.h"
#include "input/wheel_message.h"

HWND TopLevelWindow(HWND window) {
    HWND parent;
    while ((parent = GetParent(window)) != NULL) window = parent;
    return window;
}

void RaiseWithoutActivating(HWND window) {
    // SWP_ASYNCWINDOWPOS: the window usually belongs to another program, and
    // the hook must not wait for it; a hung target would hold up every mouse
    // event of the desktop.
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                       SWP_NOSENDCHANGING | SWP_ASYNCWINDOWPOS;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void ForwardWheel(POINT point, SHORT delta, WORD lowWord) {
    WORD keyState = WheelKeyState(lowWord, hookPlatform.asyncKeyState);
    HWND target = WindowFromPoint(point);
    // No window under the point: nothing to deliver to (a post to no window
    // would land in this thread's own queue).  The notch is swallowed anyway.
    if (target == NULL) return;
    // Posted, never sent: a slow or hung target does not hold up the hook.
    PostMessageW(target, WM_MOUSEWHEEL,
                 PackWheelWParam(delta, settings.wheelMultiplier, keyState),
                 PackWheelLParam(point));
    if (settings.raiseWindow) RaiseWithoutActivating(TopLevelWindow(target));
}
