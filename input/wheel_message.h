// Packing of the WM_MOUSEWHEEL message that wheel passthrough posts.
#pragma once

#include <windows.h>

// The event's delta times the multiplier, kept within the 16 bits the
// message carries: a product beyond them would otherwise wrap to the other
// sign and scroll the wrong way.
SHORT ScaledWheelDelta(SHORT delta, INT multiplier);

// The key-state word: the event's own low word with the flag of every held
// key and button added.
WORD WheelKeyState(WORD lowWord, SHORT(WINAPI* asyncKeyState)(int key));

WPARAM PackWheelWParam(SHORT delta, INT multiplier, WORD keyState);
LPARAM PackWheelLParam(POINT point);
