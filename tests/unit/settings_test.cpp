// LoadSettings and SaveSettings against real INI files, through the
// platform's profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/settings.h"
#include "config/settings_map.h"

namespace {

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                              NULL);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
}

// Writes `text` as UTF-16LE with a byte-order mark, as the program creates it.
void WriteUnicodeIni(const std::wstring& path, const std::wstring& text) {
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(WCHAR));
    WriteBytes(path, bytes);
}

// The non-empty lines of a UTF-16LE file with a byte-order mark.
std::vector<std::wstring> UnicodeLines(const std::string& bytes) {
    std::vector<std::wstring> lines;
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE", 2) != 0) return lines;
    std::wstring text(reinterpret_cast<const WCHAR*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    std::wstring line;
    for (WCHAR c : text + L"\n") {
        if (c == L'\r' || c == L'\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return lines;
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        WCHAR dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        path = std::wstring(dir) + L"pw_settings_" +
               std::to_wstring(GetCurrentProcessId()) + L".ini";
        DeleteFileW(path.c_str());
        record = Settings();
    }
    void TearDown() override { DeleteFileW(path.c_str()); }

    Settings Load() {
        Settings loaded = {};
        LoadSettingsFrom(path.c_str(), loaded);
        return loaded;
    }
    INT Field(const Settings& s, const WCHAR* section, const WCHAR* key) {
        for (int i = 0; i < iniKeyCount; ++i) {
            if (lstrcmpW(iniKeys[i].section, section) == 0 && lstrcmpW(iniKeys[i].key, key) == 0)
                return GetField(s, iniKeys[i]);
        }
        ADD_FAILURE() << "no such key";
        return -12345;
    }

    std::wstring path;
    Settings record;
};

TEST_F(IniFileTest, MissingFileGivesEveryDefault) {
    Settings s = Load();
    EXPECT_EQ(s.fixClick, 1);
    EXPECT_EQ(s.fixRelease, 1);
    EXPECT_EQ(s.fixScroll, 1);
    EXPECT_EQ(s.clickInterval, 100);
    EXPECT_EQ(s.releaseInterval, 50);
    EXPECT_EQ(s.scrollInterval, 50);
    EXPECT_EQ(s.deviceLeft, 0);
    EXPECT_EQ(s.deviceRight, 0);
    EXPECT_EQ(s.wheelPassthrough, 1);
    EXPECT_EQ(s.volumeControl, 1);
    EXPECT_EQ(s.mouseGesture, 1);
    EXPECT_EQ(s.showIcon, 1);
    EXPECT_EQ(s.debugMode, 0);
    EXPECT_EQ(s.wheelMultiplier, 1);
    EXPECT_EQ(s.raiseWindow, 0);
    EXPECT_EQ(s.volumeHotkey, VK_MENU);
    EXPECT_EQ(s.volumeSteps, 3);
    EXPECT_EQ(s.volumeSound, 1);
    EXPECT_EQ(s.volumeOsd, 1);
    EXPECT_EQ(s.volumeWatch, 0);
    EXPECT_EQ(s.gestureHotkey, VK_MENU);
    EXPECT_EQ(s.gestureTrail, 0);
    EXPECT_EQ(s.gestureAtEnd, 0);
    EXPECT_EQ(s.exclusionLength, 0);
    EXPECT_EQ(s.exclusionText[0], L'\0');
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "loading wrote a file";
}

TEST_F(IniFileTest, FirstSaveWritesExactlyTheNineSwitchesAsUnicode) {
    Settings s = Load();
    SaveSettingsTo(path.c_str(), s);
    std::string bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2)) << "new file must be UTF-16LE";
    std::vector<std::wstring> expected = {
        L"[修复功能]", L"单击=1",     L"释放=1",     L"滚动=1",     L"[设备选择]",
        L"左键=0",     L"右键=0",     L"[功能设置]", L"滚轮穿透=1", L"音量控制=1",
        L"鼠标手势=1", L"显示图标=1",
    };
    EXPECT_EQ(UnicodeLines(bytes), expected);
}

