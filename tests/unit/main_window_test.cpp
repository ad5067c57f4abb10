// The main window's lifecycle messages and the application of the settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "config/settings.h"
#include "res/resource.h"

namespace {

DWORD WINAPI ApplySettingsThread(LPVOID window) {
    ApplySettings(static_cast<HWND>(window));
    return 0;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterMainClass(GetModuleHandleW(NULL)); }
    void SetUp() override {
        saved = settings;
        ASSERT_TRUE(IniPath(iniPath));
        DeleteFileW(iniPath);
        window = CreateWindowExW(0, caption, caption, WS_POPUPWINDOW, 0, 0, 10, 10, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
        ASSERT_NE(window, (HWND)NULL);
        mainWindow = window;
    }
    void TearDown() override {
        if (IsWindow(window)) {
            KillTimer(window, VOLUME_WATCH_TIMER);
            DestroyWindow(window);
        }
        DrainQuit();
        DeleteFileW(iniPath);
        settings = saved;
    }
    void WriteIni(const WCHAR* section, const WCHAR* key, const WCHAR* value) {
        WritePrivateProfileStringW(section, key, value, iniPath);
    }
    // Pumps for `ms` milliseconds; returns how many volume-watch ticks came.
    int Pump(DWORD ms) {
        int ticks = 0;
        DWORD start = GetTickCount();
        MSG msg;
        while (GetTickCount() - start < ms) {
            while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_TIMER && msg.hwnd == window &&
                    msg.wParam == VOLUME_WATCH_TIMER)
                    ++ticks;
                if (msg.message == WM_QUIT) quitCode = static_cast<int>(msg.wParam);
                DispatchMessageW(&msg);
            }
            Sleep(5);
        }
        return ticks;
    }
    static void DrainQuit() {
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    Settings saved;
    WCHAR iniPath[MAX_PATH];
    HWND window = NULL;
    int quitCode = -1;
};

TEST_F(MainWindowTest, ApplySettingsFromAnotherThreadRunsOnTheWindowsThread) {
    ApplySettings(window);  // creates the file with the defaults
    ASSERT_EQ(settings.mouseGesture, 1);
    WriteIni(L"功能设置", L"鼠标手势", L"0");

    HANDLE thread = CreateThread(NULL, 0, ApplySettingsThread, window, 0, NULL);
    ASSERT_NE(thread, (HANDLE)NULL);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_EQ(settings.mouseGesture, 1) << "the record was rewritten off the window's thread";

    Pump(50);
    EXPECT_EQ(settings.mouseGesture, 0) << "the reload never happened";
}

TEST_F(MainWindowTest, VolumeWatchTimerFollowsTheSetting) {
    ApplySettings(window);  // creates the file with the defaults
    WriteIni(L"音量控制", L"监控全局", L"1");
    ApplySettings(window);
    EXPECT_GE(Pump(300), 3) << "no 40 ms timer";
    WriteIni(L"音量控制", L"监控全局", L"0");
    ApplySettings(window);
    Pump(60);  // a tick already queued may still arrive
    EXPECT_EQ(Pump(200), 0) << "the timer was not killed";
}

TEST_F(MainWindowTest, NewTaskbarReloadsTheSettings) {
    ApplySettings(window);
    ASSERT_EQ(settings.fixRelease, 1);
    WriteIni(L"修复功能", L"释放", L"0");
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(settings.fixRelease, 0);
}

// The shell answers a change to an icon only while the icon exists.
static BOOL TrayIconExists() {
    TrayIconData probe = trayIcon;
    probe.data.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &probe.data);
}

TEST_F(MainWindowTest, IconShownAtStartIsRemovedAtTheEndEvenAfterItWasSwitchedOff) {
    ApplySettings(window);
    ASSERT_TRUE(TrayIconExists());
    WriteIni(L"功能设置", L"显示图标", L"0");
    ApplySettings(window);
    EXPECT_EQ(settings.showIcon, 0);
    EXPECT_TRUE(TrayIconExists()) << "a reload must not remove a shown icon";
    SendMessageW(window, WM_HOTKEY, 0, 0);  // ends without destroying the window
    EXPECT_FALSE(TrayIconExists()) << "the icon outlived the program";
}

TEST_F(MainWindowTest, HotkeyEndsTheLoopWithoutDestroyingTheWindow) {
    SendMessageW(window, WM_HOTKEY, 0, 0);
    Pump(20);
    EXPECT_EQ(quitCode, 0);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindowTest, CloseDestroysTheWindowAndEndsTheLoop) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    Pump(20);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(quitCode, 0);
}

}  // namespace
