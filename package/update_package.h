// update_package.h: "update.dat", the one file an update travels in.
//
// Format (every number little-endian): a 188-byte header of 47 signed 32-bit size slots, slot i
// for entry i of the update file table, then the contents of entries 0 to 46 in table order,
// each exactly as long as its slot says, with nothing between them. Entry 44 ("readme.txt") is
// not carried: its slot holds no size and readers never use it. No names, no compression, no
// checksum inside (the checksum list "SHA256SUMS" beside it holds the digests); a package is only
// valid with the table it was made with.
//
// Callers: pack mode of the installer application (BuildUpdatePackage) and the wizard
// (CheckUpdatePackage at its source check, ExtractPackageEntry once per entry, InstallReadme for
// the language readme). "update.dat" and the loose files are always named bare, in the current
// folder.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/write_failure.h"

constexpr int UpdatePackageHeaderSize = 188;
constexpr int UpdatePackageReadmeSlot = 44;
// Entries are copied through a buffer of this size, so memory stays bounded for any entry. The
// files of a copy are unbuffered, so each chunk is one read and one write of the system: large
// enough that the calls cost little beside the bytes, small enough to stay in the processor's cache.
constexpr int UpdateCopyChunkSize = 0x100000;

// The 47 size slots of a package header.
struct UpdatePackageHeader {
    int32_t slots[47];
};

// Builds "update.dat" from the loose files of the update in the current folder (every entry but
// "readme.txt"), and beside it the checksum list "SHA256SUMS" (checksum_list.h): a line for
// "update.dat", for each language readme present and for each packed loose file, the digests
// taken from the bytes as they are copied. Both are written to temporary files and replace the
// old ones together, only when both are complete and flushed (replace_together.h); on any
// failure the old ones are left as they were, byte for byte, and no temporary file remains.
// Refused before anything is written when an existing "update.dat" or "SHA256SUMS" is not a
// regular file (a folder, a link, a device). Fails for a missing or unreadable loose file, one
// larger than 2,147,483,647 bytes, or one whose size changed while it was copied. A zero-byte
// file packs as a slot of 0.
bool BuildUpdatePackage();

// What one copy into the game knows beyond its result: the digest the checksum list gives for
// the file (in), and on failure why (out).
// With `unit` the finished file is put in place by PlaceUnitFile (the old one kept aside as item
// `unitItem` of the update unit) instead of replacing the destination.
struct UpdateUnit;
struct EntryCopyCheck {
    const uint8_t* expectedDigest = nullptr;             // 32 bytes, or null: not checked
    UpdateUnit* unit = nullptr;                          // the update unit the file belongs to, or null
    int unitItem = -1;
    WriteFailureReason writeFailure = WriteFailureNone;  // why the destination could not be written
    bool digestMismatch = false;                         // the bytes copied are not the listed ones
    bool sourceReadFailed = false;                       // InstallReadme: the source could not be read
    // ExtractPackageEntry: a unit's file placed before this one failed its early flush (reason in
    // writeFailure): the update goes on from that item, written again with the ones after it,
    // this one included (HandOverUnitFlush), though this one is in place already.
    int itemToWriteAgain = -1;
};

// Copies entry `index` (0..46, not 44) of "update.dat" to `destination`. The bytes go to a new
// temporary file in the destination's folder, which replaces the destination (made writable
// first) only once the whole entry was written and flushed; on failure the temporary file is
// removed and an existing destination is left as it was. On false, packageFault tells where the
// fault lies: true, the package (missing, unreadable, damaged or too short); false, the
// destination (temporary file not creatable or writable, replacement refused) or no memory.
// On true packageFault is left unchanged. With `check`, the entry's SHA-256 is taken from the
// bytes as they are copied (no second read) and compared with check->expectedDigest before the
// temporary file replaces the destination: a mismatch is a package fault (digestMismatch set),
// and the destination is left as it was. A destination fault sets check->writeFailure.
bool ExtractPackageEntry(int32_t index, const char* destination, bool& packageFault, EntryCopyCheck* check = nullptr);

// True when "update.dat" is whole: its header reads, every slot but 44 is 0 or more, and the file
// is exactly 188 bytes plus their sum long (the package ends right after its last entry, so any
// other length means a damaged header or damaged data). The wizard runs it before touching any
// game file.
bool CheckUpdatePackage();

// True when the whole file `name` reads and its SHA-256 equals `digest` (32 bytes). The wizard
// checks the language readme with it before touching any game file.
bool FileMatchesDigest(const char* name, const uint8_t* digest);

// Copies the language readme `source` to `target` through a temporary file beside the target,
// replacing the target atomically. The source stays where it is. False when anything fails; the
// target is then as it was and no temporary file remains. `check` as for ExtractPackageEntry.
bool InstallReadme(const char* source, const char* target, EntryCopyCheck* check = nullptr);

// Header encoding, shared with the tests.
void EncodePackageHeader(const UpdatePackageHeader& header, unsigned char bytes[UpdatePackageHeaderSize]);
void DecodePackageHeader(const unsigned char bytes[UpdatePackageHeaderSize], UpdatePackageHeader* header);
// Offset of entry `index` in the package: 188 plus the slots before it, slot 44 skipped; -1 when
// a slot before it is negative (a damaged header).
int64_t PackageEntryOffset(const UpdatePackageHeader& header, int index);
