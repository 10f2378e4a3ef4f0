// system_record.cpp: the installation record of platform_system.h in the Windows registry, under
// HKEY_LOCAL_MACHINE, always in its 32-bit view (KEY_WOW64_32KEY): the game and its setup are
// 32-bit programs, so on 64-bit Windows that is where the record lives, and a 32-bit build is
// given the same view anyway.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/platform_system.h"

bool PlatformRecordRead(const char* keyPath, const char* valueName, char* buffer, uint32_t size) {
    if (!keyPath || !valueName || !buffer || size == 0) return false;
    HKEY key;
    // Read access only: a user who may not write to the key can still read the record.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return false;
    DWORD length = size;
    LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || length > size) return false;
    // The value need not end with a zero byte; the caller needs a text that ends inside the buffer.
    if (std::memchr(buffer, 0, length)) return true;
    if (length >= size) return false;
    buffer[length] = 0;
    return true;
}

bool PlatformRecordWrite(const char* keyPath, const char* valueName, const char* text) {
    if (!keyPath || !valueName || !text) return false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool PlatformRecordName(const char* keyPath, char* buffer, size_t size) {
    if (!keyPath || !buffer || size == 0) return false;
    const int written = std::snprintf(buffer, size, "HKEY_LOCAL_MACHINE\\%s", keyPath);
    return written > 0 && static_cast<size_t>(written) < size;
}
