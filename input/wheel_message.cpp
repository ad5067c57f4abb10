#include "input/wheel_message.h"

#include "input/hook_platform.h"

SHORT ScaledWheelDelta(SHORT delta, INT multiplier) {
    LONG product = static_cast<LONG>(delta) * multiplier;
    if (product > 32767) return 32767;
    if (product < -32768) return -32768;
    return static_cast<SHORT>(product);
}

WORD WheelKeyState(WORD lowWord, SHORT(WINAPI* asyncKeyState)(int key)) {
    static const struct {
        int key;
        WORD flag;
    } keys[] = {
        {VK_SHIFT, MK_SHIFT},     {VK_CONTROL, MK_CONTROL}, {VK_LBUTTON, MK_LBUTTON},
        {VK_RBUTTON, MK_RBUTTON}, {VK_MBUTTON, MK_MBUTTON},
    };
    WORD word = lowWord;
    for (const auto& k : keys) {
        if (KeyHeld(asyncKeyState(k.key))) word |= k.flag;
    }
    return word;
}

WPARAM PackWheelWParam(SHORT delta, INT multiplier, WORD keyState) {
    WORD high = static_cast<WORD>(ScaledWheelDelta(delta, multiplier));
    return static_cast<WPARAM>(MAKELONG(keyState, high));
}

LPARAM PackWheelLParam(POINT point) {
    // Negative coordinates (a monitor left of or above the primary one)
    // keep their low 16 bits; the receiver sign-extends them.
    return static_cast<LPARAM>(static_cast<DWORD>(
        MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y))));
}
