// The de-bounce decisions of the mouse hook, free of the platform so that
// they can be driven with made-up clocks.
#pragma once

#include <windows.h>

// State of the filters: alive for the whole process, touched only by the
// hook procedure on the main thread.
struct HookState {
    BOOL initialised;          // the ticks below hold the first call's tick
    BOOL buttonDownSeen;       // a button-down has gone through the click filter
    BOOL wheelSeen;            // a wheel notch has gone through the wheel filter
    DWORD lastButtonDownTick;  // shared by the left and the right button
    DWORD lastWheelTick;
    SHORT lastWheelDelta;      // delta of the last notch let through
};

// Elapsed time between two tick counts.  Taken as signed so that the
// 49.7-day wrap of the tick count still gives a small positive number.
inline LONG ElapsedTicks(DWORD now, DWORD then) { return static_cast<LONG>(now - then); }

// Called on every hook call; only the first one stores its tick.
void InitHookState(HookState& state, DWORD now);

// Each returns TRUE when the event is a bounce to be swallowed, and stores
// in *elapsed the time measured (for the debug print).
BOOL ClickFilterSwallows(HookState& state, DWORD now, INT clickInterval, LONG* elapsed);
BOOL ReleaseFilterSwallows(const HookState& state, DWORD now, INT releaseInterval, LONG* elapsed);
BOOL WheelFilterSwallows(HookState& state, DWORD now, SHORT delta, INT scrollInterval);
