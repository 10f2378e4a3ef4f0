// checksum_list.cpp: reading, parsing and writing "SHA256SUMS". See checksum_list.h.
#include "package/checksum_list.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "package/update_file_table.h"
#include "platform/platform_system.h"

const char ChecksumListName[] = "SHA256SUMS";

namespace {

const char PackageFileName[] = "update.dat";
const char CertutilHeader[] = "SHA256 hash of ";
const char CertutilCompleted[] = "CertUtil: -hashfile command completed successfully.";

// Larger than any list of this update, in either form, with room for comments.
constexpr size_t MaxListBytes = 64 * 1024;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWith(const char* line, size_t length, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return length >= n && std::memcmp(line, prefix, n) == 0;
}

// Digit pair i of a digest, `stride` bytes apart (2: contiguous, 3: pairs separated by a space).
bool ParseDigest(const char* digits, size_t length, size_t stride, uint8_t digest[ChecksumDigestSize]) {
    if (length != stride * ChecksumDigestSize - (stride - 2)) return false;
    for (int i = 0; i < ChecksumDigestSize; ++i) {
        const char* pair = digits + stride * i;
        const int high = HexValue(pair[0]);
        const int low = HexValue(pair[1]);
        if (high < 0 || low < 0 || (stride == 3 && i > 0 && pair[-1] != ' ')) return false;
        digest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return true;
}

// A listed name: bare, or with a leading "./" (dropped); no other folder part.
bool ParseName(const char* name, size_t length, char out[ChecksumNameCapacity]) {
    if (length > 2 && name[0] == '.' && name[1] == '/') name += 2, length -= 2;
    if (length == 0 || length >= ChecksumNameCapacity) return false;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || c == '/' || c == '\\' || c == ':') return false;
    }
    std::memcpy(out, name, length);
    out[length] = 0;
    return true;
}

// "<digest>  <name>" or "<digest> *<name>".
bool ParseLine(const char* line, size_t length, ChecksumLine* out) {
    const size_t digits = 2 * ChecksumDigestSize;
    if (length < digits + 2 || !ParseDigest(line, digits, 2, out->digest)) return false;
    if (line[digits] != ' ' || (line[digits + 1] != ' ' && line[digits + 1] != '*')) return false;
    return ParseName(line + digits + 2, length - digits - 2, out->name);
}

// Whether a line, well formed or not, names "update.dat": it ends with the name (or the name and
// ":"), which starts the line or follows a space, "*" or a folder part.
bool NamesPackage(const char* line, size_t length) {
    if (length > 0 && line[length - 1] == ':') --length;
    const size_t n = sizeof PackageFileName - 1;
    if (length < n) return false;
    char tail[sizeof PackageFileName];
    std::memcpy(tail, line + length - n, n);
    tail[n] = 0;
    if (!NamesEqual(tail, PackageFileName)) return false;
    if (length == n) return true;
    const char before = line[length - n - 1];
    return before == ' ' || before == '*' || before == '/' || before == '\\';
}

enum ListForm { FormUnknown, FormStandard, FormCertutil };

// What the next line of a list may be.
struct ParseState {
    ListForm form = FormUnknown;
    bool digestNext = false;     // after "SHA256 hash of <name>:"
    bool completedNext = false;  // after the digest of a certutil block
};

// One line without its line end, neither blank nor a comment; adds a line to the list when it
// completes one. False when it is malformed, repeats a name or does not fit.
bool TakeLine(const char* line, size_t length, ParseState* state, ChecksumList* list) {
    if (state->digestNext) {
        state->digestNext = false;
        state->completedNext = true;
        ChecksumLine* entry = &list->lines[list->count];
        if (!ParseDigest(line, length, 2, entry->digest) && !ParseDigest(line, length, 3, entry->digest)) return false;
        ++list->count;
        return true;
    }
    const bool completed = state->completedNext;
    state->completedNext = false;
    if (completed && length == sizeof CertutilCompleted - 1 && std::memcmp(line, CertutilCompleted, length) == 0) return true;
    if (list->count == ChecksumListCapacity) return false;
    ChecksumLine* entry = &list->lines[list->count];
    const size_t header = sizeof CertutilHeader - 1;
    const bool certutil = StartsWith(line, length, CertutilHeader) && line[length - 1] == ':';
    if (certutil) {
        if (state->form == FormStandard || !ParseName(line + header, length - header - 1, entry->name)) return false;
        state->form = FormCertutil;
        state->digestNext = true;
    } else {
        if (state->form == FormCertutil || !ParseLine(line, length, entry)) return false;
        state->form = FormStandard;
        ++list->count;
    }
    for (int i = 0; i < list->count; ++i)
        if (NamesEqual(list->lines[i].name, entry->name) && &list->lines[i] != entry) return false;
    return true;
}

}  // namespace

ChecksumListState ParseChecksumList(const char* text, size_t length, ChecksumList* list) {
    list->count = 0;
    if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) text += 3, length -= 3;
    ParseState state;
    bool malformed = false;
    bool namesPackage = false;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && text[end] != '\n') ++end;
        size_t lineLength = end - start;
        const char* line = text + start;
        start = end + 1;
        if (lineLength > 0 && line[lineLength - 1] == '\r') --lineLength;
        if (lineLength == 0 || line[0] == '#') {
            malformed = malformed || state.digestNext;  // a certutil digest comes on the very next line
            continue;
        }
        namesPackage = namesPackage || NamesPackage(line, lineLength);
        malformed = malformed || !TakeLine(line, lineLength, &state, list);
    }
    malformed = malformed || state.digestNext;
    if (!malformed) namesPackage = FindChecksum(*list, PackageFileName) != nullptr;
    if (malformed || !namesPackage) list->count = 0;
    list->state = !namesPackage ? ChecksumListForeign : malformed ? ChecksumListMalformed : ChecksumListValid;
    return list->state;
}

ChecksumListState ReadChecksumList(ChecksumList* list, std::string* bytes) {
    list->count = 0;
    if (bytes != nullptr) bytes->clear();
    list->state = ChecksumListAbsent;
    FILE* file = PlatformOpenFile(ChecksumListName, "rb");
    if (file == nullptr) return ChecksumListAbsent;
    std::unique_ptr<char[]> text(new char[MaxListBytes + 1]);
    const size_t length = std::fread(text.get(), 1, MaxListBytes + 1, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return list->state = ChecksumListMalformed;
    if (length <= MaxListBytes) {
        if (bytes != nullptr) bytes->assign(text.get(), length);
        return ParseChecksumList(text.get(), length, list);
    }
    // Too large for this update's list: a damaged one if its start names "update.dat".
    size_t end = MaxListBytes;
    while (end > 0 && text[end - 1] != '\n') --end;
    const ChecksumListState start = ParseChecksumList(text.get(), end, list);
    list->count = 0;
    return list->state = start == ChecksumListForeign ? ChecksumListForeign : ChecksumListMalformed;
}

const uint8_t* FindChecksum(const ChecksumList& list, const char* name) {
    for (int i = 0; i < list.count; ++i)
        if (NamesEqual(list.lines[i].name, name)) return list.lines[i].digest;
    return nullptr;
}

const char* FirstUnlistedFile(const ChecksumList& list, const char* readme) {
    if (FindChecksum(list, PackageFileName) == nullptr) return PackageFileName;
    if (FindChecksum(list, readme) == nullptr) return readme;
    for (int i = 0; i < UpdateFileCount; ++i)
        if (!IsReadmeEntry(i) && FindChecksum(list, UpdateFileName(i)) == nullptr) return UpdateFileName(i);
    return nullptr;
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
