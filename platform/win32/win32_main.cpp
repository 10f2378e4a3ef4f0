// win32_main.cpp: the Windows program's start-up. The command line is taken from the system in
// UTF-16 (GetCommandLineW: WinMain's narrow text would have mapped every character outside the
// code page to a look-alike or "?") and converted to UTF-8; the framework entry splits it into
// words by the Windows rules (framework/command_words.h) and does the rest.
#include <windows.h>

#include <string>

#include "framework/command_words.h"
#include "framework/qbio.h"
#include "platform/win32/wide_path.h"

namespace {

// A lone surrogate cannot be UTF-8: it becomes U+FFFD, which no existing path holds, so a folder
// named with one is refused as missing while every switch still counts.
std::string CommandLineText() {
    std::wstring wide = GetCommandLineW();
    std::string utf8;
    if (NarrowPath(wide.c_str(), &utf8)) return utf8;
    for (size_t i = 0; i < wide.size(); ++i) {
        const bool high = wide[i] >= 0xD800 && wide[i] <= 0xDBFF;
        const bool paired = high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        if (paired) ++i;
        else if (wide[i] >= 0xD800 && wide[i] <= 0xDFFF) wide[i] = 0xFFFD;
    }
    NarrowPath(wide.c_str(), &utf8);
    return utf8;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::string whole = CommandLineText();
    return RunWinMain(instance, SkipWindowsProgramName(whole.c_str()));
}
