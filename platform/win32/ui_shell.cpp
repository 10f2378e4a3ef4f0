// ui_shell.cpp: message boxes (modal, no owner, OK only, Unicode so Windows-1252 texts show
// correctly on any code page) and opening a document with its registered program.
#include <string>

#include "platform/platform_display.h"
#include "platform/text_convert.h"
#include "platform/win32/ui_backend.h"
#include "platform/win32/wide_path.h"

#include <shellapi.h>

namespace {
std::wstring ToWide(const char* text) {
    const std::u16string utf16 = Windows1252ToUtf16(text);
    return std::wstring(utf16.begin(), utf16.end());
}
}  // namespace

void PlatformShowMessageBox(const char* caption, const char* text) {
    MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK);
}

// A program started from Explorer or a shortcut has no console, so the usage and the faults of
// the command line are shown in a message box.
void PlatformShowCommandLineText(const char* caption, const char* text, bool) {
    std::wstring wide;
    // The text is UTF-8; should a word of the command line not convert, it is shown as the fonts would.
    if (!WidePath(text, &wide)) wide = ToWide(PathForDisplay(text).c_str());
    MessageBoxW(nullptr, wide.c_str(), ToWide(caption).c_str(), MB_OK);
}

void PlatformOpenDocument(const char* path) {
    std::wstring wide;
    if (path != nullptr && WidePath(path, &wide)) ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
