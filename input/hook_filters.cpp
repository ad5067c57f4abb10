#include "input/hook_filters.h"

// A release that comes within this many milliseconds of its press is the
// switch's own make-and-break of an ordinary click, not a bounce: without the
// floor a quick click would lose its button-up.
static const LONG RELEASE_FLOOR = 2;

void InitHookState(HookState& state, DWORD now) {
    if (state.initialised) return;
    state.initialised = TRUE;
    state.lastButtonDownTick = now;
    state.lastWheelTick = now;
}

BOOL ClickFilterSwallows(HookState& state, DWORD now, INT clickInterval, LONG* elapsed) {
    *elapsed = ElapsedTicks(now, state.lastButtonDownTick);
    // Every press that reaches the filter moves the tick, swallowed or not,
    // so a whole run of bounces is swallowed.
    state.lastButtonDownTick = now;
    // The first press ever seen cannot be a bounce of an earlier one.
    BOOL first = !state.buttonDownSeen;
    state.buttonDownSeen = TRUE;
    return !first && *elapsed < clickInterval;
}

BOOL ReleaseFilterSwallows(const HookState& state, DWORD now, INT releaseInterval, LONG* elapsed) {
    *elapsed = ElapsedTicks(now, state.lastButtonDownTick);
    // Without a recorded press there is nothing to measure from; swallowing
    // would leave the application with a button it believes is held.
    if (!state.buttonDownSeen) return FALSE;
    return *elapsed > RELEASE_FLOOR && *elapsed < releaseInterval;
}

BOOL WheelFilterSwallows(HookState& state, DWORD now, SHORT delta, INT scrollInterval) {
    LONG elapsed = ElapsedTicks(now, state.lastWheelTick);
    state.lastWheelTick = now;
    BOOL first = !state.wheelSeen;
    state.wheelSeen = TRUE;
    // Only a notch that differs from the last one let through is a suspect;
    // the remembered delta stays, so a burst of reversals is swallowed whole.
    if (!first && delta != state.lastWheelDelta && elapsed < scrollInterval) return TRUE;
    state.lastWheelDelta = delta;
    return FALSE;
}
