// Debug prints to the console of the process (see ApplySettings); without a
// console the text goes nowhere.
#pragma once

#include <windows.h>

// Queues one print of `format` (a literal with at most one %d) and `value`.
// Never blocks and never allocates, so the mouse hook may call it: a console
// can stall its writers, for instance while the user selects text in it.
// When the queue is full the print is dropped.
void DebugPrint(const char* format, LONG value);

// Starts the thread that writes the queued prints; later calls do nothing.
void StartDebugPrinter();
