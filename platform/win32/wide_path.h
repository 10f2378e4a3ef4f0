// wide_path.h: the Windows backend's one door between the program's UTF-8 paths and the
// system's UTF-16 calls. Every file, folder, record and command-line call of platform/win32
// converts with these, so that a name outside the system's code page reaches the system as it
// is, and a name that does not convert exactly is refused rather than mapped to a look-alike.
#pragma once

#include <windows.h>

#include <cerrno>
#include <string>

#include "platform/text_convert.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// The UTF-16 form of a UTF-8 path. False, with errno EINVAL and the system error
// ERROR_INVALID_NAME (what the failed call would have said), when it is not exact UTF-8.
inline bool WidePath(const char* utf8, std::wstring* wide) {
    std::u16string units;
    if (!Utf8ToUtf16(utf8, &units)) {
        errno = EINVAL;
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    wide->assign(reinterpret_cast<const wchar_t*>(units.c_str()), units.size());
    return true;
}

// The UTF-8 form of a name the system gave. False when it holds an unpaired surrogate.
inline bool NarrowPath(const wchar_t* wide, std::string* utf8) {
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide), utf8);
}
