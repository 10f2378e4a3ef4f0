// update_package.cpp: pack mode, the package check and extraction. See update_package.h.
#include "package/update_package.h"

#include <climits>
#include <cstdlib>

#include "package/update_file_table.h"
#include "platform/platform_system.h"

namespace {

const char* const PackageName = "update.dat";

enum class CopyResult { Done, ReadFailed, WriteFailed };

// Copies exactly `count` bytes from `from` to `to` (where they start at `toOffset`) in chunks of
// at most UpdateCopyChunkSize. Each chunk written is handed to the disk at once, so that the
// flush at the end of the copy waits for the last chunks only, not for the whole file.
CopyResult CopyBytes(FILE* from, FILE* to, int64_t count, int64_t toOffset, unsigned char* buffer) {
    while (count > 0) {
        size_t chunk = count < UpdateCopyChunkSize ? static_cast<size_t>(count) : UpdateCopyChunkSize;
        if (std::fread(buffer, chunk, 1, from) != 1) return CopyResult::ReadFailed;
        if (std::fwrite(buffer, chunk, 1, to) != 1) return CopyResult::WriteFailed;
        PlatformStartWriteBack(to, toOffset, static_cast<int64_t>(chunk));
        toOffset += static_cast<int64_t>(chunk);
        count -= static_cast<int64_t>(chunk);
    }
    return CopyResult::Done;
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

// Closes a temporary file that is being abandoned and removes it.
void DiscardTemporary(FILE* file, const char* path) {
    if (file != nullptr) std::fclose(file);
    PlatformRemoveFile(path);
}

// Flushes, closes and moves a finished temporary file over `target`; removes it on failure.
bool CommitTemporary(FILE* file, const char* tempPath, const char* target) {
    bool synced = PlatformSyncFile(file);
    bool closed = std::fclose(file) == 0;
    if (!synced || !closed || !PlatformReplaceFile(tempPath, target)) {
        PlatformRemoveFile(tempPath);
        return false;
    }
    return true;
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

// Appends every loose file to the package, checking that each still has its measured size.
bool CopyLooseFiles(const UpdatePackageHeader& header, FILE* package, unsigned char* buffer) {
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        FILE* file = Unbuffered(PlatformOpenFile(UpdateFileName(i), "rb"));
        if (file == nullptr) return false;
        const int64_t offset = PackageEntryOffset(header, i);
        bool copied = CopyBytes(file, package, header.slots[i], offset, buffer) == CopyResult::Done;
        bool endsThere = copied && std::fgetc(file) == EOF && !std::ferror(file);
        std::fclose(file);
        if (!endsThere) return false;
    }
    return true;
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
    UpdatePackageHeader header{};
    if (!MeasureLooseFiles(&header)) return false;

    char tempPath[520];
    FILE* package = Unbuffered(PlatformCreateTempFileBeside(PackageName, tempPath, sizeof tempPath));
    if (package == nullptr) return false;

    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(UpdateCopyChunkSize));
    unsigned char headerBytes[UpdatePackageHeaderSize];
    EncodePackageHeader(header, headerBytes);
    bool written = buffer != nullptr && std::fwrite(headerBytes, sizeof headerBytes, 1, package) == 1 &&
                   CopyLooseFiles(header, package, buffer);
    std::free(buffer);
    if (!written) {
        DiscardTemporary(package, tempPath);
        return false;
    }
    return CommitTemporary(package, tempPath, PackageName);
}

bool CheckUpdatePackage() {
    FILE* package = PlatformOpenFile(PackageName, "rb");
    if (package == nullptr) return false;
    UpdatePackageHeader header;
    bool whole = ReadHeader(package, &header);
    if (whole) {
        int64_t end = PackageEntryOffset(header, UpdateFileCount);
        whole = end >= 0 && PlatformFileSize(package) >= end;
    }
    std::fclose(package);
    return whole;
}

bool ExtractPackageEntry(int32_t index, const char* destination, bool& packageFault) {
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
    FILE* temporary = Unbuffered(PlatformCreateTempFileBeside(destination, tempPath, sizeof tempPath));
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(UpdateCopyChunkSize));
    if (temporary == nullptr || buffer == nullptr) {
        if (temporary != nullptr) DiscardTemporary(temporary, tempPath);
        std::free(buffer);
        std::fclose(package);
        packageFault = false;
        return false;
    }

    CopyResult copied = CopyBytes(package, temporary, size, 0, buffer);
    std::free(buffer);
    std::fclose(package);
    if (copied != CopyResult::Done) {
        DiscardTemporary(temporary, tempPath);
        packageFault = copied == CopyResult::ReadFailed;
        return false;
    }
    if (!CommitTemporary(temporary, tempPath, destination)) {
        packageFault = false;
        return false;
    }
    return true;
}

bool InstallReadme(const char* source, const char* target) {
    FILE* from = Unbuffered(PlatformOpenFile(source, "rb"));
    if (from == nullptr) return false;
    char tempPath[520];
    FILE* temporary = Unbuffered(PlatformCreateTempFileBeside(target, tempPath, sizeof tempPath));
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(UpdateCopyChunkSize));
    bool copied = temporary != nullptr && buffer != nullptr;
    while (copied) {
        size_t got = std::fread(buffer, 1, UpdateCopyChunkSize, from);
        if (got > 0 && std::fwrite(buffer, got, 1, temporary) != 1) copied = false;
        if (got < static_cast<size_t>(UpdateCopyChunkSize)) {
            copied = copied && !std::ferror(from);
            break;
        }
    }
    std::free(buffer);
    std::fclose(from);
    if (temporary == nullptr) return false;
    if (!copied) {
        DiscardTemporary(temporary, tempPath);
        return false;
    }
    return CommitTemporary(temporary, tempPath, target);
}
