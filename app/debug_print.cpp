#include "app/debug_print.h"

#include <process.h>

// A bounded queue of prints: any thread may add, the printer thread takes
// them in order.  Each slot serves the positions slot, slot + QUEUE_SIZE, and
// so on; its sequence tells the state for the lap `base` (the position less
// the slot index): base means free for that lap's writer, base + 1 written
// and ready to print, base + QUEUE_SIZE printed and free for the next lap.
// All zero at start is the right initial state.
enum { QUEUE_SIZE = 256 };  // a power of two

struct PrintSlot {
    volatile LONG sequence;
    const char* format;
    LONG value;
};

static PrintSlot queue[QUEUE_SIZE];
static volatile LONG nextWrite;       // interlocked, by every producer
static LONG nextRead;                 // printer thread only
static HANDLE printsQueued;           // auto-reset event, set by producers
static volatile LONG printerStarted;  // interlocked

static LONG LapOf(LONG position) { return position & ~(QUEUE_SIZE - 1); }

// Differences, not plain comparisons, so that the counters may wrap.
static LONG Ahead(LONG a, LONG b) {
    return static_cast<LONG>(static_cast<ULONG>(a) - static_cast<ULONG>(b));
}

void DebugPrint(const char* format, LONG value) {
    LONG position = nextWrite;
    for (;;) {
        PrintSlot& slot = queue[position & (QUEUE_SIZE - 1)];
        LONG state = Ahead(slot.sequence, LapOf(position));
        if (state < 0) return;  // still holds an unprinted record: drop this one
        if (state == 0 &&
            InterlockedCompareExchange(&nextWrite, position + 1, position) == position) {
            slot.format = format;
            slot.value = value;
            InterlockedExchange(&slot.sequence, LapOf(position) + 1);
            if (printsQueued != NULL) SetEvent(printsQueued);
            return;
        }
        position = nextWrite;
    }
}

static void WriteToConsole(const char* format, LONG value) {
    char text[64];
    int length = wsprintfA(text, format, value);
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    if (length <= 0 || console == NULL || console == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(console, text, static_cast<DWORD>(length), &written, NULL);
}

static unsigned __stdcall DebugPrinterThread(void*) {
    for (;;) {
        WaitForSingleObject(printsQueued, INFINITE);
        for (;;) {
            PrintSlot& slot = queue[nextRead & (QUEUE_SIZE - 1)];
            if (slot.sequence != LapOf(nextRead) + 1) break;
            WriteToConsole(slot.format, slot.value);
            InterlockedExchange(&slot.sequence, LapOf(nextRead) + QUEUE_SIZE);
            ++nextRead;
        }
    }
}

void StartDebugPrinter() {
    if (InterlockedExchange(&printerStarted, 1) != 0) return;
    printsQueued = CreateEventW(NULL, FALSE, TRUE, NULL);
    HANDLE thread = reinterpret_cast<HANDLE>(
        _beginthreadex(NULL, 0, DebugPrinterThread, NULL, 0, NULL));
    if (thread != NULL) CloseHandle(thread);
}
