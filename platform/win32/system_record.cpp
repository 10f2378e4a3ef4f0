// system_record.cpp: the installation record of platform_system.h in the Windows registry, under
// HKEY_LOCAL_MACHINE, always in its 32-bit view (KEY_WOW64_32KEY): the game and its setup are
// 32-bit programs, so on 64-bit Windows that is where the record lives, and a 32-bit build is
// given the same view anyway. Values are read and written as wide text (the registry's own form),
// converted exactly from and to the program's UTF-8, so a "Location" in any script is the folder
// it names; a value written by a narrow-character setup reads the same through the wide call.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "platform/win32/wide_path.h"

bool PlatformRecordRead(const char* keyPath, const char* valueName, char* buffer, uint32_t size) {
    std::wstring wideKey;
    std::wstring wideName;
    if (!keyPath || !valueName || !buffer || size == 0 || !WidePath(keyPath, &wideKey) || !WidePath(valueName, &wideName))
        return false;
    HKEY key;
    // Read access only: a user who may not write to the key can still read the record.
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wideKey.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD length = 0;
    LONG result = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &length);
    // Room for the value and a zero the value need not end with.
    std::vector<wchar_t> value(length / sizeof(wchar_t) + 2, L'\0');
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        length = static_cast<DWORD>((value.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &length);
    } else if (result == ERROR_SUCCESS) {
        result = ERROR_INVALID_DATA;  // not text: no record to read a folder or a version from
    }
    RegCloseKey(key);
    std::string utf8;
    if (result != ERROR_SUCCESS || !NarrowPath(value.data(), &utf8) || utf8.size() + 1 > size) return false;
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    return true;
}

bool PlatformRecordWrite(const char* keyPath, const char* valueName, const char* text) {
    std::wstring wideKey;
    std::wstring wideName;
    std::wstring wideText;
    if (!keyPath || !valueName || !text || !WidePath(keyPath, &wideKey) || !WidePath(valueName, &wideName) ||
        !WidePath(text, &wideText))
        return false;
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, wideKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideText.c_str()),
                                 static_cast<DWORD>((wideText.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool PlatformRecordName(const char* keyPath, char* buffer, size_t size) {
    if (!keyPath || !buffer || size == 0) return false;
    const int written = std::snprintf(buffer, size, "HKEY_LOCAL_MACHINE\\%s", keyPath);
    return written > 0 && static_cast<size_t>(written) < size;
}
