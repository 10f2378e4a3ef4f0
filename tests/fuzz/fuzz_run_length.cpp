// fuzz_run_length.cpp: the run-length coding of FileStream, both ways.
//
// Input: any bytes. First they are decoded as a packed file with ReadPacked until it fails (a
// damaged run marker, a file ending inside a run); nothing may be delivered that the file does
// not describe. Then they are encoded with WritePacked into a new file and decoded again: the
// round trip must give back exactly the input, and no more.
#include <string>

#include "framework/file_stream.h"
#include "framework/folder_path.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr size_t kMostDecoded = 1 << 16;  // 63 bytes per two input bytes is the most there can be

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (FuzzEnterScratchFolder(), true);
    (void)ready;
    FolderPath folder;

    FUZZ_CHECK(WriteFileBytes(FuzzScratchPath("damaged.pak"), {data, data + size}), "write the packed file");
    {
        FileStream stream;
        FUZZ_CHECK(stream.Open(&folder, "damaged.pak", 0, BinaryRead), "open the packed file");
        size_t decoded = 0;
        uint8_t value = 0;
        while (decoded <= 64 * size && stream.ReadPacked(&value)) ++decoded;
        FUZZ_CHECK(decoded <= 63 * size, "no more bytes than the runs describe");
        stream.Close();
    }

    if (size > kMostDecoded) return 0;
    {
        FileStream stream;
        FUZZ_CHECK(stream.Open(&folder, "round.pak", 0, BinaryWrite), "create the packed file");
        for (size_t i = 0; i < size; ++i) FUZZ_CHECK(stream.WritePacked(data[i]), "WritePacked in BinaryWrite");
        stream.Close();  // writes out the pending run
    }
    std::vector<unsigned char> packed;
    FUZZ_CHECK(ReadFileBytes(FuzzScratchPath("round.pak"), &packed), "read the packed file");
    FUZZ_CHECK(packed.size() <= 2 * size, "coding never more than doubles the bytes");
    {
        FileStream stream;
        FUZZ_CHECK(stream.Open(&folder, "round.pak", 0, BinaryRead), "open the packed file");
        for (size_t i = 0; i < size; ++i) {
            uint8_t value = 0;
            FUZZ_CHECK(stream.ReadPacked(&value), "every byte written reads back");
            FUZZ_CHECK(value == data[i], "the round trip gives back the input");
        }
        uint8_t extra = 0;
        FUZZ_CHECK(!stream.ReadPacked(&extra), "nothing after the input");
    }
    return 0;
}
