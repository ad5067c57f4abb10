// The hidden main window, its window procedure, and the application of the
// settings.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The application's caption: class and title of the main window, tray tip
// and caption of every message box.  A second instance looks for it.
extern const WCHAR caption[];

// The tray record with the balloon-icon member of later shells, so that its
// size is the one those shells expect; older shells read the prefix they know.
struct TrayIconData {
    NOTIFYICONDATAW data;
    HICON balloonIcon;
};

extern HWND mainWindow;        // set once by CreateMainWindow
extern HHOOK mouseHook;        // set once at start-up, read by the hook
extern TrayIconData trayIcon;  // main thread only

void RegisterMainClass(HINSTANCE instance);
BOOL CreateMainWindow(HINSTANCE instance);

// Loads the settings, writes the switches back and brings the volume-watch
// timer, the debug console and the tray icon into line with them.  Runs on
// the thread that owns `window`; a call from any other thread is posted to
// it, so readers of the settings on that thread never see a partial reload.
void ApplySettings(HWND window);

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
