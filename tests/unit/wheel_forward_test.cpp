// Wheel passthrough: the message packing, and what real windows receive.
#include <windows.h>
#include <windowsx.h>

#include <vector>

#include "input/wheel_forward.h"
#include "input/wheel_message.h"
#include "tests/unit/hook_fixture.h"

namespace {

TEST(WheelMessage, DeltaIsMultipliedAndKeptWithinSixteenBits) {
    const struct {
        SHORT delta;
        INT multiplier;
        WORD high;
    } cases[] = {
        {120, 3, 0x0168},    {-120, 3, 0xFE98},   {120, 1, 0x0078},   {-120, 33, 0xF088},
        // Beyond 16 bits the product would wrap to the other sign and scroll
        // backwards; it stops at the largest value of its own sign.
        {1200, 33, 0x7FFF},  {-1200, 33, 0x8000}, {32767, 2, 0x7FFF}, {-32768, 1, 0x8000},
    };
    for (const auto& c : cases) {
        WPARAM w = PackWheelWParam(c.delta, c.multiplier, 0x1234);
        EXPECT_EQ(HIWORD(w), c.high) << c.delta << " x " << c.multiplier;
        EXPECT_EQ(LOWORD(w), 0x1234);
    }
}

TEST(WheelMessage, PointKeepsTheLowSixteenBitsOfEachCoordinate) {
    const struct {
        POINT pt;
        WORD low, high;
    } cases[] = {
        {{-10, 20}, 0xFFF6, 0x0014},
        {{1279, -1}, 0x04FF, 0xFFFF},
        {{0, 0}, 0, 0},
    };
    for (const auto& c : cases) {
        LPARAM l = PackWheelLParam(c.pt);
        EXPECT_EQ(LOWORD(l), c.low);
        EXPECT_EQ(HIWORD(l), c.high);
        EXPECT_EQ(GET_X_LPARAM(l), c.pt.x);
    }
}

struct KeyCase {
    std::vector<int> held;
    WORD lowWord;
    WORD expected;
};

TEST(WheelMessage, KeyStateWordCarriesEveryHeldKey) {
    const KeyCase cases[] = {
        {{}, 0, 0},
        {{}, 0x0040, 0x0040},
        {{VK_SHIFT, VK_CONTROL}, 0, MK_SHIFT | MK_CONTROL},
        {{VK_LBUTTON, VK_SHIFT}, 0, MK_LBUTTON | MK_SHIFT},
        {{VK_MBUTTON, VK_RBUTTON}, 0, MK_MBUTTON | MK_RBUTTON},
        {{VK_MENU, VK_LWIN}, 0, 0},
    };
    for (const auto& c : cases) {
        memset(FakeInput::keys, 0, sizeof FakeInput::keys);
        for (int key : c.held) FakeInput::Hold(key);
        EXPECT_EQ(WheelKeyState(c.lowWord, FakeInput::Key), c.expected)
            << c.held.size() << " keys held";
    }
}

// Real windows on the desktop that log the wheel messages they receive.
struct Received {
    HWND window;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> received;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL) {
        received.push_back({hwnd, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class WheelForwardTest : public HookFixture {
protected:
    void SetUp() override {
        HookFixture::SetUp();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = LoggingProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"WheelTarget";
        RegisterClassW(&wc);
        received.clear();
        settings.wheelPassthrough = 1;
        settings.fixScroll = 0;
    }
    void TearDown() override {
        for (HWND w : windows) DestroyWindow(w);
        HookFixture::TearDown();
    }
    HWND Open(int x, int y, int w, int h, DWORD exStyle = 0) {
        HWND window = CreateWindowExW(exStyle, L"WheelTarget", L"target", WS_POPUP | WS_VISIBLE,
                                      x, y, w, h, NULL, NULL, GetModuleHandleW(NULL), NULL);
        windows.push_back(window);
        Pump();
        return window;
    }
    HWND OpenChild(HWND parent, int x, int y, int w, int h) {
        return CreateWindowExW(0, L"WheelTarget", L"child", WS_CHILD | WS_VISIBLE, x, y, w, h,
                               parent, NULL, GetModuleHandleW(NULL), NULL);
    }
    static void Pump() {
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(5);
        }
    }
    static BOOL Above(HWND upper, HWND lower) {
        for (HWND w = GetWindow(lower, GW_HWNDPREV); w != NULL; w = GetWindow(w, GW_HWNDPREV))
            if (w == upper) return TRUE;
        return FALSE;
    }
    std::vector<HWND> windows;
};

TEST_F(WheelForwardTest, NotchGoesToTheWindowUnderThePointMultiplied) {
    HWND target = Open(100, 100, 200, 150);
    ASSERT_EQ(WindowFromPoint(POINT{150, 160}), target) << "another window covers the test area";
    settings.wheelMultiplier = 3;
    FakeInput::Hold(VK_CONTROL);
    EXPECT_TRUE(Send(1000, WM_MOUSEWHEEL, 120, {150, 160}));
    EXPECT_TRUE(Send(1100, WM_MOUSEWHEEL, -120, {151, 161}));
    Pump();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].window, target);
    EXPECT_EQ(HIWORD(received[0].wParam), 0x0168);
    EXPECT_EQ(LOWORD(received[0].wParam), MK_CONTROL);
    EXPECT_EQ(received[0].lParam, MAKELPARAM(150, 160));
    EXPECT_EQ(HIWORD(received[1].wParam), 0xFE98);

    // A fast spin of ten notches in one event, times 33: the window must
    // still scroll forwards, as far as the message can say.
    received.clear();
    settings.wheelMultiplier = 33;
    EXPECT_TRUE(Send(1200, WM_MOUSEWHEEL, 1200, {150, 160}));
    Pump();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(received[0].wParam), 32767);
}

