// The routing and de-bounce filters of the mouse hook, as timed sequences of
// events.
#include "tests/unit/hook_fixture.h"

#include "app/debug_print.h"

#include <string>
#include <vector>

DWORD FakeInput::tick;
SHORT FakeInput::keys[256];

namespace {

enum { PASS = 0, SWALLOW = 1 };

struct Event {
    DWORD tick;
    UINT message;
    int expected;
    SHORT delta = 0;
};

struct FilterCase {
    const char* name;
    BYTE deviceLeft, deviceRight, fixClick, fixRelease, fixScroll;
    INT clickInterval, releaseInterval, scrollInterval;
    std::vector<Event> events;
};

const DWORD NEAR_WRAP = 0xFFFFFFF0u;
const UINT WM_MOUSEHWHEEL_ = 0x020E;  // the horizontal wheel; not in the XP headers

const FilterCase filterCases[] = {
    {"BouncesAreEachMeasuredFromThePreviousPress", 1, 0, 1, 0, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1030, WM_LBUTTONDOWN, SWALLOW},
      {1060, WM_LBUTTONDOWN, SWALLOW}, {1160, WM_LBUTTONDOWN, PASS},
      {1259, WM_LBUTTONDOWN, SWALLOW}}},
    {"FirstPressEverIsNotABounce", 1, 0, 1, 0, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1010, WM_LBUTTONDOWN, SWALLOW}}},
    {"FirstPressAfterAMoveIsNotABounce", 1, 0, 1, 0, 0, 100, 50, 50,
     {{1000, WM_MOUSEMOVE, PASS}, {1005, WM_LBUTTONDOWN, PASS}}},
    {"ReleaseFloorAndInterval", 1, 0, 1, 1, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1000, WM_LBUTTONUP, PASS}, {1001, WM_LBUTTONUP, PASS},
      {1002, WM_LBUTTONUP, PASS}, {1003, WM_LBUTTONUP, SWALLOW}, {1049, WM_LBUTTONUP, SWALLOW},
      {1050, WM_LBUTTONUP, PASS}, {5000, WM_LBUTTONUP, PASS}}},
    {"TickIsSharedByBothButtons", 1, 1, 1, 1, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1050, WM_RBUTTONDOWN, SWALLOW},
      {1060, WM_LBUTTONUP, SWALLOW}, {1120, WM_LBUTTONUP, PASS}}},
    {"ReleaseWithoutClickFilterHasNoPressToMeasureFrom", 1, 0, 0, 1, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1010, WM_LBUTTONUP, PASS}, {1020, WM_LBUTTONDOWN, PASS},
      {1030, WM_LBUTTONUP, PASS}}},
    {"RightDeviceOnlyFiltersTheRightButton", 0, 1, 1, 1, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1010, WM_LBUTTONDOWN, PASS}, {1020, WM_LBUTTONUP, PASS},
      {1030, WM_RBUTTONDOWN, PASS}, {1040, WM_RBUTTONDOWN, SWALLOW},
      {1050, WM_RBUTTONUP, SWALLOW}}},
    {"NoDeviceSelectedFiltersNothing", 0, 0, 1, 1, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1001, WM_LBUTTONDOWN, PASS}, {1010, WM_LBUTTONUP, PASS},
      {1011, WM_RBUTTONDOWN, PASS}, {1012, WM_RBUTTONDOWN, PASS}, {1020, WM_RBUTTONUP, PASS}}},
    {"ZeroAndNegativeIntervalsNeverSwallow", 1, 0, 1, 1, 1, 0, 3, -1,
     {{1000, WM_LBUTTONDOWN, PASS}, {1000, WM_LBUTTONDOWN, PASS}, {1003, WM_LBUTTONUP, PASS},
      {1004, WM_MOUSEWHEEL, PASS, 120}, {1004, WM_MOUSEWHEEL, PASS, -120}}},
    {"ElapsedTimeSurvivesTheTickCountWrap", 1, 0, 1, 1, 0, 100, 50, 50,
     {{NEAR_WRAP, WM_LBUTTONDOWN, PASS}, {0x00000010u, WM_LBUTTONDOWN, SWALLOW},
      {0x00000020u, WM_LBUTTONUP, SWALLOW}}},
    {"HalfTheTickRangeOrMoreReadsAsNegative", 1, 0, 1, 1, 0, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1000 + 0x80000000u, WM_LBUTTONUP, PASS},
      {1000 + 0x80000000u, WM_LBUTTONDOWN, SWALLOW}}},
    {"WheelReversalsWithinTheIntervalAreSwallowed", 0, 0, 0, 0, 1, 100, 50, 50,
     {{1000, WM_MOUSEWHEEL, PASS, 120}, {1020, WM_MOUSEWHEEL, SWALLOW, -120},
      {1040, WM_MOUSEWHEEL, SWALLOW, -120}, {1100, WM_MOUSEWHEEL, PASS, -120},
      {1110, WM_MOUSEWHEEL, PASS, -120}, {1120, WM_MOUSEWHEEL, SWALLOW, 120}}},
    {"WheelSizeChangeCountsAsAChange", 0, 0, 0, 0, 1, 100, 50, 50,
     {{1000, WM_MOUSEWHEEL, PASS, 120}, {1010, WM_MOUSEWHEEL, SWALLOW, 240},
      {1100, WM_MOUSEWHEEL, PASS, 240}}},
    {"FirstWheelNotchEverIsNotAReversal", 0, 0, 0, 0, 1, 100, 50, 50,
     {{1000, WM_MOUSEMOVE, PASS}, {1001, WM_MOUSEWHEEL, PASS, -120}}},
    {"WheelFilterOffSwallowsNothing", 0, 0, 0, 0, 0, 100, 50, 50,
     {{1000, WM_MOUSEWHEEL, PASS, 120}, {1001, WM_MOUSEWHEEL, PASS, -120},
      {1002, WM_MOUSEWHEEL, PASS, 120}}},
    {"OtherButtonsAndDoubleClicksAreNeverTouched", 1, 1, 1, 1, 1, 100, 50, 50,
     {{1000, WM_LBUTTONDOWN, PASS}, {1001, WM_MBUTTONDOWN, PASS}, {1002, WM_MBUTTONUP, PASS},
      {1003, WM_XBUTTONDOWN, PASS}, {1004, WM_LBUTTONDBLCLK, PASS},
      {1005, WM_MOUSEHWHEEL_, PASS, -120}, {1006, WM_MOUSEMOVE, PASS}}},
};

