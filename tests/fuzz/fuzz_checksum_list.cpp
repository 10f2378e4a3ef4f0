// fuzz_checksum_list.cpp: any bytes as "SHA256SUMS", the list a player downloads beside
// "update.dat" and the installer trusts to check it.
//
// The text lies in a heap block of exactly its size, so AddressSanitizer sees any read past it.
// Promises checked:
// - only a valid list holds lines: 1 to ChecksumListCapacity, one of them "update.dat", each name
//   terminated, free of folder parts and control bytes, no name twice (without regard to case);
// - it writes back, line by line, to a list that parses to the same names and digests, and
//   every name is found again with its own digest.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "package/checksum_list.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> text(new char[size == 0 ? 1 : size]);
    if (size > 0) std::memcpy(text.get(), data, size);
    static ChecksumList list;
    const ChecksumListState state = ParseChecksumList(text.get(), size, &list);
    FUZZ_CHECK(state == list.state && (state == ChecksumListValid) == (list.count > 0), "only a valid list holds lines");
    if (state != ChecksumListValid) return 0;
    FUZZ_CHECK(FindChecksum(list, "update.dat") != nullptr, "a valid list names update.dat");

    FUZZ_CHECK(list.count >= 1 && list.count <= ChecksumListCapacity, "a parsed list has 1 to 64 lines");
    std::string written;
    for (int i = 0; i < list.count; ++i) {
        const ChecksumLine& line = list.lines[i];
        const size_t length = strnlen(line.name, ChecksumNameCapacity);
        FUZZ_CHECK(length < ChecksumNameCapacity, "a name is terminated inside its field");
        for (size_t c = 0; c < length; ++c) {
            const unsigned char byte = static_cast<unsigned char>(line.name[c]);
            FUZZ_CHECK(byte >= 32 && byte != '/' && byte != '\\' && byte != ':', "a name has no folder part");
        }
        FUZZ_CHECK(FindChecksum(list, line.name) == line.digest, "no name is listed twice");
        char formatted[ChecksumLineCapacity];
        FUZZ_CHECK(FormatChecksumLine(formatted, line.digest, line.name), "a parsed line can be written");
        written += formatted;
    }

    static ChecksumList again;
    FUZZ_CHECK(ParseChecksumList(written.data(), written.size(), &again) == ChecksumListValid, "a written list parses");
    FUZZ_CHECK(again.count == list.count, "a written list keeps every line");
    for (int i = 0; i < list.count; ++i) {
        FUZZ_CHECK(std::strcmp(again.lines[i].name, list.lines[i].name) == 0, "a written name reads back");
        FUZZ_CHECK(std::memcmp(again.lines[i].digest, list.lines[i].digest, ChecksumDigestSize) == 0,
                   "a written digest reads back");
    }
    return 0;
}
