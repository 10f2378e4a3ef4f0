// checksum_list.cpp: reading, parsing and writing "SHA256SUMS". See checksum_list.h.
#include "package/checksum_list.h"

#include <cstdio>
#include <cstring>

#include "package/update_file_table.h"
#include "platform/platform_system.h"

const char ChecksumListName[] = "SHA256SUMS";

namespace {

// Larger than any list pack mode writes; a bigger file is not one of ours.
constexpr size_t MaxListBytes = ChecksumListCapacity * (ChecksumLineCapacity + 1);

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One line without its line end.
bool ParseLine(const char* line, size_t length, ChecksumLine* out) {
    if (length < 2 * ChecksumDigestSize + 3) return false;
    for (int i = 0; i < ChecksumDigestSize; ++i) {
        int high = HexValue(line[2 * i]);
        int low = HexValue(line[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        out->digest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    const char* rest = line + 2 * ChecksumDigestSize;
    if (rest[0] != ' ' || (rest[1] != ' ' && rest[1] != '*')) return false;
    const char* name = rest + 2;
    size_t nameLength = length - 2 * ChecksumDigestSize - 2;
    if (nameLength >= ChecksumNameCapacity) return false;
    for (size_t i = 0; i < nameLength; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || c == '/' || c == '\\' || c == ':') return false;
    }
    std::memcpy(out->name, name, nameLength);
    out->name[nameLength] = 0;
    return true;
}

}  // namespace

bool ParseChecksumList(const char* text, size_t length, ChecksumList* list) {
    list->count = 0;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && text[end] != '\n') ++end;
        size_t lineLength = end - start;
        if (lineLength > 0 && text[start + lineLength - 1] == '\r') --lineLength;
        if (text[start] != '#') {
            if (list->count == ChecksumListCapacity) return false;
            ChecksumLine* line = &list->lines[list->count];
            if (!ParseLine(text + start, lineLength, line)) return false;
            if (FindChecksum(*list, line->name) != nullptr) return false;
            ++list->count;
        }
        start = end + 1;
    }
    return list->count > 0;
}

ChecksumListState ReadChecksumList(ChecksumList* list) {
    list->count = 0;
    FILE* file = PlatformOpenFile(ChecksumListName, "rb");
    if (file == nullptr) return ChecksumListAbsent;
    char text[MaxListBytes + 1];
    size_t length = std::fread(text, 1, sizeof text, file);
    bool whole = !std::ferror(file) && length <= MaxListBytes;
    std::fclose(file);
    return whole && ParseChecksumList(text, length, list) ? ChecksumListValid : ChecksumListMalformed;
}

const uint8_t* FindChecksum(const ChecksumList& list, const char* name) {
    for (int i = 0; i < list.count; ++i)
        if (NamesEqual(list.lines[i].name, name)) return list.lines[i].digest;
    return nullptr;
}

bool ChecksumListCoversPackage(const ChecksumList& list) {
    for (int i = 0; i < UpdateFileCount; ++i)
        if (!IsReadmeEntry(i) && FindChecksum(list, UpdateFileName(i)) == nullptr) return false;
    return true;
}

bool FormatChecksumLine(char* line, const uint8_t digest[ChecksumDigestSize], const char* name) {
    static const char digits[] = "0123456789abcdef";
    if (std::strlen(name) >= ChecksumNameCapacity) return false;
    for (int i = 0; i < ChecksumDigestSize; ++i) {
        line[2 * i] = digits[digest[i] >> 4];
        line[2 * i + 1] = digits[digest[i] & 15];
    }
    std::snprintf(line + 2 * ChecksumDigestSize, ChecksumLineCapacity - 2 * ChecksumDigestSize, "  %s\n", name);
    return true;
}
