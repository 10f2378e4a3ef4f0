// install_record.h: the game's installation record: where the game is installed ("Location")
// and which version it is ("Version"), under HKEY_LOCAL_MACHINE\Software\Quillbrook Ltd\<product>.
//
// The wizard reads "Version" and "Location" when the user has chosen a language and writes
// "Version" after the last file is installed. On Windows the record is the registry (its 32-bit
// view, where the game's own setup wrote it); on Linux a registry export file (see
// platform/platform_system.h). Nothing here shows a message.
#pragma once

#include <cstdint>

// Reads the text value into buffer (size bytes). True only when the key and the value exist and
// the value, with its zero byte, fits: the buffer then holds a zero-terminated text. Never
// creates anything, and needs no write access to the record.
bool ReadRegistryValue(const char* productSubkey, const char* valueName, char* buffer, uint32_t size);

// Stores the text (with its zero byte) as a text value, creating the key when needed.
bool WriteRegistryString(const char* productSubkey, const char* valueName, const char* text);

// Where the record lives, for a page or a log that must name it (platform_system.h,
// PlatformRecordName). False when it does not fit.
bool RecordName(const char* productSubkey, char* buffer, uint32_t size);
