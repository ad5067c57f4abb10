// What the executable's file properties and resources show.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"

namespace {

std::wstring ProgramPath() {
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\') + 1) + L"Pointerwright.exe";
}

TEST(Resources, FilePropertiesShowTheProductAndItsVersion) {
    std::wstring path = ProgramPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version resource in Pointerwright.exe";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(61, 1));

    const struct {
        const WCHAR* name;
        const WCHAR* value;
    } strings[] = {
        {L"ProductName", L"Pointerwright"},
        {L"ProductVersion", L"1.61"},
        {L"OriginalFilename", L"Pointerwright.exe"},
    };
    for (const auto& s : strings) {
        WCHAR* value = NULL;
        std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + s.name;
        ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value),
                                   &length))
            << "missing " << key.size();
        EXPECT_STREQ(value, s.value);
    }
}

TEST(Resources, IconsHaveTheirSizesAndTheManifestIsThere) {
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, (HMODULE)NULL);
    const struct {
        int group;
        int size;
    } icons[] = {{IDI_APP, 48}, {IDI_APP, 32}, {IDI_APP, 16}, {IDI_SMALL, 16}};
    for (const auto& icon : icons) {
        HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(icon.group), RT_GROUP_ICON);
        ASSERT_NE(group, (HRSRC)NULL) << "icon group " << icon.group;
        BYTE* directory = static_cast<BYTE*>(LockResource(LoadResource(program, group)));
        int id = LookupIconIdFromDirectoryEx(directory, TRUE, icon.size, icon.size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceW(program, MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_NE(image, (HRSRC)NULL);
        const BITMAPINFOHEADER* header =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(program, image)));
        EXPECT_EQ(header->biWidth, icon.size) << "icon group " << icon.group;
        EXPECT_EQ(header->biHeight, 2 * icon.size) << "icon group " << icon.group;
    }
    EXPECT_EQ(LookupIconIdFromDirectoryEx(
                  static_cast<BYTE*>(LockResource(LoadResource(
                      program, FindResourceW(program, MAKEINTRESOURCEW(IDI_SMALL), RT_GROUP_ICON)))),
                  TRUE, 48, 48, LR_DEFAULTCOLOR),
              LookupIconIdFromDirectoryEx(
                  static_cast<BYTE*>(LockResource(LoadResource(
                      program, FindResourceW(program, MAKEINTRESOURCEW(IDI_SMALL), RT_GROUP_ICON)))),
                  TRUE, 16, 16, LR_DEFAULTCOLOR))
        << "the small group holds more than one image";

    HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, (HRSRC)NULL);
    std::string text(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                     SizeofResource(program, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
    FreeLibrary(program);
}

}  // namespace