// The ANSI code page of a non-Chinese system cannot hold the section names;
// a file the program creates must still round-trip them.
TEST_F(IniFileTest, SwitchesRoundTripUnderAnyCodePage) {
    Settings s = Load();
    s.fixClick = 0;
    s.deviceRight = 1;
    s.showIcon = 0;
    SaveSettingsTo(path.c_str(), s);
    s.fixScroll = 0;  // a second save into the now existing file
    SaveSettingsTo(path.c_str(), s);
    Settings back = Load();
    EXPECT_EQ(back.fixClick, 0);
    EXPECT_EQ(back.deviceRight, 1);
    EXPECT_EQ(back.showIcon, 0);
    EXPECT_EQ(back.fixScroll, 0);
    EXPECT_EQ(UnicodeLines(ReadBytes(path)).size(), 12u) << "a save added sections";
}

TEST_F(IniFileTest, SaveNormalisesSwitchesAndLeavesTheUsersOtherValues) {
    WriteUnicodeIni(path,
                    L"[修复功能]\r\n单击=7\r\n\r\n[修复参数]\r\n单击间隔= 0030 \r\n释放间隔=-5\r\n"
                    L"滚动间隔=0\r\n[功能设置]\r\n调试模式=1\r\n; my note\r\n"
                    L"[滚轮穿透]\r\n滚动倍数=abc\r\n");
    Settings s = Load();
    EXPECT_EQ(s.fixClick, 1);
    EXPECT_EQ(s.clickInterval, 30);
    EXPECT_EQ(s.releaseInterval, -5);
    EXPECT_EQ(s.scrollInterval, 0);
    EXPECT_EQ(s.debugMode, 1);
    EXPECT_EQ(s.wheelMultiplier, 1);
    SaveSettingsTo(path.c_str(), s);

    std::vector<std::wstring> lines = UnicodeLines(ReadBytes(path));
    auto has = [&](const std::wstring& line) {
        for (const auto& l : lines)
            if (l == line) return true;
        return false;
    };
    EXPECT_TRUE(has(L"单击=1"));
    EXPECT_FALSE(has(L"单击=7"));
    // The profile writer may tidy the blanks around a value, but the value
    // stays as the user typed it.
    EXPECT_TRUE(has(L"单击间隔= 0030 ") || has(L"单击间隔=0030"))
        << "a value the program never writes was rewritten";
    EXPECT_TRUE(has(L"释放间隔=-5"));
    EXPECT_TRUE(has(L"调试模式=1"));
    EXPECT_TRUE(has(L"; my note"));
    EXPECT_TRUE(has(L"滚动倍数=abc"));
    EXPECT_TRUE(has(L"显示图标=1")) << "a missing switch is written with its default";
}

TEST_F(IniFileTest, WheelMultiplierOutsideOneToThirtyThreeBecomesOne) {
    const struct {
        const WCHAR* text;
        INT expected;
    } cases[] = {
        {L"0", 1}, {L"-3", 1}, {L"34", 1}, {L"100", 1}, {L"1", 1}, {L"2", 2}, {L"33", 33},
    };
    for (const auto& c : cases) {
        WriteUnicodeIni(path, std::wstring(L"[滚轮穿透]\r\n滚动倍数=") + c.text + L"\r\n");
        EXPECT_EQ(Load().wheelMultiplier, c.expected) << "滚动倍数=" << c.text;
    }
}

