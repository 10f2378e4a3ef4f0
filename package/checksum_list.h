// checksum_list.h: "SHA256SUMS", the list of SHA-256 digests that pack mode writes beside
// "update.dat", in the format the standard checksum tools read and check (`sha256sum -c`): one
// line per file, 64 hex digits, two spaces (or a space and "*"), the bare file name, a newline.
// Pack mode lists "update.dat", each language readme and each packed loose file by name; the
// wizard reads the list at its source check and checks each entry against it while copying.
//
// Callers: BuildUpdatePackage (FormatChecksumLine), the wizard's source check (ReadChecksumList,
// ChecksumListCoversPackage) and its install steps (FindChecksum).
#pragma once

#include <cstddef>
#include <cstdint>

extern const char ChecksumListName[];  // "SHA256SUMS", in the current folder like "update.dat"

enum : int {
    ChecksumDigestSize = 32,
    ChecksumNameCapacity = 64,      // bytes of a listed name, its zero included
    ChecksumListCapacity = 64,      // lines: the 54 pack mode writes and room to spare
    ChecksumLineCapacity = 2 * ChecksumDigestSize + 2 + ChecksumNameCapacity + 1,
};

struct ChecksumLine {
    char name[ChecksumNameCapacity];
    uint8_t digest[ChecksumDigestSize];
};
struct ChecksumList {
    int count;
    ChecksumLine lines[ChecksumListCapacity];
};

// Parses the text of a list. Accepts "\n" and "\r\n" line ends, a missing last newline, upper-
// or lower-case digits, the binary marker "*", and skips lines starting with "#" as the tools do.
// False (the list is malformed) for any other line, a name with a folder part or too long, a name
// listed twice, more lines than fit, or no line at all.
bool ParseChecksumList(const char* text, size_t length, ChecksumList* list);

enum ChecksumListState { ChecksumListAbsent, ChecksumListValid, ChecksumListMalformed };
// Reads "SHA256SUMS" from the current folder: absent when it cannot be opened, malformed when it
// cannot be read whole or does not parse (or is larger than any list pack mode writes).
ChecksumListState ReadChecksumList(ChecksumList* list);

// The digest listed for `name` (compared without regard to case), or null.
const uint8_t* FindChecksum(const ChecksumList& list, const char* name);
// True when every entry that "update.dat" carries has a line.
bool ChecksumListCoversPackage(const ChecksumList& list);

// Writes one line, "<64 lower-case hex digits>  <name>\n", into `line` (ChecksumLineCapacity
// bytes); false when the name does not fit.
bool FormatChecksumLine(char* line, const uint8_t digest[ChecksumDigestSize], const char* name);
