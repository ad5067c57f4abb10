#include "config/settings_map.h"

#include <stddef.h>
#include <string.h>

#include <shlwapi.h>

#define FIELD(name) offsetof(Settings, name)

const WCHAR exclusionSection[] = L"排除列表";

const IniKey iniKeys[] = {
    {L"修复功能", L"单击", 1, KIND_SWITCH, FIELD(fixClick), TRUE},
    {L"修复功能", L"释放", 1, KIND_SWITCH, FIELD(fixRelease), TRUE},
    {L"修复功能", L"滚动", 1, KIND_SWITCH, FIELD(fixScroll), TRUE},
    {L"修复参数", L"单击间隔", 100, KIND_NUMBER, FIELD(clickInterval), FALSE},
    {L"修复参数", L"释放间隔", 50, KIND_NUMBER, FIELD(releaseInterval), FALSE},
    {L"修复参数", L"滚动间隔", 50, KIND_NUMBER, FIELD(scrollInterval), FALSE},
    {L"设备选择", L"左键", 0, KIND_SWITCH, FIELD(deviceLeft), TRUE},
    {L"设备选择", L"右键", 0, KIND_SWITCH, FIELD(deviceRight), TRUE},
    {L"功能设置", L"滚轮穿透", 1, KIND_SWITCH, FIELD(wheelPassthrough), TRUE},
    {L"功能设置", L"音量控制", 1, KIND_SWITCH, FIELD(volumeControl), TRUE},
    {L"功能设置", L"鼠标手势", 1, KIND_SWITCH, FIELD(mouseGesture), TRUE},
    {L"功能设置", L"显示图标", 1, KIND_SWITCH, FIELD(showIcon), TRUE},
    {L"功能设置", L"调试模式", 0, KIND_SWITCH, FIELD(debugMode), FALSE},
    {L"滚轮穿透", L"滚动倍数", 1, KIND_MULTIPLIER, FIELD(wheelMultiplier), FALSE},
    {L"滚轮穿透", L"提前窗口", 0, KIND_SWITCH, FIELD(raiseWindow), FALSE},
    {L"音量控制", L"快捷键", 1, KIND_VOLUME_HOTKEY, FIELD(volumeHotkey), FALSE},
    {L"音量控制", L"音量变化", 3, KIND_NUMBER, FIELD(volumeSteps), FALSE},
    {L"音量控制", L"调节音效", 1, KIND_SWITCH, FIELD(volumeSound), FALSE},
    {L"音量控制", L"显示界面", 1, KIND_SWITCH, FIELD(volumeOsd), FALSE},
    {L"音量控制", L"监控全局", 0, KIND_SWITCH, FIELD(volumeWatch), FALSE},
    {L"鼠标手势", L"快捷键", 1, KIND_GESTURE_HOTKEY, FIELD(gestureHotkey), FALSE},
    {L"鼠标手势", L"显示轨迹", 0, KIND_SWITCH, FIELD(gestureTrail), FALSE},
    {L"鼠标手势", L"生效位置", 0, KIND_SWITCH, FIELD(gestureAtEnd), FALSE},
};

const int iniKeyCount = sizeof iniKeys / sizeof iniKeys[0];

static INT HotkeyFromCode(INT code, BOOL allowMouseButtons) {
    switch (code) {
    case 2: return VK_CONTROL;
    case 3: return VK_SHIFT;
    case 4: return VK_LWIN;
    case 5: return allowMouseButtons ? VK_RBUTTON : VK_MENU;
    case 6: return allowMouseButtons ? VK_LBUTTON : VK_MENU;
    default: return VK_MENU;
    }
}

INT StoredValue(ValueKind kind, INT raw) {
    switch (kind) {
    case KIND_SWITCH: return raw != 0;
    case KIND_MULTIPLIER: return (raw >= 1 && raw <= 33) ? raw : 1;
    case KIND_VOLUME_HOTKEY: return HotkeyFromCode(raw, TRUE);
    case KIND_GESTURE_HOTKEY: return HotkeyFromCode(raw, FALSE);
    case KIND_NUMBER: break;
    }
    return raw;
}

INT GetField(const Settings& record, const IniKey& row) {
    const BYTE* field = reinterpret_cast<const BYTE*>(&record) + row.fieldOffset;
    if (row.kind == KIND_SWITCH) return *field;
    INT value;
    memcpy(&value, field, sizeof value);
    return value;
}

void SetField(Settings& record, const IniKey& row, INT value) {
    BYTE* field = reinterpret_cast<BYTE*>(&record) + row.fieldOffset;
    if (row.kind == KIND_SWITCH) {
        *field = static_cast<BYTE>(value);
        return;
    }
    memcpy(field, &value, sizeof value);
}

BOOL IniPathFromModulePath(const WCHAR* modulePath, DWORD length, WCHAR (&path)[MAX_PATH]) {
    path[0] = L'\0';
    // A result that fills the buffer was cut (XP does not even terminate it).
    if (length == 0 || length >= MAX_PATH) return FALSE;
    memcpy(path, modulePath, length * sizeof(WCHAR));
    path[length] = L'\0';
    if (!PathRenameExtensionW(path, L".ini")) {
        path[0] = L'\0';
        return FALSE;
    }
    return TRUE;
}
