// update_space.cpp: see update_space.h. Called by the wizard's source check.
#include "package/update_space.h"

#include <cstdio>

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "platform/platform_system.h"

namespace {

// Size of a file, or -1 when it cannot be opened.
int64_t SizeOf(const char* path) {
    FILE* file = PlatformOpenFile(path, "rb");
    if (file == nullptr) return -1;
    int64_t size = PlatformFileSize(file);
    std::fclose(file);
    return size;
}

}  // namespace

int64_t SpaceNeeded(const int64_t* newSizes, int count) {
    const int64_t unit = 4096;
    int64_t total = unit;  // the journal
    for (int i = 0; i < count; ++i) {
        const int64_t size = newSizes[i] > 0 ? newSizes[i] : 0;
        total += (size + unit - 1) / unit * unit + unit;  // the file, and a marker when it is new
    }
    return total;
}

int64_t UpdateSpaceNeeded(const char* readmeSource) {
    FILE* package = PlatformOpenFile("update.dat", "rb");
    if (package == nullptr) return -1;
    unsigned char bytes[UpdatePackageHeaderSize];
    bool read = std::fread(bytes, sizeof bytes, 1, package) == 1;
    std::fclose(package);
    if (!read) return -1;
    UpdatePackageHeader header;
    DecodePackageHeader(bytes, &header);

    int64_t newSizes[UpdateFileCount];
    for (int i = 0; i < UpdateFileCount; ++i) newSizes[i] = IsReadmeEntry(i) ? SizeOf(readmeSource) : header.slots[i];
    return SpaceNeeded(newSizes, UpdateFileCount);
}
