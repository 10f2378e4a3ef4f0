// install_record.cpp: the installation record's key path and the calls into the platform's
// record services (see install_record.h).
#include "package/install_record.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform_system.h"

namespace {

const char kKeyPrefix[] = "Software\\Quillbrook Ltd\\";

// "Software\Quillbrook Ltd\" + subkey in a heap buffer of exactly the needed size; the caller
// frees it. Null when the memory cannot be had.
char* NewKeyPath(const char* productSubkey) {
    size_t size = std::strlen(kKeyPrefix) + std::strlen(productSubkey) + 1;
    char* path = static_cast<char*>(std::malloc(size));
    if (path) std::snprintf(path, size, "%s%s", kKeyPrefix, productSubkey);
    return path;
}

}  // namespace

bool ReadRegistryValue(const char* productSubkey, const char* valueName, char* buffer, uint32_t size) {
    if (!productSubkey || !valueName || !buffer || size == 0) return false;
    char* keyPath = NewKeyPath(productSubkey);
    if (!keyPath) return false;
    bool read = PlatformRecordRead(keyPath, valueName, buffer, size);
    std::free(keyPath);
    return read;
}

bool WriteRegistryString(const char* productSubkey, const char* valueName, const char* text) {
    if (!productSubkey || !valueName || !text) return false;
    char* keyPath = NewKeyPath(productSubkey);
    if (!keyPath) return false;
    bool written = PlatformRecordWrite(keyPath, valueName, text);
    std::free(keyPath);
    return written;
}

bool RecordName(const char* productSubkey, char* buffer, uint32_t size) {
    if (!productSubkey || !buffer || size == 0) return false;
    char* keyPath = NewKeyPath(productSubkey);
    if (!keyPath) return false;
    bool named = PlatformRecordName(keyPath, buffer, size);
    std::free(keyPath);
    return named;
}
