// The low-level mouse hook: sees every mouse event of the desktop on the
// main thread and decides at once whether it is swallowed or passed on.
#pragma once

#include <windows.h>

#include "input/hook_filters.h"

extern HookState hookState;  // main thread only

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
