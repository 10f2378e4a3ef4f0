// update_package.cpp: pack mode, the package check and extraction. See update_package.h.
#include "package/update_package.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "package/background_digest.h"
#include "package/background_flush.h"
#include "package/checksum_list.h"
#include "package/replace_together.h"
#include "package/update_file_table.h"
#include "package/update_unit.h"
#include "platform/platform_system.h"

namespace {

// The chunks a copy cycles through (CopyBytes, InstallReadme): one being read and written while
// the digest's worker hashes the two before it.
constexpr int CopyBufferCount = 3;
constexpr size_t CopyBufferBytes = static_cast<size_t>(CopyBufferCount) * UpdateCopyChunkSize;

const char* const PackageName = "update.dat";

enum class CopyResult { Done, ReadFailed, WriteFailed };

// The reason of the file call that just failed; a failure always has one.
WriteFailureReason FailureReason() {
    WriteFailureReason reason = PlatformLastWriteFailure();
    return reason == WriteFailureNone ? WriteFailureOther : reason;
}

// Copies exactly `count` bytes from `from` to `to` (where they start at `toOffset`) in chunks of
// at most UpdateCopyChunkSize, adding them to up to two digests on the way. `buffer` holds
// CopyBufferCount chunks, used in turn, so that the digests' worker can hash a chunk while the
// next ones are read and written (package/background_digest.h). Each chunk written is
// handed to the disk at once, and `flush` (when not null) flushes the file beside the copy, so
// that the flush at the end of the copy waits for the last chunks only, not for the whole file
// (package/background_flush.h). A failed write leaves its reason in `reason`.
CopyResult CopyBytes(FILE* from, FILE* to, int64_t count, int64_t toOffset, unsigned char* buffer,
                     BackgroundDigest* digest, BackgroundDigest* secondDigest, BackgroundFlush* flush,
                     WriteFailureReason* reason) {
    CopyResult result = CopyResult::Done;
    for (int turn = 0; count > 0; turn = (turn + 1) % CopyBufferCount) {
        unsigned char* bytes = buffer + static_cast<size_t>(turn) * UpdateCopyChunkSize;
        size_t chunk = count < UpdateCopyChunkSize ? static_cast<size_t>(count) : UpdateCopyChunkSize;
        if (std::fread(bytes, chunk, 1, from) != 1) {
            result = CopyResult::ReadFailed;
            break;
        }
        errno = 0;
        if (std::fwrite(bytes, chunk, 1, to) != 1) {
            *reason = FailureReason();
            result = CopyResult::WriteFailed;
            break;
        }
        PlatformStartWriteBack(to, toOffset, static_cast<int64_t>(chunk));
        BackgroundFlushWritten(flush, static_cast<int64_t>(chunk));
        BackgroundDigestAdd(digest, bytes, chunk);
        BackgroundDigestAdd(secondDigest, bytes, chunk);
        toOffset += static_cast<int64_t>(chunk);
        count -= static_cast<int64_t>(chunk);
    }
    // The caller may reuse the buffer as soon as this returns.
    BackgroundDigestSettle(digest);
    BackgroundDigestSettle(secondDigest);
    return result;
}

// The files of a copy are unbuffered: a stream buffer would split every chunk at its own edges
// into two or three system calls and copy the bytes once more. Set before the first access.
FILE* Unbuffered(FILE* file) {
    if (file != nullptr) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

// Moves `offset` bytes forward from the current position. Done in steps a 32-bit long can hold,
// so that offsets beyond 2 GiB work where long is 32 bits wide (Windows).
bool SkipForward(FILE* file, int64_t offset) {
    const int64_t maxStep = 0x40000000;
    while (offset > 0) {
        int64_t step = offset < maxStep ? offset : maxStep;
        if (std::fseek(file, static_cast<long>(step), SEEK_CUR) != 0) return false;
        offset -= step;
    }
    return true;
}

bool ReadHeader(FILE* package, UpdatePackageHeader* header) {
    unsigned char bytes[UpdatePackageHeaderSize];
    if (std::fread(bytes, sizeof bytes, 1, package) != 1) return false;
    DecodePackageHeader(bytes, header);
    return true;
}

// Creates a temporary file beside `target` for an unbuffered copy; the reason when it cannot.
FILE* CreateTemporary(const char* target, char* tempPath, size_t tempPathSize, WriteFailureReason* reason) {
    errno = 0;
    FILE* file = Unbuffered(PlatformCreateTempFileBeside(target, tempPath, tempPathSize));
    if (file == nullptr) *reason = FailureReason();
    return file;
}

// A game file's replacement keeps the owner and mode of the file it replaces (an administrator
// updating a player's game leaves the player's files the player's). Refused changes (another
// owner without the right to give files away) leave the file as this process made it.
void TakeOwnerAndModeOf(FILE* temporary, const char* gameFile) {
    if (temporary != nullptr) PlatformTakeOwnerAndMode(temporary, gameFile);
}

// Closes a temporary file that is being abandoned and removes it.
void DiscardTemporary(FILE* file, const char* path) {
    if (file != nullptr) std::fclose(file);
    PlatformRemoveFile(path);
}

// Flushes and closes a finished temporary file; removes it on failure. A file of an update unit
// is not waited for here (`toDisk` false): the unit flushes all of them at once before the record
// is written, and until then a power cut puts the game back anyway (update_unit.h).
bool CloseTemporary(FILE* file, const char* tempPath, WriteFailureReason* reason, bool toDisk = true) {
    errno = 0;
    if (toDisk ? !PlatformSyncFile(file) : std::fflush(file) != 0) {
        *reason = FailureReason();
        DiscardTemporary(file, tempPath);
        return false;
    }
    errno = 0;
    if (std::fclose(file) != 0) {
        *reason = FailureReason();
        PlatformRemoveFile(tempPath);
        return false;
    }
    return true;
}

// Moves a closed temporary file over `target`; removes it on failure.
bool MoveTemporary(const char* tempPath, const char* target, WriteFailureReason* reason) {
    errno = 0;
    if (PlatformReplaceFile(tempPath, target)) return true;
    *reason = FailureReason();
    PlatformRemoveFile(tempPath);
    return false;
}

// Puts a closed temporary file in place of a game file: through the update unit when the copy
// belongs to one, else by replacing the target. Removes it on failure.
bool PlaceTemporary(const char* tempPath, const char* target, EntryCopyCheck* check) {
    if (check->unit == nullptr) return MoveTemporary(tempPath, target, &check->writeFailure);
    errno = 0;
    return PlaceUnitFile(check->unit, check->unitItem, tempPath, &check->writeFailure);
}

// Waits for the early flushes of a copy; one that failed fails a copy that was done, since the
// file is then not known to be on the disk.
void EndEarlyFlushes(BackgroundFlush* flush, CopyResult* copied, WriteFailureReason* reason) {
    WriteFailureReason flushFailure = WriteFailureNone;
    if (!BackgroundFlushEnd(flush, &flushFailure) && *copied == CopyResult::Done) {
        *reason = flushFailure;
        *copied = CopyResult::WriteFailed;
    }
}

// Ends a digest and compares it with the expected one; a digest that cannot be finished counts
// as a mismatch, so that nothing unchecked replaces a game file.
bool DigestMatches(BackgroundDigest* digest, const uint8_t* expected) {
    uint8_t actual[Sha256DigestSize];
    return BackgroundDigestEnd(digest, actual) && std::memcmp(actual, expected, Sha256DigestSize) == 0;
}

// Measures every loose file into the header. Nothing is written yet.
bool MeasureLooseFiles(UpdatePackageHeader* header) {
    for (int i = 0; i < UpdateFileCount; ++i) {
        header->slots[i] = 0;
        if (IsReadmeEntry(i)) continue;
        FILE* file = PlatformOpenFile(UpdateFileName(i), "rb");
        if (file == nullptr) return false;
        int64_t size = PlatformFileSize(file);
        std::fclose(file);
        if (size < 0 || size > INT32_MAX) return false;
        header->slots[i] = static_cast<int32_t>(size);
    }
    return true;
}

// Appends every loose file to the package, checking that each still has its measured size, and
// takes the digest of each file and of the whole package on the way.
bool CopyLooseFiles(const UpdatePackageHeader& header, FILE* package, unsigned char* buffer,
                    BackgroundDigest* packageDigest, BackgroundFlush* packageFlush, uint8_t digests[][Sha256DigestSize]) {
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        FILE* file = Unbuffered(PlatformOpenFile(UpdateFileName(i), "rb"));
        if (file == nullptr) return false;
        BackgroundDigest* digest = BackgroundDigestBegin();
        const int64_t offset = PackageEntryOffset(header, i);
        WriteFailureReason reason = WriteFailureNone;
        bool copied = digest != nullptr &&
                      CopyBytes(file, package, header.slots[i], offset, buffer, digest, packageDigest, packageFlush, &reason) ==
                          CopyResult::Done;
        bool endsThere = copied && std::fgetc(file) == EOF && !std::ferror(file);
        std::fclose(file);
        bool digested = BackgroundDigestEnd(digest, digests[i]);
        if (!endsThere || !digested) return false;
    }
    return true;
}

// The digest of a whole file read in chunks.
bool DigestFile(const char* name, unsigned char* buffer, uint8_t result[Sha256DigestSize]) {
    FILE* file = Unbuffered(PlatformOpenFile(name, "rb"));
    if (file == nullptr) return false;
    PlatformSha256* digest = PlatformSha256Begin();
    size_t got = 0;
    while ((got = std::fread(buffer, 1, UpdateCopyChunkSize, file)) > 0) PlatformSha256Add(digest, buffer, got);
    bool read = !std::ferror(file);
    std::fclose(file);
    return PlatformSha256End(digest, result) && read;
}

// Writes the checksum list into an open temporary file: "update.dat", every language readme
// ("readme_*.txt") of the current folder, then the packed loose files in table order.
bool WriteChecksumList(FILE* list, const uint8_t packageDigest[Sha256DigestSize],
                       const uint8_t digests[][Sha256DigestSize], unsigned char* buffer) {
    char line[ChecksumLineCapacity];
    bool written = FormatChecksumLine(line, packageDigest, PackageName) && std::fputs(line, list) >= 0;
    PlatformFindData found;
    intptr_t listing = PlatformFindFirst(".\\readme_*.txt", &found);
    for (int more = listing == -1 ? -1 : 0; written && more == 0; more = PlatformFindNext(listing, &found)) {
        if (found.attrib & PlatformAttributeFolder) continue;
        uint8_t digest[Sha256DigestSize];
        written = DigestFile(found.name, buffer, digest) && FormatChecksumLine(line, digest, found.name) &&
                  std::fputs(line, list) >= 0;
    }
    if (listing != -1) PlatformFindClose(listing);
    for (int i = 0; written && i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        written = FormatChecksumLine(line, digests[i], UpdateFileName(i)) && std::fputs(line, list) >= 0;
    }
    return written;
}

}  // namespace

