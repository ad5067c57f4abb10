#include "input/mouse_hook.h"

#include "app/debug_print.h"
#include "app/main_window.h"
#include "config/settings.h"
#include "input/hook_platform.h"
#include "input/wheel_forward.h"

HookPlatform hookPlatform = {GetTickCount, GetAsyncKeyState, GetKeyState};
HookState hookState;

// Each handler returns TRUE to swallow the event.  Tests within a handler
// are made in order and stop at the first that fails, so the expensive ones
// come last.

static BOOL OnMouseMove(const MSLLHOOKSTRUCT& event) {
    (void)event;
    return FALSE;
}

static BOOL OnButtonDown(BYTE deviceOn) {
    if (!deviceOn || !settings.fixClick) return FALSE;
    LONG elapsed;
    if (!ClickFilterSwallows(hookState, hookPlatform.tickCount(), settings.clickInterval, &elapsed))
        return FALSE;
    DebugPrint("ClickTime:\t%d\n", elapsed);
    return TRUE;
}

static BOOL OnButtonUp(BYTE deviceOn) {
    if (!deviceOn || !settings.fixRelease) return FALSE;
    LONG elapsed;
    if (!ReleaseFilterSwallows(hookState, hookPlatform.tickCount(), settings.releaseInterval,
                               &elapsed))
        return FALSE;
    DebugPrint("ReleaseTime:\t%d\n", elapsed);
    return TRUE;
}

static BOOL OnMouseWheel(const MSLLHOOKSTRUCT& event) {
    SHORT delta = static_cast<SHORT>(HIWORD(event.mouseData));
    if (settings.fixScroll &&
        WheelFilterSwallows(hookState, hookPlatform.tickCount(), delta, settings.scrollInterval))
        return TRUE;
    if (settings.wheelPassthrough) {
        ForwardWheel(event.pt, delta, LOWORD(event.mouseData));
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (!hookState.initialised) InitHookState(hookState, hookPlatform.tickCount());
    if (nCode != HC_ACTION) return CallNextHookEx(mouseHook, nCode, wParam, lParam);

    const MSLLHOOKSTRUCT& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    BOOL swallow = FALSE;
    switch (wParam) {
    case WM_MOUSEMOVE: swallow = OnMouseMove(event); break;
    case WM_LBUTTONDOWN: swallow = OnButtonDown(settings.deviceLeft); break;
    case WM_LBUTTONUP: swallow = OnButtonUp(settings.deviceLeft); break;
    case WM_RBUTTONDOWN: swallow = OnButtonDown(settings.deviceRight); break;
    case WM_RBUTTONUP: swallow = OnButtonUp(settings.deviceRight); break;
    case WM_MOUSEWHEEL: swallow = OnMouseWheel(event); break;
    }
    return swallow ? 1 : CallNextHookEx(mouseHook, nCode, wParam, lParam);
}
