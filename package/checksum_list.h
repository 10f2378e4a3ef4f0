// checksum_list.h: "SHA256SUMS", the list of SHA-256 digests that pack mode writes beside
// "update.dat", in the format the standard checksum tools read and check (`sha256sum -c`): one
// line per file, 64 hex digits, two spaces (or a space and "*"), the bare file name, a newline.
// Pack mode lists "update.dat", each language readme and each packed loose file by name; the
// wizard reads the list at its source check and checks each entry against it while copying.
// Only a list that names "update.dat" is this update's list: a "SHA256SUMS" of another product
// that happens to lie in the same folder (a downloads folder) is ignored.
//
// Callers: BuildUpdatePackage (FormatChecksumLine), the wizard's source check and the signature
// check (ReadChecksumList, FirstUnlistedFile) and the install steps (FindChecksum).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern const char ChecksumListName[];  // "SHA256SUMS", in the current folder like "update.dat"

enum : int {
    ChecksumDigestSize = 32,
    ChecksumNameCapacity = 64,      // bytes of a listed name, its zero included
    ChecksumListCapacity = 64,      // lines: the 54 pack mode writes and room to spare
    ChecksumLineCapacity = 2 * ChecksumDigestSize + 2 + ChecksumNameCapacity + 1,
};

enum ChecksumListState {
    ChecksumListAbsent,     // no "SHA256SUMS": the update installs unchecked
    ChecksumListValid,      // well formed and names "update.dat"
    ChecksumListMalformed,  // a line of it names "update.dat", but it cannot be read as a list
    ChecksumListForeign,    // no line names "update.dat": another product's list, ignored
};

struct ChecksumLine {
    char name[ChecksumNameCapacity];
    uint8_t digest[ChecksumDigestSize];
};
struct ChecksumList {
    ChecksumListState state;
    int count;  // 0 unless the state is ChecksumListValid
    ChecksumLine lines[ChecksumListCapacity];
};

// Parses the text of a list, as `sha256sum -c --strict` reads it, and more:
// - a UTF-8 byte-order mark at the start (Windows editors write one); "\n" or "\r\n" line ends
//   and a missing last newline; blank lines and lines starting with "#" are skipped;
// - "<64 hex digits>  <name>" or "<64 hex digits> *<name>", the digits in either case; the name
//   bare or with a leading "./" (stored without it);
// - or, instead of such lines, the blocks `certutil -hashfile <name> SHA256` prints, one after
//   another: "SHA256 hash of <name>:", on the next line the 64 hex digits (or 32 pairs of them
//   separated by single spaces, as older Windows prints them), then optionally its line
//   "CertUtil: -hashfile command completed successfully.". Only that English wording, no
//   trailing spaces, the same names as above, and never mixed with lines of the other form.
// Any other line, a name with a folder part (but a leading "./"), too long or listed twice (case
// not regarded), or more lines than fit make the list malformed, when some line of it names
// "update.dat" (a damaged list of this update); otherwise, as when no line names "update.dat" in
// a well-formed text, the list is foreign. Sets and returns list->state; lines only when valid.
ChecksumListState ParseChecksumList(const char* text, size_t length, ChecksumList* list);

// Reads "SHA256SUMS" from the current folder: absent when it cannot be opened, malformed when it
// cannot be read; a file larger than any list of this update (64 KiB) is judged by its start:
// malformed when a line of that names "update.dat", foreign otherwise. With `bytes`, the exact
// bytes parsed are kept there (empty unless the file was read whole), for the signature check
// (list_signature.h) over the very text that was parsed, never a second reading of the file.
ChecksumListState ReadChecksumList(ChecksumList* list, std::string* bytes = nullptr);

// The digest listed for `name` (compared without regard to case), or null.
const uint8_t* FindChecksum(const ChecksumList& list, const char* name);
// The first file the installer reads from the update's folder that the list does not name, or
// null when it names them all: "update.dat" first, then `readme` (the readme of the chosen
// language), then each entry the package carries.
const char* FirstUnlistedFile(const ChecksumList& list, const char* readme);

// Writes one line, "<64 lower-case hex digits>  <name>\n", into `line` (ChecksumLineCapacity
// bytes); false when the name does not fit.
bool FormatChecksumLine(char* line, const uint8_t digest[ChecksumDigestSize], const char* name);