class FilterSequence : public HookFixture, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterSequence, SwallowsExactlyTheBounces) {
    const FilterCase& c = GetParam();
    settings.deviceLeft = c.deviceLeft;
    settings.deviceRight = c.deviceRight;
    settings.fixClick = c.fixClick;
    settings.fixRelease = c.fixRelease;
    settings.fixScroll = c.fixScroll;
    settings.clickInterval = c.clickInterval;
    settings.releaseInterval = c.releaseInterval;
    settings.scrollInterval = c.scrollInterval;
    for (size_t i = 0; i < c.events.size(); ++i) {
        const Event& e = c.events[i];
        EXPECT_EQ(Send(e.tick, e.message, e.delta), e.expected)
            << "event " << i << " (message 0x" << std::hex << e.message << " at tick " << std::dec
            << e.tick << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Hook, FilterSequence, ::testing::ValuesIn(filterCases),
                         [](const ::testing::TestParamInfo<FilterCase>& info) {
                             return std::string(info.param.name);
                         });

using HookRouting = HookFixture;

TEST_F(HookRouting, NonActionCodeIsPassedOnWithoutTouchingTheFilters) {
    settings.deviceLeft = 1;
    EXPECT_FALSE(Send(1000, WM_LBUTTONDOWN, 0, {10, 10}, -1));
    EXPECT_TRUE(hookState.initialised) << "the first call, whatever its code, sets the ticks";
    EXPECT_EQ(hookState.lastButtonDownTick, 1000u);
    // The press with the negative code was not recorded, so this is the first.
    EXPECT_FALSE(Send(1010, WM_LBUTTONDOWN));
    EXPECT_TRUE(Send(1020, WM_LBUTTONDOWN));
}

TEST_F(HookRouting, SettingsChangesTakeEffectWithTheNextEvent) {
    settings.deviceLeft = 1;
    EXPECT_FALSE(Send(1000, WM_LBUTTONDOWN));
    EXPECT_TRUE(Send(1010, WM_LBUTTONDOWN));
    settings.fixClick = 0;
    EXPECT_FALSE(Send(1020, WM_LBUTTONDOWN));
}

// Swallowed bounces are reported on the debug console.
class HookDebugPrint : public HookFixture {
protected:
    void SetUp() override {
        HookFixture::SetUp();
        // Prints queued by earlier tests go to the old output first.
        StartDebugPrinter();
        Sleep(100);
        savedOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, NULL, 1 << 16));
        SetStdHandle(STD_OUTPUT_HANDLE, writeEnd);
    }
    void TearDown() override {
        SetStdHandle(STD_OUTPUT_HANDLE, savedOutput);
        CloseHandle(writeEnd);
        CloseHandle(readEnd);
        HookFixture::TearDown();
    }
    // What the printer thread wrote, once `expected` bytes have come or a
    // second has passed.
    std::string Printed(size_t expected) {
        std::string text;
        DWORD start = GetTickCount();
        while (text.size() < expected && GetTickCount() - start < 1000) {
            DWORD available = 0;
            if (PeekNamedPipe(readEnd, NULL, 0, NULL, &available, NULL) && available > 0) {
                char buffer[256];
                DWORD got = 0;
                if (!ReadFile(readEnd, buffer, sizeof buffer, &got, NULL)) break;
                text.append(buffer, got);
            } else {
                Sleep(5);
            }
        }
        Sleep(50);  // anything more that should not have come
        DWORD available = 0;
        if (PeekNamedPipe(readEnd, NULL, 0, NULL, &available, NULL) && available > 0)
            text += "<and more>";
        return text;
    }
    HANDLE savedOutput = NULL, readEnd = NULL, writeEnd = NULL;
};

