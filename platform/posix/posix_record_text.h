// posix_record_text.h: reading and editing the text of a registry export file (".reg", REGEDIT4).
//
// On POSIX the installation record is kept in such a file (posix_record_file.cpp). The file is
// a header line ("REGEDIT4"), sections "[HKEY_LOCAL_MACHINE\Software\...]" and value lines
// "Name"="text" (with \\ and \" escapes), "Name"=dword:0000002a or "Name"=hex(n):41,42,00; a line
// ending in a backslash continues on the next one when that one is indented, as the export
// writes long hex data. Bytes are Windows-1252 and pass unchanged.
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

// The file text with the text value set: the last line of that value is replaced, or the
// value is added at the end of the last section of that key, or the section is added at the end
// of the file ("REGEDIT4" and an empty line first when the file is empty). New lines use the
// file's line ending (CR LF when it has any, else LF). Every other line is kept as it was.
// False when the text holds a line break or a zero byte, which the format cannot carry.
bool SetRecordText(const std::string& fileText, const std::string& keyPath, const std::string& valueName,
                   const std::string& text, std::string* newFileText);
