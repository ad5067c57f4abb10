#include "config/settings.h"

#include <stdio.h>

#include "config/settings_map.h"

Settings settings;

BOOL IniPath(WCHAR (&path)[MAX_PATH]) {
    WCHAR modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, modulePath, MAX_PATH);
    return IniPathFromModulePath(modulePath, length, path);
}

// The profile functions create a missing file in the ANSI code page, where
// the Chinese section and key names do not survive on a non-Chinese system.
// A file that starts with a UTF-16LE byte-order mark is read and written as
// UTF-16 everywhere, so a new (or empty) file gets one before the first
// write.  An existing file keeps its encoding.
static void EnsureUnicodeIniFile(const WCHAR* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD high = 0;
    if (GetFileSize(file, &high) == 0 && high == 0) {
        static const BYTE bom[2] = {0xFF, 0xFE};
        DWORD written;
        WriteFile(file, bom, sizeof bom, &written, NULL);
    }
    CloseHandle(file);
}

void LoadSettings(Settings& record) {
    WCHAR path[MAX_PATH];
    LoadSettingsFrom(IniPath(path) ? path : NULL, record);
}

void SaveSettings(const Settings& record) {
    WCHAR path[MAX_PATH];
    if (IniPath(path)) SaveSettingsTo(path, record);
}

void LoadSettingsFrom(const WCHAR* path, Settings& record) {
    BOOL havePath = path != NULL;

    // Build the new values aside and store them in one assignment, so that
    // every field receives only its final value.
    Settings loaded = record;
    loaded.exclusionText[0] = L'\0';
    loaded.exclusionText[1] = L'\0';
    loaded.exclusionLength = 0;
    if (havePath) {
        loaded.exclusionLength = static_cast<INT>(GetPrivateProfileSectionW(
            exclusionSection, loaded.exclusionText, EXCLUSION_CAPACITY, path));
    }
    for (int i = 0; i < iniKeyCount; ++i) {
        const IniKey& row = iniKeys[i];
        INT raw = havePath ? static_cast<INT>(GetPrivateProfileIntW(row.section, row.key,
                                                                    row.defaultValue, path))
                           : row.defaultValue;
        SetField(loaded, row, StoredValue(row.kind, raw));
    }
    record = loaded;
}

void SaveSettingsTo(const WCHAR* path, const Settings& record) {
    EnsureUnicodeIniFile(path);
    for (int i = 0; i < iniKeyCount; ++i) {
        const IniKey& row = iniKeys[i];
        if (!row.writtenBack) continue;
        WCHAR value[12];
        swprintf(value, 12, L"%d", GetField(record, row));
        WritePrivateProfileStringW(row.section, row.key, value, path);
    }
}
