// The configuration record of the process and its INI file beside the
// executable.
#pragma once

#include <windows.h>

enum { EXCLUSION_CAPACITY = 1024 };

// One record for the whole process.  After start-up it is written only on
// the main thread (ApplySettings hands a reload from any other thread to the
// main window), so the mouse hook, which runs on the main thread too, never
// sees a half-loaded record.
struct Settings {
    BYTE fixClick;
    BYTE fixRelease;
    BYTE fixScroll;
    BYTE deviceLeft;
    BYTE deviceRight;
    BYTE wheelPassthrough;
    BYTE volumeControl;
    BYTE mouseGesture;
    BYTE showIcon;
    BYTE debugMode;
    INT clickInterval;
    INT releaseInterval;
    INT scrollInterval;
    INT volumeHotkey;
    INT volumeSteps;
    BYTE volumeSound;
    BYTE volumeOsd;
    BYTE volumeWatch;
    INT gestureHotkey;
    BYTE gestureTrail;
    BYTE gestureAtEnd;
    WCHAR exclusionText[EXCLUSION_CAPACITY];
    INT exclusionLength;
    INT wheelMultiplier;
    BYTE raiseWindow;
};

extern Settings settings;  // main thread only (see above)

// Full path of the INI file: the executable's path with its extension
// replaced by ".ini".  Returns FALSE, with an empty path, when the
// executable's path does not fit MAX_PATH; the settings then live in memory
// only, so a long path never reads or writes some other, truncated name.
BOOL IniPath(WCHAR (&path)[MAX_PATH]);

// Load every field from the INI file (defaults for what is missing); save the
// nine switches that the tray menu changes.
void LoadSettings(Settings& record);
void SaveSettings(const Settings& record);

// The same for a given file; a null path loads the defaults.
void LoadSettingsFrom(const WCHAR* path, Settings& record);
void SaveSettingsTo(const WCHAR* path, const Settings& record);
