// Entry point: one instance, a hidden main window, the mouse hook and the
// message loop.  The exit code is 0 on every path.
#include <windows.h>
#include <gdiplus.h>

#include "app/main_window.h"
#include "input/mouse_hook.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, NULL);

    if (FindWindowW(caption, caption) != NULL) return 0;

    RegisterMainClass(instance);
    if (!CreateMainWindow(instance)) return 0;

    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, instance, 0);
    if (mouseHook == NULL) {
        MessageBoxW(NULL, L"SetWindowsHookEx Failed!", caption, MB_OK);
        return 0;
    }

    MSG msg = {};
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    Gdiplus::GdiplusShutdown(gdiplusToken);
    UnhookWindowsHookEx(mouseHook);
    return static_cast<int>(msg.wParam);
}
