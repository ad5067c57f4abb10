#include "app/debug_print.h"

void DebugPrint(const char* format, LONG value) {
    // Formatted on the stack and written straight to the console handle: the
    // hook calls this, so it must not allocate, and a GUI program's C runtime
    // has no stdout bound to a console allocated later.
    char text[64];
    int length = wsprintfA(text, format, value);
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    if (length <= 0 || console == NULL || console == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(console, text, static_cast<DWORD>(length), &written, NULL);
}