void EncodePackageHeader(const UpdatePackageHeader& header, unsigned char bytes[UpdatePackageHeaderSize]) {
    for (int i = 0; i < UpdateFileCount; ++i) {
        uint32_t value = static_cast<uint32_t>(header.slots[i]);
        for (int b = 0; b < 4; ++b) bytes[4 * i + b] = static_cast<unsigned char>(value >> (8 * b));
    }
}

void DecodePackageHeader(const unsigned char bytes[UpdatePackageHeaderSize], UpdatePackageHeader* header) {
    for (int i = 0; i < UpdateFileCount; ++i) {
        uint32_t value = 0;
        for (int b = 0; b < 4; ++b) value |= static_cast<uint32_t>(bytes[4 * i + b]) << (8 * b);
        header->slots[i] = static_cast<int32_t>(value);
    }
}

int64_t PackageEntryOffset(const UpdatePackageHeader& header, int index) {
    int64_t offset = UpdatePackageHeaderSize;
    for (int j = 0; j < index; ++j) {
        if (IsReadmeEntry(j)) continue;
        if (header.slots[j] < 0) return -1;
        offset += header.slots[j];
    }
    return offset;
}

bool BuildUpdatePackage() {
    // A folder, a link or a device in the way is refused before anything is written.
    if (!IsReplaceableTarget(PackageName) || !IsReplaceableTarget(ChecksumListName)) return false;
    UpdatePackageHeader header{};
    if (!MeasureLooseFiles(&header)) return false;
    // The package being replaced is not read again. Its cached pages are handed back before the
    // new one is written, as a copy over it would (cat, cp): on a virtual machine whose free
    // memory goes back to the host, the new package's pages are then ones the host still holds,
    // instead of pages it must provide again on their first write (docs/PERFORMANCE.md).
    PlatformForgetCachedFile(PackageName);

    WriteFailureReason reason = WriteFailureNone;
    char tempPath[520];
    FILE* package = CreateTemporary(PackageName, tempPath, sizeof tempPath, &reason);
    if (package == nullptr) return false;

    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(CopyBufferBytes));
    unsigned char headerBytes[UpdatePackageHeaderSize];
    EncodePackageHeader(header, headerBytes);
    BackgroundDigest* packageDigest = BackgroundDigestBegin();
    BackgroundDigestAdd(packageDigest, headerBytes, sizeof headerBytes);
    // The copy waits for its digests; the package's flush to the disk goes on beside it.
    BackgroundFlush* packageFlush = BackgroundFlushBegin(package);
    uint8_t digests[UpdateFileCount][Sha256DigestSize] = {};
    uint8_t packageSum[Sha256DigestSize];
    bool written = buffer != nullptr && packageDigest != nullptr &&
                   std::fwrite(headerBytes, sizeof headerBytes, 1, package) == 1 &&
                   CopyLooseFiles(header, package, buffer, packageDigest, packageFlush, digests);
    written = BackgroundDigestEnd(packageDigest, packageSum) && written;

    char listPath[520];
    FILE* list = written ? CreateTemporary(ChecksumListName, listPath, sizeof listPath, &reason) : nullptr;
    written = list != nullptr && WriteChecksumList(list, packageSum, digests, buffer);
    std::free(buffer);
    // An early flush still at work finishes before the package is flushed and closed.
    written = BackgroundFlushEnd(packageFlush, &reason) && written;
    if (!written) {
        if (list != nullptr) DiscardTemporary(list, listPath);
        DiscardTemporary(package, tempPath);
        return false;
    }
    // Both complete on the disk before either replaces anything.
    if (!CloseTemporary(list, listPath, &reason)) {
        DiscardTemporary(package, tempPath);
        return false;
    }
    if (!CloseTemporary(package, tempPath, &reason)) {
        PlatformRemoveFile(listPath);
        return false;
    }
    const FileReplacement both[] = {{tempPath, PackageName}, {listPath, ChecksumListName}};
    return ReplaceTogether(both, 2);
}

