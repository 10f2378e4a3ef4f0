// posix_record_text.h: reading and editing the text of a registry export file (".reg").
//
// On POSIX the installation record is kept in such a file (posix_record_file.cpp), which hands
// over its text already decoded (posix_record_encoding.h). The text is a header line
// ("REGEDIT4" or "Windows Registry Editor Version 5.00", not looked at), sections
// "[HKEY_LOCAL_MACHINE\Software\...]" and value lines "Name"="text" (with \\ and \" escapes),
// "Name"=dword:0000002a or "Name"=hex(n):41,42,00; a line ending in a backslash continues on the
// next one when that one is indented, as the export writes long hex data. Bytes pass unchanged
// (Windows-1252 or UTF-8, whatever the file holds).
// Key paths and value names compare without regard to ASCII case, as in the registry; when a
// value is given more than once, the last one counts, as when the file is imported.
// What cannot be parsed (comments, "@" default values, deletions, damaged lines) is ignored by
// the reader and kept byte for byte by the writer.
#pragma once

#include <string>

// The bytes of the value as the registry would hand them out: a text with its zero byte, a
// dword as 4 little-endian bytes, hex data as given. False when the key or value is missing.
bool FindRecordValue(const std::string& fileText, const std::string& keyPath, const std::string& valueName,
                     std::string* bytes);

// The key path under which the file holds `keyPath` ("Software\..."): the path itself, or, when
// only that is there, "Software\WOW6432Node\..." — how the registry editor of 64-bit Windows
// exports the keys of 32-bit programs such as the game's. Reading and writing the record both go
// through it, so such an export is read and kept in its own layout.
std::string RecordKeyInFile(const std::string& fileText, const std::string& keyPath);

// How the lines a write adds look: the header line an empty file gets, and the line end (empty:
// the file's own, CR LF when it has any, else LF). The default is the 8-bit format's.
struct RecordLineStyle {
    std::string header = "REGEDIT4";
    std::string newline;
};

// The file text with the text value set: the last line of that value is replaced, or the
// value is added at the end of the last section of that key, or the section is added at the end
// of the file (the style's header and an empty line first when the file is empty). New lines use
// the style's line ending. Every other line is kept as it was.
// False when the text holds a line break or a zero byte, which the format cannot carry.
bool SetRecordText(const std::string& fileText, const std::string& keyPath, const std::string& valueName,
                   const std::string& text, std::string* newFileText, const RecordLineStyle& style = RecordLineStyle());
