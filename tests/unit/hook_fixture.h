// Drives MouseHookProc in-process with a made-up clock and key states.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "config/settings.h"
#include "input/hook_platform.h"
#include "input/mouse_hook.h"

struct FakeInput {
    static DWORD tick;
    static SHORT keys[256];  // as GetAsyncKeyState would return them
    static DWORD WINAPI Tick() { return tick; }
    static SHORT WINAPI Key(int key) { return keys[key & 0xFF]; }
    static void Hold(int key) { keys[key & 0xFF] = static_cast<SHORT>(0x8000); }
};

class HookFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedPlatform = hookPlatform;
        savedSettings = settings;
        hookPlatform.tickCount = FakeInput::Tick;
        hookPlatform.asyncKeyState = FakeInput::Key;
        hookPlatform.keyState = FakeInput::Key;
        FakeInput::tick = 1000;
        memset(FakeInput::keys, 0, sizeof FakeInput::keys);
        hookState = HookState();
        LoadSettingsFrom(NULL, settings);  // the defaults
        settings.wheelPassthrough = 0;
    }
    void TearDown() override {
        hookPlatform = savedPlatform;
        settings = savedSettings;
        hookState = HookState();
    }

    // Returns TRUE when the hook swallowed the event.
    static BOOL Send(DWORD tick, UINT message, SHORT wheelDelta = 0, POINT pt = {10, 10},
                     int nCode = HC_ACTION) {
        FakeInput::tick = tick;
        MSLLHOOKSTRUCT event = {};
        event.pt = pt;
        event.mouseData = static_cast<DWORD>(static_cast<WORD>(wheelDelta)) << 16;
        return MouseHookProc(nCode, message, reinterpret_cast<LPARAM>(&event)) == 1;
    }

    HookPlatform savedPlatform;
    Settings savedSettings;
};
