// text_convert.h: conversions between the program's Windows-1252 text, its UTF-8 paths and the
// encodings the systems want. Portable (no OS headers) and compiled into the core so every build
// tests it.
//
// Callers: the Win32 backend (titles for SetWindowTextW, WM_CHAR of its Unicode window, and every
// path and record value, which it hands to the system's wide-character calls), the SDL backend
// (titles, message boxes and SDL_TEXTINPUT, which are UTF-8) and the wizard, which draws paths
// with its Windows-1252 fonts.
//
// Texts the player reads are Windows-1252; paths are UTF-8 on every system (on Linux the bytes
// the system gives, on Windows the conversion of its UTF-16 names), so that a folder named in
// any script is the folder used.
//
// Windows-1252 leaves five bytes undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D). Like the system's own
// code-page conversion, they map to the C1 control characters of the same value (U+0081 ...), so
// every byte converts to exactly one character and converts back to itself.
#pragma once

#include <cstdint>
#include <string>

// The Unicode character of one Windows-1252 byte (0 gives 0).
uint16_t Windows1252ToUnicode(uint8_t byte);

// True when Windows-1252 assigns a printable or control character to the byte (false only for
// the five undefined codes listed above).
bool IsDefinedInWindows1252(uint8_t byte);

// Converts zero-terminated Windows-1252 text to UTF-16 (what SetWindowTextW takes). Null gives "".
std::u16string Windows1252ToUtf16(const char* text);

// The Windows-1252 byte of one UTF-16 code unit (WM_CHAR of a Unicode window), or 0 when
// Windows-1252 has no such character (surrogate halves included).
uint8_t Utf16UnitToWindows1252(uint16_t unit);

// Converts zero-terminated Windows-1252 text to UTF-8 (SDL titles and message boxes). Null gives "".
std::string Windows1252ToUtf8(const char* text);

// Converts zero-terminated UTF-8 text (SDL text input) to Windows-1252. Characters Windows-1252
// cannot hold, and malformed sequences, are dropped. Null gives "".
std::string Utf8ToWindows1252(const char* utf8);

// Strict conversions for paths: UTF-8 to UTF-16 and back. A malformed sequence, an overlong
// form, an encoded surrogate or (from UTF-16) an unpaired surrogate gives false and nothing, so
// that a path is never turned into a different one. Null gives false.
bool Utf8ToUtf16(const char* utf8, std::u16string* out);
bool Utf16ToUtf8(const char16_t* utf16, std::string* out);

// A UTF-8 path as the wizard's Windows-1252 fonts can draw it: every character Windows-1252
// cannot hold, and every malformed byte, shows as "?". For showing only: the result names no
// file. Null gives "".
std::string PathForDisplay(const char* utf8);
