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

int64_t SpaceNeeded(const int64_t* newSizes, const int64_t* oldSizes, int count) {
    int64_t growth = 0;
    int64_t largest = 0;
    for (int i = 0; i < count; ++i) {
        int64_t old = oldSizes[i] > 0 ? oldSizes[i] : 0;
        if (newSizes[i] > old) growth += newSizes[i] - old;
        if (newSizes[i] > largest) largest = newSizes[i];
    }
    return growth + largest;
}

int64_t UpdateSpaceNeeded(const char* gameFolder, const char* readmeSource) {
    FILE* package = PlatformOpenFile("update.dat", "rb");
    if (package == nullptr) return -1;
    unsigned char bytes[UpdatePackageHeaderSize];
    bool read = std::fread(bytes, sizeof bytes, 1, package) == 1;
    std::fclose(package);
    if (!read) return -1;
    UpdatePackageHeader header;
    DecodePackageHeader(bytes, &header);

    int64_t newSizes[UpdateFileCount];
    int64_t oldSizes[UpdateFileCount];
    for (int i = 0; i < UpdateFileCount; ++i) {
        newSizes[i] = IsReadmeEntry(i) ? SizeOf(readmeSource) : header.slots[i];
        char target[520];
        oldSizes[i] = UpdateFileTarget(gameFolder, i, target, sizeof target) ? SizeOf(target) : -1;
    }
    return SpaceNeeded(newSizes, oldSizes, UpdateFileCount);
}