TEST_F(HookDebugPrint, SwallowedClicksAndReleasesArePrinted) {
    settings.deviceLeft = 1;
    Send(1000, WM_LBUTTONDOWN);
    Send(1001, WM_LBUTTONUP);    // within the 2 ms floor: passed, no print
    Send(1030, WM_LBUTTONDOWN);  // bounce
    Send(1047, WM_LBUTTONUP);    // too-short release
    Send(1048, WM_MOUSEWHEEL, 120);
    Send(1049, WM_MOUSEWHEEL, -120);  // reversal: swallowed without a print
    const std::string expected = "ClickTime:\t30\nReleaseTime:\t17\n";
    EXPECT_EQ(Printed(expected.size()), expected);
}

// A console that takes nothing (here: a pipe nobody reads, as a console
// stalls while the user selects text in it) must not hold up the hook: the
// prints are dropped instead.
TEST_F(HookDebugPrint, StalledConsoleNeverHoldsUpTheHook) {
    settings.deviceLeft = 1;
    const int presses = 20000;  // far more text than a pipe buffer holds
    int swallowed = 0;
    for (int i = 0; i < presses; ++i) swallowed += Send(1000 + i, WM_LBUTTONDOWN);
    EXPECT_EQ(swallowed, presses - 1);

    std::string text = Printed(presses * 13);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_GT(lines, 0u);
    EXPECT_LT(lines, static_cast<size_t>(presses - 1)) << "nothing was dropped";
}

}  // namespace
