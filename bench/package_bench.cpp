// package_bench.cpp: extraction (with and without checking it against the checksum list) and
// packing of one large entry in-process, side by side with std::filesystem::copy_file of the same
// bytes (the library's own file copy), and the speed of the platform's SHA-256. The page cache is
// warm: every file is read once before timing. The whole-package, whole-process figures against
// cp and cat are made by tools/run_benchmarks.sh.
//
//   bench_package [--entry-mib N] [Google Benchmark options]     (N defaults to 64)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "package/checksum_list.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "platform/platform_system.h"

namespace fs = std::filesystem;

namespace {

fs::path gFolder;  // the loose files, "update.dat", and the targets; the current folder
uint64_t gEntryBytes = 64ull << 20;

bool WriteBytes(const fs::path& path, uint64_t size, unsigned seed) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937 generator(seed);
    std::vector<char> block(1 << 20);
    for (char& c : block) c = static_cast<char>(generator());
    for (uint64_t written = 0; written < size;) {
        const uint64_t chunk = std::min<uint64_t>(block.size(), size - written);
        out.write(block.data(), static_cast<std::streamsize>(chunk));
        written += chunk;
    }
    return static_cast<bool>(out);
}

// Entry 0 ("tlf.exe") is the large one; every other entry is a small file.
bool MakeLooseFiles() {
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        if (!WriteBytes(gFolder / UpdateFileName(i), i == 0 ? gEntryBytes : 4096 + 37 * i, 17u + i)) return false;
    }
    return BuildUpdatePackage();
}

void BM_ExtractLargeEntry(benchmark::State& state) {
    const std::string target = (gFolder / "extracted.bin").string();
    for (auto _ : state) {
        bool packageFault = false;
        if (!ExtractPackageEntry(0, target.c_str(), packageFault)) state.SkipWithError("extraction failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gEntryBytes));
}
BENCHMARK(BM_ExtractLargeEntry)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with the entry's digest taken while copying and compared with the checksum list.
void BM_ExtractLargeEntryChecked(benchmark::State& state) {
    const std::string target = (gFolder / "extracted.bin").string();
    ChecksumList list;
    if (ReadChecksumList(&list) != ChecksumListValid) state.SkipWithError("no checksum list");
    for (auto _ : state) {
        bool packageFault = false;
        EntryCopyCheck check;
        check.expectedDigest = FindChecksum(list, UpdateFileName(0));
        if (!ExtractPackageEntry(0, target.c_str(), packageFault, &check)) state.SkipWithError("extraction failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gEntryBytes));
}
BENCHMARK(BM_ExtractLargeEntryChecked)->Unit(benchmark::kMillisecond)->UseRealTime();

// The platform's SHA-256 alone, over a 1 MiB block in the processor's cache: the hashing speed.
void BM_Sha256(benchmark::State& state) {
    std::vector<unsigned char> block(1 << 20, 0x5A);
    uint8_t digest[Sha256DigestSize];
    for (auto _ : state) {
        PlatformSha256* sha = PlatformSha256Begin();
        PlatformSha256Add(sha, block.data(), block.size());
        if (!PlatformSha256End(sha, digest)) state.SkipWithError("no SHA-256");
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_Sha256)->Unit(benchmark::kMicrosecond);

void BM_PackWholeUpdate(benchmark::State& state) {
    for (auto _ : state) {
        if (!BuildUpdatePackage()) state.SkipWithError("packing failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(gFolder / "update.dat")));
}
BENCHMARK(BM_PackWholeUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyFileReference(benchmark::State& state) {
    const fs::path source = gFolder / UpdateFileName(0);
    const fs::path target = gFolder / "copied.bin";
    for (auto _ : state) {
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gEntryBytes));
}
BENCHMARK(BM_CopyFileReference)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--entry-mib") == 0) {
            gEntryBytes = std::strtoull(argv[i + 1], nullptr, 10) << 20;
            for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    gFolder = fs::temp_directory_path() / ("tlf_bench_package_" + std::to_string(std::random_device{}()));
    fs::create_directory(gFolder);
    const fs::path previous = fs::current_path();
    fs::current_path(gFolder);
    int result = 0;
    if (MakeLooseFiles()) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        std::fprintf(stderr, "bench_package: cannot make the sample files in %s\n", gFolder.string().c_str());
        result = 1;
    }
    benchmark::Shutdown();
    fs::current_path(previous);
    fs::remove_all(gFolder);
    return result;
}
