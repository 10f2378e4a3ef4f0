// fuzz_record.cpp: any bytes as the Linux installation record (the registry export file), read,
// written and read back.
//
// Input: a value name (one of the record's, or any), a text to write, then the rest as the file.
// Promises checked:
// - reading any file fills the 200-byte buffer with a terminated text or fails;
// - writing succeeds for a text without line breaks (the format cannot carry them) and then
//   reads back exactly, when it fits the buffer; a failed write leaves the file as it was;
// - a UTF-16 file (mark FF FE) takes only UTF-8 texts, takes them whenever it held a readable
//   value (so it is not damaged), and stays UTF-16;
// - writing one value leaves another value as it read before;
// - no temporary file stays beside the record.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_system.h"
#include "platform/text_convert.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const char kKey[] = "Software\\Quillbrook Ltd\\Tallyfield";
constexpr uint32_t kBufferSize = 200;

// The value as the wizard reads it, or "<false>".
std::string Read(const char* name) {
    char buffer[kBufferSize];
    std::memset(buffer, 'x', sizeof buffer);
    if (!PlatformRecordRead(kKey, name, buffer, kBufferSize)) return "<false>";
    FUZZ_CHECK(std::memchr(buffer, 0, sizeof buffer) != nullptr, "a value read is terminated inside the buffer");
    return buffer;
}

bool NamesEqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char ca = a[i], cb = b[i];
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
        if (ca != cb) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = FuzzScratchPath("registry.reg");
    static const bool ready = setenv("TLF_REGISTRY", path.c_str(), 1) == 0;
    FUZZ_CHECK(ready, "TLF_REGISTRY set");

    FuzzedDataProvider input(data, size);
    const char* const names[] = {"Version", "Location", "version"};
    const uint8_t choice = input.ConsumeIntegral<uint8_t>();
    // Cut at a zero byte: the functions take zero-terminated texts.
    const std::string name = (choice < 3 ? std::string(names[choice]) : input.ConsumeRandomLengthString(16)).c_str();
    const std::string text = input.ConsumeRandomLengthString(260).c_str();
    const std::string other = NamesEqualIgnoringCase(name, "Location") ? "Version" : "Location";
    const std::vector<uint8_t> file = input.ConsumeRemainingBytes<uint8_t>();
    FUZZ_CHECK(WriteFileBytes(path, file), "write the record file");

    Read(name.c_str());
    const std::string otherBefore = Read(other.c_str());

    const bool written = PlatformRecordWrite(kKey, name.c_str(), text.c_str());
    const bool carriable = (text + name).find_first_of("\r\n") == std::string::npos;
    const bool wide = file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE;
    std::u16string units;
    const bool utf8 = Utf8ToUtf16(text.c_str(), &units) && Utf8ToUtf16(name.c_str(), &units);
    if (!wide) {
        FUZZ_CHECK(written == carriable, "every text without a line break can be written, no other");
    } else {
        FUZZ_CHECK(!written || (carriable && utf8), "a UTF-16 file takes only UTF-8 texts without line breaks");
        FUZZ_CHECK(written || otherBefore == "<false>" || !carriable || !utf8, "a readable UTF-16 file takes such texts");
    }
    std::vector<uint8_t> after;
    FUZZ_CHECK(ReadFileBytes(path, &after), "the record file is still there");
    if (wide && written) FUZZ_CHECK(after.size() % 2 == 0 && after[0] == 0xFF && after[1] == 0xFE, "a UTF-16 file stays UTF-16");
    if (!written) {
        FUZZ_CHECK(after == file, "a failed write leaves the file as it was");
    } else {
        const std::string back = Read(name.c_str());
        if (text.size() < kBufferSize) {
            FUZZ_CHECK(back == text, "a written value reads back");
        } else {
            FUZZ_CHECK(back == "<false>", "a value longer than the buffer does not read");
        }
        if (!NamesEqualIgnoringCase(name, other)) {
            FUZZ_CHECK(Read(other.c_str()) == otherBefore, "writing one value leaves another as it was");
        }
    }
    FUZZ_CHECK(FuzzCountTemporaryFiles(FuzzScratchFolder()) == 0, "no temporary file stays behind");
    return 0;
}