bool CheckUpdatePackage() {
    FILE* package = PlatformOpenFile(PackageName, "rb");
    if (package == nullptr) return false;
    UpdatePackageHeader header;
    bool whole = ReadHeader(package, &header);
    if (whole) {
        int64_t end = PackageEntryOffset(header, UpdateFileCount);
        whole = end >= 0 && PlatformFileSize(package) == end;
    }
    std::fclose(package);
    return whole;
}

bool ExtractPackageEntry(int32_t index, const char* destination, bool& packageFault, EntryCopyCheck* check) {
    EntryCopyCheck unchecked;
    if (check == nullptr) check = &unchecked;
    FILE* package = Unbuffered(PlatformOpenFile(PackageName, "rb"));
    if (package == nullptr) {
        packageFault = true;
        return false;
    }
    UpdatePackageHeader header;
    int64_t offset = -1;
    if (ReadHeader(package, &header)) offset = PackageEntryOffset(header, index);
    int32_t size = offset >= 0 ? header.slots[index] : -1;
    // An entry that ends beyond the package is refused before anything is created, an empty
    // one included (copying it would read nothing and so find nothing wrong).
    if (size < 0 || PlatformFileSize(package) < offset + size || !SkipForward(package, offset - UpdatePackageHeaderSize)) {
        std::fclose(package);
        packageFault = true;
        return false;
    }

    char tempPath[520];
    FILE* temporary = CreateTemporary(destination, tempPath, sizeof tempPath, &check->writeFailure);
    TakeOwnerAndModeOf(temporary, destination);
    // The game file being replaced is not read again (kept aside, it is only renamed): its cached
    // pages go back before the copy, as with the package in pack mode (BuildUpdatePackage).
    if (temporary != nullptr) PlatformForgetCachedFile(destination);
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(CopyBufferBytes));
    BackgroundDigest* digest = check->expectedDigest != nullptr ? BackgroundDigestBegin() : nullptr;
    // A checked copy waits for its digest; the file's flush to the disk goes on beside it.
    BackgroundFlush* flush = digest != nullptr ? BackgroundFlushBegin(temporary) : nullptr;
    if (temporary == nullptr || buffer == nullptr || (check->expectedDigest != nullptr && digest == nullptr)) {
        BackgroundFlushEnd(flush, nullptr);
        if (temporary != nullptr) DiscardTemporary(temporary, tempPath);
        if (temporary != nullptr) check->writeFailure = WriteFailureOther;  // no memory
        std::free(buffer);
        uint8_t ignored[Sha256DigestSize];
        BackgroundDigestEnd(digest, ignored);
        std::fclose(package);
        packageFault = false;
        return false;
    }

    CopyResult copied = CopyBytes(package, temporary, size, 0, buffer, digest, nullptr, flush, &check->writeFailure);
    std::free(buffer);
    std::fclose(package);
    // A unit's file may be closed and placed while its last early flush goes on beside the
    // copies after it: the unit takes the flush once the file is in place. Any other flush ends
    // here (one never asked for at once).
    if (check->unit == nullptr || !BackgroundFlushGoesOn(flush)) {
        EndEarlyFlushes(flush, &copied, &check->writeFailure);
        flush = nullptr;
    }
    // Only a temporary file that is on the disk and whose digest matches replaces the game file.
    const bool closed = copied == CopyResult::Done &&
                        CloseTemporary(temporary, tempPath, &check->writeFailure, check->unit == nullptr);
    const bool matches = digest == nullptr || DigestMatches(digest, check->expectedDigest);
    bool placed = false;
    if (copied != CopyResult::Done) {
        DiscardTemporary(temporary, tempPath);
        packageFault = copied != CopyResult::WriteFailed;
    } else if (!closed) {  // CloseTemporary has removed it
        packageFault = false;
    } else if (!matches) {
        PlatformRemoveFile(tempPath);
        check->digestMismatch = true;
        packageFault = true;
    } else {
        placed = PlaceTemporary(tempPath, destination, check);
        packageFault = false;
    }
    if (!placed || flush == nullptr) {
        BackgroundFlushEnd(flush, nullptr);  // the file is gone, or its flush has ended
        return placed;
    }
    // An earlier file whose early flush failed is written again, and the update goes on from it.
    int earlierItem = -1;
    if (HandOverUnitFlush(check->unit, check->unitItem, flush, &earlierItem, &check->writeFailure)) return true;
    check->itemToWriteAgain = earlierItem;
    return false;
}

