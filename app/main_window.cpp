#include "app/main_window.h"

#include "app/debug_print.h"
#include "config/settings.h"
#include "res/resource.h"

const WCHAR caption[] = L"Pointerwright v1.61";

HWND mainWindow;
HHOOK mouseHook;
TrayIconData trayIcon;

// The size a 32-bit program hands the shell: the record of later shells.
static_assert(sizeof(void*) != 4 || sizeof(TrayIconData) == 956, "tray record size");

static UINT taskbarCreatedMessage;

static void AddExStyle(HWND window, LONG style) {
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | style);
}

void RegisterMainClass(HINSTANCE instance) {
    taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = caption;
    wc.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    RegisterClassExW(&wc);
}

BOOL CreateMainWindow(HINSTANCE instance) {
    mainWindow = CreateWindowExW(WS_EX_TOOLWINDOW, caption, caption, WS_POPUPWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 NULL, NULL, instance, NULL);
    if (mainWindow == NULL) return FALSE;
    AddExStyle(mainWindow, WS_EX_TRANSPARENT);
    AddExStyle(mainWindow, WS_EX_LAYERED);
    ApplySettings(mainWindow);
    return TRUE;
}

static void AddTrayIcon(HWND window) {
    trayIcon.data.cbSize = sizeof trayIcon;
    trayIcon.data.hWnd = window;
    trayIcon.data.uID = TRAY_ICON_ID;
    trayIcon.data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIcon.data.uCallbackMessage = WM_TRAYCALLBACK;
    trayIcon.data.hIcon = LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_SMALL));
    lstrcpynW(trayIcon.data.szTip, caption, ARRAYSIZE(trayIcon.data.szTip));
    // When the icon is already there the add fails and that icon stays.
    Shell_NotifyIconW(NIM_ADD, &trayIcon.data);
}

static void ApplySettingsHere(HWND window) {
    LoadSettings(settings);
    SaveSettings(settings);
    if (settings.volumeWatch)
        SetTimer(window, VOLUME_WATCH_TIMER, 40, NULL);
    else
        KillTimer(window, VOLUME_WATCH_TIMER);
    if (settings.debugMode) {
        AllocConsole();
        StartDebugPrinter();
    } else
        FreeConsole();
    // A cleared showIcon never removes an icon already shown.
    if (settings.showIcon) AddTrayIcon(window);
}

void ApplySettings(HWND window) {
    if (GetWindowThreadProcessId(window, NULL) != GetCurrentThreadId()) {
        PostMessageW(window, WM_APPLYSETTINGS, 0, 0);
        return;
    }
    ApplySettingsHere(window);
}

static void OnEnding() {
    // Removed whatever showIcon says now: a reload may have cleared it while
    // the icon was shown, and an icon left behind would stay in the
    // notification area after the program is gone.  Deleting an icon that
    // is not there does nothing.
    trayIcon.data.hWnd = mainWindow;
    trayIcon.data.uID = TRAY_ICON_ID;
    Shell_NotifyIconW(NIM_DELETE, &trayIcon.data);
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreatedMessage && message != 0) {
        ApplySettings(hwnd);
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
    case WM_HOTKEY: OnEnding(); return 0;
    case WM_APPLYSETTINGS: ApplySettings(hwnd); return 0;
    case WM_COMMAND: return 0;      // tray commands: not yet offered
    case WM_TIMER: return 0;        // volume watch: not yet offered
    case WM_TRAYCALLBACK: return 0; // tray callback: no menu yet
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
