// The mapping between INI values and the fields of Settings, free of any
// file access so that it can be checked directly.
#pragma once

#include <windows.h>

#include "config/settings.h"

enum ValueKind {
    KIND_SWITCH,          // non-zero means on; stored as 0 or 1
    KIND_NUMBER,          // stored as read
    KIND_MULTIPLIER,      // 1..33, anything else becomes 1
    KIND_VOLUME_HOTKEY,   // small code mapped to a virtual key
    KIND_GESTURE_HOTKEY,  // the same, without the mouse buttons
};

struct IniKey {
    const WCHAR* section;
    const WCHAR* key;
    INT defaultValue;
    ValueKind kind;
    size_t fieldOffset;  // offset of the field in Settings
    BOOL writtenBack;    // one of the switches that SaveSettings writes
};

// Every key LoadSettings reads, in the order it reads them (after the
// exclusion section); the rows with writtenBack set are the ones
// SaveSettings writes, in that same order.
extern const IniKey iniKeys[];
extern const int iniKeyCount;

extern const WCHAR exclusionSection[];

// The value a field receives for the integer read from the file.
INT StoredValue(ValueKind kind, INT raw);

// Reads or writes the field a row describes.  Switch kinds are bytes, the
// rest 32-bit integers.
INT GetField(const Settings& record, const IniKey& row);
void SetField(Settings& record, const IniKey& row, INT value);

// Replaces the extension of the executable path `modulePath` (`length` units,
// as GetModuleFileNameW returned it for a buffer of MAX_PATH) with ".ini".
// FALSE, and an empty result, when the module path was cut by the buffer or
// the new name does not fit.
BOOL IniPathFromModulePath(const WCHAR* modulePath, DWORD length, WCHAR (&path)[MAX_PATH]);