TEST_F(IniFileTest, HotkeyCodesMapToVirtualKeys) {
    const struct {
        INT code;
        INT volume;
        INT gesture;
    } cases[] = {
        {1, VK_MENU, VK_MENU},        {2, VK_CONTROL, VK_CONTROL}, {3, VK_SHIFT, VK_SHIFT},
        {4, VK_LWIN, VK_LWIN},        {5, VK_RBUTTON, VK_MENU},    {6, VK_LBUTTON, VK_MENU},
        {7, VK_MENU, VK_MENU},        {0, VK_MENU, VK_MENU},       {-1, VK_MENU, VK_MENU},
    };
    for (const auto& c : cases) {
        std::wstring code = std::to_wstring(c.code);
        WriteUnicodeIni(path, L"[音量控制]\r\n快捷键=" + code + L"\r\n[鼠标手势]\r\n快捷键=" +
                                  code + L"\r\n");
        Settings s = Load();
        EXPECT_EQ(s.volumeHotkey, c.volume) << "code " << c.code;
        EXPECT_EQ(s.gestureHotkey, c.gesture) << "code " << c.code;
    }
}

TEST_F(IniFileTest, ExclusionSectionIsCutToItsBuffer) {
    std::wstring text = L"[排除列表]\r\n";
    for (int i = 0; i < 200; ++i) text += L"program" + std::to_wstring(i) + L".exe\r\n";
    WriteUnicodeIni(path, text);
    Settings s = Load();
    EXPECT_GT(s.exclusionLength, 0);
    EXPECT_LT(s.exclusionLength, EXCLUSION_CAPACITY);
    EXPECT_STREQ(s.exclusionText, L"program0.exe");
    // The platform's section format ends with two zeros inside the buffer.
    EXPECT_EQ(s.exclusionText[s.exclusionLength], L'\0');
    EXPECT_EQ(s.exclusionText[s.exclusionLength + 1], L'\0');
}

TEST_F(IniFileTest, ExistingAnsiFileKeepsItsEncoding) {
    // "[修复功能]\r\n单击=0\r\n" in GBK, as a Chinese system writes it.
    const std::string gbk =
        "[\xD0\xDE\xB8\xB4\xB9\xA6\xC4\xDC]\r\n\xB5\xA5\xBB\xF7=0\r\n";
    WriteBytes(path, gbk);
    SaveSettingsTo(path.c_str(), Load());
    std::string after = ReadBytes(path);
    EXPECT_EQ(after.substr(0, gbk.size()), gbk) << "the user's file was re-encoded";
    EXPECT_NE(after.substr(0, 2), std::string("\xFF\xFE", 2));
}

TEST(IniPathTest, ReplacesTheExtensionWithinMaxPath) {
    const struct {
        std::wstring module;
        std::wstring expected;  // empty: no INI path
    } cases[] = {
        {L"C:\\Tools\\Pointerwright.exe", L"C:\\Tools\\Pointerwright.ini"},
        {L"C:\\My Tools.v2\\Pointerwright", L"C:\\My Tools.v2\\Pointerwright.ini"},
        {L"C:\\" + std::wstring(251, L'a') + L".exe", L"C:\\" + std::wstring(251, L'a') + L".ini"},
        // 259 units with no extension: appending ".ini" would not fit.
        {L"C:\\" + std::wstring(256, L'a'), L""},
        // A path that filled the 260-unit buffer was cut by the platform.
        {L"C:\\" + std::wstring(253, L'a') + L".exe", L""},
    };
    for (const auto& c : cases) {
        WCHAR path[MAX_PATH];
        wmemset(path, L'#', MAX_PATH);
        DWORD length = static_cast<DWORD>(c.module.size());
        if (length > MAX_PATH) length = MAX_PATH;
        BOOL ok = IniPathFromModulePath(c.module.c_str(), length, path);
        EXPECT_EQ(ok, !c.expected.empty()) << c.module.size() << " units";
        EXPECT_EQ(std::wstring(path), c.expected) << c.module.size() << " units";
    }
}

TEST(IniPathTest, IsTheRunningExecutableWithIniExtension) {
    WCHAR path[MAX_PATH];
    ASSERT_TRUE(IniPath(path));
    std::wstring p(path);
    ASSERT_GT(p.size(), 15u);
    EXPECT_EQ(p.substr(p.size() - 15), L"\\unit_tests.ini");
}

}  // namespace
