// The few platform reads of the hook path that a test cannot control on a
// real desktop: the tick count and the key states.  They point at the real
// calls; tests point them elsewhere.
#pragma once

#include <windows.h>

struct HookPlatform {
    DWORD(WINAPI* tickCount)(void);
    SHORT(WINAPI* asyncKeyState)(int key);  // physical state now
    SHORT(WINAPI* keyState)(int key);       // as this thread's queue last saw it
};

extern HookPlatform hookPlatform;

inline BOOL KeyHeld(SHORT state) { return (state & 0x8000) != 0; }
