// fuzz_package.cpp: any bytes as "update.dat": the package check, then the extraction of one
// entry.
//
// Input: one byte choosing the entry (any of 0 to 46 but the readme's slot 44), then the
// package. Promises checked after every call:
// - a package the check accepts extracts every entry, byte for byte from its place;
// - a failed extraction leaves no destination and no temporary file behind, and blames the
//   package (the destination folder is always writable here);
// - a successful one leaves exactly the entry, as long as its slot says.
#include <algorithm>
#include <string>

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (FuzzEnterScratchFolder(), true);
    (void)ready;
    if (size < 1) return 0;
    int entry = data[0] % (UpdateFileCount - 1);
    if (entry >= UpdatePackageReadmeSlot) ++entry;  // 0..43, 45, 46
    const uint8_t* package = data + 1;
    const size_t packageSize = size - 1;
    FUZZ_CHECK(WriteFileBytes(FuzzScratchPath("update.dat"), {package, package + packageSize}), "write update.dat");

    const std::string destination = FuzzScratchPath("entry.out");
    std::remove(destination.c_str());

    const bool whole = CheckUpdatePackage();
    bool packageFault = false;
    const bool extracted = ExtractPackageEntry(entry, "entry.out", packageFault);

    FUZZ_CHECK(FuzzCountTemporaryFiles(FuzzScratchFolder()) == 0, "no temporary file stays behind");
    if (whole) FUZZ_CHECK(extracted, "a whole package extracts every entry");
    if (!extracted) {
        FUZZ_CHECK(packageFault, "with a writable destination only the package can be at fault");
        FUZZ_CHECK(!FileExists(destination), "a failed extraction leaves no destination");
        return 0;
    }

    UpdatePackageHeader header;
    FUZZ_CHECK(packageSize >= UpdatePackageHeaderSize, "an extracted entry has a header before it");
    DecodePackageHeader(package, &header);
    const int64_t offset = PackageEntryOffset(header, entry);
    const int32_t length = header.slots[entry];
    FUZZ_CHECK(offset >= UpdatePackageHeaderSize && length >= 0, "an extracted entry has a sane place");
    FUZZ_CHECK(offset + length <= static_cast<int64_t>(packageSize), "an extracted entry lies inside the package");
    std::vector<unsigned char> written;
    FUZZ_CHECK(ReadFileBytes(destination, &written), "the destination reads");
    FUZZ_CHECK(written.size() == static_cast<size_t>(length), "the destination is as long as the slot says");
    FUZZ_CHECK(std::equal(written.begin(), written.end(), package + offset), "the destination holds the entry");
    return 0;
}
