// Prints to the debug console when the process has one (see ApplySettings);
// without a console the text goes nowhere.
#pragma once

#include <windows.h>

void DebugPrint(const char* format, LONG value);