TEST_F(WheelForwardTest, NothingIsForwardedWhenPassthroughIsOffOrTheFilterSwallows) {
    Open(100, 100, 200, 150);
    settings.fixScroll = 1;
    settings.wheelPassthrough = 0;
    EXPECT_FALSE(Send(1000, WM_MOUSEWHEEL, 120, {150, 160}));
    settings.wheelPassthrough = 1;
    EXPECT_TRUE(Send(1010, WM_MOUSEWHEEL, -120, {150, 160}));  // a reversal 10 ms later
    Pump();
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(Send(1100, WM_MOUSEWHEEL, -120, {150, 160}));
    Pump();
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(WheelForwardTest, NotchIsSwallowedWhereNoWindowOfOursLies) {
    // Far outside any window the test opened: swallowed all the same.
    EXPECT_TRUE(Send(1000, WM_MOUSEWHEEL, 120, {-5000, -5000}));
    Pump();
    EXPECT_TRUE(received.empty());
}

TEST_F(WheelForwardTest, ChildGetsTheNotchAndItsTopLevelWindowIsRaised) {
    HWND lower = Open(100, 100, 300, 200);
    HWND child = OpenChild(lower, 10, 10, 100, 100);
    HWND upper = Open(300, 100, 300, 200);
    SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Pump();
    ASSERT_TRUE(Above(upper, lower));
    HWND foregroundBefore = GetForegroundWindow();

    settings.raiseWindow = 1;
    EXPECT_TRUE(Send(1000, WM_MOUSEWHEEL, 120, {130, 130}));
    Pump();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].window, child) << "the notch must go to the control itself";
    EXPECT_TRUE(Above(lower, upper)) << "the top-level window was not raised";
    EXPECT_EQ(GetForegroundWindow(), foregroundBefore) << "the raise activated the window";
}

TEST_F(WheelForwardTest, RaisedTopmostWindowIsNoLongerTopmost) {
    HWND window = Open(100, 100, 300, 200, WS_EX_TOPMOST);
    ASSERT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    settings.raiseWindow = 1;
    EXPECT_TRUE(Send(1000, WM_MOUSEWHEEL, 120, {130, 130}));
    Pump();
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    settings.raiseWindow = 0;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(Send(1100, WM_MOUSEWHEEL, 120, {130, 130}));
    Pump();
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "raised with raiseWindow off";
    EXPECT_EQ(received.size(), 2u);
}

}  // namespace