bool FileMatchesDigest(const char* name, const uint8_t* digest) {
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(UpdateCopyChunkSize));
    uint8_t actual[Sha256DigestSize];
    const bool matches = buffer != nullptr && DigestFile(name, buffer, actual) && std::memcmp(actual, digest, Sha256DigestSize) == 0;
    std::free(buffer);
    return matches;
}

bool InstallReadme(const char* source, const char* target, EntryCopyCheck* check) {
    EntryCopyCheck unchecked;
    if (check == nullptr) check = &unchecked;
    FILE* from = Unbuffered(PlatformOpenFile(source, "rb"));
    if (from == nullptr) {
        check->sourceReadFailed = true;
        return false;
    }
    char tempPath[520];
    FILE* temporary = CreateTemporary(target, tempPath, sizeof tempPath, &check->writeFailure);
    TakeOwnerAndModeOf(temporary, target);
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(CopyBufferBytes));
    BackgroundDigest* digest = check->expectedDigest != nullptr ? BackgroundDigestBegin() : nullptr;
    bool copied = temporary != nullptr && buffer != nullptr && (check->expectedDigest == nullptr || digest != nullptr);
    for (int turn = 0; copied; turn = (turn + 1) % CopyBufferCount) {
        unsigned char* bytes = buffer + static_cast<size_t>(turn) * UpdateCopyChunkSize;
        size_t got = std::fread(bytes, 1, UpdateCopyChunkSize, from);
        errno = 0;
        if (got > 0 && std::fwrite(bytes, got, 1, temporary) != 1) {
            check->writeFailure = FailureReason();
            copied = false;
        }
        BackgroundDigestAdd(digest, bytes, got);
        if (got < static_cast<size_t>(UpdateCopyChunkSize)) {
            check->sourceReadFailed = copied && std::ferror(from);
            copied = copied && !check->sourceReadFailed;
            break;
        }
    }
    BackgroundDigestSettle(digest);  // the worker reads the buffer until then
    std::free(buffer);
    std::fclose(from);
    bool matches = digest == nullptr || DigestMatches(digest, check->expectedDigest);
    if (temporary == nullptr) return false;
    if (!copied || !matches) {
        check->digestMismatch = copied && !matches;
        const bool sourceFault = check->digestMismatch || check->sourceReadFailed;
        if (check->writeFailure == WriteFailureNone && !sourceFault) check->writeFailure = WriteFailureOther;
        DiscardTemporary(temporary, tempPath);
        return false;
    }
    return CloseTemporary(temporary, tempPath, &check->writeFailure, check->unit == nullptr) &&
           PlaceTemporary(tempPath, target, check);
}
